// Virtual time. Advance() fires due timers and posted work in time order;
// Sleep() moves time without handling anything; ProcessMessages() handles what is
// due now, so handlers that pump messages see ticks nested exactly as on Windows.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>

#include "platform/Clock.h"

namespace tavlen::sim {

class SimClock : public Clock {
 public:
  std::int64_t NowMs() override { return now_; }
  void Sleep(int ms) override;
  void ProcessMessages() override;
  void StartTimer(TimerId id, int interval_ms, std::function<void()> tick) override;
  void StopTimer(TimerId id) override;
  void Post(std::function<void()> work) override;

  // Moves time forward by ms, handling every timer tick and posted work that falls
  // due on the way, at its own time.
  void Advance(std::int64_t ms);
  bool TimerRunning(TimerId id) const { return timers_.count(id) != 0; }
  std::int64_t SleptMs() const { return slept_; }
  // Called whenever time moves (Sleep or Advance): lets the simulated world
  // (rooms, players) follow the clock.
  std::function<void(std::int64_t now)> OnTimeMoved;

 private:
  struct TimerState {
    int interval;
    std::int64_t due;
    std::function<void()> tick;
    std::uint64_t generation;
  };
  // Runs everything due at the current time once; true when something ran.
  bool RunDue();
  std::int64_t NextDue() const;
  void MoveTo(std::int64_t t);

  std::int64_t now_ = 0;
  std::int64_t slept_ = 0;
  std::uint64_t generation_ = 0;
  std::map<TimerId, TimerState> timers_;
  std::deque<std::function<void()>> posted_;
};

}  // namespace tavlen::sim
