// The quick reasons menu: a right or middle press on a sanction button opens the
// quick entries; choosing one submits the sanction at once.
#include "ModerationFixture.h"

namespace tavlen::testing {
namespace {

const std::string kCatalogue = Entry(kSanctions, "Flood", "Flood sur $room") +            // not quick
                               Entry(kSanctions, "Spam", "Spam sur $room", "popup") +     // slot 1
                               Entry("MSG PUBLIC", "Annonce", "Annonce pour $nick", "popup") +
                               Entry(kSanctions, "Maj", "Majuscules", "POPUP") +          // not exactly "popup"
                               Entry(kSanctions, "Insulte", "Insulte sur $room", "popup");

class QuickMenuTest : public ModerationTest {
 protected:
  void SetUp() override {
    StartInSalon(kCatalogue);
    panel().Edit2.Type("bob");
  }
  kit::PopupMenu& menu() { return main().spSkinPopupMenu1; }
  Lines Captions() {
    Lines out;
    for (const auto& item : menu().root.Items()) out.push_back(item->Caption());
    return out;
  }
  void Choose(const std::string& caption) { menu().root.FindCaption(caption)->Click(); }
};

TEST_F(QuickMenuTest, EachSanctionSubmitsItsLinesForTheChosenEntry) {
  panel().spSkinSpeedButton10.MouseDown(kit::MouseButton::kRight);
  Choose("Spam");
  EXPECT_EQ(SentSinceForget(), Lines{"(ST) bob (ST), Spam sur salon"});
  EXPECT_EQ(panel().SelectedAction(), "AVERTIR");

  Forget();
  panel().spSkinSpeedButton4.MouseDown(kit::MouseButton::kRight);
  Choose("Spam");
  EXPECT_EQ(SentSinceForget(), Lines{"/kick bob Spam sur salon (modo)"});

  // Fixed three days, whatever the panel's amount and unit say.
  Forget();
  panel().spSkinSpeedButton7.Click();
  panel().Edit3.Type("10");
  panel().ComboBox1.Select(0);
  panel().spSkinSpeedButton7.MouseDown(kit::MouseButton::kRight);
  Choose("Spam");
  EXPECT_EQ(SentSinceForget(), (Lines{"/punish bob 3 days Puni{e} pour 3 jour{s}", "/kick bob Spam sur salon (modo)"}));
  const auto subs = Submissions();
  EXPECT_GE(subs.back().at_ms - subs[subs.size() - 2].at_ms, 1000);

  Forget();
  panel().spSkinSpeedButton5.MouseDown(kit::MouseButton::kRight);  // disabled: no menu
  EXPECT_TRUE(SentSinceForget().empty());
  panel().UnlockRestricted();
  panel().spSkinSpeedButton5.MouseDown(kit::MouseButton::kRight);
  Choose("Spam");
  EXPECT_EQ(SentSinceForget(), (Lines{"/ban bob", "/kick bob Spam sur salon (modo)"}));
  // The quick menu changes the action only, not the execute button or the list.
  EXPECT_EQ(panel().SelectedAction(), "BANNIR");
  EXPECT_EQ(panel().spSkinSpeedButton3.Text(), "PUNIR");
}

TEST_F(QuickMenuTest, MenuListsQuickEntriesInSlotOrderAtTheButtonsPoint) {
  main().SetBounds(100, 50, main().Width(), ActionPanel::kExpandedHeight);
  world.widgets.ForgetPopup();
  panel().spSkinSpeedButton10.MouseDown(kit::MouseButton::kLeft);
  EXPECT_EQ(world.widgets.LastPopup(), nullptr);
  EXPECT_EQ(main().Height(), ActionPanel::kExpandedHeight);

  panel().spSkinSpeedButton10.MouseDown(kit::MouseButton::kMiddle);
  EXPECT_EQ(world.widgets.LastPopup(), &menu());
  EXPECT_EQ(main().Height(), ActionPanel::kCompactHeight);
  // "AVERTIR" sits at 0, 88 in the window.
  EXPECT_EQ(world.widgets.LastPopupPoint(), (Point{100 + 0 - 20, 50 + 88 + 57}));
  EXPECT_EQ(menu().PopupAlignment, kit::Alignment::kCenter);
  EXPECT_EQ(Captions(), (Lines{"Spam", "Annonce", "Insulte"}));

  // Rebuilt at each opening: same list for another button, at its own point.
  catalogue().Slot(0).QuickFlag = "popup";
  panel().spSkinSpeedButton7.MouseDown(kit::MouseButton::kRight);
  EXPECT_EQ(Captions(), (Lines{"Flood", "Spam", "Annonce", "Insulte"}));
  EXPECT_EQ(menu().LastPopupPoint, (Point{100 + 160 - 20, 50 + 88 + 57}));

  // A public message marked quick serves as a sanction reason, "$nick" first.
  panel().spSkinSpeedButton4.MouseDown(kit::MouseButton::kRight);
  Choose("Annonce");
  EXPECT_EQ(SentSinceForget(), Lines{"/kick bob Annonce pour bob (modo)"});

  // With no quick entry the menu opens empty.
  for (int k = 0; k < MessageCatalogue::kSlots; ++k) catalogue().Slot(k).QuickFlag = "normal";
  world.widgets.ForgetPopup();
  panel().spSkinSpeedButton4.MouseDown(kit::MouseButton::kRight);
  EXPECT_EQ(world.widgets.LastPopup(), &menu());
  EXPECT_TRUE(menu().root.Items().empty());
}

TEST_F(QuickMenuTest, EmptyNickIsRefusedAsOnThePanel) {
  panel().Edit2.Type("");
  panel().spSkinSpeedButton4.MouseDown(kit::MouseButton::kRight);
  Choose("Spam");
  EXPECT_TRUE(SentSinceForget().empty());
  EXPECT_EQ(world.dialogs.BoxTexts(), Lines{"Vous choisir un nick ou le rentrer manuellement !"});
  EXPECT_EQ(panel().SelectedAction(), "TYPE");
}

TEST_F(QuickMenuTest, ChoiceReadsTheSlotWhenChosenAndExecuteThenActsForIt) {
  panel().spSkinSpeedButton4.MouseDown(kit::MouseButton::kRight);
  catalogue().Slot(1).MessageText = "Spam encore";
  Choose("Spam");
  EXPECT_EQ(SentSinceForget(), Lines{"/kick bob Spam encore (modo)"});

  // The panel's list was filled for "AVERTIR"; the execute button now kicks.
  Forget();
  panel().spSkinSpeedButton10.Click();
  panel().spSkinSpeedButton4.MouseDown(kit::MouseButton::kRight);
  Choose("Insulte");
  Forget();
  panel().spSkinSpeedButton10.Click();  // expands again, list for "AVERTIR"
  panel().ListBox3.Select(1);
  panel().spSkinSpeedButton4.MouseDown(kit::MouseButton::kRight);
  Choose("Spam");
  Forget();
  panel().spSkinSpeedButton3.Click();
  EXPECT_EQ(SentSinceForget(), Lines{"/kick bob Flood sur salon (modo)"});
}

}  // namespace
}  // namespace tavlen::testing
