// Font metrics for laying out popup text. Extents are those of the text as drawn
// with the mnemonic rule: a single "&" is not drawn (it underlines the next
// character) and "&&" draws one "&".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavlen {

// 0x00BBGGRR, already resolved (no system colour).
using Rgb = std::uint32_t;

struct FontDescription {
  std::string name = "MS Sans Serif";
  int points = 8;
  bool bold = false;
  bool underline = false;
  friend bool operator==(const FontDescription&, const FontDescription&) = default;
};

struct Extent {
  int width = 0;
  int height = 0;
  friend bool operator==(const Extent&, const Extent&) = default;
};

class TextMetrics {
 public:
  virtual ~TextMetrics() = default;
  virtual Extent TextExtent(const FontDescription& font, std::string_view text) = 0;
};

// The characters that the mnemonic rule leaves visible.
inline std::string MnemonicVisible(std::string_view text) {
  std::string shown;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      if (i + 1 >= text.size()) break;
      ++i;
    }
    shown += text[i];
  }
  return shown;
}

}  // namespace tavlen
