// The reuse-friendly and skipping variants against the plain definitions they
// replace on the ticks' paths, over generated inputs that provoke partial matches.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "base/Text.h"
#include "kit/Widgets.h"
#include "monitor/TranscriptTracker.h"
#include "platform/sim/SimDesktop.h"
#include "tests/support/SimApp.h"
#include "tests/support/UserTreeFixture.h"
#include "userlist/UserListSync.h"

namespace tavlen {
namespace {

std::string RandomText(std::mt19937& rng, std::size_t max_size, std::string_view alphabet) {
  std::uniform_int_distribution<std::size_t> size(0, max_size);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::string text(size(rng), ' ');
  for (char& c : text) c = alphabet[pick(rng)];
  return text;
}

TEST(SameResults, AnchorPosIsPos) {
  std::mt19937 rng(7);
  EXPECT_EQ(AnchorPos("", "abc"), Pos("", "abc"));
  EXPECT_EQ(AnchorPos("abcd", "abc"), 0u);
  EXPECT_EQ(AnchorPos("abc", "abc"), 1u);
  EXPECT_EQ(AnchorPos("c", "abc"), 3u);
  EXPECT_EQ(AnchorPos("a\0b", std::string_view("xa\0ba\0b", 7)), 2u);
  for (int round = 0; round < 20000; ++round) {
    // Two letters make many near matches; the pattern is often cut from the text.
    const std::string text = RandomText(rng, 80, round % 2 ? "ab" : "ab\r\n:x");
    std::string pattern = RandomText(rng, 6, "ab");
    if (round % 3 && !text.empty()) {
      const std::size_t from = rng() % text.size();
      pattern = text.substr(from, rng() % (text.size() - from + 1));
    }
    ASSERT_EQ(AnchorPos(pattern, text), Pos(pattern, text)) << "pattern '" << pattern << "' in '" << text << "'";
  }
}

TEST(SameResults, TrackingInPlaceFindsTheSameBatches) {
  std::mt19937 rng(11);
  TranscriptTracker copying;
  TranscriptTracker in_place;
  std::string transcript;
  for (int tick = 0; tick < 3000; ++tick) {
    switch (rng() % 8) {
      case 0: transcript.clear(); break;                                      // cleared
      case 1: transcript = RandomText(rng, 700, "ab \r\n"); break;           // another room
      case 2: transcript += "x"; break;                                       // no break after the last line
      case 3: transcript += "\r\n"; break;
      case 4: transcript.erase(0, std::min<std::size_t>(transcript.size(), rng() % 90)); break;  // trimmed
      default: transcript += RandomText(rng, 120, "ab :\r\n") + "\r\n"; break;
    }
    const TranscriptBatch expected = copying.Track(transcript);
    in_place.NextReading() = transcript;
    const TranscriptBatch got = in_place.TrackNextReading();
    ASSERT_EQ(got.lines, expected.lines) << "tick " << tick;
    ASSERT_EQ(got.all_rules, expected.all_rules) << "tick " << tick;
    ASSERT_EQ(in_place.PreviousSnapshot(), copying.PreviousSnapshot());
  }
}

TEST(SameResults, WordViewAtIsWordAt) {
  std::mt19937 rng(3);
  // 300 words: the 8-bit word numbers wrap.
  std::string many;
  for (int i = 0; i < 300; ++i) many += "w" + std::to_string(i) + (i % 7 ? " " : "   ");
  for (int n = 0; n < 256; ++n) {
    const auto word = static_cast<std::uint8_t>(n);
    ASSERT_EQ(std::string(WordViewAt(word, many, kBlank)), WordAt(word, many, kBlank)) << n;
    const std::string text = RandomText(rng, 40, "ab  ,");
    ASSERT_EQ(std::string(WordViewAt(word % 8, text, kBlank)), WordAt(word % 8, text, kBlank)) << text;
    ASSERT_EQ(std::string(WordViewAt(word % 8, text, kComma)), WordAt(word % 8, text, kComma)) << text;
  }
  EXPECT_EQ(WordViewAt(WordCount(many, kBlank), many, kBlank), "w43");
}

// The merge as first written (with empty texts, nobody, left out since): a set
// of the texts read decides what stays.
void ReferenceMerge(const std::vector<std::string>& texts, kit::ItemList& list) {
  for (const std::string& text : texts) {
    if (text.empty() || IsTreePlaceholder(text)) continue;
    int at = 0;
    while (at < list.Count() && CompareTextAnsi(list.Item(at), text) < 0) ++at;
    if (at < list.Count() && SameTextAnsi(list.Item(at), text)) continue;
    list.Insert(at, text);
  }
  const auto less = [](const std::string& a, const std::string& b) { return CompareTextAnsi(a, b) < 0; };
  const std::set<std::string, decltype(less)> present(texts.begin(), texts.end(), less);
  for (int i = list.Count() - 1; i >= 0; --i)
    if (!present.count(list.Item(i))) list.Delete(i);
}

TEST(SameResults, UserListMergeKeepsAndDropsTheSameNicks) {
  tavlen::testing::UserTreeFixture f;
  kit::ListBox& merged = f.user_list;
  kit::ListBox& chooser = f.chooser_list;
  kit::ListBox reference{&f.form, "reference"};
  const auto Items = tavlen::testing::UserTreeFixture::Items;
  std::mt19937 rng(5);
  // Letter case and accents that fold together, the tree's own texts, and
  // nicks that sort around them.
  const std::vector<std::string> pool = {"Visible Users", "visible users", "Hidden Users", " Click name to view",
                                         "No users are visible", "alice", "ALICE", "Alice", "bob", "b\xE9""b\xE9",
                                         "B\xC9""B\xC9", "carl", "zo\xE9", "ZO\xC9", " ", "", "a", "aa", "ab"};
  std::vector<std::string> tree;
  for (int tick = 0; tick < 4000; ++tick) {
    if (rng() % 4 == 0) tree.clear();
    const int changes = static_cast<int>(rng() % 4);
    for (int c = 0; c < changes; ++c) {
      if (!tree.empty() && rng() % 3 == 0) tree.erase(tree.begin() + static_cast<long>(rng() % tree.size()));
      else tree.insert(tree.begin() + static_cast<long>(rng() % (tree.size() + 1)), pool[rng() % pool.size()]);
    }
    MergeUserList(tree, merged, &chooser);
    ReferenceMerge(tree, reference);
    ASSERT_EQ(Items(merged), Items(reference)) << "tick " << tick;
    ASSERT_EQ(Items(chooser), Items(merged));
  }
}

TEST(SameResults, MemoTextFollowsItsLinesThroughAppends) {
  testing::SimApp sim{"TForm10", "Debug"};
  kit::Memo memo{&sim.form, "Memo1"};
  const auto joined = [&] {
    std::string text;
    for (std::size_t i = 0; i < memo.Lines().size(); ++i) text += (i ? "\r\n" : "") + memo.Lines()[i];
    return text;
  };
  std::mt19937 rng(13);
  for (int step = 0; step < 3000; ++step) {
    switch (rng() % 6) {
      case 0: memo.SetText(RandomText(rng, 12, "ab\r\n")); break;
      case 1: memo.RemoveFirstLines(rng() % 3); break;
      case 2: memo.SetLines({RandomText(rng, 3, "ab"), ""}); break;
      default: memo.AppendLine(RandomText(rng, 4, "ab")); break;
    }
    // Read now and then only: appends meet both a built and a stale text.
    if (rng() % 3 == 0) ASSERT_EQ(memo.Text(), joined()) << "step " << step;
  }
  EXPECT_EQ(memo.Text(), joined());
}

TEST(SameResults, SimReadsIntoABufferAsTheAllocatingOnes) {
  sim::SimDesktop d;
  const auto process = d.NewProcess();
  const Hwnd top = d.CreateTopLevel("CamfrogRoom", "salon : Video Chat Room", process);
  const Hwnd edit = d.CreateChild(top, "Edit", std::string("avant\0apres", 11));
  const Hwnd answering = d.CreateChild(top, "RichEdit20A", "");
  d.At(answering).handler = [](sim::SimWindow&, sim::SimMessage& m) {
    if (m.msg != wm::kGetText) return false;
    m.text += "ligne un\r\nligne deux";  // appends: the buffer handed over must arrive empty
    return true;
  };
  std::string out = "a longer text left from an earlier read";
  for (const Hwnd h : {top, edit, answering, Hwnd{0x7777}}) {
    for (const int limit : {0, 1, 5, 254, 5001}) {
      d.ReadWindowText(h, limit, out);
      EXPECT_EQ(out, d.GetWindowText(h, limit));
      d.ReadClassName(h, limit, out);
      EXPECT_EQ(out, d.GetClassName(h, limit));
      d.SendGetTextInto(h, static_cast<std::size_t>(limit), out);
      EXPECT_EQ(out, d.SendGetText(h, static_cast<std::size_t>(limit)));
    }
  }
  d.SendGetTextInto(edit, 5001, out);
  EXPECT_EQ(out, "avant");
  d.SendGetTextInto(answering, 5001, out);
  EXPECT_EQ(out, "ligne un\r\nligne deux");
}

}  // namespace
}  // namespace tavlen
