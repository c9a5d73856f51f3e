// The catalogue editor: categories, entries added, changed, deleted and moved,
// the emoticon palette, and what reaches messages.ini.
#include <filesystem>

#include "base/Files.h"
#include "base/Text.h"
#include "ModerationFixture.h"

namespace tavlen::testing {
namespace {

const std::string kSep = "\xA4";
const std::string kCatalogue = Entry("MSG PUBLIC", "Un", "Premier") + Entry(kSanctions, "Flood", "Flood sur $room") +
                               Entry("MSG PUBLIC", "Deux", "Second", "popup") + Entry("MSG PUBLIC", "Trois", "Dernier");

class EditorTest : public ModerationTest {
 protected:
  void SetUp() override { StartInSalon(kCatalogue); }
  void Open() { main().Editerlesmessages1->Click(); }
  void Tick() { world.advance(1ms); }
  void Choose(int category) {
    editor().ComboBox1.Select(category);
    Tick();
  }
  Lines Items() {
    Lines out;
    for (int i = 0; i < editor().ListBox1.Count(); ++i) out.push_back(editor().ListBox1.Item(i));
    return out;
  }
  Lines FileLines() { return SplitLinesAnyBreak(world.read_file("messages.ini")); }
};

TEST_F(EditorTest, OpeningFoldsReloadsAndResets) {
  main().SetHeight(ActionPanel::kExpandedHeight);
  catalogue().Slot(0).ShortcutName = "jamais enregistre";
  Open();
  EXPECT_EQ(main().Height(), ActionPanel::kCompactHeight);
  EXPECT_TRUE(editor().Visible());
  EXPECT_TRUE(editor().Modal());
  EXPECT_EQ(editor().Text(), ansi("Gestion des messages"));
  EXPECT_EQ(editor().Width(), 506);
  EXPECT_EQ(editor().Height(), 476);
  EXPECT_EQ(editor().Position, kit::FormPosition::kScreenCenter);
  EXPECT_EQ(catalogue().Slot(0).ShortcutName, "Un");
  EXPECT_EQ(editor().ComboBox1.ItemIndex(), -1);
  EXPECT_EQ(editor().ComboBox1.Text(), "");
  EXPECT_FALSE(editor().Button1.Enabled());
  EXPECT_FALSE(editor().Button2.Enabled());
  EXPECT_FALSE(editor().Button3.Enabled());

  // The state timer: no category, no list and no "Ajouter".
  Tick();
  EXPECT_FALSE(editor().ListBox1.Enabled());
  EXPECT_FALSE(editor().Button1.Enabled());
  EXPECT_FALSE(editor().CheckBox1.Visible());
  // Typed text that is not an item counts as no category.
  editor().ComboBox1.Type("MSG PUBLIC");
  Tick();
  EXPECT_EQ(Items(), (Lines{"Un", "Deux", "Trois"}));
  EXPECT_FALSE(editor().Button1.Enabled());
  EXPECT_FALSE(editor().ListBox1.Enabled());

  Choose(2);
  EXPECT_EQ(Items(), Lines{"Flood"});
  EXPECT_TRUE(editor().Button1.Enabled());
  EXPECT_TRUE(editor().CheckBox1.Visible());
  EXPECT_FALSE(editor().Button6.Enabled());
  editor().ListBox1.Select(0);
  Tick();
  EXPECT_TRUE(editor().Button3.Enabled());
  EXPECT_TRUE(editor().Button6.Enabled());
  EXPECT_EQ(editor().Edit1.Text(), "Flood");
  EXPECT_EQ(editor().Memo1.Text(), "Flood sur $room");

  // The timer runs while the editor is hidden too.
  editor().RequestClose();
  EXPECT_FALSE(editor().Visible());
  editor().ComboBox1.SetItemIndex(-1);
  Tick();
  EXPECT_FALSE(editor().Button1.Enabled());
}

TEST_F(EditorTest, AddedEntryTakesTheFirstFreeSlotInTheSavedFile) {
  Open();
  Choose(1);
  editor().ListBox1.Select(0);
  Tick();
  editor().Button2.Click();  // delete "Un": slot 0 is free
  EXPECT_EQ(Items(), (Lines{"Deux", "Trois"}));
  EXPECT_EQ(editor().Edit1.Text(), "");
  editor().Edit1.Type("Bonjour");
  editor().Memo1.Type(ansi("Bonjour à tous sur $room"));
  editor().Button1.Click();
  EXPECT_EQ(Items(), (Lines{"Deux", "Trois", "Bonjour"}));
  EXPECT_EQ(editor().ListBox1.ItemIndex(), -1);
  EXPECT_EQ(editor().Edit1.Text(), "Bonjour");  // the boxes keep their text

  editor().Button4.Click();
  EXPECT_FALSE(editor().Visible());
  EXPECT_EQ(FileLines(), (Lines{"MSG PUBLIC" + kSep + "Bonjour" + kSep + ansi("Bonjour à tous sur $room") + kSep + "normal",
                                kSanctions + kSep + "Flood" + kSep + "Flood sur $room" + kSep + "normal",
                                "MSG PUBLIC" + kSep + "Deux" + kSep + "Second" + kSep + "popup",
                                "MSG PUBLIC" + kSep + "Trois" + kSep + "Dernier" + kSep + "normal"}));
}

TEST_F(EditorTest, EmptyFieldsAreNeverStored) {
  Open();
  Choose(1);
  editor().Edit1.Type("Nom");
  editor().Button1.Click();  // no message
  EXPECT_EQ(Items().size(), 3u);

  editor().ListBox1.Select(1);
  Tick();
  editor().Memo1.Type("");
  editor().Button3.Click();  // update refused with an empty message
  EXPECT_EQ(catalogue().Slot(2), (CatalogueEntry{"MSG PUBLIC", "Deux", "Second", "popup"}));
  editor().Edit1.Type("");
  editor().Memo1.Type("Autre");
  editor().Button3.Click();
  EXPECT_EQ(catalogue().Slot(2).ShortcutName, "Deux");
  EXPECT_TRUE(world.dialogs.Boxes().empty());

  // Update with both fields: the list and later the panel show the new name.
  editor().Edit1.Type("Deux bis");
  editor().CheckBox1.Click();  // hidden for this category: the click does not reach it
  editor().Button3.Click();
  EXPECT_EQ(catalogue().Slot(2), (CatalogueEntry{"MSG PUBLIC", "Deux bis", "Autre", "popup"}));
  EXPECT_EQ(Items(), (Lines{"Un", "Deux bis", "Trois"}));
  panel().spSkinSpeedButton1.Click();
  EXPECT_EQ(Reasons(), (Lines{"Un", "Deux bis", "Trois"}));
}

TEST_F(EditorTest, HiddenQuickCheckStillCountsAndTheQuickMenuSeesItAtOnce) {
  Open();
  Choose(2);
  editor().CheckBox1.Click();
  EXPECT_TRUE(editor().CheckBox1.Checked());
  Choose(1);
  EXPECT_FALSE(editor().CheckBox1.Visible());
  EXPECT_TRUE(editor().CheckBox1.Checked());
  editor().Edit1.Type("Rapide");
  editor().Memo1.Type("Vite sur $room");
  editor().Button1.Click();
  EXPECT_EQ(catalogue().Slot(4), (CatalogueEntry{"MSG PUBLIC", "Rapide", "Vite sur $room", "popup"}));

  // Not saved, yet the main window uses it.
  panel().spSkinSpeedButton4.MouseDown(kit::MouseButton::kRight);
  Lines quick;
  for (const auto& item : main().spSkinPopupMenu1.root.Items()) quick.push_back(item->Caption());
  EXPECT_EQ(quick, (Lines{"Deux", "Rapide"}));
}

TEST_F(EditorTest, DeleteThenClickShowsTheFollowingEntry) {
  Open();
  Choose(1);
  editor().ListBox1.Select(1);
  Tick();
  editor().Button2.Click();
  EXPECT_TRUE(catalogue().Slot(2).Free());
  editor().ListBox1.Select(1);
  EXPECT_EQ(editor().Edit1.Text(), "Trois");
  EXPECT_EQ(editor().Memo1.Text(), "Dernier");
  EXPECT_FALSE(editor().CheckBox1.Checked());

  // Closed without saving: the panel no longer offers it; reopening brings it back.
  editor().RequestClose();
  panel().spSkinSpeedButton1.Click();
  EXPECT_EQ(Reasons(), (Lines{"Un", "Trois"}));
  Open();
  panel().spSkinSpeedButton1.Click();
  EXPECT_EQ(Reasons(), (Lines{"Un", "Deux", "Trois"}));
}

TEST_F(EditorTest, MovesExchangeEntriesInTheSavedFile) {
  Open();
  Choose(1);
  editor().ListBox1.Select(0);
  Tick();
  editor().Button6.Click();  // "Monter" on the first: nothing
  editor().ListBox1.Select(2);
  editor().Button7.Click();  // "Descendre" on the last: nothing
  EXPECT_EQ(Items(), (Lines{"Un", "Deux", "Trois"}));

  editor().ListBox1.Select(1);
  editor().Button6.Click();
  EXPECT_EQ(Items(), (Lines{"Deux", "Un", "Trois"}));
  EXPECT_EQ(editor().ListBox1.ItemIndex(), 0);
  // The positions keep their slots; the contents travel, the category stays.
  EXPECT_EQ(editor().ListBox1.Data(0), 0);
  EXPECT_EQ(catalogue().Slot(0), (CatalogueEntry{"MSG PUBLIC", "Deux", "Second", "popup"}));
  EXPECT_EQ(catalogue().Slot(2), (CatalogueEntry{"MSG PUBLIC", "Un", "Premier", "normal"}));
  editor().ListBox1.Select(1);
  editor().Button7.Click();
  EXPECT_EQ(Items(), (Lines{"Deux", "Trois", "Un"}));
  EXPECT_EQ(editor().ListBox1.ItemIndex(), 2);

  editor().Button4.Click();
  EXPECT_EQ(FileLines(), (Lines{"MSG PUBLIC" + kSep + "Deux" + kSep + "Second" + kSep + "popup",
                                kSanctions + kSep + "Flood" + kSep + "Flood sur $room" + kSep + "normal",
                                "MSG PUBLIC" + kSep + "Trois" + kSep + "Dernier" + kSep + "normal",
                                "MSG PUBLIC" + kSep + "Un" + kSep + "Premier" + kSep + "normal"}));
}

TEST_F(EditorTest, EmoticonGoesAtTheCaret) {
  Open();
  EXPECT_EQ(editor().Cell(0).Hint(), ":-)");
  EXPECT_EQ(editor().Cell(0).Name(), "Label5");
  EXPECT_EQ(editor().Cell(39).Hint(), "(M)");
  EXPECT_EQ(editor().Cell(39).Name(), "Label44");
  EXPECT_EQ(editor().Cell(24).Hint(), "(ST)");
  EXPECT_EQ(editor().Cell(11).GetBounds().left, 32 + 24);
  EXPECT_EQ(editor().Cell(11).GetBounds().top, 176 + 24);

  editor().Memo1.Type("Merci beaucoup");
  editor().Memo1.SetSelection(6, 0);
  editor().Cell(0).Click();
  EXPECT_EQ(editor().Memo1.Text(), "Merci :-)beaucoup");
  EXPECT_EQ(editor().Memo1.SelStart(), 17);  // the end of that line

  // On the second line, with a selection: the code follows the selected text.
  editor().Memo1.Type("Salut\r\nA plus tard\r\nfin");
  editor().Memo1.SetSelection(7 + 2, 4);  // "plus" selected
  editor().Cell(24).Click();
  EXPECT_EQ(editor().Memo1.Lines(), (std::deque<std::string>{"Salut", "A plus(ST) tard", "fin"}));
  EXPECT_EQ(editor().Memo1.CaretPos(), (std::pair<int, int>{1, 15}));

  // An empty box takes the code.
  editor().Memo1.Type("");
  editor().Cell(39).Click();
  EXPECT_EQ(editor().Memo1.Text(), "(M)");

  // The picture outside every cell: the failure is dropped, nothing changes.
  const std::uint64_t dropped = console->app.DroppedErrors();
  editor().Image1.Click();
  EXPECT_EQ(console->app.DroppedErrors(), dropped + 1);
  EXPECT_EQ(editor().Memo1.Text(), "(M)");
}

TEST_F(EditorTest, SeparatorAndLineBreaksTypedAreStoredAsBlanks) {
  Open();
  Choose(0);
  editor().Edit1.Type("Nom" + kSep + "double");
  editor().Memo1.Type("ligne un\r\nligne" + kSep + "deux");
  editor().Button1.Click();
  EXPECT_EQ(catalogue().Slot(4), (CatalogueEntry{"MSG INDIVIDUEL", "Nom double", "ligne un\r\nligne deux", "normal"}));
  editor().Button4.Click();
  EXPECT_EQ(FileLines().back(), "MSG INDIVIDUEL" + kSep + "Nom double" + kSep + "ligne un ligne deux" + kSep + "normal");
}

TEST_F(EditorTest, FullCatalogueRefusesTheAdditionWithAMessage) {
  Open();
  for (int k = 0; k < MessageCatalogue::kSlots; ++k)
    if (catalogue().Slot(k).Free()) catalogue().Slot(k) = CatalogueEntry{"MSG PUBLIC", "n", "t", "normal"};
  Choose(1);
  const int before = editor().ListBox1.Count();
  editor().Edit1.Type("Encore");
  editor().Memo1.Type("un de trop");
  editor().Button1.Click();
  EXPECT_EQ(editor().ListBox1.Count(), before);
  ASSERT_EQ(world.dialogs.Boxes().size(), 1u);
  EXPECT_NE(world.dialogs.Boxes()[0].text.find("501"), std::string::npos);
}

TEST_F(EditorTest, FailedSaveKeepsTheEditorOpenAndTheOldFile) {
  const std::string before = world.read_file("messages.ini");
  Open();
  Choose(1);
  editor().ListBox1.Select(0);
  Tick();
  editor().Button2.Click();
  std::filesystem::create_directories(world.file_path("messages.ini.tmp") + "/occupied");
  editor().Button4.Click();
  EXPECT_TRUE(editor().Visible());
  EXPECT_EQ(world.read_file("messages.ini"), before);
  EXPECT_TRUE(catalogue().Slot(0).Free());
  EXPECT_TRUE(world.dialogs.Boxes().empty());
}

TEST_F(EditorTest, KeyInTheListFillsTheBoxesButNotTheCheckBox) {
  Open();
  Choose(1);
  editor().ListBox1.KeyPress('x');  // nothing selected: nothing happens
  EXPECT_EQ(editor().Edit1.Text(), "");
  editor().ListBox1.SetItemIndex(1);
  editor().ListBox1.KeyPress('d');
  EXPECT_EQ(editor().Edit1.Text(), "Deux");
  EXPECT_EQ(editor().Memo1.Text(), "Second");
  EXPECT_FALSE(editor().CheckBox1.Checked());
  editor().Button5.Click();
  EXPECT_EQ(editor().Edit1.Text(), "");
  EXPECT_EQ(editor().Memo1.Text(), "");
  EXPECT_EQ(editor().ListBox1.ItemIndex(), -1);
}

}  // namespace
}  // namespace tavlen::testing
