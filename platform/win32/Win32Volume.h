// The VolumeApi port over auxGet/SetVolume, waveOutGet/SetVolume and
// midiOutGet/SetVolume with device numbers, and the devices' capability flags.
// Wine answers waveOut volume calls by device number with an error (it accepts
// only open handles): reads then fail and the caller keeps its value.
#pragma once

#include "platform/VolumeApi.h"

namespace tavlen {

class Win32Volume final : public VolumeApi {
 public:
  unsigned GetNumDevs(VolumeDeviceClass cls) override;
  bool GetDevCaps(VolumeDeviceClass cls, unsigned device, std::uint32_t& support) override;
  bool GetVolume(VolumeDeviceClass cls, unsigned device, std::uint32_t& volume) override;
  bool SetVolume(VolumeDeviceClass cls, unsigned device, std::uint32_t volume) override;
};

}  // namespace tavlen
