#include "platform/sim/SimVolume.h"

namespace tavlen::sim {

namespace {
std::uint32_t VolumeFlag(VolumeDeviceClass cls) {
  switch (cls) {
    case VolumeDeviceClass::kAux: return volume_caps::kAuxVolume;
    case VolumeDeviceClass::kWaveOut: return volume_caps::kWaveVolume;
    case VolumeDeviceClass::kMidiOut: return volume_caps::kMidiVolume;
  }
  return 0;
}
}  // namespace

unsigned SimVolume::AddDevice(VolumeDeviceClass cls, std::uint32_t support, std::uint32_t volume) {
  Devices(cls).push_back(Device{support, volume});
  return static_cast<unsigned>(Devices(cls).size() - 1);
}

void SimVolume::SetChannels(VolumeDeviceClass cls, unsigned device, std::uint16_t left, std::uint16_t right) {
  Devices(cls).at(device).volume = static_cast<std::uint32_t>(left) | (static_cast<std::uint32_t>(right) << 16);
}

std::uint32_t SimVolume::Volume(VolumeDeviceClass cls, unsigned device) const { return Devices(cls).at(device).volume; }

bool SimVolume::HasVolume(VolumeDeviceClass cls, unsigned device) const {
  return device < Devices(cls).size() && (Devices(cls)[device].support & VolumeFlag(cls)) != 0;
}

unsigned SimVolume::GetNumDevs(VolumeDeviceClass cls) { return static_cast<unsigned>(Devices(cls).size()); }

bool SimVolume::GetDevCaps(VolumeDeviceClass cls, unsigned device, std::uint32_t& support) {
  if (device >= Devices(cls).size()) return false;
  support = Devices(cls)[device].support;
  return true;
}

bool SimVolume::GetVolume(VolumeDeviceClass cls, unsigned device, std::uint32_t& volume) {
  // Like the system, a device without volume control does not report one.
  if (!HasVolume(cls, device)) return false;
  volume = Devices(cls)[device].volume;
  return true;
}

bool SimVolume::SetVolume(VolumeDeviceClass cls, unsigned device, std::uint32_t volume) {
  ++set_calls_;
  if (!HasVolume(cls, device)) return false;
  Devices(cls)[device].volume = volume;
  return true;
}

}  // namespace tavlen::sim
