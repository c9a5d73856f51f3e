#include "standin/win32/OtherWindows.h"

#include <string>

#include "standin/StandinOptions.h"

namespace tavlen::standin::win32 {

namespace {
constexpr char kOtherClass[] = "TavlenStandinOther";
}  // namespace

OtherWindows::~OtherWindows() {
  for (HWND w : windows_) DestroyWindow(w);
}

bool OtherWindows::Create(int count) {
  if (count <= 0) return true;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.lpszClassName = kOtherClass;
  if (!RegisterClassExA(&wc)) return false;
  for (int i = 0; i < count; ++i) {
    // Shown, as the windows of running programs are, but 1 x 1 pixel far off
    // the screen, out of the taskbar and never activated.
    const std::string title = OtherWindowTitle(i);
    HWND w = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kOtherClass, title.c_str(), WS_POPUP, -30000,
                             -30000, 1, 1, nullptr, nullptr, instance, nullptr);
    if (!w) return false;
    ShowWindow(w, SW_SHOWNOACTIVATE);
    windows_.push_back(w);
  }
  return true;
}

}  // namespace tavlen::standin::win32
