#include "platform/win32/Win32Volume.h"

#include "platform/win32/WinApi.h"

namespace tavlen {
namespace {

// The wave and MIDI volume calls take a device number in place of a handle.
HWAVEOUT WaveDevice(unsigned device) { return reinterpret_cast<HWAVEOUT>(static_cast<UINT_PTR>(device)); }
HMIDIOUT MidiDevice(unsigned device) { return reinterpret_cast<HMIDIOUT>(static_cast<UINT_PTR>(device)); }

}  // namespace

unsigned Win32Volume::GetNumDevs(VolumeDeviceClass cls) {
  switch (cls) {
    case VolumeDeviceClass::kAux: return ::auxGetNumDevs();
    case VolumeDeviceClass::kWaveOut: return ::waveOutGetNumDevs();
    case VolumeDeviceClass::kMidiOut: return ::midiOutGetNumDevs();
  }
  return 0;
}

bool Win32Volume::GetDevCaps(VolumeDeviceClass cls, unsigned device, std::uint32_t& support) {
  switch (cls) {
    case VolumeDeviceClass::kAux: {
      AUXCAPSA caps{};
      if (::auxGetDevCapsA(device, &caps, sizeof(caps)) != MMSYSERR_NOERROR) return false;
      support = caps.dwSupport;
      return true;
    }
    case VolumeDeviceClass::kWaveOut: {
      WAVEOUTCAPSA caps{};
      if (::waveOutGetDevCapsA(device, &caps, sizeof(caps)) != MMSYSERR_NOERROR) return false;
      support = caps.dwSupport;
      return true;
    }
    case VolumeDeviceClass::kMidiOut: {
      MIDIOUTCAPSA caps{};
      if (::midiOutGetDevCapsA(device, &caps, sizeof(caps)) != MMSYSERR_NOERROR) return false;
      support = caps.dwSupport;
      return true;
    }
  }
  return false;
}

bool Win32Volume::GetVolume(VolumeDeviceClass cls, unsigned device, std::uint32_t& volume) {
  DWORD read = 0;
  MMRESULT result = MMSYSERR_BADDEVICEID;
  switch (cls) {
    case VolumeDeviceClass::kAux: result = ::auxGetVolume(device, &read); break;
    case VolumeDeviceClass::kWaveOut: result = ::waveOutGetVolume(WaveDevice(device), &read); break;
    case VolumeDeviceClass::kMidiOut: result = ::midiOutGetVolume(MidiDevice(device), &read); break;
  }
  if (result != MMSYSERR_NOERROR) return false;
  volume = read;
  return true;
}

bool Win32Volume::SetVolume(VolumeDeviceClass cls, unsigned device, std::uint32_t volume) {
  MMRESULT result = MMSYSERR_BADDEVICEID;
  switch (cls) {
    case VolumeDeviceClass::kAux: result = ::auxSetVolume(device, volume); break;
    case VolumeDeviceClass::kWaveOut: result = ::waveOutSetVolume(WaveDevice(device), volume); break;
    case VolumeDeviceClass::kMidiOut: result = ::midiOutSetVolume(MidiDevice(device), volume); break;
  }
  return result == MMSYSERR_NOERROR;
}

}  // namespace tavlen
