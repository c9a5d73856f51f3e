#include "ui/Unit2.h"

#include <algorithm>
#include <stdexcept>

#include "base/Text.h"
#include "kit/Layout.h"

namespace tavlen {

const std::array<const char*, TForm2::kEmoticonCells> kEmoticonCodes = {
    ":-)", ":-(", ":-|", ":-P", ":-D", ":-/", ":-O", ";-)", ":'-(", ":-@",   //
    ":-S", "(H)", ":-$", ":-#", "8o|", "^o)", "8-|", ":-*", ":^)", "|-)",    //
    "8-)", "(A)", "(6)", "(*)", "(ST)", "(Z)", "(X)", "(C)", "(Y)", "(N)",   //
    "(L)", "(U)", "(K)", "(F)", "(G)", "(B)", "(O)", "(E)", "(#)", "(M)"};

namespace {
constexpr const char* kSanctionCategory = "AVERTIR/KICKER/PUNIR/BANNIR";
constexpr int kCellLeft = 32;
constexpr int kCellTop = 176;
constexpr int kCellStep = 24;
constexpr int kCellSize = 25;

// The file separates fields with 0xA4: typed into a field it becomes a blank.
std::string WithoutSeparator(std::string text) {
  std::replace(text.begin(), text.end(), '\xA4', ' ');
  return text;
}
}  // namespace

TForm2::TForm2(kit::Application& app, MessageCatalogue& catalogue, Dialogs& dialogs)
    : kit::Form(app, "TForm2", ansi("Gestion des messages")),
      Catalogue(catalogue),
      Label3(this, "Label3"),
      ComboBox1(this, "ComboBox1"),
      Label4(this, "Label4"),
      ListBox1(this, "ListBox1"),
      Button6(this, "Button6"),
      Button7(this, "Button7"),
      GroupBox1(this, "GroupBox1"),
      Label1(&GroupBox1, "Label1"),
      Edit1(&GroupBox1, "Edit1"),
      Label2(&GroupBox1, "Label2"),
      Memo1(&GroupBox1, "Memo1"),
      CheckBox1(&GroupBox1, "CheckBox1"),
      Image1(&GroupBox1, "Image1"),
      Button3(this, "Button3"),
      Button1(this, "Button1"),
      Button2(this, "Button2"),
      Button5(this, "Button5"),
      Button4(this, "Button4"),
      Timer1(app, "Timer1", 1, true),
      dialogs_(dialogs) {
  SetClientSize(506, 476);
  Position = kit::FormPosition::kScreenCenter;
  Border = kit::BorderStyle::kSingle;

  kit::Lay({
      {Label3, 8, 8, 177, 16, ansi("Catégorie de message :")},
      {ComboBox1, 8, 24, 177, 21},
      {Label4, 8, 52, 177, 16, ansi("Messages dans cette catégorie :")},
      {ListBox1, 8, 68, 177, 217},
      {Button6, 8, 290, 86, 25, "Monter"},
      {Button7, 99, 290, 86, 25, "Descendre"},
      {GroupBox1, 192, 4, 306, 284, "Message"},
      {Label1, 12, 16, 120, 16, "Nom du raccourci :"},
      {Edit1, 12, 32, 281, 21},
      {Label2, 12, 56, 120, 16, "Message :"},
      {Memo1, 12, 70, 281, 81},
      {CheckBox1, 12, 154, 140, 17, "Message rapide"},
      {Image1, kCellLeft, kCellTop, 9 * kCellStep + kCellSize, 3 * kCellStep + kCellSize},
      {Button3, 192, 294, 306, 24, ansi("Mettre à jour ce message")},
      {Button1, 192, 322, 306, 24, "Ajouter en tant que nouveau message"},
      {Button2, 192, 350, 306, 24, "Effacer ce message de la liste"},
      {Button5, 8, 322, 177, 52, ansi("Effacer les champs afin de créer un nouveau message")},
      {Button4, 8, 384, 490, 84, "VALIDER ET ENREGISTRER"},
  });
  ComboBox1.ComboStyle = kit::ComboBox::Style::kDropDown;
  for (const char* category : {"MSG INDIVIDUEL", "MSG PUBLIC", kSanctionCategory}) ComboBox1.Add(category);
  kit::Font bold;
  bold.bold = true;
  Edit1.SetFont(bold);
  Memo1.ScrollBars = true;
  kit::Font large_bold;
  large_bold.size = 16;
  large_bold.bold = true;
  Button4.SetFont(large_bold);

  for (int i = 0; i < kEmoticonCells; ++i) {
    auto cell = std::make_unique<kit::Label>(&GroupBox1, "Label" + std::to_string(5 + i));
    cell->SetBounds(kCellLeft + (i % 10) * kCellStep, kCellTop + (i / 10) * kCellStep, kCellSize, kCellSize);
    cell->SetText(kEmoticonCodes[static_cast<std::size_t>(i)]);
    cell->SetAlignment(kit::Alignment::kCenter);
    cell->SetHint(kEmoticonCodes[static_cast<std::size_t>(i)]);
    cell->ShowHint = true;
    kit::Label* sender = cell.get();
    cell->OnClick = [this, sender] { Label5Click(sender); };
    Cells[static_cast<std::size_t>(i)] = std::move(cell);
  }
  Image1.OnClick = [this] { Label5Click(&Image1); };

  for (kit::Button* b : {&Button3, &Button1, &Button2}) b->SetEnabled(false);

  ComboBox1.OnChange = [this] { ComboBox1Change(); };
  ListBox1.OnClick = [this] { ListBox1Click(); };
  ListBox1.OnKeyPress = [this](char key) { ListBox1KeyPress(key); };
  Button1.OnClick = [this] { Button1Click(); };
  Button3.OnClick = [this] { Button3Click(); };
  Button2.OnClick = [this] { Button2Click(); };
  Button5.OnClick = [this] { Button5Click(); };
  Button6.OnClick = [this] { Button6Click(); };
  Button7.OnClick = [this] { Button7Click(); };
  Button4.OnClick = [this] { Button4Click(); };
  Timer1.OnTimer = [this] { Timer1Timer(); };
}

void TForm2::OpenEditor() {
  Catalogue.LoadMessageCatalogue();
  ResetEditor();
  ShowModal();
}

void TForm2::ResetEditor() {
  CheckBox1.SetChecked(false);
  ComboBox1.SetItemIndex(-1);
  Edit1.SetText("");
  Memo1.SetText("");
  ListBox1.Clear();
  for (kit::Button* b : {&Button1, &Button2, &Button3}) b->SetEnabled(false);
}

void TForm2::Timer1Timer() {
  const bool selected = ListBox1.ItemIndex() >= 0;
  for (kit::Button* b : {&Button3, &Button2, &Button6, &Button7}) b->SetEnabled(selected);
  if (ComboBox1.ItemIndex() < 0) {
    for (kit::Control* c : std::initializer_list<kit::Control*>{&Button3, &Button2, &Button1, &ListBox1})
      c->SetEnabled(false);
  } else {
    ListBox1.SetEnabled(true);
    Button1.SetEnabled(true);
  }
  CheckBox1.SetVisible(ComboBox1.Text() == kSanctionCategory);
}

void TForm2::ComboBox1Change() {
  ListBox1.Clear();
  Edit1.SetText("");
  Memo1.SetText("");
  const std::string category = ComboBox1.Text();
  if (category.empty()) return;
  for (int k = 0; k < MessageCatalogue::kSlots; ++k) {
    const CatalogueEntry& entry = Catalogue.Slot(k);
    if (entry.Category == category) ListBox1.Add(entry.ShortcutName, k);
  }
}

void TForm2::ListBox1Click() {
  const int index = ListBox1.ItemIndex();
  if (index < 0) return;
  const CatalogueEntry& entry = Catalogue.Slot(static_cast<int>(ListBox1.Data(index)));
  Edit1.SetText(entry.ShortcutName);
  Memo1.SetText(entry.MessageText);
  CheckBox1.SetChecked(entry.Quick());
}

void TForm2::ListBox1KeyPress(char) {
  // Nothing selected: reading entry -1 fails and the key changes nothing.
  const CatalogueEntry& entry = Catalogue.Slot(static_cast<int>(ListBox1.Data(ListBox1.ItemIndex())));
  Edit1.SetText(entry.ShortcutName);
  Memo1.SetText(entry.MessageText);
}

std::string TForm2::QuickFlagOfCheckBox() const { return CheckBox1.Checked() ? kQuickFlagPopup : kQuickFlagNormal; }

void TForm2::Button1Click() {
  if (Edit1.Text().empty() || Memo1.Text().empty()) return;
  const std::optional<int> slot = Catalogue.FirstFreeSlot();
  if (!slot) {
    dialogs_.ShowMessage(ansi("Le catalogue est plein : il contient déjà 501 messages. "
                              "Effacez un message avant d'en ajouter un nouveau."),
                         {}, MessageIcon::kWarning);
    return;
  }
  CatalogueEntry& entry = Catalogue.Slot(*slot);
  entry.Category = WithoutSeparator(ComboBox1.Text());
  entry.ShortcutName = WithoutSeparator(Edit1.Text());
  entry.MessageText = WithoutSeparator(Memo1.Text());
  entry.QuickFlag = QuickFlagOfCheckBox();
  ListBox1.Add(entry.ShortcutName, *slot);
}

void TForm2::Button3Click() {
  // An empty field cannot be stored: the next load would shift this entry's fields.
  if (Edit1.Text().empty() || Memo1.Text().empty()) return;
  const int index = ListBox1.ItemIndex();
  CatalogueEntry& entry = Catalogue.Slot(static_cast<int>(ListBox1.Data(index)));
  entry.ShortcutName = WithoutSeparator(Edit1.Text());
  entry.MessageText = WithoutSeparator(Memo1.Text());
  entry.QuickFlag = QuickFlagOfCheckBox();
  ListBox1.SetItem(index, entry.ShortcutName);
}

void TForm2::Button2Click() {
  const int index = ListBox1.ItemIndex();
  Catalogue.Slot(static_cast<int>(ListBox1.Data(index))) = CatalogueEntry{};
  ListBox1.Delete(index);
  Button5Click();
}

void TForm2::Button5Click() {
  Edit1.SetText("");
  Memo1.SetText("");
  ListBox1.SetItemIndex(-1);
}

void TForm2::MoveSelected(int delta) {
  const int p = ListBox1.ItemIndex();
  const int q = p + delta;
  if (p < 0 || q < 0 || q >= ListBox1.Count()) return;
  // Each position keeps its slot; the contents travel, so the file order follows.
  CatalogueEntry& from = Catalogue.Slot(static_cast<int>(ListBox1.Data(p)));
  CatalogueEntry& to = Catalogue.Slot(static_cast<int>(ListBox1.Data(q)));
  std::swap(from.ShortcutName, to.ShortcutName);
  std::swap(from.MessageText, to.MessageText);
  std::swap(from.QuickFlag, to.QuickFlag);
  ListBox1.SetItem(p, from.ShortcutName);
  ListBox1.SetItem(q, to.ShortcutName);
  ListBox1.SetItemIndex(q);
}

void TForm2::Button6Click() { MoveSelected(-1); }
void TForm2::Button7Click() { MoveSelected(+1); }

void TForm2::Button4Click() {
  // A failed write propagates: the editor stays open and the store keeps its contents.
  Catalogue.SaveMessageCatalogue();
  Close();
}

void TForm2::Label5Click(kit::Control* sender) {
  const auto cell = std::find_if(Cells.begin(), Cells.end(), [&](const auto& c) { return c.get() == sender; });
  if (sender == nullptr || cell == Cells.end()) throw std::invalid_argument("not an emoticon cell");
  const std::string& code = sender->Hint();

  const auto [line, column] = Memo1.CaretPos();
  std::vector<std::string> lines(Memo1.Lines().begin(), Memo1.Lines().end());
  if (lines.empty()) lines.emplace_back();  // an empty box still shows one line
  std::string& target = lines.at(static_cast<std::size_t>(line));
  target.insert(std::min(static_cast<std::size_t>(column), target.size()), code);
  std::size_t caret = 0;
  for (int i = 0; i < line; ++i) caret += lines[static_cast<std::size_t>(i)].size() + 2;
  caret += target.size();
  Memo1.SetLines(std::move(lines));
  Memo1.SetSelection(static_cast<int>(caret), 0);
}

}  // namespace tavlen
