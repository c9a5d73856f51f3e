// The SoundApi port: PlaySound of a file, and media players over MCI commands
// (the device type is chosen by the system from the file). A player's play
// notification goes to a hidden window of the thread that created the player.
#pragma once

#include "platform/SoundApi.h"

namespace tavlen {

class Win32Sound final : public SoundApi {
 public:
  // Safe from any thread.
  bool PlaySound(std::string_view path, bool async) override;
  // The player belongs to the calling thread, which must run a message loop for
  // the end-of-play notification.
  std::unique_ptr<MediaPlayer> CreateMediaPlayer() override;
};

}  // namespace tavlen
