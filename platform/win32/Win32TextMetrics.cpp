#include "platform/win32/Win32TextMetrics.h"

#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Gdi.h"
#include "platform/win32/WinApi.h"

namespace tavlen {

// Measured with the font at the screen's scale, in 96-DPI units: the sizes the
// popup lays out are those its text is drawn at.
Win32TextMetrics::Win32TextMetrics() : dc_(CreateCompatibleDC(nullptr)) {
  dpi::MapUnitsToDevice(static_cast<HDC>(dc_), dpi::System());
}

Win32TextMetrics::~Win32TextMetrics() { DeleteDC(static_cast<HDC>(dc_)); }

Extent Win32TextMetrics::TextExtent(const FontDescription& font, std::string_view text) {
  HDC dc = static_cast<HDC>(dc_);
  const HGDIOBJ previous = SelectObject(dc, gdi::Font(font.name, font.points, font.bold, font.underline, dpi::kBase));
  const std::string shown = MnemonicVisible(text);
  Extent extent;
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  extent.height = tm.tmHeight;
  if (!shown.empty()) {
    SIZE size{};
    if (GetTextExtentPoint32A(dc, shown.data(), static_cast<int>(shown.size()), &size)) {
      extent.width = size.cx;
      extent.height = size.cy;
    }
  }
  SelectObject(dc, previous);
  return extent;
}

}  // namespace tavlen
