// The audio mixer as the winmm mixer functions publish it: devices, their
// destination and source lines, the controls of each line and the values of a
// control. A thin mirror of the real calls; records keep only the fields the
// console uses, under the platform's field names.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Types.h"

namespace tavlen {

using MixerHandle = std::uintptr_t;  // 0 = no device open
using MmResult = std::uint32_t;      // 0 = success

namespace mixer {

// Results.
constexpr MmResult kNoError = 0;           // MMSYSERR_NOERROR
constexpr MmResult kError = 1;             // MMSYSERR_ERROR
constexpr MmResult kBadDeviceId = 2;       // MMSYSERR_BADDEVICEID
constexpr MmResult kInvalidHandle = 5;     // MMSYSERR_INVALHANDLE
constexpr MmResult kInvalidFlag = 10;      // MMSYSERR_INVALFLAG
constexpr MmResult kInvalidParam = 11;     // MMSYSERR_INVALPARAM
constexpr MmResult kInvalidLine = 1024;    // MIXERR_INVALLINE
constexpr MmResult kInvalidControl = 1025; // MIXERR_INVALCONTROL

// Control types.
constexpr std::uint32_t kControlTypeVolume = 0x50030001;
constexpr std::uint32_t kControlTypeMute = 0x20010002;
constexpr std::uint32_t kControlTypeMux = 0x70010001;
constexpr std::uint32_t kControlTypeMixer = 0x71010001;
constexpr std::uint32_t kControlClassMask = 0xF0000000;
constexpr std::uint32_t kControlClassList = 0x70000000;

// Control flags (fdwControl).
constexpr std::uint32_t kControlUniform = 0x00000001;
constexpr std::uint32_t kControlMultiple = 0x00000002;
constexpr std::uint32_t kControlDisabled = 0x80000000;

// mixerOpen flags.
constexpr std::uint32_t kCallbackNull = 0x00000000;
constexpr std::uint32_t kCallbackWindow = 0x00010000;

// mixerGetLineInfo flags.
constexpr std::uint32_t kGetLineInfoDestination = 0;
constexpr std::uint32_t kGetLineInfoSource = 1;
// mixerGetLineControls flags.
constexpr std::uint32_t kGetLineControlsAll = 0;
// mixerGetControlDetails / mixerSetControlDetails flags.
constexpr std::uint32_t kGetControlDetailsValue = 0;
constexpr std::uint32_t kGetControlDetailsListText = 1;
constexpr std::uint32_t kSetControlDetailsValue = 0;

// Driver notifications delivered to the callback window.
constexpr unsigned kLineChange = 0x3D0;     // MM_MIXM_LINE_CHANGE: wParam handle, lParam line id
constexpr unsigned kControlChange = 0x3D1;  // MM_MIXM_CONTROL_CHANGE: wParam handle, lParam control id

}  // namespace mixer

// MIXERCAPS.
struct MixerCaps {
  std::uint16_t wMid = 0;
  std::uint16_t wPid = 0;
  std::uint32_t vDriverVersion = 0;
  std::string szPname;
  std::uint32_t cDestinations = 0;
};

// MIXERLINE. dwDestination (and dwSource for a source) are inputs of
// mixerGetLineInfo; the rest is filled by the driver.
struct MixerLine {
  std::uint32_t dwDestination = 0;
  std::uint32_t dwSource = 0;
  std::uint32_t dwLineID = 0;
  std::uint32_t cChannels = 0;
  std::uint32_t cConnections = 0;
  std::uint32_t cControls = 0;
  std::string szName;
};

// MIXERCONTROL.
struct MixerControl {
  std::uint32_t dwControlID = 0;
  std::uint32_t dwControlType = 0;
  std::uint32_t fdwControl = 0;
  std::uint32_t cMultipleItems = 0;
};

// MIXERCONTROLDETAILS_LISTTEXT: dwParam1 is the line id of the item.
struct MixerListText {
  std::uint32_t dwParam1 = 0;
  std::string szName;
};

// MIXERLINECONTROLS for MIXER_GETLINECONTROLSF_ALL: pamxctrl holds cControls records.
struct MixerLineControls {
  std::uint32_t dwLineID = 0;
  std::uint32_t cControls = 0;
  MixerControl* pamxctrl = nullptr;
};

// MIXERCONTROLDETAILS. The buffer holds cChannels × max(1, cMultipleItems)
// entries: 32-bit values (paValues) for VALUE reads and writes, item names
// (paListText) for LISTTEXT reads. As with the real driver, the caller sizes it.
struct MixerControlDetails {
  std::uint32_t dwControlID = 0;
  std::uint32_t cChannels = 0;
  std::uint32_t cMultipleItems = 0;
  std::int32_t* paValues = nullptr;
  MixerListText* paListText = nullptr;
};

class MixerApi {
 public:
  // Receives the messages of a notification window; returns false for a message
  // it does not handle (the default window procedure then answers it).
  using NotifyHandler = std::function<bool(unsigned message, std::uintptr_t wparam, std::intptr_t lparam)>;

  virtual ~MixerApi() = default;

  // A hidden window whose messages go to `handler`, for CALLBACK_WINDOW opens.
  virtual Hwnd CreateNotifyWindow(NotifyHandler handler) = 0;
  virtual void DestroyNotifyWindow(Hwnd window) = 0;

  virtual unsigned MixerGetNumDevs() = 0;
  // mixerOpen: callback is the notification window with kCallbackWindow, or 0
  // with kCallbackNull (no notifications).
  virtual MmResult MixerOpen(MixerHandle* handle, unsigned device, Hwnd callback, std::uintptr_t instance,
                             std::uint32_t flags) = 0;
  virtual MmResult MixerClose(MixerHandle handle) = 0;
  virtual MmResult MixerGetDevCaps(unsigned device, MixerCaps* caps) = 0;
  virtual MmResult MixerGetLineInfo(MixerHandle handle, MixerLine* line, std::uint32_t flags) = 0;
  virtual MmResult MixerGetLineControls(MixerHandle handle, MixerLineControls* controls, std::uint32_t flags) = 0;
  virtual MmResult MixerGetControlDetails(MixerHandle handle, MixerControlDetails* details, std::uint32_t flags) = 0;
  virtual MmResult MixerSetControlDetails(MixerHandle handle, MixerControlDetails* details, std::uint32_t flags) = 0;
};

}  // namespace tavlen
