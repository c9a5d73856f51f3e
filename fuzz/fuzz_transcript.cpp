// The transcript tracker and the line interpreter over a transcript that grows,
// is trimmed by the client, is cleared, or belongs to another room from one tick to
// the next.
#include <algorithm>

#include "base/Files.h"
#include "base/Text.h"
#include "core/RoomState.h"
#include "FuzzSupport.h"
#include "monitor/LineInterpreter.h"
#include "monitor/TranscriptTracker.h"
#include "tests/support/FakeRoomLine.h"
#include "tests/support/FakeRuleTargets.h"

using namespace tavlen;

namespace {

std::string DropFirstLines(const std::string& text, int count) {
  std::size_t at = 0;
  for (int i = 0; i < count; ++i) {
    const std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) return {};
    at = end + 2;
  }
  return text.substr(at);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(fuzz::AsText(data, size));
  const std::vector<std::string_view> parts = in.Parts('\0');

  // The moderator holds the microphone, so song requests are answered.
  struct Targets : tavlen::testing::FakeRuleTargets {
    explicit Targets(const RoomState& room) : room(room) {}
    std::string CurrentTalker() override { return room.OwnNick; }
    const RoomState& room;
  };
  RoomState room;
  room.OwnNick = "modo";
  Targets targets(room);
  targets.song = "Artist - Title";
  // The first part holds the watched words, one per line.
  for (const std::string& w : SplitLinesAnyBreak(parts[0])) targets.words.push_back(w);
  tavlen::testing::FakeRoomLine line;
  const std::vector<std::string>& sent = line.sent;
  LineInterpreter interpreter(room, line, targets, targets, targets);
  interpreter.SetOwnerCommands(&targets);
  TranscriptTracker tracker;

  std::string transcript;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    std::string_view part = parts[i];
    const std::uint8_t op = part.empty() ? 0 : static_cast<std::uint8_t>(part.front());
    if (!part.empty()) part.remove_prefix(1);
    const std::string previous = transcript;
    bool appended = false;
    switch (op % 5) {
      case 0:
      case 1:  // new lines, ended as most clients end them or not
        transcript += part;
        if (op % 5 == 0) transcript += "\r\n";
        appended = true;
        break;
      case 2:  // the client drops its oldest lines and adds new ones
        transcript = DropFirstLines(transcript, op / 5 % 8) + std::string(part) + "\r\n";
        break;
      case 3:  // another room, or a cleared transcript
        transcript = std::string(part);
        break;
      default:  // nothing new
        break;
    }

    const bool was_known = room.RightsKnown;
    const int kicks_before = room.KicksTotal;
    const TranscriptBatch batch = tracker.Track(transcript);
    interpreter.FirstPass(batch.lines);
    if (batch.all_rules) interpreter.SecondPass(batch.lines);

    FUZZ_CHECK(tracker.PreviousSnapshot() == transcript);
    for (const std::string& line : batch.lines) FUZZ_CHECK(line.size() <= kTranscriptLineLimit);
    FUZZ_CHECK(!batch.all_rules || !batch.lines.empty());
    FUZZ_CHECK(!was_known || room.RightsKnown);
    FUZZ_CHECK(room.KicksByOwnNick <= room.KicksTotal && room.KicksTotal >= kicks_before);
    FUZZ_CHECK(room.KicksTotal - kicks_before <= static_cast<int>(batch.lines.size()));
    if (!batch.all_rules) FUZZ_CHECK(room.KicksTotal == kicks_before);

    // Lines added after a reading that ended its last line, and found where they
    // were added: exactly those lines are handed over.
    const std::size_t anchor_length = std::min(previous.size(), TranscriptTracker::kAnchorLength);
    const std::string_view anchor = std::string_view(previous).substr(previous.size() - anchor_length);
    if (appended && previous.ends_with("\r\n") && transcript.find(anchor) == previous.size() - anchor_length)
      FUZZ_CHECK(batch.lines == SplitTranscriptLines(std::string_view(transcript).substr(previous.size())));
  }
  for (const std::string& announced : sent) FUZZ_CHECK(announced.starts_with(LineInterpreter::kSongAnnouncement));
  for (const auto& [speaker, word] : targets.notified)
    FUZZ_CHECK(std::find(targets.words.begin(), targets.words.end(), word) != targets.words.end());
  return 0;
}
