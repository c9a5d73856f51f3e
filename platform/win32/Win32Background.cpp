#include "platform/win32/Win32Background.h"

namespace tavlen {

Win32Background::~Win32Background() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    jobs_.clear();
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void Win32Background::Run(std::function<void()> work, std::function<void()> done) {
  {
    std::lock_guard lock(mutex_);
    jobs_.emplace_back(std::move(work), std::move(done));
    if (!thread_.joinable()) thread_ = std::thread([this] { Loop(); });
  }
  wake_.notify_one();
}

void Win32Background::Loop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
    if (stop_) return;
    auto [work, done] = std::move(jobs_.front());
    jobs_.pop_front();
    lock.unlock();
    // A failed read still completes: its owner waits for the completion to read again.
    try {
      work();
    } catch (...) {
    }
    clock_.Post(std::move(done));
    lock.lock();
  }
}

}  // namespace tavlen
