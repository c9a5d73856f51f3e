// Text extents measured with GDI in the fonts the popup paints with, on a memory
// DC compatible with the screen. The mnemonic rule is applied before measuring,
// as DrawTextA without DT_NOPREFIX draws the text.
#pragma once

#include "platform/TextMetrics.h"

namespace tavlen {

class Win32TextMetrics final : public TextMetrics {
 public:
  Win32TextMetrics();
  ~Win32TextMetrics() override;
  Win32TextMetrics(const Win32TextMetrics&) = delete;
  Win32TextMetrics& operator=(const Win32TextMetrics&) = delete;

  Extent TextExtent(const FontDescription& font, std::string_view text) override;

 private:
  void* dc_;  // HDC
};

}  // namespace tavlen
