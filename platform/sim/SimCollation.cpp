#include "platform/sim/SimCollation.h"

#include <array>

#include "base/Text.h"

namespace tavlen::sim {

namespace {

// Windows-1252 letters reduced to their lower-case base letter.
constexpr std::array<unsigned char, 256> MakeBase() {
  std::array<unsigned char, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
  for (int i = 'A'; i <= 'Z'; ++i) t[i] = static_cast<unsigned char>(i + 32);
  constexpr const char* kLatin1 = "aaaaaaaceeeeiiiidnooooo*ouuuuyts";  // 0xC0..0xDF
  for (int i = 0; i < 32; ++i) {
    if (kLatin1[i] == '*') continue;  // × and ÷ are no letters
    t[0xC0 + i] = static_cast<unsigned char>(kLatin1[i]);
    t[0xE0 + i] = static_cast<unsigned char>(kLatin1[i]);
  }
  t[0xFF] = 'y';
  t[0x8A] = t[0x9A] = 's';  // Š š
  t[0x8C] = t[0x9C] = 'o';  // Œ œ
  t[0x8E] = t[0x9E] = 'z';  // Ž ž
  t[0x9F] = 'y';            // Ÿ
  return t;
}
constexpr auto kBase = MakeBase();

}  // namespace

int SimCollation::Compare(std::string_view a, std::string_view b) const {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int x = kBase[static_cast<unsigned char>(a[i])];
    const int y = kBase[static_cast<unsigned char>(b[i])];
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  // The same letters: the accents decide, then nothing (the case is ignored).
  return CompareTextAnsi(a, b);
}

}  // namespace tavlen::sim
