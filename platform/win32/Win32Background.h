// The Background port on one worker thread; completions go through the clock's
// posted work, so they run from the message loop like any event.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/Background.h"
#include "platform/Clock.h"

namespace tavlen {

class Win32Background final : public Background {
 public:
  explicit Win32Background(Clock& clock) : clock_(clock) {}
  // Waits for the job in progress; jobs not started are dropped with their completions.
  ~Win32Background() override;
  Win32Background(const Win32Background&) = delete;
  Win32Background& operator=(const Win32Background&) = delete;

  void Run(std::function<void()> work, std::function<void()> done) override;

 private:
  void Loop();

  Clock& clock_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::pair<std::function<void()>, std::function<void()>>> jobs_;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace tavlen
