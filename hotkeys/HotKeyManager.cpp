#include "hotkeys/HotKeyManager.h"

#include <algorithm>

#include "base/Text.h"
#include "platform/Types.h"

namespace tavlen {

const std::array<const char*, 18> MediaKeyNames = {
    "Browser Back",     "Browser Forward", "Browser Refresh",    "Browser Stop",        "Browser Search",
    "Browser Favorites", "Browser Start/Home", "Volume Mute",    "Volume Down",         "Volume Up",
    "Next Track",       "Previous Track",  "Stop Media",         "Play/Pause Media",    "Start Mail",
    "Select Media",     "Start Application 1", "Start Application 2",
};

namespace {

// The name the layout gives the key alone, the fixed English one for a media key
// it leaves without a usable name.
std::string ReadKeyName(HotkeyApi& api, unsigned key) {
  // The navigation block shares its scan codes with the keypad; the extended
  // flag picks the navigation names.
  const bool extended = (key >= 33 && key <= 40) || (key >= 45 && key <= 46);
  const std::uint32_t scan = api.MapVirtualKey(key);
  std::uint32_t argument = scan << 16;
  if (extended) argument |= 1u << 24;
  std::string name;
  if (argument != 0) name = api.GetKeyNameText(static_cast<std::int32_t>(argument));
  if (name.size() <= 1 && key >= kFirstMediaKey && key <= kLastMediaKey) name = MediaKeyNames[key - kFirstMediaKey];
  return name;
}

}  // namespace

KeyNames::KeyNames(HotkeyApi& api) {
  for (unsigned key = 0; key < names_.size(); ++key) names_[key] = ReadKeyName(api, key);
  for (unsigned key = 8; key < names_.size(); ++key)
    by_name_.emplace(LowerAscii(names_[key]), static_cast<std::uint16_t>(key));  // the lowest code stays
  modifiers_.Shift = Name(16);
  modifiers_.Ctrl = Name(17);
  modifiers_.Alt = Name(18);
  // A layout that writes its names in capitals gets "WIN" to match.
  const bool capitals = std::all_of(modifiers_.Alt.begin(), modifiers_.Alt.end(),
                                    [](char c) { return c >= 'A' && c <= 'Z'; });
  if (capitals) modifiers_.Win = "WIN";
}

std::uint16_t KeyNames::KeyByName(std::string_view name) const {
  const auto found = by_name_.find(LowerAscii(name));
  return found == by_name_.end() ? 0 : found->second;
}

HotKeyValue MakeHotKey(std::uint16_t modifiers, std::uint16_t key) {
  HotKeyValue bits = 0;
  if (modifiers & hotkey_mod::kAlt) bits += 0x80;
  if (modifiers & hotkey_mod::kControl) bits += 0x40;
  if (modifiers & hotkey_mod::kShift) bits += 0x20;
  if (modifiers & hotkey_mod::kWin) bits += 0x100;
  return (bits << 8) + key;
}

void SplitHotKey(HotKeyValue value, std::uint16_t& modifiers, std::uint16_t& key) {
  key = static_cast<std::uint16_t>(value & 0xFF);
  modifiers = 0;
  if (value & hotkey_bits::kShift) modifiers |= hotkey_mod::kShift;
  if (value & hotkey_bits::kCtrl) modifiers |= hotkey_mod::kControl;
  if (value & hotkey_bits::kAlt) modifiers |= hotkey_mod::kAlt;
  if (value & hotkey_bits::kWin) modifiers |= hotkey_mod::kWin;
}

std::string FormatHotKey(const KeyNames& names, HotKeyValue value) {
  const std::string& name = names.Name(value & 0xFF);
  const ModifierNames& m = names.Modifiers();
  std::string prefix;
  if (value & hotkey_bits::kCtrl) prefix += m.Ctrl + "+";
  if (value & hotkey_bits::kShift) prefix += m.Shift + "+";
  if (value & hotkey_bits::kAlt) prefix += m.Alt + "+";
  if (value & hotkey_bits::kWin) prefix += m.Win + "+";
  return prefix + name;
}

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Items between "+" signs. Leading blanks are skipped and empty items dropped; a
// quotation mark protects the "+" signs up to the next mark of its kind and stays
// in the item.
std::vector<std::string> SplitItems(std::string_view text) {
  std::vector<std::string> items;
  std::string item;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '"' || c == '\'') {
      std::size_t end = text.find(c, i + 1);
      end = (end == std::string_view::npos) ? text.size() : end + 1;
      item.append(text.substr(i, end - i));
      i = end;
    } else if (c == '+') {
      if (!item.empty()) items.push_back(item);
      item.clear();
      ++i;
    } else {
      if (!(item.empty() && IsBlank(c))) item.push_back(c);
      ++i;
    }
  }
  if (!item.empty()) items.push_back(item);
  return items;
}

}  // namespace

HotKeyValue ParseHotKey(const KeyNames& names, std::string_view text) {
  const ModifierNames& m = names.Modifiers();
  const std::vector<std::string> items = SplitItems(text);

  std::uint16_t modifiers = 0;
  for (std::size_t i = 0; i + 1 < items.size(); ++i) {
    const std::string item = TrimBlanks(items[i]);
    auto is = [&item](std::string_view english, const std::string& local) {
      return EqualsIgnoreCase(item, english) || EqualsIgnoreCase(item, local);
    };
    if (is("Shift", m.Shift)) {
      modifiers |= hotkey_mod::kShift;
    } else if (is("Ctrl", m.Ctrl)) {
      modifiers |= hotkey_mod::kControl;
    } else if (is("Alt", m.Alt)) {
      modifiers |= hotkey_mod::kAlt;
    } else if (is("Win", m.Win)) {
      modifiers |= hotkey_mod::kWin;
    } else {
      modifiers = 0;
      break;
    }
  }
  if (modifiers == 0 && items.size() > 1) return 0;

  std::uint16_t key = 0;
  if (!items.empty()) {
    std::string last = TrimBlanks(items.back());
    if (last.size() == 1) {
      const char c = UpperAscii(last)[0];
      if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) {
        key = static_cast<std::uint16_t>(c);
      } else {
        key = names.KeyByName(std::string_view(&c, 1));
      }
    } else {
      // Splitting at "+" cut the keypad plus key's name in two.
      if (last == "Num") last += " +";
      const bool modifier_alone = last == "Ctrl" || last == "Alt" || last == "Shift" || last == "Win" ||
                                  last == m.Shift || last == m.Ctrl || last == m.Alt || last == m.Win;
      if (!modifier_alone) key = names.KeyByName(last);
    }
  }
  if (key == 0) return 0;
  return MakeHotKey(modifiers, key);
}

THotKeyManager::THotKeyManager(HotkeyApi& api) : api_(api) {
  window_ = api_.CreateMessageWindow(
      [this](Hwnd, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) { return WndProc(msg, wparam, lparam); });
}

THotKeyManager::~THotKeyManager() {
  UnregisterAll();
  api_.DestroyMessageWindow(window_);
}

std::uint16_t THotKeyManager::Register(HotKeyValue value) {
  std::uint16_t modifiers = 0;
  std::uint16_t key = 0;
  SplitHotKey(value, modifiers, key);
  const HotkeyApi::Atom id = api_.GlobalAddAtom("HotKeyManagerHotKey" + std::to_string(value));
  // Without an atom there is no id to register under; 0 must keep meaning failure.
  if (id == 0) return 0;
  if (!api_.RegisterHotKey(window_, id, modifiers, key)) {
    api_.GlobalDeleteAtom(id);
    return 0;
  }
  registered_.push_back(RegisteredHotKey{value, id});
  return id;
}

void THotKeyManager::UnregisterAll() {
  while (!registered_.empty()) {
    const RegisteredHotKey last = registered_.back();
    api_.UnregisterHotKey(window_, last.Id);
    api_.GlobalDeleteAtom(last.Id);
    registered_.pop_back();
  }
}

bool THotKeyManager::IsRegistered(HotKeyValue value) const {
  return std::any_of(registered_.begin(), registered_.end(),
                     [value](const RegisteredHotKey& r) { return r.HotKey == value; });
}

std::intptr_t THotKeyManager::WndProc(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
  if (msg == wm::kHotKey && OnHotKeyPressed) {
    const auto modifiers = static_cast<std::uint32_t>(lparam) & 0xFFFF;
    HotKeyValue value = 0;
    if (modifiers & hotkey_mod::kShift) value += hotkey_bits::kShift;
    if (modifiers & hotkey_mod::kControl) value += hotkey_bits::kCtrl;
    if (modifiers & hotkey_mod::kAlt) value += hotkey_bits::kAlt;
    if (modifiers & hotkey_mod::kWin) value += hotkey_bits::kWin;
    value += (static_cast<std::uint32_t>(lparam) >> 16) & 0xFFFF;
    if (IsRegistered(value)) OnHotKeyPressed(value, static_cast<std::uint16_t>(wparam & 0xFFFF));
  }
  return api_.DefWindowProc(window_, msg, wparam, lparam);
}

std::string CouldNotAssignText(const KeyNames& names, HotKeyValue value) {
  return FormatHotKey(names, value) + " couldn't be assigned to a hotkey.";
}

void AddHotKey(THotKeyManager& manager, const KeyNames& names, HotKeyValue value,
               const std::function<void(const std::string& text)>& warn) {
  if (manager.Register(value) == 0 && warn) warn(CouldNotAssignText(names, value));
}

}  // namespace tavlen
