#include "platform/win32/Win32Gdi.h"

#include <cstring>

namespace tavlen::gdi {
namespace {

using FontKey = std::tuple<std::string, int, bool, bool, int>;

// Deleted at exit by the system with the process; the caches only grow by the
// few fonts and colours the windows use.
std::map<FontKey, HFONT>& Fonts() {
  static std::map<FontKey, HFONT> fonts;
  return fonts;
}

std::map<COLORREF, HBRUSH>& Brushes() {
  static std::map<COLORREF, HBRUSH> brushes;
  return brushes;
}

}  // namespace

COLORREF Resolve(std::uint32_t color) {
  if ((color & 0xFF000000u) == 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

int FontHeight(int points, int dpi) { return -MulDiv(points, dpi, 72); }

HFONT Font(const std::string& name, int points, bool bold, bool underline, int dpi) {
  const FontKey key{name, points, bold, underline, dpi};
  auto& fonts = Fonts();
  if (auto found = fonts.find(key); found != fonts.end()) return found->second;
  LOGFONTA lf{};
  lf.lfHeight = FontHeight(points, dpi);
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfUnderline = underline ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  std::strncpy(lf.lfFaceName, name.c_str(), LF_FACESIZE - 1);
  HFONT font = CreateFontIndirectA(&lf);
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  fonts.emplace(key, font);
  return font;
}

HBRUSH Brush(COLORREF color) {
  auto& brushes = Brushes();
  if (auto found = brushes.find(color); found != brushes.end()) return found->second;
  HBRUSH brush = CreateSolidBrush(color);
  brushes.emplace(color, brush);
  return brush;
}

}  // namespace tavlen::gdi
