// Applies the monitor's rules to the new transcript lines. The first pass learns
// the moderator's own nick and rights from the client's answers to "/setopt"; the
// second pass, for small batches only, raises keyword notifications, answers song
// requests and counts kicks. Lines are seen once per pass and never kept.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/RoomLine.h"
#include "core/RoomState.h"

namespace tavlen {

class LineInterpreter {
 public:
  // What the rules act through, supplied by the features and the main window.
  struct Actions {
    // Validates a just-learnt own nick (ends the program when it is empty).
    std::function<void(const std::string& nick)> check_right;
    // The owner-only "Commandes" menu.
    std::function<void()> show_commandes;
    // The three restricted action buttons.
    std::function<void()> unlock_restricted;
    std::function<void()> redraw_menu_bar;
    // The watched words, read afresh for every line.
    std::function<const std::deque<std::string>&()> notification_words;
    std::function<void(const std::string& speaker, const std::string& word)> notify_keyword;
    // Who holds the room's microphone.
    std::function<std::string()> current_talker;
    std::function<std::string()> now_playing_title;
  };

  static constexpr std::string_view kSongAnnouncement = "[[ Actuellement sur Le Phare ]] : ";

  // The song announcement goes to the room through `line`.
  LineInterpreter(RoomState& room, RoomLine& line, Actions actions)
      : room_(room), line_(line), actions_(std::move(actions)) {}

  void SetActions(Actions actions) { actions_ = std::move(actions); }
  Actions& actions() { return actions_; }

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
  Actions actions_;
};

}  // namespace tavlen
