#include "ui/Unit7.h"

#include <array>

#include "base/Text.h"
#include "kit/Layout.h"

namespace tavlen {

void FillPotentialKeys(kit::ListBox& list, const KeyNames& names) {
  for (PotentialKeyEntry& key : GetPotentialKeys(names)) list.Add(std::move(key.Name), key.Key.Code);
  if (list.Count() > 0) list.SetItemIndex(0);
}

TForm7::TForm7(kit::Application& app, const KeyNames& names, HotkeyTable& table,
               std::function<void()> savehotkeys)
    : kit::Form(app, "TForm7", "Raccourcis Clavier"),
      Label1(this, "Label1"),
      Label2(this, "Label2"),
      Label3(this, "Label3"),
      Label4(this, "Label4"),
      Edit1(this, "Edit1"),
      Edit2(this, "Edit2"),
      Edit3(this, "Edit3"),
      Edit4(this, "Edit4"),
      Label5(this, "Label5"),
      ListBox1(this, "ListBox1"),
      Button1(this, "Button1"),
      names_(names),
      table_(table),
      savehotkeys_(std::move(savehotkeys)) {
  SetClientSize(260, 300);
  Position = kit::FormPosition::kOwnerFormCenter;
  Border = kit::BorderStyle::kDialog;
  kit::Lay({
      {Label1, 8, 15, 110, 16, "Prise de talk :"},
      {Edit1, 122, 12, 130, 21},
      {Label2, 8, 43, 110, 16, "Blocage du micro :"},
      {Edit2, 122, 40, 130, 21},
      {Label3, 8, 71, 110, 16, "Source Microphone :"},
      {Edit3, 122, 68, 130, 21},
      {Label4, 8, 99, 110, 16, "Source Musique :"},
      {Edit4, 122, 96, 130, 21},
      {Label5, 8, 128, 244, 16, "Liste des touches disponibles"},
      {ListBox1, 8, 146, 244, 112},
      {Button1, 90, 266, 80, 25, "Valider"},
  });
  Button1.OnClick = [this] { Button1Click(); };
  // Guarded as every handler is: a failure here must not end the program.
  App().Dispatch([this] { FormCreate(); });
}

void TForm7::OpenFromTable() {
  Edit1.SetText(table_.Slot(1).KeyText);
  Edit2.SetText(table_.Slot(2).KeyText);
  Edit3.SetText(table_.Slot(3).KeyText);
  Edit4.SetText(table_.Slot(4).KeyText);
  ShowModal();
}

void TForm7::FormCreate() { FillPotentialKeys(ListBox1, names_); }

void TForm7::Button1Click() {
  const std::array<kit::Edit*, 4> edits = {&Edit1, &Edit2, &Edit3, &Edit4};
  for (std::size_t i = 0; i < edits.size(); ++i)
    table_.Slot(static_cast<int>(i) + 1) = HotkeySlot{edits[i]->Text(), std::string(kFixedHotkeyActions[i])};
  // A file that cannot be written throws here and leaves the window open.
  savehotkeys_();
  Close();
}

}  // namespace tavlen
