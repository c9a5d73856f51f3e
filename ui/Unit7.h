// The hotkey settings window "Raccourcis Clavier": the keys of the four fixed
// actions and the list of the keys the layout offers.
#pragma once

#include <functional>

#include "hotkeys/HotKeyManager.h"
#include "hotkeys/HotkeyTable.h"
#include "kit/Widgets.h"

namespace tavlen {

class TForm7 : public kit::Form {
 public:
  // `savehotkeys` is the main window's: it registers the table again and writes hotkeys.ini.
  TForm7(kit::Application& app, const KeyNames& names, HotkeyTable& table, std::function<void()> savehotkeys);

  kit::Label Label1, Label2, Label3, Label4;
  kit::Edit Edit1;  // TALK, slot 1
  kit::Edit Edit2;  // BLOCKMIC, slot 2
  kit::Edit Edit3;  // SRCMIC, slot 3
  kit::Edit Edit4;  // SRCMIX, slot 4
  kit::Label Label5;
  kit::ListBox ListBox1;  // available keys; each entry's data is its key code
  kit::Button Button1;    // "Valider"

  // Shows the four fixed hotkeys of the table, modally.
  void OpenFromTable();
  void FormCreate();
  void Button1Click();

 private:
  const KeyNames& names_;
  HotkeyTable& table_;
  std::function<void()> savehotkeys_;
};

// Fills a list of available keys; the first entry is selected.
void FillPotentialKeys(kit::ListBox& list, const KeyNames& names);

}  // namespace tavlen
