#include "base/Text.h"

#include <algorithm>
#include <array>

namespace tavlen {

std::uint8_t WordCount(std::string_view text, const Delimiters& set) {
  std::uint8_t count = 0;
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    while (i < n && set.Has(static_cast<unsigned char>(text[i]))) ++i;
    if (i < n) ++count;  // wraps from 255 to 0 on purpose
    while (i < n && !set.Has(static_cast<unsigned char>(text[i]))) ++i;
  }
  return count;
}

std::string WordAt(std::uint8_t n, std::string_view text, const Delimiters& set) {
  return std::string(WordViewAt(n, text, set));
}

std::string_view WordViewAt(std::uint8_t n, std::string_view text, const Delimiters& set) {
  std::uint8_t count = 0;
  std::size_t i = 0;
  const std::size_t len = text.size();
  while (i < len) {
    while (i < len && set.Has(static_cast<unsigned char>(text[i]))) ++i;
    if (i < len) ++count;
    std::size_t j = i;
    while (j < len && !set.Has(static_cast<unsigned char>(text[j]))) ++j;
    if (count == n) return text.substr(i, j - i);
    i = j;
  }
  return {};
}

std::string TrimBlanks(std::string_view text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  return std::string(text);
}

namespace {
char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
}  // namespace

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), LowerChar);
  return out;
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), UpperChar);
  return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerChar(x) == LowerChar(y); });
}

std::size_t Pos(std::string_view pattern, std::string_view text) {
  if (pattern.empty()) return 0;
  const auto p = text.find(pattern);
  return p == std::string_view::npos ? 0 : p + 1;
}

std::size_t PosIgnoreCase(std::string_view pattern, std::string_view text) {
  if (pattern.empty() || pattern.size() > text.size()) return 0;
  auto it = std::search(text.begin(), text.end(), pattern.begin(), pattern.end(),
                        [](char x, char y) { return LowerChar(x) == LowerChar(y); });
  return it == text.end() ? 0 : static_cast<std::size_t>(it - text.begin()) + 1;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return Pos(prefix, text) == 1; }

namespace {
// Windows-1252 letters folded to one case for list ordering: ASCII, the Latin-1
// accented block and the few letters in 0x80..0x9F.
constexpr std::array<unsigned char, 256> MakeFold() {
  std::array<unsigned char, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
  for (int i = 'A'; i <= 'Z'; ++i) t[i] = static_cast<unsigned char>(i + 32);
  for (int i = 0xC0; i <= 0xDE; ++i)
    if (i != 0xD7) t[i] = static_cast<unsigned char>(i + 32);
  t[0x8A] = 0x9A;  // Š
  t[0x8C] = 0x9C;  // Œ
  t[0x8E] = 0x9E;  // Ž
  t[0x9F] = 0xFF;  // Ÿ
  return t;
}
constexpr auto kFold = MakeFold();
}  // namespace

int CompareTextAnsi(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int x = kFold[static_cast<unsigned char>(a[i])];
    const int y = kFold[static_cast<unsigned char>(b[i])];
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameTextAnsi(std::string_view a, std::string_view b) { return CompareTextAnsi(a, b) == 0; }

namespace {
// Code points of the Windows-1252 bytes 0x80..0x9F (0 where the byte is undefined).
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

std::string ansi(std::string_view in) {
  std::string out;
  out.reserve(in.size());
  for (std::size_t i = 0; i < in.size();) {
    const unsigned char c = static_cast<unsigned char>(in[i]);
    char32_t cp;
    std::size_t len;
    if (c < 0x80) {
      cp = c;
      len = 1;
    } else if ((c & 0xE0) == 0xC0 && i + 1 < in.size()) {
      cp = ((c & 0x1F) << 6) | (in[i + 1] & 0x3F);
      len = 2;
    } else if ((c & 0xF0) == 0xE0 && i + 2 < in.size()) {
      cp = ((c & 0x0F) << 12) | ((in[i + 1] & 0x3F) << 6) | (in[i + 2] & 0x3F);
      len = 3;
    } else {
      cp = '?';
      len = 1;
    }
    i += len;
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out.push_back(static_cast<char>(cp));
      continue;
    }
    auto it = std::find(kHigh.begin(), kHigh.end(), cp);
    out.push_back(it != kHigh.end() && cp != 0 ? static_cast<char>(0x80 + (it - kHigh.begin())) : '?');
  }
  return out;
}

std::string utf8(std::string_view in) {
  std::string out;
  out.reserve(in.size());
  for (char ch : in) {
    const unsigned char c = static_cast<unsigned char>(ch);
    char32_t cp = c;
    if (c >= 0x80 && c < 0xA0) cp = kHigh[c - 0x80] ? kHigh[c - 0x80] : U'?';
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace tavlen
