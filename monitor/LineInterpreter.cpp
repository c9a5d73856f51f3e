#include "monitor/LineInterpreter.h"

#include <algorithm>

#include "base/Text.h"

namespace tavlen {

namespace {

constexpr std::string_view kSetopt = "/setopt";
constexpr std::string_view kRefusal = "Operation failed! Your current level is:";
constexpr std::string_view kOwnerHelp = "/setopt arguments:";
constexpr std::string_view kOwnerNick = "KelVorn";
constexpr std::string_view kOpPlus = "OPPLUS.";
constexpr std::string_view kOwnerLevel = "OWNER.";
constexpr std::string_view kSongRequest = "!titre";

bool IsJoinOrQuit(std::string_view first_word) {
  return EqualsIgnoreCase(first_word, "join:") || EqualsIgnoreCase(first_word, "quit:");
}

bool IsSetoptEcho(const std::string& line) { return EqualsIgnoreCase(WordViewAt(3, line, kBlank), kSetopt); }

// Whether `lowered` holds `word` with its ASCII letters lowered, at `from` or after.
bool ContainsLowered(std::string_view lowered, std::string_view word, std::size_t from) {
  if (from > lowered.size() || word.size() > lowered.size() - from) return false;
  const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  const auto begin = lowered.begin() + static_cast<std::ptrdiff_t>(from);
  return std::search(begin, lowered.end(), word.begin(), word.end(),
                     [&](char text, char w) { return text == lower(w); }) != lowered.end();
}

}  // namespace

void LineInterpreter::FirstPass(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) RightsRules(line);
}

void LineInterpreter::SecondPass(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) AllRules(line);
}

void LineInterpreter::UnlockOwnerCommands() {
  if (!owner_) return;
  owner_->ShowCommandes();
  owner_->UnlockRestricted();
  owner_->RedrawMenu();
}

void LineInterpreter::RightsRules(const std::string& line) {
  // The echo of our own "/setopt" names us. It does not settle the rights: every
  // echo replaces the nick until the client's answer arrives.
  if (!room_.RightsKnown && IsSetoptEcho(line)) {
    room_.OwnNick = WordAt(1, line, kBlank);
    nick_check_.OwnNickLearnt(room_.OwnNick);
    if (room_.OwnNick == kOwnerNick) UnlockOwnerCommands();
  }
  if (!room_.RightsKnown && line.starts_with(kRefusal)) {
    room_.Level = WordAt(7, line, kBlank);
    if (room_.Level == kOpPlus && owner_) owner_->UnlockRestricted();
    room_.RightsKnown = true;
  }
  if (!room_.RightsKnown && EqualsIgnoreCase(std::string_view(line).substr(0, kOwnerHelp.size()), kOwnerHelp)) {
    room_.Level = kOwnerLevel;
    UnlockOwnerCommands();
    room_.RightsKnown = true;
  }
}

void LineInterpreter::AllRules(const std::string& line) {
  const std::string speaker = WordAt(1, line, kBlank);
  KeywordRule(line, speaker);
  // The own nick at this line's place in the batch, for the rules of the lines after it.
  if (!room_.RightsKnown && IsSetoptEcho(line)) {
    room_.OwnNick = speaker;
    nick_check_.OwnNickLearnt(room_.OwnNick);
  }
  SongRequestRule(line, speaker);
  KickRule(line, speaker);
}

void LineInterpreter::KeywordRule(const std::string& line, const std::string& speaker) {
  if (EqualsIgnoreCase(speaker, room_.OwnNick) || IsJoinOrQuit(speaker)) return;
  if (EqualsIgnoreCase(room_.ForegroundTitle, room_.RoomWindowTitle)) return;
  if (keywords_.WatchedWords().empty()) return;
  // The message follows the first colon; a word counts wherever it occurs there,
  // even when it also occurs earlier (in the speaker's nick, say).
  const std::size_t from = std::max<std::size_t>(Pos(":", line), 1);
  const std::string lowered = LowerAscii(line);
  // The list is read afresh at each entry, and a matching entry copied: notifying
  // may run code that edits the list.
  for (std::size_t i = 0; i < keywords_.WatchedWords().size(); ++i) {
    const std::string& entry = keywords_.WatchedWords()[i];
    if (entry.empty() || !ContainsLowered(lowered, entry, from)) continue;
    const std::string word = entry;
    keywords_.NotifyKeyword(speaker, word);
  }
}

void LineInterpreter::SongRequestRule(const std::string& line, const std::string& speaker) {
  const std::size_t p = PosIgnoreCase(kSongRequest, line);
  if (p <= 1 || p != Pos(":", line) + 2 || IsJoinOrQuit(speaker)) return;
  // Only the moderator holding the microphone answers.
  if (!EqualsIgnoreCase(songs_.CurrentTalker(), room_.OwnNick)) return;
  line_.send_to_camfrog(std::string(kSongAnnouncement) + songs_.NowPlayingTitle());
}

void LineInterpreter::KickRule(const std::string& line, const std::string& speaker) {
  if (WordViewAt(2, line, kBlank) != "kicked") return;
  if (EqualsIgnoreCase(speaker, room_.OwnNick)) ++room_.KicksByOwnNick;
  ++room_.KicksTotal;
}

}  // namespace tavlen
