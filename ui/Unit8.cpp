#include "ui/Unit8.h"

#include <stdexcept>

#include "kit/Layout.h"
#include "ui/Unit7.h"

namespace tavlen {

TForm8::TForm8(kit::Application& app, const KeyNames& names, HotkeyTable& table, SoundApi& sound,
               Dialogs& dialogs, std::function<void()> savehotkeys)
    : kit::Form(app, "TForm8", "Raccourics Sons"),
      ListBox2(this, "ListBox2"),
      Button3(this, "Button3"),
      Button4(this, "Button4"),
      Button5(this, "Button5"),
      CheckBox1(this, "CheckBox1"),
      GroupBox1(this, "GroupBox1"),
      Label1(&GroupBox1, "Label1"),
      Edit1(&GroupBox1, "Edit1"),
      Label2(&GroupBox1, "Label2"),
      Edit2(&GroupBox1, "Edit2"),
      Button2(&GroupBox1, "Button2"),
      Button1(&GroupBox1, "Button1"),
      Label3(this, "Label3"),
      ListBox1(this, "ListBox1"),
      Button6(this, "Button6"),
      MediaPlayer1(sound.CreateMediaPlayer()),
      names_(names),
      table_(table),
      dialogs_(dialogs),
      savehotkeys_(std::move(savehotkeys)) {
  SetClientSize(430, 330);
  Position = kit::FormPosition::kOwnerFormCenter;
  Border = kit::BorderStyle::kDialog;

  kit::Lay({
      {ListBox2, 8, 8, 180, 200},
      {Button3, 8, 214, 180, 25, "Supprimer le Raccourci"},
      {Button4, 8, 244, 88, 25, "Jouer le son"},
      {Button5, 100, 244, 88, 25, "Sopper le son"},
      {CheckBox1, 8, 274, 180, 17, "Jouer automatique le son"},
      {GroupBox1, 196, 8, 226, 130, "Ajouter un son"},
      {Label1, 8, 20, 70, 16, "Raccourci :"},
      {Edit1, 80, 17, 136, 21},
      {Label2, 8, 48, 70, 16, "Fichier son :"},
      {Edit2, 80, 45, 136, 21},
      {Button2, 136, 70, 80, 23, "Parcourir"},
      {Button1, 8, 98, 208, 25, "Ajouter"},
      {Label3, 196, 144, 226, 16, "Touche de raccourcis disponibles !"},
      {ListBox1, 196, 162, 226, 129},
      {Button6, 8, 298, 414, 25, "ENREGITRER ET SORTIR"},
  });

  Button1.OnClick = [this] { Button1Click(); };
  Button2.OnClick = [this] { Button2Click(); };
  Button3.OnClick = [this] { Button3Click(); };
  Button4.OnClick = [this] { Button4Click(); };
  Button5.OnClick = [this] { Button5Click(); };
  Button6.OnClick = [this] { Button6Click(); };
  ListBox2.OnClick = [this] { ListBox2Click(); };
}

void TForm8::OpenFromTable() {
  ListBox1.Clear();
  GetPotentialKeys2();
  ListBox2.Clear();
  for (int n = kFirstSoundSlot; n <= HotkeyTable::kSlots; ++n)
    if (!table_.Slot(n).Free()) ListBox2.Add(table_.Slot(n).KeyText);
  ShowModal();
}

void TForm8::GetPotentialKeys2() { FillPotentialKeys(ListBox1, names_); }

void TForm8::Button1Click() {
  ListBox2.Add(Edit1.Text());
  for (int n = kFirstSoundSlot; n <= HotkeyTable::kSlots; ++n) {
    if (table_.Slot(n).Free()) {
      table_.Slot(n) = HotkeySlot{Edit1.Text(), Edit2.Text()};
      break;
    }
  }
  Edit1.SetText("");
  Edit2.SetText("");
}

void TForm8::Button2Click() {
  if (std::optional<std::string> path = dialogs_.OpenFile("wav|*.wav;*.mp3")) Edit2.SetText(*path);
}

void TForm8::Button3Click() {
  const int index = ListBox2.ItemIndex();
  if (index < 0) return;
  const std::string text = ListBox2.Item(index);
  for (int n = kFirstSoundSlot; n <= HotkeyTable::kSlots; ++n) {
    if (table_.Slot(n).KeyText == text) {
      table_.Slot(n) = HotkeySlot{};
      ListBox2.Delete(index);
      return;
    }
  }
}

void TForm8::Button4Click() {
  // No entry selected: reading entry -1 throws and nothing plays.
  const std::string action = table_.gethotaction(ListBox2.Item(ListBox2.ItemIndex()));
  if (auto error = MediaPlayer1->Open(action)) throw std::runtime_error(*error);
  if (auto error = MediaPlayer1->Play()) throw std::runtime_error(*error);
}

void TForm8::Button5Click() {
  if (auto error = MediaPlayer1->Stop()) throw std::runtime_error(*error);
}

void TForm8::Button6Click() {
  MediaPlayer1->Close();
  savehotkeys_();
  Close();
}

void TForm8::ListBox2Click() {
  if (CheckBox1.Checked()) Button4Click();
}

}  // namespace tavlen
