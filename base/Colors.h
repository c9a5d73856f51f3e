// Colours as the widgets, the popup settings and the markup carry them:
// 0x00BBGGRR, a system colour 0x80xxxxxx (its index in the low byte), or clNone.
#pragma once

#include <cstdint>

namespace tavlen {

using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

constexpr TColor clWindow = 0x80000005;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor cl3DDkShadow = 0x80000015;
constexpr TColor cl3DLight = 0x80000016;
constexpr TColor clInfoBk = 0x80000018;
constexpr TColor clNone = 0x1FFFFFFF;

}  // namespace tavlen
