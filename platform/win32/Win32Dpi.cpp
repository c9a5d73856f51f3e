#include "platform/win32/Win32Dpi.h"

namespace tavlen::dpi {
namespace {

// Windows 10 (1607) and later only; looked up so the console still starts on 7.
template <typename Fn>
Fn User32(const char* name) {
  static HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int value = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return value > 0 ? value : kBase;
}

}  // namespace

int System() {
  using Fn = UINT(WINAPI*)();
  static const Fn for_system = User32<Fn>("GetDpiForSystem");
  const int value = for_system ? static_cast<int>(for_system()) : ScreenDpi();
  return value > 0 ? value : kBase;
}

int OfWindow(HWND window) {
  using Fn = UINT(WINAPI*)(HWND);
  static const Fn for_window = User32<Fn>("GetDpiForWindow");
  const int value = for_window && window ? static_cast<int>(for_window(window)) : 0;
  return value > 0 ? value : System();
}

void AdjustWindowRect(RECT& r, DWORD style, bool menu, DWORD ex_style, int dpi) {
  using Fn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const Fn for_dpi = User32<Fn>("AdjustWindowRectExForDpi");
  if (!for_dpi || !for_dpi(&r, style, menu, ex_style, static_cast<UINT>(dpi)))
    AdjustWindowRectEx(&r, style, menu, ex_style);
}

void MapUnitsToDevice(HDC dc, int dpi) {
  if (dpi == kBase) return;
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, kBase, kBase, nullptr);
  SetViewportExtEx(dc, dpi, dpi, nullptr);
}

}  // namespace tavlen::dpi
