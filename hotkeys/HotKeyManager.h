// Global hotkeys in their three forms: a 32-bit value (what the system reports),
// modifier flags plus a virtual key (what the system registers) and a text such
// as "Ctrl+Alt+F1" written with the key names of the layout in use (what the user
// types and the settings store); and THotKeyManager, which registers values on a
// hidden window and raises OnHotKeyPressed when one is pressed.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/HotkeyApi.h"

namespace tavlen {

using HotKeyValue = std::uint32_t;

// Value bits.
namespace hotkey_bits {
constexpr HotKeyValue kShift = 0x2000;
constexpr HotKeyValue kCtrl = 0x4000;
constexpr HotKeyValue kAlt = 0x8000;
constexpr HotKeyValue kWin = 0x10000;
}  // namespace hotkey_bits

// The layout's names of the modifier keys, in the order Shift, Ctrl, Alt, Win.
struct ModifierNames {
  std::string Shift = "Shift";
  std::string Ctrl = "Ctrl";
  std::string Alt = "Alt";
  std::string Win = "Win";
};

// English names of the browser and media keys 166..183, used when the layout
// gives such a key no usable name.
extern const std::array<const char*, 18> MediaKeyNames;
constexpr unsigned kFirstMediaKey = 166;
constexpr unsigned kLastMediaKey = 183;

// The keyboard layout as hotkey texts see it: every key's name and the modifier
// names are read from the platform once, at creation, so that a press or a
// parse costs no platform call (the reads take two calls a key).
class KeyNames {
 public:
  explicit KeyNames(HotkeyApi& api);

  const ModifierNames& Modifiers() const { return modifiers_; }
  // The name of the key `key` (0..255) alone; empty when it has none.
  const std::string& Name(unsigned key) const { return names_[key & 0xFF]; }
  // The lowest key code from 8 whose name is `name`, ignoring ASCII case; 0 for none.
  std::uint16_t KeyByName(std::string_view name) const;

 private:
  ModifierNames modifiers_;
  std::array<std::string, 256> names_;
  std::unordered_map<std::string, std::uint16_t> by_name_;  // lowered name -> code
};

HotKeyValue MakeHotKey(std::uint16_t modifiers, std::uint16_t key);
void SplitHotKey(HotKeyValue value, std::uint16_t& modifiers, std::uint16_t& key);
// "Ctrl+Shift+A"; empty for a key without a name and without modifiers.
std::string FormatHotKey(const KeyNames& names, HotKeyValue value);
// 0 when the text is not a hotkey.
HotKeyValue ParseHotKey(const KeyNames& names, std::string_view text);

struct RegisteredHotKey {
  HotKeyValue HotKey;
  std::uint16_t Id;
};

class THotKeyManager {
 public:
  using TOnHotKeyPressed = std::function<void(HotKeyValue HotKey, std::uint16_t Index)>;

  explicit THotKeyManager(HotkeyApi& api);
  virtual ~THotKeyManager();
  THotKeyManager(const THotKeyManager&) = delete;
  THotKeyManager& operator=(const THotKeyManager&) = delete;

  // The registration id (never 0), or 0 when the system refuses the hotkey.
  std::uint16_t Register(HotKeyValue value);
  void UnregisterAll();
  bool IsRegistered(HotKeyValue value) const;

  const std::vector<RegisteredHotKey>& Registered() const { return registered_; }
  Hwnd Window() const { return window_; }

  // Raised on the UI thread when a registered hotkey is pressed. The owner routes
  // it through the application's error guard: nothing may escape the window procedure.
  TOnHotKeyPressed OnHotKeyPressed;

 protected:
  // The hidden window's procedure.
  virtual std::intptr_t WndProc(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam);

 private:
  HotkeyApi& api_;
  Hwnd window_ = kNoWindow;
  std::vector<RegisteredHotKey> registered_;
};

// The text of the warning shown when the system refuses a hotkey.
std::string CouldNotAssignText(const KeyNames& names, HotKeyValue value);
// Registers value through the manager; when the system refuses it, warn gets
// the refusal text. The main window's warning box is behind warn.
void AddHotKey(THotKeyManager& manager, const KeyNames& names, HotKeyValue value,
               const std::function<void(const std::string& text)>& warn);

}  // namespace tavlen
