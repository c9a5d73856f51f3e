#include <gtest/gtest.h>

#include "monitor/TranscriptTracker.h"

namespace tavlen {
namespace {

using Lines = std::vector<std::string>;

std::string Transcript(const Lines& lines, bool final_break = true) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    text += lines[i];
    if (i + 1 < lines.size() || final_break) text += "\r\n";
  }
  return text;
}

TEST(TranscriptLines, CutAtCrLfOnly) {
  EXPECT_EQ(SplitTranscriptLines(""), Lines{});
  EXPECT_EQ(SplitTranscriptLines("\r\n"), Lines{""});
  EXPECT_EQ(SplitTranscriptLines("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitTranscriptLines("a\r\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitTranscriptLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
  // Lone CR or LF stay inside the line.
  EXPECT_EQ(SplitTranscriptLines("a\rb\nc\r\nd"), (Lines{"a\rb\nc", "d"}));
  EXPECT_EQ(SplitTranscriptLines("a\n\r\nb"), (Lines{"a\n", "b"}));
  // Long lines keep their first 4,096 characters.
  const std::string longer(5000, 'x');
  const Lines cut = SplitTranscriptLines(longer + "\r\nshort");
  ASSERT_EQ(cut.size(), 2u);
  EXPECT_EQ(cut[0], std::string(4096, 'x'));
  EXPECT_EQ(cut[1], "short");
  EXPECT_EQ(SplitTranscriptLines(std::string(4096, 'y'))[0].size(), 4096u);
}

TEST(TranscriptTracker, FindsWhatFollowsThePreviousReading) {
  TranscriptTracker tracker;
  Lines lines{"alice : bonjour", "bob : salut"};
  // First reading: everything is new; small enough for every rule.
  TranscriptBatch batch = tracker.Track(Transcript(lines));
  EXPECT_EQ(batch.lines, lines);
  EXPECT_TRUE(batch.all_rules);
  EXPECT_EQ(tracker.PreviousSnapshot(), Transcript(lines));

  // Nothing new.
  batch = tracker.Track(Transcript(lines));
  EXPECT_TRUE(batch.lines.empty());
  EXPECT_FALSE(batch.all_rules);

  // One 40-character line.
  const std::string line40 = "carl : " + std::string(33, 'z');
  ASSERT_EQ(line40.size(), 40u);
  lines.push_back(line40);
  batch = tracker.Track(Transcript(lines));
  EXPECT_EQ(batch.lines, Lines{line40});
  EXPECT_TRUE(batch.all_rules);

  // An empty line between two chat lines is handed over.
  lines.insert(lines.end(), {"dan : un", "", "dan : deux"});
  batch = tracker.Track(Transcript(lines));
  EXPECT_EQ(batch.lines, (Lines{"dan : un", "", "dan : deux"}));
}

TEST(TranscriptTracker, LargeBatchesOnlyTeachRights) {
  TranscriptTracker tracker;
  Lines lines{"alice : bonjour"};
  tracker.Track(Transcript(lines));
  // Three lines of 350 characters in all (breaks included).
  const Lines burst{std::string(110, 'a'), std::string(110, 'b'), std::string(124, 'c')};
  lines.insert(lines.end(), burst.begin(), burst.end());
  TranscriptBatch batch = tracker.Track(Transcript(lines));
  EXPECT_EQ(batch.lines, burst);
  EXPECT_FALSE(batch.all_rules);
  // 299 characters are still small; 300 are not.
  lines.push_back(std::string(297, 'd'));
  EXPECT_TRUE(tracker.Track(Transcript(lines)).all_rules);
  lines.push_back(std::string(298, 'e'));
  EXPECT_FALSE(tracker.Track(Transcript(lines)).all_rules);
  // The whole transcript met at start-up counts as one batch.
  TranscriptTracker fresh;
  batch = fresh.Track(Transcript(lines));
  EXPECT_EQ(batch.lines, lines);
  EXPECT_FALSE(batch.all_rules);
}

TEST(TranscriptTracker, LostAnchorRunsRightsRulesOnly) {
  TranscriptTracker tracker;
  Lines old_room;
  for (int i = 0; i < 20; ++i) old_room.push_back("alice : ligne " + std::to_string(i) + " du premier salon");
  tracker.Track(Transcript(old_room));

  // Another room's transcript: the first 299 characters are dropped, the rest
  // only teaches rights, however short it is.
  Lines other;
  for (int i = 0; i < 15; ++i) other.push_back("bob : ligne " + std::to_string(i) + " de l'autre salon");
  const std::string other_text = Transcript(other);
  TranscriptBatch batch = tracker.Track(other_text);
  EXPECT_EQ(batch.lines, SplitTranscriptLines(other_text.substr(299)));
  EXPECT_FALSE(batch.all_rules);
  // From there on the new room is followed normally.
  other.push_back("bob kicked carl");
  batch = tracker.Track(Transcript(other));
  EXPECT_EQ(batch.lines, Lines{"bob kicked carl"});
  EXPECT_TRUE(batch.all_rules);

  // A cleared transcript with one line already in it: shorter than the anchor, so
  // nothing is left, and nothing runs the full rules.
  batch = tracker.Track("x kicked y\r\n");
  EXPECT_TRUE(batch.lines.empty());
  EXPECT_FALSE(batch.all_rules);

  // A previous reading shorter than 300 characters: its length minus one goes.
  TranscriptTracker short_one;
  short_one.Track("abcdef\r\n");  // 8 characters
  batch = short_one.Track("zz kicked y\r\n");
  EXPECT_EQ(batch.lines, Lines{"ed y"});
  EXPECT_FALSE(batch.all_rules);

  // Emptied: nothing to hand over, and the next lines count as new once more.
  short_one.Track("");
  EXPECT_EQ(short_one.PreviousSnapshot(), "");
  batch = short_one.Track("a kicked b\r\n");
  EXPECT_EQ(batch.lines, Lines{"a kicked b"});
  EXPECT_TRUE(batch.all_rules);
}

TEST(TranscriptTracker, ClientWithoutFinalLineBreak) {
  TranscriptTracker tracker;
  Lines lines{"alice : bonjour"};
  TranscriptBatch batch = tracker.Track(Transcript(lines, false));
  EXPECT_EQ(batch.lines, lines);
  // The same reading again: nothing new (the reading itself is kept, so the
  // anchor keeps being found).
  for (int i = 0; i < 3; ++i) {
    batch = tracker.Track(Transcript(lines, false));
    EXPECT_TRUE(batch.lines.empty());
    EXPECT_FALSE(batch.all_rules);
  }
  EXPECT_EQ(tracker.PreviousSnapshot(), "alice : bonjour");
  // The next line: its break belongs to the old last line and adds no empty line.
  lines.push_back("bob kicked carl");
  batch = tracker.Track(Transcript(lines, false));
  EXPECT_EQ(batch.lines, Lines{"bob kicked carl"});
  EXPECT_TRUE(batch.all_rules);
  // The client starts ending its last line after all.
  batch = tracker.Track(Transcript(lines, true));
  EXPECT_TRUE(batch.lines.empty());
  lines.push_back("dan : re");
  EXPECT_EQ(tracker.Track(Transcript(lines, true)).lines, Lines{"dan : re"});
}

TEST(TranscriptTracker, FirstOccurrenceOfTheAnchorWins) {
  // The last 300 characters of the previous reading also occur earlier: the text
  // after the first occurrence is taken, as the anchor rule has it.
  TranscriptTracker tracker;
  const std::string block = Transcript({std::string(148, 'r'), std::string(148, 'r')});  // 300 characters
  tracker.Track(block + block);
  const TranscriptBatch batch = tracker.Track(block + block + "new\r\n");
  EXPECT_EQ(batch.lines, (Lines{std::string(148, 'r'), std::string(148, 'r'), "new"}));
  EXPECT_FALSE(batch.all_rules);
}

TEST(TranscriptTracker, LongTranscriptsKeepYieldingNewLines) {
  TranscriptTracker tracker;
  std::string text;
  for (int i = 0; text.size() < 65000; ++i) text += "alice : message numero " + std::to_string(i) + "\r\n";
  tracker.Track(text);
  text += "bob kicked carl\r\n";
  const TranscriptBatch batch = tracker.Track(text);
  EXPECT_EQ(batch.lines, Lines{"bob kicked carl"});
  EXPECT_TRUE(batch.all_rules);
}

}  // namespace
}  // namespace tavlen
