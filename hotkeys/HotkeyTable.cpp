#include "hotkeys/HotkeyTable.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "base/Files.h"
#include "base/Text.h"

namespace tavlen {

HotkeySlot& HotkeyTable::Slot(int n) {
  if (n < 1 || n > kSlots) throw std::out_of_range("hotkey slot " + std::to_string(n));
  return slots_[static_cast<std::size_t>(n - 1)];
}

const HotkeySlot& HotkeyTable::Slot(int n) const { return const_cast<HotkeyTable*>(this)->Slot(n); }

std::string HotkeyTable::gethotaction(std::string_view text) const {
  std::string action;
  for (const HotkeySlot& slot : slots_)
    if (slot.KeyText == text) action = slot.Action;
  return action;
}

std::string ActionForHotKey(const HotkeyTable& table, const KeyNames& names, HotKeyValue value) {
  return HotkeyActions(names).ActionFor(table, value);
}

std::string HotkeyActions::ActionFor(const HotkeyTable& table, HotKeyValue value) {
  std::string action;
  for (int n = 1; n <= HotkeyTable::kSlots; ++n) {
    const HotkeySlot& slot = table.Slot(n);
    if (slot.Free()) continue;
    Parsed& parsed = parsed_[static_cast<std::size_t>(n - 1)];
    if (parsed.text != slot.KeyText) parsed = Parsed{slot.KeyText, ParseHotKey(names_, slot.KeyText)};
    // A text that is no hotkey was never registered and cannot be pressed.
    if (parsed.value != 0 && parsed.value == value) action = slot.Action;
  }
  return action;
}

void ReadHotkeys(HotkeyTable& table, std::string_view file_bytes) {
  std::array<bool, 4> fixed_taken{};
  int next_sound_slot = kFirstSoundSlot;
  table.ExtraLines.clear();
  for (const std::string& line : SplitLinesAnyBreak(file_bytes)) {
    HotkeySlot entry{WordAt(1, line, kCurrency), WordAt(2, line, kCurrency)};
    if (entry.Free()) continue;  // nothing but separators: no entry to keep
    const auto fixed = std::find(kFixedHotkeyActions.begin(), kFixedHotkeyActions.end(), entry.Action);
    if (fixed != kFixedHotkeyActions.end()) {
      const auto index = static_cast<std::size_t>(fixed - kFixedHotkeyActions.begin());
      if (!fixed_taken[index]) {
        fixed_taken[index] = true;
        table.Slot(static_cast<int>(index) + 1) = std::move(entry);
        continue;
      }
    }
    if (next_sound_slot <= HotkeyTable::kSlots) {
      table.Slot(next_sound_slot++) = std::move(entry);
    } else {
      table.ExtraLines.push_back(line);
    }
  }
}

void loadhotkeys(HotkeyTable& table, const std::string& path) {
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return;
  ReadHotkeys(table, *bytes);
}

std::vector<std::string> HotkeyLines(const HotkeyTable& table) {
  std::vector<std::string> lines;
  for (int n = 1; n <= HotkeyTable::kSlots; ++n) {
    const HotkeySlot& slot = table.Slot(n);
    if (!slot.Free()) lines.push_back(slot.KeyText + "\xA4" + slot.Action);
  }
  lines.insert(lines.end(), table.ExtraLines.begin(), table.ExtraLines.end());
  return lines;
}

std::string NotAHotkeyText(std::string_view key_text) {
  return std::string(key_text) + " doesn't appear to be a hotkey.";
}

namespace {
void RegisterSlot(const HotkeySlot& slot, const KeyNames& names, const AddHotKeyFn& add_hot_key,
                  const HotkeyWarnFn& warn) {
  const HotKeyValue value = ParseHotKey(names, slot.KeyText);
  if (value != 0) {
    add_hot_key(value);
  } else if (warn) {
    warn(NotAHotkeyText(slot.KeyText));
  }
}
}  // namespace

void RegisterAllHotkeys(const HotkeyTable& table, const KeyNames& names, const AddHotKeyFn& add_hot_key,
                        const HotkeyWarnFn& warn) {
  for (int n = 1; n <= HotkeyTable::kSlots; ++n)
    if (!table.Slot(n).Free()) RegisterSlot(table.Slot(n), names, add_hot_key, warn);
}

void savehotkeys(const HotkeyTable& table, THotKeyManager& manager, const KeyNames& names, const std::string& path,
                 const AddHotKeyFn& add_hot_key, const HotkeyWarnFn& warn) {
  manager.UnregisterAll();
  // A text that is not a hotkey is still written back.
  RegisterAllHotkeys(table, names, add_hot_key, warn);
  WriteFileAtomic(path, JoinLinesCrLf(HotkeyLines(table)));
}

std::vector<PotentialKeyEntry> GetPotentialKeys(const KeyNames& names) {
  static constexpr std::pair<unsigned, unsigned> kRanges[] = {{8, 9}, {13, 13}, {20, 145}, {186, 255}, {166, 183}};
  std::vector<PotentialKeyEntry> keys;
  for (const auto& [first, last] : kRanges) {
    for (unsigned code = first; code <= last; ++code) {
      std::string name = FormatHotKey(names, code);
      if (!name.empty()) keys.push_back(PotentialKeyEntry{std::move(name), TPotentialKey{static_cast<std::uint16_t>(code)}});
    }
  }
  return keys;
}

}  // namespace tavlen
