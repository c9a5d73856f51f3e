// The moderator's stories on the action panel: a nick, an action, a reason, the
// execute button, and the exact lines the room receives.
#include "base/Text.h"
#include "ModerationFixture.h"

namespace tavlen::testing {
namespace {

const std::string kCatalogue = Entry(kSanctions, "Flood", "Flood sur $room") +
                               Entry("MSG PUBLIC", "Bonjour", "Bienvenue $nick sur $room, $nick !") +
                               Entry("MSG INDIVIDUEL", "Salut", "Bienvenue $nick sur $room, $nick !") +
                               Entry(kSanctions, "Pub", "Pas de pub, $nick", "popup");

class ActionPanelTest : public ModerationTest {
 protected:
  void SetUp() override { StartInSalon(kCatalogue); }
  // Nick «bob», then the action's button and the reason at `reason` in the list.
  void Prepare(kit::Button& action, int reason) {
    panel().Edit2.Type("bob");
    action.Click();
    panel().ListBox3.Select(reason);
  }
  void Execute() { panel().spSkinSpeedButton3.Click(); }
};

TEST_F(ActionPanelTest, EverySanctionSubmitsItsExactLines) {
  Prepare(panel().spSkinSpeedButton10, 1);  // AVERTIR, "Flood"
  Execute();
  EXPECT_EQ(SentSinceForget(), Lines{"(ST) bob (ST), Flood sur salon"});

  Forget();
  Prepare(panel().spSkinSpeedButton4, 1);  // KICKER
  Execute();
  EXPECT_EQ(SentSinceForget(), Lines{"/kick bob Flood sur salon (modo)"});

  Forget();
  Prepare(panel().spSkinSpeedButton7, 1);  // PUNIR, 3 Jours by default
  Execute();
  EXPECT_EQ(SentSinceForget(), (Lines{"/punish bob 3 days Puni{e} pour 3 jour{s}", "/kick bob Flood sur salon (modo)"}));

  Forget();
  panel().spSkinSpeedButton7.Click();  // folded after the execute: expands again
  panel().ListBox3.Select(1);
  panel().Edit3.Type("10");
  panel().ComboBox1.Select(0);
  Execute();
  EXPECT_EQ(SentSinceForget(),
            (Lines{"/punish bob 10 minutes Puni{e} pour 10 minute{s}", "/kick bob Flood sur salon (modo)"}));
  Forget();
  panel().spSkinSpeedButton7.Click();
  panel().ListBox3.Select(1);
  panel().ComboBox1.Select(1);
  Execute();
  EXPECT_EQ(SentSinceForget().at(0), "/punish bob 10 hours Puni{e} pour 10 heure{s}");

  Forget();
  panel().UnlockRestricted();
  Prepare(panel().spSkinSpeedButton5, 1);  // BANNIR
  Execute();
  EXPECT_EQ(SentSinceForget(), (Lines{"/ban bob", "/kick bob Flood sur salon (modo)"}));
  EXPECT_TRUE(world.dialogs.Boxes().empty());
}

TEST_F(ActionPanelTest, PairedLinesComeOneSecondApartAndNothingRunsInBetween) {
  panel().UnlockRestricted();
  Prepare(panel().spSkinSpeedButton5, 1);
  const std::int64_t slept = world.clock.SleptMs();
  Execute();
  auto subs = Submissions();
  ASSERT_EQ(subs.size(), 2u);
  EXPECT_GE(subs[1].at_ms - subs[0].at_ms, 1000);
  EXPECT_LT(subs[1].at_ms - subs[0].at_ms, 1200);
  EXPECT_GE(world.clock.SleptMs() - slept, 1000);

  // "ZEB" acts on its button alone, without a reason, and folds the window.
  panel().spSkinSpeedButton4.Click();  // expand on another action first
  EXPECT_EQ(main().Height(), ActionPanel::kExpandedHeight);
  Forget();
  panel().spSkinSpeedButton9.Click();
  EXPECT_EQ(SentSinceForget(), (Lines{"/blockmic bob", "/unblockmic bob"}));
  subs = Submissions();
  EXPECT_GE(subs.back().at_ms - subs[subs.size() - 2].at_ms, 1000);
  EXPECT_EQ(main().Height(), ActionPanel::kCompactHeight);
  EXPECT_EQ(panel().SelectedAction(), "ZEB");
  EXPECT_EQ(panel().spSkinSpeedButton3.Text(), "ZEB");

  Forget();
  panel().spSkinSpeedButton11.Click();
  panel().spSkinSpeedButton8.Click();
  EXPECT_EQ(SentSinceForget(), (Lines{"/banlist remove bob", "/unpunish bob"}));
}

TEST_F(ActionPanelTest, MessagesExpandTheirPlaceholders) {
  // MSG PUBLIC needs no nick and sends "$nick" unchanged.
  panel().spSkinSpeedButton1.Click();
  EXPECT_EQ(Reasons(), Lines{"Bonjour"});
  panel().ListBox3.Select(0);
  Execute();
  EXPECT_EQ(SentSinceForget(), Lines{"Bienvenue $nick sur salon, $nick !"});
  EXPECT_TRUE(world.dialogs.Boxes().empty());

  Forget();
  Prepare(panel().spSkinSpeedButton6, 0);
  EXPECT_EQ(Reasons(), Lines{"Salut"});
  Execute();
  EXPECT_EQ(SentSinceForget(), Lines{"Bienvenue bob sur salon, bob !"});
}

TEST_F(ActionPanelTest, MissingNickAndMissingReasonAreReportedAndNothingIsSent) {
  panel().spSkinSpeedButton4.Click();
  panel().ListBox3.Select(1);
  Execute();
  EXPECT_EQ(world.dialogs.BoxTexts(), Lines{"Vous choisir un nick ou le rentrer manuellement !"});
  EXPECT_EQ(world.dialogs.Boxes().back().icon, MessageIcon::kWarning);
  EXPECT_EQ(main().Height(), ActionPanel::kExpandedHeight);

  Forget();
  panel().Edit2.Type("bob");
  panel().spSkinSpeedButton4.Click();  // second click on the same action: folds, list refilled
  EXPECT_EQ(main().Height(), ActionPanel::kCompactHeight);
  EXPECT_EQ(panel().ListBox3.ItemIndex(), -1);
  panel().spSkinSpeedButton4.Click();
  Execute();
  const std::string no_reason =
      "Choisissez une raison ! (je sais bien que camfrog ne laisse pas bcp de sommeil mais bon :p)";
  EXPECT_EQ(world.dialogs.BoxTexts(), Lines{no_reason});
  EXPECT_EQ(world.dialogs.Boxes().back().icon, MessageIcon::kWarning);
  EXPECT_EQ(main().Height(), ActionPanel::kExpandedHeight);

  world.dialogs.Forget();
  panel().spSkinSpeedButton1.Click();
  Execute();
  EXPECT_EQ(world.dialogs.BoxTexts(), Lines{no_reason});
  EXPECT_TRUE(SentSinceForget().empty());
}

TEST_F(ActionPanelTest, CustomReasonIsAskedExpandedAndCancelSendsNothing) {
  Prepare(panel().spSkinSpeedButton4, 0);
  EXPECT_EQ(Reasons(), (Lines{"-------- PERSONNALISE --------", "Flood", "Pub"}));
  world.dialogs.Answer("insultes envers $nick");
  Execute();
  ASSERT_EQ(world.dialogs.Prompts().size(), 1u);
  EXPECT_EQ(world.dialogs.Prompts()[0].caption, "Message d'avertissement");
  EXPECT_EQ(world.dialogs.Prompts()[0].prompt, "Entrez votre message d'avertissement");
  EXPECT_EQ(world.dialogs.Prompts()[0].initial, "");
  EXPECT_EQ(SentSinceForget(), Lines{"/kick bob insultes envers bob (modo)"});
  EXPECT_EQ(main().Height(), ActionPanel::kCompactHeight);

  // Cancel, then an empty answer: nothing, no message, the height stays.
  Forget();
  panel().spSkinSpeedButton7.Click();
  panel().ListBox3.Select(0);
  world.dialogs.Answer(std::nullopt);
  Execute();
  world.dialogs.Answer("");
  Execute();
  EXPECT_EQ(world.dialogs.Prompts().size(), 2u);
  EXPECT_TRUE(world.dialogs.Boxes().empty());
  EXPECT_TRUE(SentSinceForget().empty());
  EXPECT_EQ(main().Height(), ActionPanel::kExpandedHeight);
}

TEST_F(ActionPanelTest, FoldRulesAndDurationControls) {
  EXPECT_EQ(main().Height(), ActionPanel::kCompactHeight);
  EXPECT_EQ(panel().SelectedAction(), "TYPE");
  panel().spSkinSpeedButton4.Click();
  EXPECT_EQ(main().Height(), ActionPanel::kExpandedHeight);
  EXPECT_FALSE(panel().Edit3.Visible());
  EXPECT_EQ(panel().Label8.GetColor(), clRed);
  EXPECT_EQ(panel().Label8.GetFont().color, clWhite);

  panel().spSkinSpeedButton7.Click();  // another action keeps it expanded
  EXPECT_EQ(main().Height(), ActionPanel::kExpandedHeight);
  EXPECT_TRUE(panel().Edit3.Visible());
  EXPECT_TRUE(panel().ComboBox1.Visible());
  EXPECT_TRUE(panel().Label11.Visible());
  EXPECT_EQ(panel().spSkinSpeedButton3.Text(), "PUNIR");

  panel().spSkinSpeedButton7.Click();  // the same action again folds
  EXPECT_EQ(main().Height(), ActionPanel::kCompactHeight);
  panel().spSkinSpeedButton1.Click();
  EXPECT_EQ(main().Height(), ActionPanel::kExpandedHeight);
  EXPECT_FALSE(panel().Edit3.Visible());
  EXPECT_EQ(panel().Label8.GetColor(), clBlue);
  EXPECT_EQ(Reasons(), Lines{"Bonjour"});

  // A height above 450 that is not the expanded one counts as expanded.
  main().SetHeight(451);
  panel().spSkinSpeedButton6.Click();
  EXPECT_EQ(main().Height(), 451);
  main().SetHeight(450);
  panel().spSkinSpeedButton6.Click();
  EXPECT_EQ(main().Height(), ActionPanel::kExpandedHeight);
}

TEST_F(ActionPanelTest, ExecuteWithoutAnActionSendsNothing) {
  panel().Edit2.Type("bob");
  main().SetHeight(ActionPanel::kExpandedHeight);
  Execute();
  EXPECT_TRUE(SentSinceForget().empty());
  EXPECT_EQ(main().Height(), ActionPanel::kCompactHeight);
  EXPECT_TRUE(world.dialogs.Boxes().empty());

  panel().spSkinSpeedButton13.Click();  // "X" empties the nick box
  EXPECT_EQ(panel().Edit2.Text(), "");
  Execute();
  EXPECT_EQ(world.dialogs.BoxTexts(), Lines{"Vous choisir un nick ou le rentrer manuellement !"});
}

TEST_F(ActionPanelTest, ReasonListIsASnapshotAndExecuteReadsTheSlotNow) {
  Prepare(panel().spSkinSpeedButton4, 1);
  // The preview shows the raw text, and the custom entry's own hint.
  EXPECT_EQ(panel().ListBox3.Hint(), "Flood sur $room");
  panel().ListBox3.Select(0);
  EXPECT_EQ(panel().ListBox3.Hint(), ansi("Vous allez pouvoir entrer un message personnalisé !!!"));
  panel().ListBox3.Select(2);
  EXPECT_EQ(panel().ListBox3.Hint(), "Pas de pub, $nick");

  // The editor changes the slot after the list was filled: the list keeps its
  // items, execute sends the slot's current text.
  catalogue().Slot(0).MessageText = "Flood encore sur $room";
  panel().ListBox3.Select(1);
  Execute();
  EXPECT_EQ(SentSinceForget(), Lines{"/kick bob Flood encore sur salon (modo)"});

  // A second click on execute repeats the action with the same reason.
  Execute();
  EXPECT_EQ(SentSinceForget().size(), 2u);

  // A slot freed since: the item stays, the reason is empty.
  Forget();
  catalogue().Slot(0) = {};
  EXPECT_EQ(Reasons().size(), 3u);
  Execute();
  EXPECT_EQ(SentSinceForget(), Lines{"/kick bob  (modo)"});
}

TEST_F(ActionPanelTest, SanctionEntriesServeAllFourActionsOnly) {
  for (kit::Button* b : {&panel().spSkinSpeedButton10, &panel().spSkinSpeedButton4, &panel().spSkinSpeedButton7}) {
    b->Click();
    EXPECT_EQ(Reasons(), (Lines{"-------- PERSONNALISE --------", "Flood", "Pub"})) << b->Text();
  }
  EXPECT_FALSE(panel().spSkinSpeedButton5.Enabled());
  panel().UnlockRestricted();
  panel().spSkinSpeedButton5.Click();
  EXPECT_EQ(Reasons(), (Lines{"-------- PERSONNALISE --------", "Flood", "Pub"}));
  panel().spSkinSpeedButton6.Click();
  EXPECT_EQ(Reasons(), Lines{"Salut"});
  EXPECT_EQ(panel().ListBox3.Data(0), 2);

  // Without any sanction entry the custom entry is alone.
  for (int k = 0; k < MessageCatalogue::kSlots; ++k)
    if (catalogue().Slot(k).Category == kSanctions) catalogue().Slot(k) = {};
  panel().spSkinSpeedButton10.Click();
  EXPECT_EQ(Reasons(), Lines{"-------- PERSONNALISE --------"});
}

TEST_F(ActionPanelTest, WithoutKnownOwnNickTheKickEndsWithEmptyBrackets) {
  room().OwnNick.clear();
  Prepare(panel().spSkinSpeedButton4, 1);
  Execute();
  EXPECT_EQ(SentSinceForget(), Lines{"/kick bob Flood sur salon ()"});
}

}  // namespace
}  // namespace tavlen::testing
