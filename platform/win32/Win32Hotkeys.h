// The HotkeyApi port over the real calls: hidden message-only windows whose
// procedure is the caller's (WM_HOTKEY arrives through the creating thread's
// message queue), RegisterHotKey/UnregisterHotKey, global atoms, and the
// keyboard layout's scan codes and key names.
#pragma once

#include <exception>
#include <functional>
#include <memory>

#include "platform/HotkeyApi.h"
#include "platform/win32/MessageWindows.h"

namespace tavlen {

class Win32Hotkeys final : public HotkeyApi {
 public:
  Win32Hotkeys() = default;
  Win32Hotkeys(const Win32Hotkeys&) = delete;
  Win32Hotkeys& operator=(const Win32Hotkeys&) = delete;

  // The window belongs to the calling thread, which must run a message loop.
  Hwnd CreateMessageWindow(WindowProc proc) override;
  void DestroyMessageWindow(Hwnd window) override;
  std::intptr_t DefWindowProc(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) override;

  bool RegisterHotKey(Hwnd window, int id, unsigned modifiers, unsigned vk) override;
  bool UnregisterHotKey(Hwnd window, int id) override;
  Atom GlobalAddAtom(std::string_view name) override;
  void GlobalDeleteAtom(Atom atom) override;
  unsigned MapVirtualKey(unsigned vk) override;
  std::string GetKeyNameText(std::int32_t lparam) override;

  // Receives what a window procedure throws: an exception must not unwind through
  // the system's frames. The message is then answered by the default procedure.
  std::function<void(std::exception_ptr)> OnError;

  // For the window procedure: the procedure of a window, empty when it has none
  // (yet, or any more). Shared so a procedure may destroy its own window.
  std::shared_ptr<WindowProc> ProcOf(Hwnd window) const { return windows_.Find(window); }

 private:
  win32::MessageWindows<WindowProc> windows_;
};

}  // namespace tavlen
