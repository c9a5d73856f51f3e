#include "hotkeys/SoundShortcut.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "base/Text.h"

namespace tavlen {

std::uint8_t WaveLevel(int level) { return static_cast<std::uint8_t>(std::clamp(level, 0, 255)); }

SoundShortcutPlayback::SoundShortcutPlayback(kit::Application& app, DebugLog& log, TVolumeControl& volume,
                                             MediaPlayer& player, WaveLevels& levels)
    : Timer8(app, "Timer8", 1, false), log_(log), volume_(volume), player_(player), levels_(levels) {
  Timer8.OnTimer = [this] { Timer8Timer(); };
}

void SoundShortcutPlayback::PlaySoundShortcut(std::string_view action) {
  // While an earlier shortcut still plays, the wave volume is the music level: the
  // level to come back to is still the one saved before that shortcut.
  if (!Timer8.Enabled()) levels_.saved = volume_.WaveVolume();
  if (auto error = player_.Open(action)) throw std::runtime_error(*error);
  log_.debog(ansi("-> Entrée routine hotkey>OTHER>Changevolume"));
  volume_.SetWaveVolume(WaveLevel(levels_.music));
  if (auto error = player_.Play()) {
    // Nothing plays, so nothing would ever bring the level back.
    volume_.SetWaveVolume(WaveLevel(levels_.saved));
    throw std::runtime_error(*error);
  }
  Timer8.SetEnabled(true);
}

void SoundShortcutPlayback::Timer8Timer() {
  if (player_.Position() >= player_.Length()) {
    volume_.SetWaveVolume(WaveLevel(levels_.saved));
    Timer8.SetEnabled(false);
    // Seen in the debug window even where the device takes no level.
    log_.debog(ansi("-> Fin du son du raccourci, volume WAVE rétabli"));
  }
}

}  // namespace tavlen
