// Playing a sound shortcut when its hotkey is pressed: the wave volume goes to the
// music level while the sound plays and back to the saved level when it ends.
#pragma once

#include <string_view>

#include "core/DebugLog.h"
#include "hotkeys/Volumes.h"
#include "kit/Widgets.h"
#include "platform/SoundApi.h"

namespace tavlen {

class SoundShortcutPlayback {
 public:
  SoundShortcutPlayback(kit::Application& app, DebugLog& log, TVolumeControl& volume, MediaPlayer& player,
                        WaveLevels& levels);

  // Saves the wave volume (unless an earlier shortcut still plays), opens the file, lowers the volume to the music level,
  // starts the sound and the end watch. A file that cannot be opened throws with
  // the system's error text; the volume is then left as it was.
  void PlaySoundShortcut(std::string_view action);
  // One tick of the end watch: once the sound has played to its end, the saved
  // level comes back and the watch stops.
  void Timer8Timer();

  // The end watch: polls the player while a shortcut's sound plays (1 ms).
  kit::Timer Timer8;

 private:
  DebugLog& log_;
  TVolumeControl& volume_;
  MediaPlayer& player_;
  WaveLevels& levels_;
};

// A wave level kept as an int, brought into the 0-255 range a device takes.
std::uint8_t WaveLevel(int level);

}  // namespace tavlen
