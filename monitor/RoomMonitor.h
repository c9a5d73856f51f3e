// The room monitor: every two seconds the transcript's new lines are read from
// the room window and run through the rules.
#pragma once

#include "bridge/ControlAccess.h"
#include "core/RoomState.h"
#include "kit/Widgets.h"
#include "monitor/LineInterpreter.h"
#include "monitor/RuleTargets.h"
#include "monitor/TranscriptTracker.h"
#include "platform/Dialogs.h"

namespace tavlen {

class RoomMonitor final : public OwnNickCheck {
 public:
  // The rules notify through `keywords` and answer songs from `songs`.
  RoomMonitor(kit::Application& app, ControlAccess& controls, RoomState& room, Dialogs& dialogs,
              KeywordWatch& keywords, SongSource& songs);

  // Reads the transcript and interprets its new lines (2 s).
  kit::Timer Timer2;
  TranscriptTracker tracker;
  LineInterpreter interpreter;

  void Timer2Timer();
  // Ends the program (after a box) when the own nick just learnt is empty.
  void check_right(const std::string& nick);
  void OwnNickLearnt(const std::string& nick) override { check_right(nick); }

 private:
  kit::Application& app_;
  Dialogs& dialogs_;
  ControlAccess& controls_;
  RoomState& room_;
  bool timer2_running_ = false;
};

}  // namespace tavlen
