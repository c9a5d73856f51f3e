// The control channel through which a test driver plays the other people of a
// stand-in room, and the media player's title. A command is one line of text
// (Windows-1252 bytes), carried by WM_COPYDATA with the id kControlDataId:
//
//   say NICK|TEXT    NICK writes TEXT           join NICK     NICK enters
//   join-hidden NICK NICK enters, hidden        quit NICK     NICK leaves
//   talker NICK      NICK holds the microphone  talker        nobody does
//   topic TEXT       new topic ("topic" alone removes it)
//   raw LINE         LINE appended to the transcript as is
//   clear            empty transcript           close         window closes
//   hang MS          the program stops handling messages for MS ms
//                    (only when started with --hang-switch)
//   keylog [PATH]    the times of the Enter key-downs the input boxes got
//                    written to PATH (each "MS BOX LINE", LINE the line it
//                    submitted, if any), then forgotten; without PATH only forgotten
//   title TEXT       media player only: the window title
#pragma once

#include <string>
#include <string_view>

#include "standin/RoomModel.h"

namespace tavlen::standin {

// WM_COPYDATA dwData of a control command ("TVSC").
inline constexpr unsigned long kControlDataId = 0x54565343;
// Registered window message: wParam = milliseconds to stop handling messages
// (a room started with --hang-switch only).
inline constexpr char kHangMessageName[] = "TavlenStandinHang";
// Registered window message: answers how many Enter key-downs the input boxes
// got since the key log was last emptied.
inline constexpr char kKeyCountMessageName[] = "TavlenStandinKeyCount";
// Registered window message: answers how many times the transcript's text was
// read (WM_GETTEXT) since the room started, so a driver can tell that a
// program watching the room has read what is there now.
inline constexpr char kTranscriptReadsMessageName[] = "TavlenStandinTranscriptReads";
// Longest pause a hang command may ask for.
inline constexpr int kMaxHangMs = 60000;

struct ControlCommand {
  std::string verb;  // lower-cased
  std::string rest;  // everything after the first blank, kept as is
};

ControlCommand SplitControl(std::string_view line);

struct ControlOutcome {
  bool applied = false;
  int hang_ms = 0;     // > 0: the skin stops handling messages this long
  bool close = false;  // the skin closes its window
  bool key_log = false;      // the skin writes its key log to key_log_path (none: empties it)
  std::string key_log_path;
};

// Applies a room command to the model. Unknown or malformed commands change
// nothing and report applied = false.
ControlOutcome ApplyRoomControl(RoomModel& room, std::string_view line, bool hang_allowed);

}  // namespace tavlen::standin
