// Win32Mixer: the notification window forwards the driver's two messages only,
// the device count follows the sound server, and with devices the open /
// enumerate / destination-volume path works on the real driver.
#include "platform/win32/WinApi.h"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/Win32Mixer.h"
#include "tests/e2e/ports/Support.h"

namespace ports {
namespace {

namespace mx = tavlen::mixer;

struct Seen {
  std::vector<unsigned> messages;
  std::vector<std::intptr_t> ids;
};

void NotifyWindow(tavlen::Win32Mixer& api, tavlen::Hwnd window, Seen& seen, int& errors) {
  const HWND hwnd = reinterpret_cast<HWND>(window);
  PostMessageA(hwnd, MM_MIXM_LINE_CHANGE, 0x1234, 7);
  PostMessageA(hwnd, WM_USER + 1, 0, 0);
  PostMessageA(hwnd, MM_MIXM_CONTROL_CHANGE, 0x1234, 9);
  PostMessageA(hwnd, MM_MIXM_CONTROL_CHANGE, 0x1234, -1);  // the handler throws on this one
  CHECK(PumpUntil([&] { return seen.messages.size() >= 2 && errors >= 1; }, 3000), "notifications delivered");
  CHECK_EQ(seen.messages.size(), std::size_t{2}, "only the driver's messages reach the handler");
  if (seen.messages.size() == 2) {
    CHECK_EQ(seen.messages[0], static_cast<unsigned>(mx::kLineChange), "line change first");
    CHECK_EQ(seen.ids[0], std::intptr_t{7}, "line id");
    CHECK_EQ(seen.messages[1], static_cast<unsigned>(mx::kControlChange), "then control change");
    CHECK_EQ(seen.ids[1], std::intptr_t{9}, "control id");
  }
  CHECK_EQ(errors, 1, "a throwing handler's error goes to OnError");
}

// Device 0: caps, destination 0 and its controls, its volume written and read back.
void Device0(tavlen::Win32Mixer& api, tavlen::Hwnd window, const Seen& seen) {
  tavlen::MixerCaps caps;
  CHECK_EQ(api.MixerGetDevCaps(0, &caps), 0u, "mixerGetDevCaps");
  Note("mixer 0: \"" + caps.szPname + "\", " + std::to_string(caps.cDestinations) + " destination(s)");
  CHECK(!caps.szPname.empty() && caps.cDestinations >= 1, "device name and destinations");

  tavlen::MixerHandle handle = 0;
  CHECK_EQ(api.MixerOpen(&handle, 0, window, 0, mx::kCallbackWindow), 0u, "mixerOpen with CALLBACK_WINDOW");
  if (handle == 0) return;

  tavlen::MixerLine line;
  line.dwDestination = 0;
  CHECK_EQ(api.MixerGetLineInfo(handle, &line, mx::kGetLineInfoDestination), 0u, "destination line info");
  Note("destination 0: \"" + line.szName + "\", " + std::to_string(line.cChannels) + " channel(s), " +
       std::to_string(line.cConnections) + " source(s), " + std::to_string(line.cControls) + " control(s)");
  for (std::uint32_t s = 0; s < line.cConnections; ++s) {
    tavlen::MixerLine source;
    source.dwDestination = 0;
    source.dwSource = s;
    CHECK_EQ(api.MixerGetLineInfo(handle, &source, mx::kGetLineInfoSource), 0u, "source line info");
    Note("  source " + std::to_string(s) + ": \"" + source.szName + "\", " + std::to_string(source.cControls) +
         " control(s)");
  }
  tavlen::MixerLine missing;
  missing.dwDestination = 99;
  CHECK(api.MixerGetLineInfo(handle, &missing, mx::kGetLineInfoDestination) != 0, "no destination 99");

  std::vector<tavlen::MixerControl> controls(line.cControls);
  tavlen::MixerLineControls request;
  request.dwLineID = line.dwLineID;
  request.cControls = line.cControls;
  request.pamxctrl = controls.data();
  CHECK_EQ(api.MixerGetLineControls(handle, &request, mx::kGetLineControlsAll), 0u, "line controls");
  const tavlen::MixerControl* volume = nullptr;
  for (const tavlen::MixerControl& control : controls) {
    if (control.dwControlType == mx::kControlTypeVolume) volume = &control;
  }
  CHECK(volume != nullptr, "destination has a VOLUME control");
  if (volume) {
    std::vector<std::int32_t> values(line.cChannels);
    tavlen::MixerControlDetails details;
    details.dwControlID = volume->dwControlID;
    details.cChannels = line.cChannels;
    details.paValues = values.data();
    CHECK_EQ(api.MixerGetControlDetails(handle, &details, mx::kGetControlDetailsValue), 0u, "volume read");
    const std::vector<std::int32_t> original = values;
    const std::int32_t wanted = values[0] == 0x3000 ? 0x5000 : 0x3000;
    for (auto& v : values) v = wanted;
    CHECK_EQ(api.MixerSetControlDetails(handle, &details, mx::kSetControlDetailsValue), 0u, "volume write");
    for (auto& v : values) v = -1;
    CHECK_EQ(api.MixerGetControlDetails(handle, &details, mx::kGetControlDetailsValue), 0u, "volume read back");
    // The sound server keeps volumes in its own scale: a write may read back a step off.
    CHECK(std::abs(values[0] - wanted) <= 64,
          "written volume reads back: " + std::to_string(values[0]) + " for " + std::to_string(wanted));
    const std::size_t before = seen.messages.size();
    PumpUntil([] { return false; }, 200);
    Note("volume write read back as " + std::to_string(values[0]) + " for " + std::to_string(wanted) + "; " +
         std::to_string(seen.messages.size() - before) + " notification(s) after it");
    values = original;
    api.MixerSetControlDetails(handle, &details, mx::kSetControlDetailsValue);
  }
  CHECK_EQ(api.MixerClose(handle), 0u, "mixerClose");
}

}  // namespace

void MixerSmoke() {
  tavlen::Win32Mixer api;
  Seen seen;
  int errors = 0;
  api.OnError = [&](std::exception_ptr) { ++errors; };
  const tavlen::Hwnd window = api.CreateNotifyWindow([&](unsigned message, std::uintptr_t, std::intptr_t id) {
    if (id == -1) throw std::runtime_error("handler failure");
    seen.messages.push_back(message);
    seen.ids.push_back(id);
    return true;
  });
  CHECK(window != tavlen::kNoWindow, "notification window");
  NotifyWindow(api, window, seen, errors);

  const unsigned count = api.MixerGetNumDevs();
  Note("mixer devices: " + std::to_string(count));
  if (SoundExpected()) {
    CHECK(count > 0, "a sound server gives mixer devices");
  } else if (UnderWine()) {
    CHECK_EQ(count, 0u, "no mixer device without a sound server");
  }
  tavlen::MixerHandle handle = 0;
  CHECK_EQ(api.MixerOpen(&handle, count, window, 0, mx::kCallbackWindow), mx::kBadDeviceId,
           "opening a device past the last one");
  tavlen::MixerCaps caps;
  CHECK(api.MixerGetDevCaps(count, &caps) != 0, "no caps past the last device");
  if (count > 0) Device0(api, window, seen);

  api.DestroyNotifyWindow(window);
  CHECK(!IsWindow(reinterpret_cast<HWND>(window)), "notification window destroyed");
}

}  // namespace ports
