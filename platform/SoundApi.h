// Sound output: PlaySound for notification sounds, and MCI-like media players
// for sound shortcuts (open by file name with the device type chosen from the
// file, play without waiting, stop, close, position and length).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tavlen {

class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;
  // Closes what is open, then opens file. Nothing on success; the system's error
  // text on failure.
  virtual std::optional<std::string> Open(std::string_view file) = 0;
  // Plays from the current position and returns at once. The error text when
  // nothing is open.
  virtual std::optional<std::string> Play() = 0;
  virtual std::optional<std::string> Stop() = 0;
  // Ends the sound and closes the file; harmless when nothing is open.
  virtual void Close() = 0;
  // In the device's time format (milliseconds for the sound files used); 0 when
  // nothing is open. Position reaches Length when the sound has played to its end.
  virtual std::int64_t Position() = 0;
  virtual std::int64_t Length() = 0;
};

class SoundApi {
 public:
  virtual ~SoundApi() = default;
  // PlaySound of a file; with async it returns at once. May be called from a
  // worker thread.
  virtual bool PlaySound(std::string_view path, bool async) = 0;
  virtual std::unique_ptr<MediaPlayer> CreateMediaPlayer() = 0;
};

}  // namespace tavlen
