#include "hotkeys/SoundShortcut.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "base/Text.h"

namespace tavlen {

std::uint8_t WaveLevel(int level) { return static_cast<std::uint8_t>(std::clamp(level, 0, 255)); }

SoundShortcutPlayback::SoundShortcutPlayback(DebugLog& log, TVolumeControl& volume, MediaPlayer& player,
                                             kit::Timer& end_watch, int& saved_wave_volume, const int& music_volume)
    : log_(log),
      volume_(volume),
      player_(player),
      end_watch_(end_watch),
      saved_wave_volume_(saved_wave_volume),
      music_volume_(music_volume) {}

void SoundShortcutPlayback::PlaySoundShortcut(std::string_view action) {
  // While an earlier shortcut still plays, the wave volume is the music level: the
  // level to come back to is still the one saved before that shortcut.
  if (!end_watch_.Enabled()) saved_wave_volume_ = volume_.WaveVolume();
  if (auto error = player_.Open(action)) throw std::runtime_error(*error);
  log_.debog(ansi("-> Entrée routine hotkey>OTHER>Changevolume"));
  volume_.SetWaveVolume(WaveLevel(music_volume_));
  if (auto error = player_.Play()) {
    // Nothing plays, so nothing would ever bring the level back.
    volume_.SetWaveVolume(WaveLevel(saved_wave_volume_));
    throw std::runtime_error(*error);
  }
  end_watch_.SetEnabled(true);
}

void SoundShortcutPlayback::Timer8Timer() {
  if (player_.Position() >= player_.Length()) {
    volume_.SetWaveVolume(WaveLevel(saved_wave_volume_));
    end_watch_.SetEnabled(false);
    // Seen in the debug window even where the device takes no level.
    log_.debog(ansi("-> Fin du son du raccourci, volume WAVE rétabli"));
  }
}

}  // namespace tavlen
