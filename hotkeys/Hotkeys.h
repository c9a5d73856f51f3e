// The moderator's hotkeys: the table kept in hotkeys.ini beside the executable,
// and its registration with the system, a refused key warned about in a box.
#pragma once

#include <string>

#include "hotkeys/HotKeyManager.h"
#include "hotkeys/HotkeyTable.h"
#include "platform/Dialogs.h"
#include "platform/HotkeyApi.h"

namespace tavlen {

class Hotkeys {
 public:
  Hotkeys(HotkeyApi& api, Dialogs& dialogs, std::string exe_dir, HotkeyTable& table);

  KeyNames HotKeyNames;
  THotKeyManager HotKeyManager1;

  // Registers one hotkey; a refusal is warned about in a box.
  void AddHotKey(HotKeyValue value);
  std::string HotkeysPath() const { return exe_dir_ + "hotkeys.ini"; }
  void loadhotkeys();
  void RegisterAllHotkeys();
  void savehotkeys();

 private:
  void Warn(const std::string& text);

  Dialogs& dialogs_;
  std::string exe_dir_;
  HotkeyTable& table_;
};

}  // namespace tavlen
