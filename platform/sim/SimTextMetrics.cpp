#include "platform/sim/SimTextMetrics.h"

namespace tavlen::sim {

Extent SimTextMetrics::TextExtent(const FontDescription& font, std::string_view text) {
  const int chars = static_cast<int>(MnemonicVisible(text).size());
  return {chars * CharWidth(font), Height(font)};
}

}  // namespace tavlen::sim
