// The sound shortcuts window "Raccourics Sons": shortcuts (slots 5 to 100 of the
// hotkey table) are added, removed and tried out with the window's own player.
#pragma once

#include <functional>
#include <memory>

#include "hotkeys/HotKeyManager.h"
#include "hotkeys/HotkeyTable.h"
#include "kit/Widgets.h"
#include "platform/Dialogs.h"
#include "platform/SoundApi.h"

namespace tavlen {

class TForm8 : public kit::Form {
 public:
  // `savehotkeys` is the main window's: it registers the table again and writes hotkeys.ini.
  TForm8(kit::Application& app, const KeyNames& names, HotkeyTable& table, SoundApi& sound, Dialogs& dialogs,
         std::function<void()> savehotkeys);

  kit::ListBox ListBox2;  // the shortcuts' texts
  kit::Button Button3;    // "Supprimer le Raccourci"
  kit::Button Button4;    // "Jouer le son"
  kit::Button Button5;    // "Sopper le son"
  kit::CheckBox CheckBox1;  // "Jouer automatique le son"
  kit::GroupBox GroupBox1;  // "Ajouter un son"
  kit::Label Label1;        // "Raccourci :"
  kit::Edit Edit1;
  kit::Label Label2;  // "Fichier son :"
  kit::Edit Edit2;
  kit::Button Button2;  // "Parcourir"
  kit::Button Button1;  // "Ajouter"
  kit::Label Label3;    // "Touche de raccourcis disponibles !"
  kit::ListBox ListBox1;  // available keys; each entry's data is its key code
  kit::Button Button6;    // "ENREGITRER ET SORTIR"
  // The window's own player, for trying sounds out.
  std::unique_ptr<MediaPlayer> MediaPlayer1;

  // Lists the available keys and the table's sound shortcuts, modally.
  void OpenFromTable();
  void GetPotentialKeys2();
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void Button5Click();
  void Button6Click();
  void ListBox2Click();

 private:
  const KeyNames& names_;
  HotkeyTable& table_;
  Dialogs& dialogs_;
  std::function<void()> savehotkeys_;
};

}  // namespace tavlen
