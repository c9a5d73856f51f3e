#include "monitor/TranscriptTracker.h"

#include <algorithm>

#include "core/Text.h"

namespace tavlen {

namespace {
constexpr std::string_view kCrLf = "\r\n";
}

std::vector<std::string> SplitTranscriptLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find(kCrLf, start);
    const std::size_t length = (end == std::string_view::npos ? text.size() : end) - start;
    lines.emplace_back(text.substr(start, std::min(length, kTranscriptLineLimit)));
    if (end == std::string_view::npos) break;
    start = end + kCrLf.size();
  }
  return lines;
}

TranscriptBatch TranscriptTracker::Track(std::string current) {
  const std::string_view previous = previous_;
  const std::string_view anchor =
      previous.size() > kAnchorLength ? previous.substr(previous.size() - kAnchorLength) : previous;
  const std::size_t p = Pos(anchor, current);
  // Another room's transcript, or a cleared one: nothing in it can be told apart
  // from old lines, so it only teaches rights.
  const bool anchor_lost = !previous.empty() && p == 0;

  // Everything after the first occurrence of the anchor; after a lost anchor, all
  // but the first (anchor length - 1) characters.
  const std::size_t removed = p + anchor.size() > 0 ? p + anchor.size() - 1 : 0;
  std::string_view new_text = current;
  new_text.remove_prefix(std::min(removed, new_text.size()));
  // A client that puts no break after its last line: the CR LF that follows it
  // later only ends a line already handed over.
  if (!anchor_lost && !previous.empty() && !previous.ends_with(kCrLf) && new_text.starts_with(kCrLf))
    new_text.remove_prefix(kCrLf.size());

  TranscriptBatch batch;
  batch.lines = SplitTranscriptLines(new_text);
  batch.all_rules = !anchor_lost && !new_text.empty() && new_text.size() < kSecondPassLimit;
  previous_ = std::move(current);
  return batch;
}

}  // namespace tavlen
