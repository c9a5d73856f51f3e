// The object behind a window of ours: the CreateWindowEx parameter, kept in the
// window's user data from WM_NCCREATE on, and forgotten before the object goes, so
// a message arriving late finds no owner.
#pragma once

#include "platform/win32/WinApi.h"

namespace tavlen::win32 {

template <class T>
T* WindowOwner(HWND window, UINT msg, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  return reinterpret_cast<T*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

inline void ForgetWindowOwner(HWND window) { SetWindowLongPtrA(window, GWLP_USERDATA, 0); }

// A hidden message-only window of the class `class_name` (registered on first use)
// whose procedure finds `owner` with WindowOwner. Null when it cannot be created.
inline HWND CreateMessageOnlyWindow(const char* class_name, WNDPROC proc, void* owner) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = class_name;
  if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  return CreateWindowExA(0, class_name, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), owner);
}

inline void DestroyOwnedWindow(HWND window) {
  ForgetWindowOwner(window);
  DestroyWindow(window);
}

}  // namespace tavlen::win32
