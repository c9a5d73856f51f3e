// Finds what the room's transcript gained since the previous reading. The client
// offers no event for a new line, so each tick reads the whole transcript and looks
// for the tail of the previous reading in it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavlen {

struct TranscriptBatch {
  // The new text cut into lines (NewLines).
  std::vector<std::string> lines;
  // The new text is small enough for every rule (notifications, song requests,
  // kicks); otherwise only the rights rules see it.
  bool all_rules = false;
};

class TranscriptTracker {
 public:
  static constexpr std::size_t kAnchorLength = 300;
  static constexpr std::size_t kSecondPassLimit = 300;

  // One tick: the transcript just read becomes the previous reading at once, so a
  // batch whose interpretation fails is never handed over twice.
  TranscriptBatch Track(std::string current);
  // The same tick without a copy: the transcript is read into NextReading(),
  // whose storage is that of an older reading, then handed over here.
  std::string& NextReading() { return next_; }
  TranscriptBatch TrackNextReading();

  const std::string& PreviousSnapshot() const { return previous_; }

 private:
  TranscriptBatch Compare(std::string_view current) const;

  std::string previous_;
  std::string next_;
};

// Lines of a transcript: cut at every CR LF only (a lone CR or LF stays in the
// line), no line after a final CR LF, each line cut at 4,096 characters.
std::vector<std::string> SplitTranscriptLines(std::string_view text);

inline constexpr std::size_t kTranscriptLineLimit = 4096;

// Pos(anchor, text) for the tracker's long anchors, which it searches for in
// the whole transcript at every tick.
std::size_t AnchorPos(std::string_view anchor, std::string_view text);

}  // namespace tavlen
