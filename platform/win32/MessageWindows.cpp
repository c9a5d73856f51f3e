#include "platform/win32/MessageWindows.h"

#include "platform/win32/WinApi.h"
#include "platform/win32/WindowOwner.h"

namespace tavlen::win32 {

Hwnd CreateMessageWindow(const char* class_name, void* window_proc, void* owner) {
  HWND window = CreateMessageOnlyWindow(class_name, reinterpret_cast<WNDPROC>(window_proc), owner);
  return window ? reinterpret_cast<Hwnd>(window) : kNoWindow;
}

void DestroyMessageWindow(Hwnd window) { DestroyOwnedWindow(reinterpret_cast<HWND>(window)); }

}  // namespace tavlen::win32
