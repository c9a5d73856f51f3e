// Applies the monitor's rules to the new transcript lines. The first pass learns
// the moderator's own nick and rights from the client's answers to "/setopt"; the
// second pass, for small batches only, raises keyword notifications, answers song
// requests and counts kicks. Lines are seen once per pass and never kept.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "bridge/RoomLine.h"
#include "core/RoomState.h"
#include "monitor/RuleTargets.h"

namespace tavlen {

class LineInterpreter {
 public:
  static constexpr std::string_view kSongAnnouncement = "[[ Actuellement sur Le Phare ]] : ";

  // The song announcement goes to the room through `line`.
  LineInterpreter(RoomState& room, RoomLine& line, OwnNickCheck& nick_check, KeywordWatch& keywords,
                  SongSource& songs)
      : room_(room), line_(line), nick_check_(nick_check), keywords_(keywords), songs_(songs) {}

  // The window whose owner commands the rights rules unlock; none until it exists.
  void SetOwnerCommands(OwnerCommands* owner) { owner_ = owner; }

  // The rights rules, over every line in order.
  void FirstPass(const std::vector<std::string>& lines);
  // Every per-line rule, over every line in order.
  void SecondPass(const std::vector<std::string>& lines);

  void RightsRules(const std::string& line);
  void AllRules(const std::string& line);

 private:
  void KeywordRule(const std::string& line, const std::string& speaker);
  void SongRequestRule(const std::string& line, const std::string& speaker);
  void KickRule(const std::string& line, const std::string& speaker);
  void UnlockOwnerCommands();

  RoomState& room_;
  RoomLine& line_;
  OwnNickCheck& nick_check_;
  KeywordWatch& keywords_;
  SongSource& songs_;
  OwnerCommands* owner_ = nullptr;
};

}  // namespace tavlen
