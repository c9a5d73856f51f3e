#include "core/DebugLog.h"

#include "kit/Widgets.h"

namespace tavlen {

namespace {
// Trimming in chunks keeps appends cheap: between kKeptLines and kKeptLines + kChunk
// lines are kept.
constexpr std::size_t kChunk = 1000;
const std::string kNone;
}  // namespace

void DebugLog::Attach(kit::Memo& memo) {
  memo_ = &memo;
  for (auto& line : pending_) memo_->AppendLine(std::move(line));
  pending_.clear();
}

void DebugLog::debog(std::string line) {
  if (!memo_) {
    pending_.push_back(std::move(line));
    if (pending_.size() >= kKeptLines + kChunk) pending_.erase(pending_.begin(), pending_.begin() + kChunk);
    return;
  }
  memo_->AppendLine(std::move(line));
  if (memo_->Lines().size() >= kKeptLines + kChunk) memo_->RemoveFirstLines(kChunk);
}

std::size_t DebugLog::Count() const { return memo_ ? memo_->Lines().size() : pending_.size(); }

const std::string& DebugLog::Last() const {
  if (memo_) return memo_->Lines().empty() ? kNone : memo_->Lines().back();
  return pending_.empty() ? kNone : pending_.back();
}

}  // namespace tavlen
