// Win32Volume: device counts follow the sound server; with wave devices, their
// caps answer; volume by device number fails under Wine (reads leave the value).
#include "platform/win32/WinApi.h"

#include <cstdio>
#include <string>

#include "platform/win32/Win32Volume.h"
#include "tests/e2e/ports/Support.h"

namespace ports {

void VolumeSmoke() {
  using tavlen::VolumeDeviceClass;
  tavlen::Win32Volume api;
  const unsigned aux = api.GetNumDevs(VolumeDeviceClass::kAux);
  const unsigned wave = api.GetNumDevs(VolumeDeviceClass::kWaveOut);
  const unsigned midi = api.GetNumDevs(VolumeDeviceClass::kMidiOut);
  Note("aux " + std::to_string(aux) + ", waveOut " + std::to_string(wave) + ", midiOut " + std::to_string(midi));
  CHECK_EQ(wave, waveOutGetNumDevs(), "waveOut count");

  std::uint32_t support = 0xDEAD;
  if (wave == 0) {
    CHECK(!api.GetDevCaps(VolumeDeviceClass::kWaveOut, 0, support), "no caps without a device");
    CHECK_EQ(support, 0xDEADu, "caps left alone on failure");
  } else {
    CHECK(api.GetDevCaps(VolumeDeviceClass::kWaveOut, 0, support), "waveOut 0 caps");
    char flags[16];
    std::snprintf(flags, sizeof(flags), "0x%lx", static_cast<unsigned long>(support));
    Note(std::string("waveOut 0 support flags ") + flags + ", volume flag " +
         ((support & tavlen::volume_caps::kWaveVolume) ? "set" : "clear"));
  }
  CHECK(!api.GetDevCaps(VolumeDeviceClass::kAux, aux, support), "no aux device past the last one");
  CHECK(!api.GetDevCaps(VolumeDeviceClass::kMidiOut, midi, support), "no MIDI device past the last one");

  std::uint32_t volume = 0;
  const bool read = api.GetVolume(VolumeDeviceClass::kWaveOut, 0, volume);
  Note(std::string("waveOut 0 volume by device number: ") + (read ? "read " + std::to_string(volume) : "refused"));
  if (UnderWine()) {
    // Wine takes only open handles here; the caller's value stays 0.
    CHECK(!read, "Wine refuses waveOut volume by device number");
    CHECK_EQ(volume, 0u, "the value read stays 0");
    CHECK(!api.SetVolume(VolumeDeviceClass::kWaveOut, 0, 0x80008000u), "and refuses setting it");
  } else if (read) {
    CHECK(api.SetVolume(VolumeDeviceClass::kWaveOut, 0, volume), "the read volume can be set back");
  }
  CHECK(!api.GetVolume(VolumeDeviceClass::kAux, aux, volume), "no aux volume past the last device");
  CHECK(!api.SetVolume(VolumeDeviceClass::kMidiOut, midi + 5, 0), "no MIDI volume past the last device");
}

}  // namespace ports
