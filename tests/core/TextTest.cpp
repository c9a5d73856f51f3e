#include <gtest/gtest.h>

#include "base/Files.h"
#include "base/Text.h"

using namespace tavlen;

TEST(WordHelpers, BlankDelimitedWords) {
  const std::string text = "  abc   def ";
  EXPECT_EQ(WordAt(1, text, kBlank), "abc");
  EXPECT_EQ(WordAt(2, text, kBlank), "def");
  EXPECT_EQ(WordAt(3, text, kBlank), "");
  EXPECT_EQ(WordCount(text, kBlank), 2);
  EXPECT_EQ(WordCount("x : y", kBlank), 3);
  EXPECT_EQ(WordAt(2, "x : y", kBlank), ":");
}

TEST(WordHelpers, EmptyAndDelimiterOnlyTexts) {
  for (const char* text : {"", "   ", " "}) {
    EXPECT_EQ(WordCount(text, kBlank), 0) << text;
    for (int n = 0; n < 4; ++n) EXPECT_EQ(WordAt(static_cast<std::uint8_t>(n), text, kBlank), "");
  }
  EXPECT_EQ(WordAt(0, "a b", kBlank), "");
}

TEST(WordHelpers, OtherDelimiterSets) {
  EXPECT_EQ(WordAt(1, "MIC=0 1 2 3", kEquals), "MIC");
  EXPECT_EQ(WordAt(2, "MIC=0 1 2 3", kEquals), "0 1 2 3");
  EXPECT_EQ(WordAt(1, "MIC=0 1 2 3", kBlank), "MIC=0");
  const std::string fields = "a\xA4\xA4" "b";
  EXPECT_EQ(WordCount(fields, kCurrency), 2);
  EXPECT_EQ(WordAt(2, fields, kCurrency), "b");
  EXPECT_EQ(WordAt(1, "Le Phare, Topic: x", kComma), "Le Phare");
}

TEST(WordHelpers, CountsWrapPast255Words) {
  std::string text;
  for (int i = 1; i <= 257; ++i) text += "w" + std::to_string(i) + " ";
  EXPECT_EQ(WordCount(text, kBlank), 1);  // 257 mod 256
  EXPECT_EQ(WordAt(0, text, kBlank), "w256");
  EXPECT_EQ(WordAt(1, text, kBlank), "w1");
  EXPECT_EQ(WordAt(255, text, kBlank), "w255");
  std::string exactly256;
  for (int i = 0; i < 256; ++i) exactly256 += "x ";
  EXPECT_EQ(WordCount(exactly256, kBlank), 0);
}

TEST(WordHelpers, TrimBlanksRemovesControlCharactersOnly) {
  EXPECT_EQ(TrimBlanks(std::string("\t\r\n a b \0 ", 10)), "a b");
  EXPECT_EQ(TrimBlanks(" \t\r\n"), "");
  EXPECT_EQ(TrimBlanks("\xA0x\xA0"), "\xA0x\xA0");
}

TEST(TextConventions, PositionsAndCase) {
  EXPECT_EQ(Pos("", "abc"), 0u);
  EXPECT_EQ(Pos("b", "abc"), 2u);
  EXPECT_EQ(Pos("Video Chat Room", "x : video chat room"), 0u);
  EXPECT_EQ(PosIgnoreCase("SALUT", "Alice : salut"), 9u);
  EXPECT_TRUE(EqualsIgnoreCase("KelVorn", "kelvorn"));
  EXPECT_FALSE(EqualsIgnoreCase("\xC9t\xE9", "\xE9t\xE9"));  // accents are not folded
  EXPECT_EQ(LowerAscii("ABC\xC9"), "abc\xC9");
}

TEST(TextConventions, ListOrderFoldsAccents) {
  EXPECT_EQ(CompareTextAnsi("bob", "Bob"), 0);
  EXPECT_LT(CompareTextAnsi("Bob", "carl"), 0);
  EXPECT_TRUE(SameTextAnsi("\xC9lodie", "\xE9lodie"));
}

TEST(TextConventions, AnsiRoundTrip) {
  EXPECT_EQ(ansi("Pseudo concerné :"), "Pseudo concern\xE9 :");
  EXPECT_EQ(ansi("¤"), "\xA4");
  EXPECT_EQ(ansi("€"), "\x80");
  EXPECT_EQ(utf8(ansi("Déboguage à propos €")), "Déboguage à propos €");
}

TEST(SettingsFiles, LineBreaksAndAtomicWrite) {
  EXPECT_EQ(SplitLinesAnyBreak("a\r\nb\rc\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLinesAnyBreak("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(SplitLinesAnyBreak("").empty());
  const std::string path = ::testing::TempDir() + "tavlen_files_test.ini";
  WriteFileAtomic(path, "one\r\n");
  WriteFileAtomic(path, JoinLinesCrLf({"x", "y"}));
  EXPECT_EQ(ReadWholeFile(path).value(), "x\r\ny\r\n");
  EXPECT_FALSE(FileExists(path + ".tmp"));
  EXPECT_THROW(WriteFileAtomic(::testing::TempDir() + "no/such/dir/f.ini", "z"), std::runtime_error);
  EXPECT_FALSE(ReadWholeFile(::testing::TempDir() + "missing.ini").has_value());
}
