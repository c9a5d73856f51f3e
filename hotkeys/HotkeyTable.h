// The console's hotkeys: 100 slots pairing a hotkey text with an action. Slots 1-4
// hold the fixed actions, slots 5-100 the sound shortcuts (action = sound file
// path). Stored in hotkeys.ini, one "KeyText¤Action" line per used slot.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "hotkeys/HotKeyManager.h"

namespace tavlen {

// The fixed actions, in the order of their slots 1 to 4.
inline constexpr std::array<std::string_view, 4> kFixedHotkeyActions = {"TALK", "BLOCKMIC", "SRCMIC", "SRCMIX"};
inline constexpr int kFirstSoundSlot = 5;

struct HotkeySlot {
  std::string KeyText;  // empty: free slot
  std::string Action;
  bool Free() const { return KeyText.empty(); }
};

class HotkeyTable {
 public:
  static constexpr int kSlots = 100;

  // Slots are numbered from 1; any other number throws std::out_of_range.
  HotkeySlot& Slot(int n);
  const HotkeySlot& Slot(int n) const;

  // The action of the last slot whose text equals text exactly; empty when none.
  std::string gethotaction(std::string_view text) const;

  // Lines of hotkeys.ini that found no free slot when it was read. They are kept
  // as they were and written back after the table, so no entry is lost.
  std::vector<std::string> ExtraLines;

 private:
  std::array<HotkeySlot, kSlots> slots_;
};

// The action of the last slot whose text parses to value; empty when none.
std::string ActionForHotKey(const HotkeyTable& table, const KeyNames& names, HotKeyValue value);

// ActionForHotKey for every press: each slot's text is parsed again only once it
// has changed, whoever changed it (a load, a save, the shortcut windows).
class HotkeyActions {
 public:
  explicit HotkeyActions(const KeyNames& names) : names_(names) {}
  std::string ActionFor(const HotkeyTable& table, HotKeyValue value);

 private:
  struct Parsed {
    std::string text;  // "" parses to 0, as a fresh entry says
    HotKeyValue value = 0;
  };
  const KeyNames& names_;
  std::array<Parsed, HotkeyTable::kSlots> parsed_;
};

// Fills the table from the bytes of hotkeys.ini. A line's first field (fields split
// at runs of ¤) is the text, its second the action. The first line with each fixed
// action goes to that action's slot; every other line takes the next slot from 5 on,
// in file order; lines left over go to ExtraLines. Slots no line reaches keep their
// content. Empty lines take no slot.
void ReadHotkeys(HotkeyTable& table, std::string_view file_bytes);
// loadhotkeys without the unregistration, which the caller does first: a missing
// file leaves the table as it is.
void loadhotkeys(HotkeyTable& table, const std::string& path);

// The lines savehotkeys writes: one per used slot in slot order, then ExtraLines.
std::vector<std::string> HotkeyLines(const HotkeyTable& table);

// The main window's AddHotKey (registers, warns when refused).
using AddHotKeyFn = std::function<void(HotKeyValue value)>;
// Shows one warning text modally.
using HotkeyWarnFn = std::function<void(const std::string& text)>;

std::string NotAHotkeyText(std::string_view key_text);
// Registers every used slot in slot order: AddHotKey for a text that parses, the
// "doesn't appear to be a hotkey." warning for one that does not.
void RegisterAllHotkeys(const HotkeyTable& table, const KeyNames& names, const AddHotKeyFn& add_hot_key,
                        const HotkeyWarnFn& warn);
// Unregisters everything, registers the table again as RegisterAllHotkeys does and
// replaces the file at path. Throws when the file cannot be written; the
// registrations made stay.
void savehotkeys(const HotkeyTable& table, THotKeyManager& manager, const KeyNames& names, const std::string& path,
                 const AddHotKeyFn& add_hot_key, const HotkeyWarnFn& warn);

// The list of available keys.
struct TPotentialKey {
  std::uint16_t Code;
};
struct PotentialKeyEntry {
  std::string Name;
  TPotentialKey Key;
};
// Bare key names of codes 8-9, 13, 20-145, 186-255 and 166-183, in that order,
// skipping codes the layout does not name.
std::vector<PotentialKeyEntry> GetPotentialKeys(const KeyNames& names);

}  // namespace tavlen
