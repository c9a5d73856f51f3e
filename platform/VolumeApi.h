// Device output levels of the auxiliary (CD audio), wave-output and MIDI-output
// device classes (auxGetNumDevs/auxGetDevCaps/auxGetVolume/auxSetVolume and the
// waveOut and midiOut counterparts). A volume is 32 bits: left channel in the low
// word, right channel in the high word, each 0-65535.
#pragma once

#include <cstdint>

namespace tavlen {

enum class VolumeDeviceClass { kAux = 0, kWaveOut = 1, kMidiOut = 2 };

// dwSupport flags meaning "has volume control".
namespace volume_caps {
constexpr std::uint32_t kAuxVolume = 1;   // AUXCAPS_VOLUME
constexpr std::uint32_t kWaveVolume = 4;  // WAVECAPS_VOLUME
constexpr std::uint32_t kMidiVolume = 1;  // MIDICAPS_VOLUME
}  // namespace volume_caps

class VolumeApi {
 public:
  virtual ~VolumeApi() = default;
  virtual unsigned GetNumDevs(VolumeDeviceClass cls) = 0;
  // The capability flags (dwSupport) of a device; false when the device does not answer.
  virtual bool GetDevCaps(VolumeDeviceClass cls, unsigned device, std::uint32_t& support) = 0;
  // False (volume untouched) when the call fails.
  virtual bool GetVolume(VolumeDeviceClass cls, unsigned device, std::uint32_t& volume) = 0;
  virtual bool SetVolume(VolumeDeviceClass cls, unsigned device, std::uint32_t volume) = 0;
};

}  // namespace tavlen
