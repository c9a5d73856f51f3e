#include "platform/sim/SimClock.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace tavlen::sim {

void SimClock::MoveTo(std::int64_t t) {
  if (t <= now_) return;
  now_ = t;
  if (OnTimeMoved) OnTimeMoved(now_);
}

void SimClock::Sleep(int ms) {
  if (ms <= 0) return;
  slept_ += ms;
  MoveTo(now_ + ms);
}

void SimClock::StartTimer(TimerId id, int interval_ms, std::function<void()> tick) {
  timers_[id] = TimerState{std::max(1, interval_ms), now_ + std::max(1, interval_ms), std::move(tick), ++generation_};
}

void SimClock::StopTimer(TimerId id) { timers_.erase(id); }

void SimClock::Post(std::function<void()> work) { posted_.push_back(std::move(work)); }

bool SimClock::RunDue() {
  bool ran = false;
  // Posted work first, in order; work posted meanwhile waits for the next round.
  for (std::size_t n = posted_.size(); n > 0 && !posted_.empty(); --n) {
    auto work = std::move(posted_.front());
    posted_.pop_front();
    work();
    ran = true;
  }
  // Each due timer ticks once per round, in the order of its due time. Like
  // WM_TIMER, a tick that is late is not repeated for the periods it missed.
  std::vector<std::pair<std::int64_t, TimerId>> due;
  for (const auto& [id, t] : timers_)
    if (t.due <= now_) due.emplace_back(t.due, id);
  std::sort(due.begin(), due.end());
  for (const auto& [when, id] : due) {
    auto it = timers_.find(id);
    if (it == timers_.end() || it->second.due > now_) continue;  // stopped or restarted meanwhile
    const std::uint64_t gen = it->second.generation;
    it->second.due = now_ + it->second.interval;
    auto tick = it->second.tick;  // the handler may stop or restart its own timer
    tick();
    ran = true;
    (void)gen;
  }
  return ran;
}

void SimClock::ProcessMessages() { RunDue(); }

std::int64_t SimClock::NextDue() const {
  if (!posted_.empty()) return now_;
  std::int64_t next = std::numeric_limits<std::int64_t>::max();
  for (const auto& [id, t] : timers_) next = std::min(next, t.due);
  return next;
}

void SimClock::Advance(std::int64_t ms) {
  const std::int64_t target = now_ + ms;
  for (;;) {
    const std::int64_t next = NextDue();
    if (next > target) break;
    MoveTo(std::max(now_, next));
    RunDue();
  }
  MoveTo(target);
}

}  // namespace tavlen::sim
