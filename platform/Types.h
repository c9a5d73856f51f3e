// Portable stand-ins for the Win32 values the ports carry. Names differ from the
// <windows.h> macros on purpose so both can be seen in the Win32 backend.
#pragma once

#include <cstdint>

namespace tavlen {

using Hwnd = std::uintptr_t;  // 0 = no window
constexpr Hwnd kNoWindow = 0;

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// Window messages the console sends to other programs' windows.
namespace wm {
constexpr unsigned kSetFocus = 0x0007;
constexpr unsigned kSetText = 0x000C;
constexpr unsigned kGetText = 0x000D;
constexpr unsigned kGetTextLength = 0x000E;
constexpr unsigned kClose = 0x0010;
constexpr unsigned kKeyDown = 0x0100;
constexpr unsigned kCommand = 0x0111;
constexpr unsigned kSysCommand = 0x0112;
constexpr unsigned kLButtonDown = 0x0201;
constexpr unsigned kLButtonUp = 0x0202;
constexpr unsigned kHotKey = 0x0312;
constexpr unsigned kEmSetSel = 0x00B1;
constexpr unsigned kEmGetTextRange = 0x044B;  // rich edit: lparam points to a TEXTRANGEA
constexpr unsigned kTvmGetNextItem = 0x110A;
constexpr unsigned kTvmGetCount = 0x1105;
constexpr unsigned kTvmGetItemA = 0x110C;
constexpr std::uintptr_t kScRestore = 0xF120;
constexpr std::uintptr_t kVkReturn = 13;
}  // namespace wm

// GetWindow relations.
enum class GetWindowCmd { kHwndFirst = 0, kHwndNext = 2, kChild = 5 };

}  // namespace tavlen
