#include "hotkeys/Volumes.h"

namespace tavlen {

namespace {
constexpr VolumeDeviceClass kClasses[3] = {VolumeDeviceClass::kAux, VolumeDeviceClass::kWaveOut,
                                           VolumeDeviceClass::kMidiOut};
constexpr std::uint32_t kFlags[3] = {volume_caps::kAuxVolume, volume_caps::kWaveVolume, volume_caps::kMidiVolume};
}  // namespace

TVolumeControl::TVolumeControl(VolumeApi& api) : api_(api) {
  for (std::size_t index = 0; index < 3; ++index) {
    const unsigned count = api_.GetNumDevs(kClasses[index]);
    for (unsigned device = 0; device < count; ++device) {
      std::uint32_t support = 0;
      if (api_.GetDevCaps(kClasses[index], device, support) && (support & kFlags[index]) != 0) {
        devices_[index] = static_cast<int>(device);
        break;
      }
    }
  }
}

std::uint8_t TVolumeControl::Volume(int index) const {
  const int device = Device(index);
  if (device < 0) return 0;
  // A failed read leaves 0.
  std::uint32_t volume = 0;
  api_.GetVolume(kClasses[index], static_cast<unsigned>(device), volume);
  // The mean of the two channels on a 0-255 scale.
  return static_cast<std::uint8_t>(((volume & 0xFFFF) + (volume >> 16)) >> 9);
}

void TVolumeControl::SetVolume(int index, std::uint8_t level) {
  const int device = Device(index);
  if (device < 0) return;
  const std::uint32_t channel = static_cast<std::uint32_t>(level) * 256;
  api_.SetVolume(kClasses[index], static_cast<unsigned>(device), channel | (channel << 16));
}

}  // namespace tavlen
