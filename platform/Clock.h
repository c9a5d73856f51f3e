// Time and the message loop as the console's handlers see them.
// Sleep blocks without handling anything; ProcessMessages handles what is due or
// pending (timer ticks, posted work, user events) and returns, so handlers that
// call it may see other handlers run nested inside them.
#pragma once

#include <cstdint>
#include <functional>

namespace tavlen {

class Clock {
 public:
  using TimerId = std::uint32_t;

  virtual ~Clock() = default;
  virtual std::int64_t NowMs() = 0;
  virtual void Sleep(int ms) = 0;
  virtual void ProcessMessages() = 0;

  // Starts (or restarts, counting from now) a periodic timer whose ticks run `tick`
  // from the message loop. Ids are chosen by the caller and unique per clock.
  virtual void StartTimer(TimerId id, int interval_ms, std::function<void()> tick) = 0;
  virtual void StopTimer(TimerId id) = 0;
  // Runs `work` from the message loop, after what is already queued.
  virtual void Post(std::function<void()> work) = 0;
};

}  // namespace tavlen
