#include "standin/StandinOptions.h"

#include <charconv>
#include <cstdio>

#include "base/Text.h"

namespace tavlen::standin {

namespace {

bool ParseInt(const std::string& text, int min, int max, int& value) {
  int parsed = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (ec != std::errc() || end != text.data() + text.size() || parsed < min || parsed > max) return false;
  value = parsed;
  return true;
}

// Comma-separated nicks; blanks around each are dropped, empty entries skipped.
std::vector<std::string> NickList(const std::string& text) {
  std::vector<std::string> nicks;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    std::string nick = TrimBlanks(std::string_view(text).substr(start, comma - start));
    if (!nick.empty()) nicks.push_back(std::move(nick));
    start = comma + 1;
  }
  return nicks;
}

}  // namespace

std::string StandinUsage() {
  return "standin.exe [--room NAME] [--topic T] [--nick NICK] [--level WORD] [--owner]\n"
         "            [--users a,b,c] [--hidden-users x,y] [--users-count N] [--filler N]\n"
         "            [--no-final-crlf] [--refuse-talk] [--no-talk-switch]\n"
         "            [--say-every-ms N] [--hang-switch] [--at X,Y] [--lie LIES]\n"
         "            [--input-boxes N] [--transcript-lines N] [--other-windows N]\n"
         "  LIES: all, or some of " + LieNames() + "\n"
         "standin.exe --winamp TITLE [--at X,Y]\n";
}

std::vector<std::string> GeneratedNicks(int count, int first) {
  std::vector<std::string> nicks;
  for (int i = first; i < first + count; ++i) {
    char nick[32];
    std::snprintf(nick, sizeof nick, "user%03d", i);
    nicks.emplace_back(nick);
  }
  return nicks;
}

std::string OtherWindowTitle(int index) {
  switch (index % 3) {
    case 0:
      return {};
    case 1:
      return "Notes " + std::to_string(index);
    default:
      // Longer than the 254 characters a desktop walk reads of a title.
      return "Document " + std::to_string(index) + " - " + std::string(300, 'x') + " - Editeur";
  }
}

std::string ParseStandinArgs(const std::vector<std::string>& args, StandinOptions& options) {
  RoomConfig& room = options.room;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& flag = args[i];
    // Options that take a value read the next argument.
    const auto value = [&](std::string& out) -> bool {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    std::string v;
    if (flag == "--room") {
      if (!value(v) || TrimBlanks(v).empty()) return "--room needs a room name";
      room.room = v;
    } else if (flag == "--topic") {
      if (!value(v)) return "--topic needs a text";
      room.topic = v;
    } else if (flag == "--nick") {
      if (!value(v) || TrimBlanks(v).empty() || v.find(' ') != std::string::npos) return "--nick needs one word";
      room.own_nick = v;
    } else if (flag == "--level") {
      if (!value(v) || v.empty()) return "--level needs a word";
      room.level = v;
    } else if (flag == "--owner") {
      room.owner = true;
    } else if (flag == "--users") {
      if (!value(v)) return "--users needs a list";
      for (auto& nick : NickList(v)) room.users.push_back(std::move(nick));
    } else if (flag == "--hidden-users") {
      if (!value(v)) return "--hidden-users needs a list";
      for (auto& nick : NickList(v)) room.hidden_users.push_back(std::move(nick));
    } else if (flag == "--users-count") {
      int count = 0;
      if (!value(v) || !ParseInt(v, 0, 100000, count)) return "--users-count needs a number from 0 to 100000";
      for (auto& nick : GeneratedNicks(count)) room.users.push_back(std::move(nick));
    } else if (flag == "--filler") {
      if (!value(v) || !ParseInt(v, 0, 1000, room.filler_children)) return "--filler needs a number from 0 to 1000";
    } else if (flag == "--no-final-crlf") {
      room.crlf_after_last = false;
    } else if (flag == "--refuse-talk") {
      room.refuse_talk = true;
    } else if (flag == "--no-talk-switch") {
      room.has_talk_switch = false;
    } else if (flag == "--say-every-ms") {
      if (!value(v) || !ParseInt(v, 1, 3600000, options.say_every_ms)) return "--say-every-ms needs a positive number";
    } else if (flag == "--hang-switch") {
      options.hang_switch = true;
    } else if (flag == "--at") {
      const std::size_t comma = value(v) ? v.find(',') : std::string::npos;
      if (comma == std::string::npos || !ParseInt(v.substr(0, comma), -10000, 10000, options.left) ||
          !ParseInt(v.substr(comma + 1), -10000, 10000, options.top))
        return "--at needs X,Y";
    } else if (flag == "--lie") {
      if (!value(v)) return "--lie needs a list of lies";
      if (std::string error = ParseLies(v, room.lies); !error.empty()) return "--lie: " + error;
    } else if (flag == "--input-boxes") {
      if (!value(v) || !ParseInt(v, 1, 4, room.input_boxes)) return "--input-boxes needs a number from 1 to 4";
    } else if (flag == "--transcript-lines") {
      if (!value(v) || !ParseInt(v, 0, 100000, room.transcript_lines))
        return "--transcript-lines needs a number from 0 to 100000";
    } else if (flag == "--other-windows") {
      if (!value(v) || !ParseInt(v, 0, 5000, options.other_windows))
        return "--other-windows needs a number from 0 to 5000";
    } else if (flag == "--winamp") {
      if (!value(v)) return "--winamp needs a window title";
      options.mode = StandinOptions::Mode::Player;
      options.player_title = v;
    } else {
      return "unknown argument: " + flag;
    }
  }
  return {};
}

}  // namespace tavlen::standin
