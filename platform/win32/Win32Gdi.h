// GDI objects shared by the native widgets and the popup: colours resolved from
// the system palette, and fonts and brushes created once and kept for the life
// of the program (the widgets use a handful of each).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>

#include "platform/win32/WinApi.h"

namespace tavlen::gdi {

// 0x00BBGGRR, or a system colour when the top byte is 0x80 (its index in the low byte).
COLORREF Resolve(std::uint32_t color);

// The height CreateFont takes for a size in points at `dpi` pixels an inch.
int FontHeight(int points, int dpi);

// Fonts (at a monitor's scale) and solid brushes by their description; owned by
// the cache.
HFONT Font(const std::string& name, int points, bool bold, bool underline, int dpi);
HBRUSH Brush(COLORREF color);

}  // namespace tavlen::gdi
