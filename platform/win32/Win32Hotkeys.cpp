#include "platform/win32/Win32Hotkeys.h"

#include "platform/win32/WinApi.h"
#include "platform/win32/WindowOwner.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tavlen {
namespace {

constexpr char kWindowClass[] = "TavlenHotkeyWindow";

HWND ToHwnd(Hwnd window) { return reinterpret_cast<HWND>(window); }

LRESULT CALLBACK HotkeyWindowProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  const auto* owner = win32::WindowOwner<const Win32Hotkeys>(window, msg, lparam);
  if (owner) {
    const auto proc = owner->ProcOf(reinterpret_cast<Hwnd>(window));
    if (proc && *proc) {
      try {
        return static_cast<LRESULT>((*proc)(reinterpret_cast<Hwnd>(window), msg, static_cast<std::uintptr_t>(wparam),
                                            static_cast<std::intptr_t>(lparam)));
      } catch (...) {
        if (owner->OnError) owner->OnError(std::current_exception());
      }
    }
  }
  return DefWindowProcA(window, msg, wparam, lparam);
}

}  // namespace

Hwnd Win32Hotkeys::CreateMessageWindow(WindowProc proc) {
  return windows_.Create(kWindowClass, reinterpret_cast<void*>(&HotkeyWindowProc), this, std::move(proc));
}

// The system releases the window's hotkeys with it.
void Win32Hotkeys::DestroyMessageWindow(Hwnd window) { windows_.Destroy(window); }

std::intptr_t Win32Hotkeys::DefWindowProc(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
  return static_cast<std::intptr_t>(
      DefWindowProcA(ToHwnd(window), msg, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam)));
}

bool Win32Hotkeys::RegisterHotKey(Hwnd window, int id, unsigned modifiers, unsigned vk) {
  return ::RegisterHotKey(ToHwnd(window), id, modifiers, vk) != FALSE;
}

bool Win32Hotkeys::UnregisterHotKey(Hwnd window, int id) {
  return ::UnregisterHotKey(ToHwnd(window), id) != FALSE;
}

HotkeyApi::Atom Win32Hotkeys::GlobalAddAtom(std::string_view name) {
  return ::GlobalAddAtomA(std::string(name).c_str());
}

void Win32Hotkeys::GlobalDeleteAtom(Atom atom) { ::GlobalDeleteAtom(atom); }

unsigned Win32Hotkeys::MapVirtualKey(unsigned vk) { return ::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC); }

std::string Win32Hotkeys::GetKeyNameText(std::int32_t lparam) {
  char name[256] = {};
  const int length = ::GetKeyNameTextA(static_cast<LONG>(lparam), name, static_cast<int>(sizeof(name)));
  return length > 0 ? std::string(name) : std::string();
}

}  // namespace tavlen
