// Global hotkeys and the keyboard layout's key names: RegisterHotKey and
// UnregisterHotKey on a hidden message window, global atoms for the ids,
// MapVirtualKey and GetKeyNameText. WM_HOTKEY arrives at the procedure given when
// the window is created, on the UI thread (wParam = id, lParam = modifiers | vk << 16).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Types.h"

namespace tavlen {

// RegisterHotKey modifier flags.
namespace hotkey_mod {
constexpr unsigned kAlt = 1;      // MOD_ALT
constexpr unsigned kControl = 2;  // MOD_CONTROL
constexpr unsigned kShift = 4;    // MOD_SHIFT
constexpr unsigned kWin = 8;      // MOD_WIN
}  // namespace hotkey_mod

class HotkeyApi {
 public:
  using Atom = std::uint16_t;  // 0 = failure
  // A window procedure: (window, message, wParam, lParam) -> result.
  using WindowProc = std::function<std::intptr_t(Hwnd, unsigned, std::uintptr_t, std::intptr_t)>;

  virtual ~HotkeyApi() = default;

  // A hidden window owned by the calling (UI) thread; every message it receives goes to proc.
  virtual Hwnd CreateMessageWindow(WindowProc proc) = 0;
  virtual void DestroyMessageWindow(Hwnd window) = 0;
  virtual std::intptr_t DefWindowProc(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) = 0;

  // False when the system refuses: combination held (by this program or another),
  // id already in use on the window, or combination not valid.
  virtual bool RegisterHotKey(Hwnd window, int id, unsigned modifiers, unsigned vk) = 0;
  virtual bool UnregisterHotKey(Hwnd window, int id) = 0;

  // Reference-counted global string atoms; 0 on failure.
  virtual Atom GlobalAddAtom(std::string_view name) = 0;
  virtual void GlobalDeleteAtom(Atom atom) = 0;

  // MapVirtualKey with map type 0 (virtual key to scan code, current layout); 0 when none.
  virtual unsigned MapVirtualKey(unsigned vk) = 0;
  // GetKeyNameText: lparam holds the scan code in bits 16-23 and the extended flag in
  // bit 24. The name read from a 256-character buffer up to its first NUL; empty when none.
  virtual std::string GetKeyNameText(std::int32_t lparam) = 0;
};

}  // namespace tavlen
