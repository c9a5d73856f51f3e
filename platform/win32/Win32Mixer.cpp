#include "platform/win32/Win32Mixer.h"

#include "platform/win32/WinApi.h"
#include "platform/win32/WindowOwner.h"

#include <algorithm>
#include <stdexcept>
#include <utility>
#include <vector>

namespace tavlen {
namespace {

constexpr char kWindowClass[] = "TavlenMixerNotifyWindow";

HMIXEROBJ ToMixerObject(MixerHandle handle) { return reinterpret_cast<HMIXEROBJ>(handle); }

LRESULT CALLBACK MixerNotifyProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  const auto* owner = win32::WindowOwner<const Win32Mixer>(window, msg, lparam);
  // Only the driver's notifications concern the handler.
  if (msg == MM_MIXM_LINE_CHANGE || msg == MM_MIXM_CONTROL_CHANGE) {
    const auto handler = owner ? owner->HandlerOf(reinterpret_cast<Hwnd>(window)) : nullptr;
    if (handler && *handler) {
      try {
        if ((*handler)(msg, static_cast<std::uintptr_t>(wparam), static_cast<std::intptr_t>(lparam))) return 0;
      } catch (...) {
        if (owner->OnError) owner->OnError(std::current_exception());
      }
    }
  }
  return DefWindowProcA(window, msg, wparam, lparam);
}

// Entries of a details buffer: cChannels × max(1, cMultipleItems).
std::size_t EntryCount(const MixerControlDetails& details) {
  return static_cast<std::size_t>(details.cChannels) * std::max<std::uint32_t>(1, details.cMultipleItems);
}

MIXERCONTROLDETAILS SystemDetails(const MixerControlDetails& details) {
  MIXERCONTROLDETAILS system{};
  system.cbStruct = sizeof(system);
  system.dwControlID = details.dwControlID;
  system.cChannels = details.cChannels;
  system.cMultipleItems = details.cMultipleItems;
  return system;
}

}  // namespace

Hwnd Win32Mixer::CreateNotifyWindow(NotifyHandler handler) {
  return windows_.Create(kWindowClass, reinterpret_cast<void*>(&MixerNotifyProc), this, std::move(handler));
}

void Win32Mixer::DestroyNotifyWindow(Hwnd window) { windows_.Destroy(window); }

unsigned Win32Mixer::MixerGetNumDevs() { return ::mixerGetNumDevs(); }

MmResult Win32Mixer::MixerOpen(MixerHandle* handle, unsigned device, Hwnd callback, std::uintptr_t instance,
                               std::uint32_t flags) {
  if (handle == nullptr) return mixer::kInvalidParam;
  HMIXER opened = nullptr;
  const MMRESULT result = ::mixerOpen(&opened, device, static_cast<DWORD_PTR>(callback),
                                      static_cast<DWORD_PTR>(instance), flags);
  if (result == MMSYSERR_NOERROR) *handle = reinterpret_cast<MixerHandle>(opened);
  return result;
}

MmResult Win32Mixer::MixerClose(MixerHandle handle) { return ::mixerClose(reinterpret_cast<HMIXER>(handle)); }

MmResult Win32Mixer::MixerGetDevCaps(unsigned device, MixerCaps* caps) {
  if (caps == nullptr) return mixer::kInvalidParam;
  MIXERCAPSA system{};
  const MMRESULT result = ::mixerGetDevCapsA(device, &system, sizeof(system));
  if (result != MMSYSERR_NOERROR) return result;
  caps->wMid = system.wMid;
  caps->wPid = system.wPid;
  caps->vDriverVersion = system.vDriverVersion;
  caps->szPname.assign(system.szPname, strnlen(system.szPname, sizeof(system.szPname)));
  caps->cDestinations = system.cDestinations;
  return MMSYSERR_NOERROR;
}

MmResult Win32Mixer::MixerGetLineInfo(MixerHandle handle, MixerLine* line, std::uint32_t flags) {
  if (line == nullptr) return mixer::kInvalidParam;
  MIXERLINEA system{};
  system.cbStruct = sizeof(system);
  system.dwDestination = line->dwDestination;
  system.dwSource = line->dwSource;
  system.dwLineID = line->dwLineID;
  const MMRESULT result = ::mixerGetLineInfoA(ToMixerObject(handle), &system, flags | MIXER_OBJECTF_HMIXER);
  if (result != MMSYSERR_NOERROR) return result;
  line->dwDestination = system.dwDestination;
  line->dwSource = system.dwSource;
  line->dwLineID = system.dwLineID;
  line->cChannels = system.cChannels;
  line->cConnections = system.cConnections;
  line->cControls = system.cControls;
  line->szName.assign(system.szName, strnlen(system.szName, sizeof(system.szName)));
  return MMSYSERR_NOERROR;
}

MmResult Win32Mixer::MixerGetLineControls(MixerHandle handle, MixerLineControls* controls, std::uint32_t flags) {
  if (controls == nullptr || (controls->cControls != 0 && controls->pamxctrl == nullptr)) return mixer::kInvalidParam;
  std::vector<MIXERCONTROLA> records(std::max<std::uint32_t>(1, controls->cControls));
  for (MIXERCONTROLA& record : records) record.cbStruct = sizeof(record);
  MIXERLINECONTROLSA system{};
  system.cbStruct = sizeof(system);
  system.dwLineID = controls->dwLineID;
  system.cControls = controls->cControls;
  system.cbmxctrl = sizeof(MIXERCONTROLA);
  system.pamxctrl = records.data();
  const MMRESULT result = ::mixerGetLineControlsA(ToMixerObject(handle), &system, flags | MIXER_OBJECTF_HMIXER);
  if (result != MMSYSERR_NOERROR) return result;
  for (std::uint32_t i = 0; i < controls->cControls; ++i) {
    MixerControl& control = controls->pamxctrl[i];
    control.dwControlID = records[i].dwControlID;
    control.dwControlType = records[i].dwControlType;
    control.fdwControl = records[i].fdwControl;
    control.cMultipleItems = records[i].cMultipleItems;
  }
  return MMSYSERR_NOERROR;
}

MmResult Win32Mixer::MixerGetControlDetails(MixerHandle handle, MixerControlDetails* details, std::uint32_t flags) {
  if (details == nullptr) return mixer::kInvalidParam;
  MIXERCONTROLDETAILS system = SystemDetails(*details);
  const std::size_t count = EntryCount(*details);
  if (flags == mixer::kGetControlDetailsListText) {
    if (details->paListText == nullptr) return mixer::kInvalidParam;
    std::vector<MIXERCONTROLDETAILS_LISTTEXTA> texts(std::max<std::size_t>(1, count));
    system.cbDetails = sizeof(MIXERCONTROLDETAILS_LISTTEXTA);
    system.paDetails = texts.data();
    const MMRESULT result =
        ::mixerGetControlDetailsA(ToMixerObject(handle), &system, MIXER_GETCONTROLDETAILSF_LISTTEXT | MIXER_OBJECTF_HMIXER);
    if (result != MMSYSERR_NOERROR) return result;
    for (std::size_t i = 0; i < count; ++i) {
      details->paListText[i].dwParam1 = texts[i].dwParam1;
      details->paListText[i].szName.assign(texts[i].szName, strnlen(texts[i].szName, sizeof(texts[i].szName)));
    }
    return MMSYSERR_NOERROR;
  }
  // VALUE: signed, unsigned and boolean details are all one 32-bit value per entry.
  if (details->paValues == nullptr) return mixer::kInvalidParam;
  static_assert(sizeof(MIXERCONTROLDETAILS_SIGNED) == sizeof(std::int32_t));
  static_assert(sizeof(MIXERCONTROLDETAILS_BOOLEAN) == sizeof(std::int32_t));
  system.cbDetails = sizeof(std::int32_t);
  system.paDetails = details->paValues;
  return ::mixerGetControlDetailsA(ToMixerObject(handle), &system, flags | MIXER_OBJECTF_HMIXER);
}

MmResult Win32Mixer::MixerSetControlDetails(MixerHandle handle, MixerControlDetails* details, std::uint32_t flags) {
  if (details == nullptr || details->paValues == nullptr) return mixer::kInvalidParam;
  MIXERCONTROLDETAILS system = SystemDetails(*details);
  system.cbDetails = sizeof(std::int32_t);
  system.paDetails = details->paValues;
  return ::mixerSetControlDetails(ToMixerObject(handle), &system, flags | MIXER_OBJECTF_HMIXER);
}

}  // namespace tavlen
