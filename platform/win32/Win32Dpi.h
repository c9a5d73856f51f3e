// The console declares itself aware of each monitor's scale, so the system
// speaks to it in physical pixels. Its layouts stay in 96-DPI units and are
// converted here, where the backend meets the system: positions on the desktop
// at the system scale, the size of a window and everything inside it at the
// scale of that window's monitor.
#pragma once

#include "platform/win32/WinApi.h"

namespace tavlen::dpi {

inline constexpr int kBase = 96;

// The scale of the primary monitor, as Windows 8.1 and older have it for all.
int System();
// The scale of the monitor `window` is on; System() where Windows cannot tell.
int OfWindow(HWND window);

inline int Scale(int units, int dpi) { return MulDiv(units, dpi, kBase); }
inline int Unscale(int pixels, int dpi) { return MulDiv(pixels, kBase, dpi); }

// AdjustWindowRectEx with the frame and menu metrics of `dpi`.
void AdjustWindowRect(RECT& r, DWORD style, bool menu, DWORD ex_style, int dpi);

// Draws in 96-DPI units on `dc`, which has `dpi` pixels an inch: fonts chosen
// at 96 DPI come out at the device's size, from the font, not stretched.
void MapUnitsToDevice(HDC dc, int dpi);

}  // namespace tavlen::dpi
