#include "notify/MarkupColor.h"

#include <array>
#include <utility>

#include "base/Text.h"

namespace tavlen {

Rgb ResolveColor(TColor color, Canvas& canvas) {
  if ((color & 0xFF000000u) != 0x80000000u) return color & 0x00FFFFFFu;
  return canvas.SystemColor(static_cast<int>(color & 0xFF));
}

std::optional<TColor> ParseMarkupColor(std::string_view value) {
  if (value.empty()) return std::nullopt;
  if (value[0] == '#') {
    if (value.size() != 7) return clBlack;
    unsigned rgb = 0;
    for (char c : value.substr(1)) {
      int digit;
      if (c >= '0' && c <= '9') digit = c - '0';
      else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
      else return clBlack;
      rgb = rgb * 16 + static_cast<unsigned>(digit);
    }
    // Written red, green, blue; stored with red in the low byte.
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
  }
  static const std::array<std::pair<std::string_view, TColor>, 21> kNames{{
      {"clblack", clBlack},     {"clmaroon", clMaroon},   {"clgreen", clGreen},
      {"clolive", clOlive},     {"clnavy", clNavy},       {"clpurple", clPurple},
      {"clteal", clTeal},       {"clgray", clGray},       {"clsilver", clSilver},
      {"clred", clRed},         {"cllime", clLime},       {"clyellow", clYellow},
      {"clblue", clBlue},       {"clfuchsia", clFuchsia}, {"claqua", clAqua},
      {"clwhite", clWhite},     {"clwindowtext", clWindowText}, {"clbtnface", clBtnFace},
      {"cl3ddkshadow", cl3DDkShadow}, {"cl3dlight", cl3DLight}, {"clinfobk", clInfoBk},
  }};
  const std::string lower = LowerAscii(value);
  for (const auto& [name, color] : kNames)
    if (lower == name) return color;
  return clBlack;
}

}  // namespace tavlen
