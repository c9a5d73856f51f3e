// hotkeys.ini lines for a long table of named keys ("Ctrl+Shift+Page Down"...),
// each playing a sound: the table beside which a press once named every key
// code to find its own.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "hotkeys/HotKeyManager.h"
#include "hotkeys/HotkeyTable.h"

namespace tavlen::bench {

// `count` lines (fewer when the layout has too few named keys): every key whose
// name is longer than one character, under Ctrl+Shift, then under Alt+Shift.
inline std::vector<std::string> NamedKeyHotkeyLines(HotkeyApi& api, std::size_t count) {
  std::vector<std::string> lines;
  const std::vector<PotentialKeyEntry> keys = GetPotentialKeys(KeyNames(api));
  for (const char* modifiers : {"Ctrl+Shift+", "Alt+Shift+"})
    for (const PotentialKeyEntry& key : keys)
      if (key.Name.size() > 1 && lines.size() < count)
        lines.push_back(std::string(modifiers) + key.Name + "\xA4" "C:\\sons\\" + std::to_string(lines.size()) + ".wav");
  return lines;
}

}  // namespace tavlen::bench
