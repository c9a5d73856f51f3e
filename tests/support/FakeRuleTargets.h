// Everything the transcript rules act on, recorded, for tests, benchmarks and fuzzers.
#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "monitor/RuleTargets.h"

namespace tavlen::testing {

class FakeRuleTargets : public OwnNickCheck, public OwnerCommands, public KeywordWatch, public SongSource {
 public:
  void OwnNickLearnt(const std::string& nick) override { calls.push_back("check_right " + nick); }
  void ShowCommandes() override { calls.push_back("Commandes"); }
  void UnlockRestricted() override { calls.push_back("buttons"); }
  void RedrawMenu() override { calls.push_back("redraw"); }
  const std::deque<std::string>& WatchedWords() const override { return words; }
  void NotifyKeyword(const std::string& speaker, const std::string& word) override {
    notified.emplace_back(speaker, word);
  }
  std::string CurrentTalker() override {
    ++talker_reads;
    return talker;
  }
  std::string NowPlayingTitle() override { return song; }

  std::vector<std::string> calls;  // own nick checks, menu and button actions, in order
  std::vector<std::pair<std::string, std::string>> notified;  // speaker, word
  std::deque<std::string> words;
  std::string talker;
  std::string song = "Artist - Song";
  int talker_reads = 0;
};

}  // namespace tavlen::testing
