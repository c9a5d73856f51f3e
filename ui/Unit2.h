// The message catalogue editor window "Gestion des messages": it owns the
// catalogue store, which the main window reads in place, and edits it entry by
// entry; only "VALIDER ET ENREGISTRER" writes messages.ini.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "kit/Widgets.h"
#include "moderation/MessageCatalogue.h"
#include "platform/Dialogs.h"

namespace tavlen {

class TForm2 : public kit::Form {
 public:
  static constexpr int kEmoticonCells = 40;

  TForm2(kit::Application& app, MessageCatalogue& catalogue, Dialogs& dialogs);

  // The store, from start-up (all slots free) to exit.
  MessageCatalogue& Catalogue;

  // Reloads the file, resets the editor and shows it modally (last step).
  void OpenEditor();
  void ResetEditor();

  // Handlers.
  void ComboBox1Change();
  void ListBox1Click();
  void ListBox1KeyPress(char key);
  void Button1Click();
  void Button3Click();
  void Button2Click();
  void Button5Click();
  void Button6Click();
  void Button7Click();
  void Button4Click();
  void Label5Click(kit::Control* sender);
  void Timer1Timer();

  kit::Label Label3;
  kit::ComboBox ComboBox1;
  kit::Label Label4;
  kit::ListBox ListBox1;
  kit::Button Button6, Button7;
  kit::GroupBox GroupBox1;
  kit::Label Label1;
  kit::Edit Edit1;
  kit::Label Label2;
  kit::Memo Memo1;
  kit::CheckBox CheckBox1;
  kit::Label Image1;
  std::array<std::unique_ptr<kit::Label>, kEmoticonCells> Cells;  // Label5 .. Label44
  kit::Button Button3, Button1, Button2, Button5, Button4;
  // Enables the buttons for the selection and category in hand (1 ms).
  kit::Timer Timer1;

  kit::Label& Cell(int i) { return *Cells.at(static_cast<std::size_t>(i)); }

 private:
  // Exchanges the contents (not the category) of the entries at two positions
  // and moves the item, which stays selected.
  void MoveSelected(int delta);
  std::string QuickFlagOfCheckBox() const;

  Dialogs& dialogs_;
};

// The codes of the emoticon palette, row by row.
extern const std::array<const char*, TForm2::kEmoticonCells> kEmoticonCodes;

}  // namespace tavlen
