// Text conventions shared by every subsystem: 8-bit ANSI byte strings, 1-based
// positions (0 = absent), ASCII-only case folding, and the word helpers.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavlen {

// A set of 8-bit character codes acting as word delimiters.
class Delimiters {
 public:
  constexpr Delimiters() = default;
  explicit Delimiters(unsigned char c) { set_.set(c); }
  bool Has(unsigned char c) const { return set_.test(c); }

 private:
  std::bitset<256> set_;
};

inline const Delimiters kBlank{' '};
inline const Delimiters kComma{','};
inline const Delimiters kEquals{'='};
inline const Delimiters kCurrency{0xA4};  // "¤", the settings field separator

// The n-th word (from 1), counted modulo 256 as an 8-bit index; empty when absent.
std::string WordAt(std::uint8_t n, std::string_view text, const Delimiters& set);
// The same word, viewed inside `text`.
std::string_view WordViewAt(std::uint8_t n, std::string_view text, const Delimiters& set);
// Number of words modulo 256.
std::uint8_t WordCount(std::string_view text, const Delimiters& set);
// Without leading and trailing characters of code 0..32.
std::string TrimBlanks(std::string_view text);

// Lowers ASCII A-Z only.
std::string LowerAscii(std::string_view text);
std::string UpperAscii(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// 1-based position of the first occurrence; 0 when absent or when pattern is empty.
std::size_t Pos(std::string_view pattern, std::string_view text);
std::size_t PosIgnoreCase(std::string_view pattern, std::string_view text);
bool StartsWith(std::string_view text, std::string_view prefix);

// Case-insensitive ordering and equality of the platform's sorted lists: ASCII and
// the accented Windows-1252 letters fold together.
int CompareTextAnsi(std::string_view a, std::string_view b);
bool SameTextAnsi(std::string_view a, std::string_view b);

// Converts a UTF-8 source literal to the ANSI code page (Windows-1252). Every
// accented literal of the console goes through here.
std::string ansi(std::string_view utf8);
// The reverse, for logs and test messages.
std::string utf8(std::string_view ansi_text);

}  // namespace tavlen
