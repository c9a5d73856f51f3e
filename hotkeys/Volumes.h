// Output levels on a 0-255 scale for the first CD-audio, wave-output and
// MIDI-output devices that have volume control. The console uses only the wave
// level and attaches no sliders, so the slider refresh is not part of this component.
#pragma once

#include <array>
#include <cstdint>

#include "platform/VolumeApi.h"

namespace tavlen {

class TVolumeControl {
 public:
  // Channel indices.
  static constexpr int kCD = 0;
  static constexpr int kWave = 1;
  static constexpr int kMidi = 2;

  // Chooses the devices once; devices added later are not seen.
  explicit TVolumeControl(VolumeApi& api);

  // 0 when the channel has no device.
  std::uint8_t Volume(int index) const;
  // Does nothing when the channel has no device.
  void SetVolume(int index, std::uint8_t level);

  std::uint8_t CDVolume() const { return Volume(kCD); }
  std::uint8_t WaveVolume() const { return Volume(kWave); }
  std::uint8_t MidiVolume() const { return Volume(kMidi); }
  void SetCDVolume(std::uint8_t v) { SetVolume(kCD, v); }
  void SetWaveVolume(std::uint8_t v) { SetVolume(kWave, v); }
  void SetMidiVolume(std::uint8_t v) { SetVolume(kMidi, v); }

  // The chosen device number of a channel, -1 when none qualifies.
  int Device(int index) const { return devices_.at(static_cast<std::size_t>(index)); }

 private:
  VolumeApi& api_;
  std::array<int, 3> devices_{-1, -1, -1};
};

// The two wave levels the console keeps beside the device's: the level to come
// back to once a sound shortcut or the talk control has lowered it, and the music
// level fixed in the volume window (0 until then, never stored).
struct WaveLevels {
  int saved = 0;
  int music = 0;
};

}  // namespace tavlen
