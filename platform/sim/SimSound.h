// Simulated sound output. PlaySound calls are recorded (from any thread). Media
// players know the files a test declares, each with a length in milliseconds;
// other files fail to open with the system's error text. A playing player's
// position follows the time source it is given.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/SoundApi.h"

namespace tavlen::sim {

class SimSound : public SoundApi {
 public:
  // Milliseconds of the simulated clock.
  using TimeSource = std::function<std::int64_t()>;

  static constexpr const char* kFileNotFound =
      "The specified file could not be found. Make sure the path and filename are correct.";
  static constexpr const char* kCannotPlay =
      "The specified file cannot be played on the specified MCI device. The file may be corrupt, not in the "
      "correct format, or no file handler available for this format.";

  explicit SimSound(TimeSource now);

  // A playable file of the given length.
  void AddFile(const std::string& path, std::int64_t length_ms);
  // A file that exists but cannot be played.
  void AddUnplayableFile(const std::string& path);

  struct PlaySoundCall {
    std::string path;
    bool async;
  };
  std::vector<PlaySoundCall> PlaySoundCalls() const;
  // Files being heard now, one entry per playing player.
  std::vector<std::string> Playing() const;

  bool PlaySound(std::string_view path, bool async) override;
  std::unique_ptr<MediaPlayer> CreateMediaPlayer() override;

  // State of one player, shared with SimSound so that tests can hear it.
  struct PlayerState {
    std::string file;  // empty: nothing open
    std::int64_t length = 0;
    std::int64_t position = 0;  // while stopped
    bool playing = false;
    std::int64_t started_at = 0;       // clock time of Play
    std::int64_t started_position = 0;  // position at Play
  };

 private:
  friend class SimMediaPlayer;
  std::int64_t Now() const { return now_(); }
  std::int64_t PositionOf(const PlayerState& state) const;

  TimeSource now_;
  std::map<std::string, std::int64_t> files_;  // length, or -1 when unplayable
  std::vector<std::weak_ptr<PlayerState>> players_;
  mutable std::mutex mutex_;
  std::vector<PlaySoundCall> calls_;
};

}  // namespace tavlen::sim
