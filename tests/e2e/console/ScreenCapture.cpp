#include "tests/e2e/console/ScreenCapture.h"

#include <algorithm>
#include <fstream>

#include "tests/e2e/kit/Driver.h"

namespace e2e {

Capture CaptureScreen(const RECT& rect) {
  Capture capture;
  capture.rect = rect;
  capture.width = rect.right - rect.left;
  capture.height = rect.bottom - rect.top;
  if (capture.width <= 0 || capture.height <= 0) return {};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, capture.width, capture.height);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  const bool copied =
      BitBlt(memory, 0, 0, capture.width, capture.height, screen, rect.left, rect.top, SRCCOPY | CAPTUREBLT) != FALSE;
  SelectObject(memory, previous);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = capture.width;
  info.bmiHeader.biHeight = -capture.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  capture.pixels.assign(static_cast<std::size_t>(capture.width) * capture.height, 0);
  const int rows = copied ? GetDIBits(memory, bitmap, 0, static_cast<UINT>(capture.height), capture.pixels.data(),
                                      &info, DIB_RGB_COLORS)
                          : 0;
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (rows != capture.height) return {};
  // BI_RGB 32-bit pixels are B, G, R, unused: as a little-endian word, 0x00RRGGBB.
  for (auto& p : capture.pixels) p &= 0x00FFFFFF;
  return capture;
}

Capture CaptureWindow(HWND window) {
  // What the window shows once it has finished painting: two reads alike,
  // a moment apart (a change just made is still being painted).
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return {};
  Capture last = CaptureScreen(rect);
  for (int i = 0; i < 30; ++i) {
    Sleep(50);
    Capture next = CaptureScreen(rect);
    if (!next.Empty() && next.pixels == last.pixels) return next;
    last = std::move(next);
  }
  return last;
}

bool SaveBmp(const Capture& capture, const std::string& path) {
  if (capture.Empty()) return false;
  const int row_bytes = (capture.width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = capture.width;
  header.biHeight = capture.height;  // bottom-up, as every viewer expects
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(row_bytes) * capture.height;
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(header);
  file.bfSize = file.bfOffBits + header.biSizeImage;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&header), sizeof(header));
  std::string row(static_cast<std::size_t>(row_bytes), '\0');
  for (int y = capture.height - 1; y >= 0; --y) {
    for (int x = 0; x < capture.width; ++x) {
      const std::uint32_t p = capture.At(x, y);
      row[static_cast<std::size_t>(x) * 3] = static_cast<char>(p & 0xFF);
      row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<char>((p >> 8) & 0xFF);
      row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<char>((p >> 16) & 0xFF);
    }
    out.write(row.data(), static_cast<std::streamsize>(row.size()));
  }
  return static_cast<bool>(out);
}

PixelBox FindPixels(const Capture& capture, const std::function<bool(int r, int g, int b)>& match) {
  PixelBox box{capture.width, capture.height, 0, 0, 0};
  for (int y = 0; y < capture.height; ++y)
    for (int x = 0; x < capture.width; ++x) {
      const std::uint32_t p = capture.At(x, y);
      if (!match(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF)))
        continue;
      ++box.count;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x + 1);
      box.bottom = std::max(box.bottom, y + 1);
    }
  if (box.count == 0) return {};
  return box;
}

bool KeepScreenshot(const Capture& capture, const std::string& dir, const std::string& name) {
  const std::string path = dir + "\\" + name + ".bmp";
  if (!SaveBmp(capture, path)) {
    FAIL_HERE("screenshot " + name + " could not be taken or written to " + path);
    return false;
  }
  Note("screenshot: " + path);
  return true;
}

}  // namespace e2e
