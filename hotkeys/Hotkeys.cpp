#include "hotkeys/Hotkeys.h"

namespace tavlen {

Hotkeys::Hotkeys(HotkeyApi& api, Dialogs& dialogs, std::string exe_dir, HotkeyTable& table)
    : HotKeyNames(api), HotKeyManager1(api), dialogs_(dialogs), exe_dir_(std::move(exe_dir)), table_(table) {}

void Hotkeys::Warn(const std::string& text) { dialogs_.ShowMessage(text, "Avertissement", MessageIcon::kWarning); }

void Hotkeys::AddHotKey(HotKeyValue value) {
  tavlen::AddHotKey(HotKeyManager1, HotKeyNames, value, [this](const std::string& text) { Warn(text); });
}

void Hotkeys::loadhotkeys() {
  HotKeyManager1.UnregisterAll();
  tavlen::loadhotkeys(table_, HotkeysPath());
}

void Hotkeys::RegisterAllHotkeys() {
  tavlen::RegisterAllHotkeys(
      table_, HotKeyNames, [this](HotKeyValue value) { AddHotKey(value); },
      [this](const std::string& text) { Warn(text); });
}

void Hotkeys::savehotkeys() {
  tavlen::savehotkeys(
      table_, HotKeyManager1, HotKeyNames, HotkeysPath(), [this](HotKeyValue value) { AddHotKey(value); },
      [this](const std::string& text) { Warn(text); });
}

}  // namespace tavlen
