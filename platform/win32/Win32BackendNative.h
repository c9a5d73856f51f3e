// The native side of realized forms and controls, shared by the backend's files.
#pragma once

#include "kit/Widgets.h"
#include "platform/win32/Win32Backend.h"
#include "platform/win32/WinApi.h"

namespace tavlen {

struct Win32Backend::NativeForm {
  Win32Backend* backend = nullptr;
  kit::Form* form = nullptr;
  HWND hwnd = nullptr;
  HWND tooltip = nullptr;
  // Controls move up by this much (the menu strip of the layout).
  int shift = 0;
  bool in_menu_loop = false;
  // Set while the backend moves the window itself.
  bool placing = false;
  // The child that had the focus when the form was last deactivated.
  HWND focus = nullptr;
  // Every control has its window (false while a preparation builds them).
  bool complete = false;
};

struct Win32Backend::NativeControl {
  kit::Control* control = nullptr;
  NativeForm* form = nullptr;
  HWND hwnd = nullptr;
  WNDPROC original = nullptr;
  bool has_tool = false;
  // An edit pressed by a single click: its release is the model's click. A
  // native edit reports no clicks of its own.
  bool pressed = false;
};

namespace win32 {

inline HWND ToHwnd(Hwnd window) { return reinterpret_cast<HWND>(window); }
inline Hwnd FromHwnd(HWND window) { return reinterpret_cast<Hwnd>(window); }

// The property that links a control's window to its NativeControl.
constexpr char kControlProp[] = "TavlenControl";

std::string WindowTextOf(HWND window);

}  // namespace win32
}  // namespace tavlen
