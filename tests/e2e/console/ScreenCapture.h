// The screen as a person sees it, read from inside the driver: a rectangle of
// the desktop kept as pixels, written as a BMP file for someone to look at, and
// searched for the colours a story expects.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

struct Capture {
  RECT rect{};  // screen coordinates
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows from the top
  bool Empty() const { return pixels.empty(); }
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

Capture CaptureScreen(const RECT& rect);
// The window's outer rectangle once its painting has settled.
Capture CaptureWindow(HWND window);
// 24-bit BMP; false when the file cannot be written.
bool SaveBmp(const Capture& capture, const std::string& path);

// The smallest box (client coordinates of the capture, right and bottom
// exclusive) around the pixels that match; count 0 when none does.
struct PixelBox {
  int left = 0, top = 0, right = 0, bottom = 0;
  int count = 0;
  int CenterX() const { return (left + right) / 2; }
  int CenterY() const { return (top + bottom) / 2; }
};
PixelBox FindPixels(const Capture& capture, const std::function<bool(int r, int g, int b)>& match);

// Saves the capture as <dir>\<name>.bmp and notes the path; false on failure (reported).
bool KeepScreenshot(const Capture& capture, const std::string& dir, const std::string& name);

}  // namespace e2e
