// Simulated output devices with their capability flags and volumes. A test adds
// devices (with or without the volume flag) and may set a volume as another
// program would, channels unequal included.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/VolumeApi.h"

namespace tavlen::sim {

class SimVolume : public VolumeApi {
 public:
  // Adds a device to a class; returns its device number.
  unsigned AddDevice(VolumeDeviceClass cls, std::uint32_t support, std::uint32_t volume = 0xFFFFFFFF);
  // Another program sets a device's channels.
  void SetChannels(VolumeDeviceClass cls, unsigned device, std::uint16_t left, std::uint16_t right);
  std::uint32_t Volume(VolumeDeviceClass cls, unsigned device) const;
  int SetVolumeCalls() const { return set_calls_; }

  unsigned GetNumDevs(VolumeDeviceClass cls) override;
  bool GetDevCaps(VolumeDeviceClass cls, unsigned device, std::uint32_t& support) override;
  bool GetVolume(VolumeDeviceClass cls, unsigned device, std::uint32_t& volume) override;
  bool SetVolume(VolumeDeviceClass cls, unsigned device, std::uint32_t volume) override;

 private:
  struct Device {
    std::uint32_t support;
    std::uint32_t volume;
  };
  bool HasVolume(VolumeDeviceClass cls, unsigned device) const;
  std::vector<Device>& Devices(VolumeDeviceClass cls) { return devices_[static_cast<std::size_t>(cls)]; }
  const std::vector<Device>& Devices(VolumeDeviceClass cls) const { return devices_[static_cast<std::size_t>(cls)]; }

  std::array<std::vector<Device>, 3> devices_;
  int set_calls_ = 0;
};

}  // namespace tavlen::sim
