// The song requests' answers, from the room's talk switch and the media player.
#pragma once

#include <string>

#include "bridge/TalkSwitch.h"
#include "monitor/RuleTargets.h"
#include "monitor/WinampControl.h"

namespace tavlen {

class RoomSongSource final : public SongSource {
 public:
  RoomSongSource(TalkSwitch& talk, TWinampControl& player) : talk_(talk), player_(player) {}
  std::string CurrentTalker() override { return talk_.CurrentTalker(); }
  std::string NowPlayingTitle() override { return player_.NowPlayingTitle(); }

 private:
  TalkSwitch& talk_;
  TWinampControl& player_;
};

}  // namespace tavlen
