#include "platform/sim/SimMixer.h"

#include <algorithm>
#include <utility>

namespace tavlen {

namespace {

constexpr std::uint32_t kDestinationLineIdBase = 0xFFFF0000;

bool HasFlag(const MixerControl& control, std::uint32_t flag) { return (control.fdwControl & flag) != 0; }

}  // namespace

SimMixer::Device& SimMixer::AddDevice(std::string name, std::uint16_t mid, std::uint16_t pid,
                                      std::uint32_t driver_version) {
  Device& device = devices_.emplace_back();
  device.number = static_cast<unsigned>(devices_.size() - 1);
  device.caps.wMid = mid;
  device.caps.wPid = pid;
  device.caps.vDriverVersion = driver_version;
  device.caps.szPname = std::move(name);
  return device;
}

SimMixer::Destination& SimMixer::AddDestination(Device& device, std::string name, std::uint32_t channels) {
  const auto d = static_cast<std::uint32_t>(device.destinations.size());
  Destination& destination = device.destinations.emplace_back();
  destination.info.dwDestination = d;
  destination.info.dwLineID = kDestinationLineIdBase | d;
  destination.info.cChannels = channels;
  destination.info.szName = std::move(name);
  return destination;
}

SimMixer::Line& SimMixer::AddSource(Destination& destination, std::string name, std::uint32_t channels) {
  const auto s = static_cast<std::uint32_t>(destination.sources.size());
  Line& source = destination.sources.emplace_back();
  source.info.dwDestination = destination.info.dwDestination;
  source.info.dwSource = s;
  source.info.dwLineID = ((destination.info.dwDestination + 1) << 16) | s;
  source.info.cChannels = channels;
  source.info.szName = std::move(name);
  return source;
}

SimMixer::Control& SimMixer::AddControl(Line& line, std::uint32_t type, std::uint32_t flags) {
  Control& control = line.controls.emplace_back();
  control.info.dwControlID = next_control_id_++;
  control.info.dwControlType = type;
  control.info.fdwControl = flags;
  control.channels = std::max<std::uint32_t>(1, line.info.cChannels);
  control.items = 1;
  control.values.assign(control.channels, 0);
  return control;
}

SimMixer::Control& SimMixer::AddSelector(Destination& destination, std::uint32_t type,
                                         const std::vector<const Line*>& items, bool uniform) {
  Control& control =
      AddControl(destination, type, mixer::kControlMultiple | (uniform ? mixer::kControlUniform : 0));
  control.info.cMultipleItems = static_cast<std::uint32_t>(items.size());
  control.items = std::max<std::uint32_t>(1, control.info.cMultipleItems);
  control.values.assign(control.channels * control.items, 0);
  for (const Line* line : items) control.names.push_back({line->info.dwLineID, line->info.szName});
  return control;
}

int SimMixer::Fire(const Device& device, unsigned message, std::uint32_t id) {
  // Copy first: a handler may close or open devices.
  std::vector<std::pair<MixerHandle, Hwnd>> targets;
  for (const auto& [handle, open] : handles_) {
    if (open.device == device.number && open.callback != kNoWindow) targets.emplace_back(handle, open.callback);
  }
  int told = 0;
  for (const auto& [handle, window] : targets) {
    if (SendToNotifyWindow(window, message, handle, static_cast<std::intptr_t>(id))) {
      ++told;
    }
  }
  return told;
}

int SimMixer::FireLineChange(const Device& device, std::uint32_t line_id) {
  return Fire(device, mixer::kLineChange, line_id);
}

int SimMixer::FireControlChange(const Device& device, std::uint32_t control_id) {
  return Fire(device, mixer::kControlChange, control_id);
}

bool SimMixer::SendToNotifyWindow(Hwnd window, unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
  auto it = notify_windows_.find(window);
  if (it == notify_windows_.end() || !it->second) return false;
  NotifyHandler handler = it->second;  // the handler may destroy its window
  return handler(message, wparam, lparam);
}

Hwnd SimMixer::CreateNotifyWindow(NotifyHandler handler) {
  const Hwnd window = next_window_++;
  notify_windows_[window] = std::move(handler);
  return window;
}

void SimMixer::DestroyNotifyWindow(Hwnd window) { notify_windows_.erase(window); }

unsigned SimMixer::MixerGetNumDevs() { return static_cast<unsigned>(devices_.size()); }

MmResult SimMixer::MixerOpen(MixerHandle* handle, unsigned device, Hwnd callback, std::uintptr_t,
                             std::uint32_t flags) {
  ++calls_.open;
  MmResult result = mixer::kNoError;
  if (device >= devices_.size()) {
    result = mixer::kBadDeviceId;
  } else if (flags != mixer::kCallbackNull && flags != mixer::kCallbackWindow) {
    result = mixer::kInvalidFlag;
  } else if (flags == mixer::kCallbackWindow && !IsNotifyWindow(callback)) {
    result = mixer::kInvalidParam;
  } else if (devices_[device].open_failures > 0) {
    --devices_[device].open_failures;
    result = mixer::kError;
  }
  open_calls_.push_back({device, callback, flags, result});
  if (result != mixer::kNoError) return result;
  const MixerHandle h = next_handle_++;
  handles_[h] = {device, flags == mixer::kCallbackWindow ? callback : kNoWindow};
  *handle = h;
  return mixer::kNoError;
}

MmResult SimMixer::MixerClose(MixerHandle handle) {
  ++calls_.close;
  return handles_.erase(handle) ? mixer::kNoError : mixer::kInvalidHandle;
}

MmResult SimMixer::MixerGetDevCaps(unsigned device, MixerCaps* caps) {
  ++calls_.get_dev_caps;
  if (device >= devices_.size()) return mixer::kBadDeviceId;
  *caps = devices_[device].caps;
  caps->cDestinations = static_cast<std::uint32_t>(devices_[device].destinations.size());
  return mixer::kNoError;
}

SimMixer::Device* SimMixer::DeviceOf(MixerHandle handle) {
  auto it = handles_.find(handle);
  return it == handles_.end() ? nullptr : &devices_[it->second.device];
}

MmResult SimMixer::MixerGetLineInfo(MixerHandle handle, MixerLine* line, std::uint32_t flags) {
  ++calls_.get_line_info;
  Device* device = DeviceOf(handle);
  if (device == nullptr) return mixer::kInvalidHandle;
  if (line->dwDestination >= device->destinations.size()) return mixer::kInvalidLine;
  const Destination& destination = device->destinations[line->dwDestination];
  const Line* found = nullptr;
  std::uint32_t connections = 0;
  if (flags == mixer::kGetLineInfoDestination) {
    found = &destination;
    connections = static_cast<std::uint32_t>(destination.sources.size());
  } else if (flags == mixer::kGetLineInfoSource) {
    if (line->dwSource >= destination.sources.size()) return mixer::kInvalidLine;
    found = &destination.sources[line->dwSource];
  } else {
    return mixer::kInvalidFlag;
  }
  if (found->refused) return mixer::kError;
  *line = found->info;
  line->cConnections = connections;
  line->cControls = static_cast<std::uint32_t>(found->controls.size());
  return mixer::kNoError;
}

MmResult SimMixer::MixerGetLineControls(MixerHandle handle, MixerLineControls* controls, std::uint32_t flags) {
  ++calls_.get_line_controls;
  Device* device = DeviceOf(handle);
  if (device == nullptr) return mixer::kInvalidHandle;
  if (flags != mixer::kGetLineControlsAll) return mixer::kInvalidFlag;
  const Line* line = nullptr;
  for (const Destination& destination : device->destinations) {
    if (destination.info.dwLineID == controls->dwLineID) line = &destination;
    for (const Line& source : destination.sources) {
      if (source.info.dwLineID == controls->dwLineID) line = &source;
    }
  }
  if (line == nullptr) return mixer::kInvalidLine;
  if (line->refuse_controls) return mixer::kError;
  if (controls->cControls != line->controls.size()) return mixer::kInvalidParam;
  for (std::size_t i = 0; i < line->controls.size(); ++i) controls->pamxctrl[i] = line->controls[i].info;
  return mixer::kNoError;
}

SimMixer::Control* SimMixer::FindControl(Device& device, std::uint32_t control_id) {
  for (Destination& destination : device.destinations) {
    for (Control& control : destination.controls) {
      if (control.info.dwControlID == control_id) return &control;
    }
    for (Line& source : destination.sources) {
      for (Control& control : source.controls) {
        if (control.info.dwControlID == control_id) return &control;
      }
    }
  }
  return nullptr;
}

namespace {

// The caller's shape must match the control: one channel or all of them (a UNIFORM
// control takes one only), and exactly the control's items for a MULTIPLE control.
bool ShapeFits(const SimMixer::Control& control, const MixerControlDetails& details) {
  const bool channels_ok = details.cChannels == 1 ||
                           (!HasFlag(control.info, mixer::kControlUniform) && details.cChannels == control.channels);
  const std::uint32_t items = HasFlag(control.info, mixer::kControlMultiple) ? control.info.cMultipleItems : 0;
  return channels_ok && details.cMultipleItems == items;
}

}  // namespace

MmResult SimMixer::MixerGetControlDetails(MixerHandle handle, MixerControlDetails* details, std::uint32_t flags) {
  ++calls_.get_details;
  Device* device = DeviceOf(handle);
  if (device == nullptr) return mixer::kInvalidHandle;
  Control* control = FindControl(*device, details->dwControlID);
  if (control == nullptr) return mixer::kInvalidControl;
  if (control->fail_reads) return mixer::kError;
  if (!ShapeFits(*control, *details)) return mixer::kInvalidParam;
  const std::uint32_t items = control->items;
  if (flags == mixer::kGetControlDetailsValue) {
    for (std::uint32_t c = 0; c < details->cChannels; ++c) {
      for (std::uint32_t i = 0; i < items; ++i) details->paValues[c * items + i] = control->Value(c, i);
    }
    return mixer::kNoError;
  }
  if (flags == mixer::kGetControlDetailsListText) {
    if (!HasFlag(control->info, mixer::kControlMultiple)) return mixer::kInvalidParam;
    if (control->fail_list_text) return mixer::kError;
    for (std::uint32_t c = 0; c < details->cChannels; ++c) {
      for (std::uint32_t i = 0; i < items; ++i) details->paListText[c * items + i] = control->names.at(i);
    }
    return mixer::kNoError;
  }
  return mixer::kInvalidFlag;
}

MmResult SimMixer::MixerSetControlDetails(MixerHandle handle, MixerControlDetails* details, std::uint32_t flags) {
  ++calls_.set_details;
  Device* device = DeviceOf(handle);
  if (device == nullptr) return mixer::kInvalidHandle;
  if (flags != mixer::kSetControlDetailsValue) return mixer::kInvalidFlag;
  Control* control = FindControl(*device, details->dwControlID);
  if (control == nullptr) return mixer::kInvalidControl;
  if (!ShapeFits(*control, *details)) return mixer::kInvalidParam;
  const std::uint32_t items = control->items;
  Write write{control->info.dwControlID, {}};
  write.values.assign(details->paValues, details->paValues + details->cChannels * items);
  for (std::uint32_t c = 0; c < control->channels; ++c) {
    // One channel given: it stands for all of them.
    const std::uint32_t from = details->cChannels == 1 ? 0 : c;
    for (std::uint32_t i = 0; i < items; ++i) control->Value(c, i) = details->paValues[from * items + i];
  }
  writes_.push_back(std::move(write));
  return mixer::kNoError;
}

}  // namespace tavlen
