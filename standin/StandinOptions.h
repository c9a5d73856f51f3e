// The stand-in programs' command line: a chat room (the default) or, with
// --winamp, a media player window whose title names the playing song. A room
// given --lie answers as a lying room does (standin/RoomLies.h).
#pragma once

#include <string>
#include <vector>

#include "standin/RoomModel.h"

namespace tavlen::standin {

struct StandinOptions {
  enum class Mode { Room, Player };
  Mode mode = Mode::Room;
  RoomConfig room;
  std::string player_title;  // --winamp "12. Artist - Song - Winamp"
  int say_every_ms = 0;      // > 0: another user writes a chat line at this interval
  bool hang_switch = false;  // the program may be told to stop handling messages
  int left = -1;             // --at X,Y; -1: the program's default place
  int top = -1;
  int other_windows = 0;     // top-level windows of another kind beside the room
};

// The title of the index-th (0-based) other window: a third have none, a third
// a short one, a third a long one.
std::string OtherWindowTitle(int index);

// The usage text shown on a bad command line.
std::string StandinUsage();

// Fills options from the arguments (program name excluded). Returns an error
// text, empty when the command line is valid.
std::string ParseStandinArgs(const std::vector<std::string>& args, StandinOptions& options);

// "user001" ... : count generated nicks, numbered from first.
std::vector<std::string> GeneratedNicks(int count, int first = 1);

}  // namespace tavlen::standin
