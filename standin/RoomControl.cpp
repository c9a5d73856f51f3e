#include "standin/RoomControl.h"

#include <charconv>

#include "base/Text.h"

namespace tavlen::standin {

ControlCommand SplitControl(std::string_view line) {
  // A trailing line break from a shell-built command is not part of it.
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  const std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos) return {LowerAscii(line), {}};
  return {LowerAscii(line.substr(0, blank)), std::string(line.substr(blank + 1))};
}

ControlOutcome ApplyRoomControl(RoomModel& room, std::string_view line, bool hang_allowed) {
  const ControlCommand c = SplitControl(line);
  const std::string nick = TrimBlanks(c.rest);
  const bool one_nick = !nick.empty() && nick.find(' ') == std::string::npos;
  ControlOutcome out;
  if (c.verb == "say") {
    const std::size_t bar = c.rest.find('|');
    if (bar == std::string::npos) return out;
    const std::string speaker = TrimBlanks(std::string_view(c.rest).substr(0, bar));
    if (speaker.empty()) return out;
    room.Say(speaker, c.rest.substr(bar + 1));
  } else if (c.verb == "join" || c.verb == "join-hidden") {
    if (!one_nick) return out;
    room.Join(nick, c.verb == "join-hidden");
  } else if (c.verb == "quit") {
    if (!one_nick) return out;
    room.Quit(nick);
  } else if (c.verb == "talker") {
    if (!nick.empty() && !one_nick) return out;
    room.SetTalker(nick);
  } else if (c.verb == "topic") {
    room.SetTopic(c.rest);
  } else if (c.verb == "raw") {
    room.AppendRaw(c.rest);
  } else if (c.verb == "clear") {
    room.ClearTranscript();
  } else if (c.verb == "close") {
    out.close = true;
  } else if (c.verb == "keylog") {
    // The path as given: a folder may have blanks at its ends.
    out.key_log = true;
    out.key_log_path = c.rest;
  } else if (c.verb == "hang") {
    int ms = 0;
    const auto [end, ec] = std::from_chars(nick.data(), nick.data() + nick.size(), ms);
    if (!hang_allowed || ec != std::errc() || end != nick.data() + nick.size() || ms <= 0 || ms > kMaxHangMs)
      return out;
    out.hang_ms = ms;
  } else {
    return out;
  }
  out.applied = true;
  return out;
}

}  // namespace tavlen::standin
