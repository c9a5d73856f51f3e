// Metrics chosen so that layout figures can be worked out by hand: every visible
// character is points / 2 pixels wide (one more in bold) and a text is
// points * 3 / 2 pixels high (8 points: 4 × 12, 14 points: 7 × 21, 15 points: 7 × 22).
#pragma once

#include "platform/TextMetrics.h"

namespace tavlen::sim {

class SimTextMetrics : public TextMetrics {
 public:
  Extent TextExtent(const FontDescription& font, std::string_view text) override;

  static int CharWidth(const FontDescription& font) { return font.points / 2 + (font.bold ? 1 : 0); }
  static int Height(const FontDescription& font) { return font.points * 3 / 2; }
};

}  // namespace tavlen::sim
