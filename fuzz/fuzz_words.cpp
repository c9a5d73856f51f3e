// The word helpers and the line helpers, against what their contracts promise.
#include <algorithm>

#include "base/Files.h"
#include "base/Text.h"
#include "FuzzSupport.h"

using namespace tavlen;

namespace {

// Words by the plain reading of the rule: runs of delimiters separate words.
std::vector<std::string> Words(std::string_view text, unsigned char delimiter) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text) {
    if (static_cast<unsigned char>(c) == delimiter) {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

int Sign(int v) { return (v > 0) - (v < 0); }

bool Defined1252(std::string_view text) {
  return std::none_of(text.begin(), text.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(fuzz::AsText(data, size));
  const unsigned char delimiter = in.Byte();
  const std::uint8_t n = in.Byte();
  const std::vector<std::string_view> parts = in.Parts('\x01');
  const std::string_view text = parts[0];
  const std::string_view other = parts.size() > 1 ? parts[1] : std::string_view("ab");

  // WordAt / WordCount, numbered modulo 256.
  const Delimiters set(delimiter);
  const std::vector<std::string> words = Words(text, delimiter);
  FUZZ_CHECK(WordCount(text, set) == static_cast<std::uint8_t>(words.size()));
  if (words.size() < 256) {
    const std::string word = WordAt(n, text, set);
    FUZZ_CHECK(word == (n >= 1 && n <= words.size() ? words[n - 1] : std::string()));
  }
  for (const char* common : {" ", ",", "=", "\xA4"}) {
    const Delimiters d(static_cast<unsigned char>(*common));
    for (std::uint8_t k = 1; k <= 6; ++k) {
      const std::string w = WordAt(k, text, d);
      FUZZ_CHECK(w.find(*common) == std::string::npos);
      FUZZ_CHECK(w.empty() || text.find(w) != std::string_view::npos);
    }
  }

  // TrimBlanks: a middle part, with no control or blank at its ends.
  const std::string trimmed = TrimBlanks(text);
  FUZZ_CHECK(trimmed.empty() || (static_cast<unsigned char>(trimmed.front()) > 32 &&
                                 static_cast<unsigned char>(trimmed.back()) > 32));
  FUZZ_CHECK(text.find(trimmed) != std::string_view::npos);
  FUZZ_CHECK(TrimBlanks(trimmed) == trimmed);

  // Pos / PosIgnoreCase: 1-based first occurrences.
  const std::size_t p = Pos(other, text);
  if (p != 0) {
    FUZZ_CHECK(text.substr(p - 1, other.size()) == other);
    FUZZ_CHECK(text.find(other) == p - 1);
  } else {
    FUZZ_CHECK(other.empty() || text.find(other) == std::string_view::npos);
  }
  const std::size_t pi = PosIgnoreCase(other, text);
  if (pi != 0) {
    FUZZ_CHECK(EqualsIgnoreCase(text.substr(pi - 1, other.size()), other));
    FUZZ_CHECK(LowerAscii(text).find(LowerAscii(other)) == pi - 1);
  } else {
    FUZZ_CHECK(other.empty() || LowerAscii(text).find(LowerAscii(other)) == std::string::npos);
  }
  FUZZ_CHECK(p == 0 || (pi != 0 && pi <= p));
  FUZZ_CHECK(StartsWith(text, other) == (!other.empty() && text.substr(0, other.size()) == other));

  // Case folding keeps lengths and agrees with itself.
  FUZZ_CHECK(LowerAscii(text).size() == text.size());
  FUZZ_CHECK(EqualsIgnoreCase(UpperAscii(text), LowerAscii(text)));
  FUZZ_CHECK(EqualsIgnoreCase(text, other) == (LowerAscii(text) == LowerAscii(other)));

  // The sorted lists' comparison is an order.
  const int ab = CompareTextAnsi(text, other);
  FUZZ_CHECK(Sign(ab) == -Sign(CompareTextAnsi(other, text)));
  FUZZ_CHECK(SameTextAnsi(text, other) == (ab == 0));
  FUZZ_CHECK(CompareTextAnsi(text, text) == 0);
  if (EqualsIgnoreCase(text, other)) FUZZ_CHECK(ab == 0);

  // Code page round trip for every byte the code page defines.
  const std::string round = ansi(utf8(text));
  FUZZ_CHECK(round.size() == text.size());
  if (Defined1252(text)) FUZZ_CHECK(round == text);
  (void)ansi(text);  // any bytes at all, read as UTF-8

  // Lines: no break survives inside a line, and writing then reading changes nothing.
  const std::vector<std::string> lines = SplitLinesAnyBreak(text);
  for (const std::string& line : lines) FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
  FUZZ_CHECK(SplitLinesAnyBreak(JoinLinesCrLf(lines)) == lines);
  return 0;
}
