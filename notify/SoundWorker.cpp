#include "notify/SoundWorker.h"

namespace tavlen {

SoundWorker::~SoundWorker() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void SoundWorker::Start(std::string sound_file) {
  {
    std::lock_guard lock(mutex_);
    pending_ = std::move(sound_file);
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  }
  wake_.notify_one();
}

void SoundWorker::WaitIdle() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return !pending_ && !busy_; });
}

void SoundWorker::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stop_ || pending_; });
    if (stop_) break;
    const std::string sound_file = std::move(*pending_);
    pending_.reset();
    busy_ = true;
    lock.unlock();
    try {
      work_(sound_file);
    } catch (...) {
      // A sound that cannot be started is no reason to stop the worker.
    }
    lock.lock();
    busy_ = false;
    idle_.notify_all();
  }
  busy_ = false;
  pending_.reset();
  idle_.notify_all();
}

}  // namespace tavlen
