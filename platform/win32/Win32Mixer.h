// The MixerApi port over the winmm mixer calls. Handles passed to the line and
// control calls are the ones mixerOpen gave (MIXER_OBJECTF_HMIXER is added);
// records are converted field by field between the port's and the system's.
// Notification windows are hidden message-only windows of the creating thread.
#pragma once

#include <exception>
#include <functional>
#include <memory>

#include "platform/MixerApi.h"
#include "platform/win32/MessageWindows.h"

namespace tavlen {

class Win32Mixer final : public MixerApi {
 public:
  Win32Mixer() = default;
  Win32Mixer(const Win32Mixer&) = delete;
  Win32Mixer& operator=(const Win32Mixer&) = delete;

  Hwnd CreateNotifyWindow(NotifyHandler handler) override;
  void DestroyNotifyWindow(Hwnd window) override;

  unsigned MixerGetNumDevs() override;
  MmResult MixerOpen(MixerHandle* handle, unsigned device, Hwnd callback, std::uintptr_t instance,
                     std::uint32_t flags) override;
  MmResult MixerClose(MixerHandle handle) override;
  MmResult MixerGetDevCaps(unsigned device, MixerCaps* caps) override;
  MmResult MixerGetLineInfo(MixerHandle handle, MixerLine* line, std::uint32_t flags) override;
  MmResult MixerGetLineControls(MixerHandle handle, MixerLineControls* controls, std::uint32_t flags) override;
  MmResult MixerGetControlDetails(MixerHandle handle, MixerControlDetails* details, std::uint32_t flags) override;
  MmResult MixerSetControlDetails(MixerHandle handle, MixerControlDetails* details, std::uint32_t flags) override;

  // Receives what a notification handler throws; the message then goes to the
  // default window procedure.
  std::function<void(std::exception_ptr)> OnError;

  // For the window procedure: the handler of a window, empty when it has none.
  std::shared_ptr<NotifyHandler> HandlerOf(Hwnd window) const { return windows_.Find(window); }

 private:
  win32::MessageWindows<NotifyHandler> windows_;
};

}  // namespace tavlen
