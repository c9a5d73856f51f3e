// The worker thread that starts notification sounds, so the playback call never
// holds up the user-interface thread. One request at a time: a request not yet
// taken up is replaced by the next one.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace tavlen {

class SoundWorker {
 public:
  using Work = std::function<void(const std::string& sound_file)>;

  explicit SoundWorker(Work work) : work_(std::move(work)) {}
  ~SoundWorker();
  SoundWorker(const SoundWorker&) = delete;
  SoundWorker& operator=(const SoundWorker&) = delete;

  // Hands `sound_file` to the worker and returns at once.
  void Start(std::string sound_file);
  // Blocks until the worker has nothing left to do.
  void WaitIdle();

 private:
  void Run();

  Work work_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::optional<std::string> pending_;
  bool busy_ = false;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace tavlen
