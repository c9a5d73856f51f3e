#include "monitor/TranscriptTracker.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "base/Text.h"

namespace tavlen {

namespace {
constexpr std::string_view kCrLf = "\r\n";
}  // namespace

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

std::size_t AnchorPos(std::string_view anchor, std::string_view text) {
  if (anchor.empty() || anchor.size() > text.size()) return 0;
  // The anchor's least frequent byte, which is likely rare in the text too: the
  // scan jumps from one of its occurrences to the next, and only there is the
  // whole anchor compared. Candidates come in increasing order, so the first
  // match is the first occurrence.
  std::array<std::size_t, 256> count{};
  for (const char c : anchor) ++count[static_cast<unsigned char>(c)];
  std::size_t k = 0;
  for (std::size_t i = 1; i < anchor.size(); ++i)
    if (count[static_cast<unsigned char>(anchor[i])] < count[static_cast<unsigned char>(anchor[k])]) k = i;
  const char* const start = text.data();
  const char* const end = start + (text.size() - anchor.size()) + k + 1;  // past the last usable hit
  for (const char* at = start + k; at < end;) {
    const auto* hit = static_cast<const char*>(std::memchr(at, anchor[k], static_cast<std::size_t>(end - at)));
    if (!hit) break;
    if (std::memcmp(hit - k, anchor.data(), anchor.size()) == 0) return static_cast<std::size_t>(hit - k - start) + 1;
    at = hit + 1;
  }
  return 0;
}

TranscriptBatch TranscriptTracker::Track(std::string current) {
  TranscriptBatch batch = Compare(current);
  previous_ = std::move(current);
  return batch;
}

TranscriptBatch TranscriptTracker::TrackNextReading() {
  TranscriptBatch batch = Compare(next_);
  previous_.swap(next_);
  return batch;
}

TranscriptBatch TranscriptTracker::Compare(std::string_view current) const {
  const std::string_view previous = previous_;
  const std::string_view anchor =
      previous.size() > kAnchorLength ? previous.substr(previous.size() - kAnchorLength) : previous;
  const std::size_t p = AnchorPos(anchor, current);
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
  return batch;
}

}  // namespace tavlen
