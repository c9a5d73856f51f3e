#include "mixer/AMixer.h"

#include <algorithm>
#include <string>
#include <utility>

namespace tavlen {

namespace {

bool HasFlag(const MixerControl& control, std::uint32_t flag) { return (control.fdwControl & flag) != 0; }

bool IsListControl(const MixerControl& control) {
  return (control.dwControlType & mixer::kControlClassMask) == mixer::kControlClassList;
}

// One details exchange with a control of a line: one channel for a UNIFORM
// control, else the line's channels; the control's items for a MULTIPLE control.
// The value buffer is sized to the control, so a list control with many items
// and channels is read and written whole instead of overrunning a fixed buffer.
class ControlDetails {
 public:
  ControlDetails(MixerApi& api, MixerHandle handle, const MixerControl& control, const MixerLine& line)
      : api_(api), handle_(handle), control_(control) {
    details_.dwControlID = control.dwControlID;
    details_.cChannels = HasFlag(control, mixer::kControlUniform) ? 1 : line.cChannels;
    details_.cMultipleItems = HasFlag(control, mixer::kControlMultiple) ? control.cMultipleItems : 0;
    // At least two entries: value 1 (the right channel) is always addressable.
    values_.assign(std::max<std::size_t>(Count(), 2), 0);
    details_.paValues = values_.data();
  }
  ControlDetails(const ControlDetails&) = delete;
  ControlDetails& operator=(const ControlDetails&) = delete;

  std::uint32_t Channels() const { return details_.cChannels; }
  // Values exchanged with the driver: channels × items, or one per channel.
  std::size_t Count() const {
    return static_cast<std::size_t>(details_.cChannels) * std::max<std::uint32_t>(1, details_.cMultipleItems);
  }
  std::int32_t& Value(std::size_t i) { return values_[i]; }

  bool Read() { return api_.MixerGetControlDetails(handle_, &details_, mixer::kGetControlDetailsValue) == 0; }
  // The result is not looked at: a failed write changes nothing the console can mend.
  void Write() { api_.MixerSetControlDetails(handle_, &details_, mixer::kSetControlDetailsValue); }

  // Position of the entry whose item is the line `line_id`, searched at
  // channels - 1, then every channels-th entry below the control's item count;
  // -1 when the names cannot be read or the line is not listed.
  long FindItem(std::uint32_t line_id) {
    // Sized by what the driver's copy writes (one name per value entry), never empty.
    std::vector<MixerListText> names(std::max<std::size_t>(Count(), 1));
    MixerControlDetails request = details_;
    request.paValues = nullptr;
    request.paListText = names.data();
    if (api_.MixerGetControlDetails(handle_, &request, mixer::kGetControlDetailsListText) != 0) return -1;
    const std::size_t step = std::max<std::uint32_t>(1, details_.cChannels);
    const std::size_t end = std::min<std::size_t>({control_.cMultipleItems, names.size(), values_.size()});
    for (std::size_t k = step - 1; k < end; k += step) {
      if (names[k].dwParam1 == line_id) return static_cast<long>(k);
    }
    return -1;
  }

 private:
  MixerApi& api_;
  MixerHandle handle_;
  const MixerControl& control_;
  MixerControlDetails details_;
  std::vector<std::int32_t> values_;
};

}  // namespace

TMixerControls::TMixerControls(MixerApi& api, MixerHandle handle, const MixerLine& line) {
  block_.resize(line.cControls);
  MixerLineControls request;
  request.dwLineID = line.dwLineID;
  request.cControls = line.cControls;
  request.pamxctrl = block_.data();
  if (api.MixerGetLineControls(handle, &request, mixer::kGetLineControlsAll) != 0) block_.clear();
}

const MixerControl* TMixerControls::Item(int i) const {
  return i >= 0 && i < Count() ? &block_[static_cast<std::size_t>(i)] : nullptr;
}

TMixerConnection::TMixerConnection(TAudioMixer& mixer, const MixerLine& line)
    : Mixer(mixer), LineInfo(line), ControlList(mixer.Api(), mixer.DeviceHandle(), LineInfo) {}

TMixerConnections::TMixerConnections(TAudioMixer& mixer, const MixerLine& destination) : Mixer(mixer) {
  for (std::uint32_t s = 0; s < destination.cConnections; ++s) {
    MixerLine line;
    line.dwDestination = destination.dwDestination;
    line.dwSource = s;
    if (mixer.Api().MixerGetLineInfo(mixer.DeviceHandle(), &line, mixer::kGetLineInfoSource) == 0) {
      items_.push_back(std::make_unique<TMixerConnection>(mixer, line));
    }
  }
}

TMixerConnection* TMixerConnections::Item(int i) const {
  return i >= 0 && i < Count() ? items_[static_cast<std::size_t>(i)].get() : nullptr;
}

TMixerDestination::TMixerDestination(TAudioMixer& mixer, const MixerLine& line)
    : Mixer(mixer),
      LineInfo(line),
      ConnectionList(mixer, LineInfo),
      ControlList(mixer.Api(), mixer.DeviceHandle(), LineInfo) {}

TMixerDestination* TMixerDestinations::Item(int i) const {
  return i >= 0 && i < Count() ? items_[static_cast<std::size_t>(i)].get() : nullptr;
}

TAudioMixer::TAudioMixer(MixerApi& api) : api_(api) {
  NotifyWindow_ = api_.CreateNotifyWindow(
      [this](unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
        return MixerWndProc(message, wparam, lparam);
      });
  DeviceCount_ = static_cast<int>(api_.MixerGetNumDevs());
  MixerId_ = -1;
  if (DeviceCount_ > 0) {
    SetMixerId(0);
  } else {
    DestinationList_ = std::make_unique<TMixerDestinations>();
  }
}

TAudioMixer::~TAudioMixer() {
  CloseDevice();
  if (NotifyWindow_ != kNoWindow) api_.DestroyNotifyWindow(NotifyWindow_);
}

void TAudioMixer::SetMixerId(int n) {
  if (n < 0 || n >= DeviceCount_) return;
  CloseDevice();
  const auto device = static_cast<unsigned>(n);
  // A busy driver may refuse the first open; without notifications is the last resort.
  MixerHandle handle = 0;
  MmResult result = api_.MixerOpen(&handle, device, NotifyWindow_, 0, mixer::kCallbackWindow);
  if (result != 0) result = api_.MixerOpen(&handle, device, NotifyWindow_, 0, mixer::kCallbackWindow);
  if (result != 0) result = api_.MixerOpen(&handle, device, kNoWindow, 0, mixer::kCallbackNull);
  if (result != 0) {
    MixerId_ = -1;
    DestinationList_ = std::make_unique<TMixerDestinations>();
    return;
  }
  DeviceHandle_ = handle;
  MixerId_ = n;
  DeviceCaps_ = MixerCaps{};
  api_.MixerGetDevCaps(device, &DeviceCaps_);

  Manufacturer_ = DeviceCaps_.wMid == 1 ? std::string("Microsoft") : std::to_string(DeviceCaps_.wMid) + " = Unknown";
  DriverVersion_ = DeviceCaps_.vDriverVersion;
  ProductId_ = DeviceCaps_.wPid;
  ProductName_ = DeviceCaps_.szPname;
  NumberOfLine_ = static_cast<int>(DeviceCaps_.cDestinations);

  DestinationList_ = std::make_unique<TMixerDestinations>();
  for (std::uint32_t d = 0; d < DeviceCaps_.cDestinations; ++d) {
    MixerLine line;
    line.dwDestination = d;
    if (api_.MixerGetLineInfo(DeviceHandle_, &line, mixer::kGetLineInfoDestination) == 0) {
      DestinationList_->Add(std::make_unique<TMixerDestination>(*this, line));
    }
  }
}

void TAudioMixer::CloseDevice() {
  if (MixerId_ >= 0) {
    api_.MixerClose(DeviceHandle_);
    MixerId_ = -1;
    DeviceHandle_ = 0;
  }
  DestinationList_.reset();
}

bool TAudioMixer::FindLine(int DestIdx, int ConIdx, TMixerDestination*& destination, const MixerLine*& line,
                           const TMixerControls*& controls) const {
  destination = DestinationList_->Item(DestIdx);
  if (destination == nullptr) return false;
  if (ConIdx == -1) {
    line = &destination->LineInfo;
    controls = &destination->ControlList;
    return true;
  }
  const TMixerConnection* connection = destination->ConnectionList.Item(ConIdx);
  if (connection == nullptr) return false;
  line = &connection->LineInfo;
  controls = &connection->ControlList;
  return true;
}

bool TAudioMixer::GetLineState(int DestIdx, int ConIdx, TLineState& State) {
  if (!DestinationList_) return false;
  State = TLineState{};
  TMixerDestination* destination = nullptr;
  const MixerLine* line = nullptr;
  const TMixerControls* controls = nullptr;
  if (!FindLine(DestIdx, ConIdx, destination, line, controls)) return false;

  for (int i = 0; i < controls->Count() && (State.Left == -1 || State.Mute == -1); ++i) {
    const MixerControl& control = *controls->Item(i);
    const bool volume = control.dwControlType == mixer::kControlTypeVolume;
    const bool mute = control.dwControlType == mixer::kControlTypeMute;
    if ((!volume && !mute) || HasFlag(control, mixer::kControlMultiple)) continue;
    ControlDetails details(api_, DeviceHandle_, control, *line);
    if (!details.Read()) continue;
    if (volume && State.Left == -1) {
      State.VolDisabled = HasFlag(control, mixer::kControlDisabled);
      State.Left = details.Value(0);
      if (details.Channels() > 1) {
        State.Right = details.Value(1);
        State.Stereo = true;
      } else {
        State.Right = State.Left;
      }
    } else if (mute && State.Mute == -1) {
      State.MuteDisabled = HasFlag(control, mixer::kControlDisabled);
      State.Mute = details.Value(0) != 0 ? 1 : 0;
    }
  }

  // A recording source without a mute switch: its entry in a source selector.
  if (State.Mute == -1 && ConIdx >= 0) {
    const TMixerControls& selectors = destination->ControlList;
    for (int i = 0; i < selectors.Count() && State.Mute == -1; ++i) {
      const MixerControl& control = *selectors.Item(i);
      if (!IsListControl(control)) continue;
      ControlDetails details(api_, DeviceHandle_, control, destination->LineInfo);
      if (!details.Read()) continue;
      const long k = details.FindItem(line->dwLineID);
      if (k < 0) continue;
      State.Mute = details.Value(static_cast<std::size_t>(k));
      State.MuteDisabled = HasFlag(control, mixer::kControlDisabled);
      State.IsSelect = true;
    }
  }
  return true;
}

bool TAudioMixer::SetLineState(int DestIdx, int ConIdx, std::int32_t Left, std::int32_t Right, std::int32_t Mute) {
  if (!DestinationList_) return false;
  TMixerDestination* destination = nullptr;
  const MixerLine* line = nullptr;
  const TMixerControls* controls = nullptr;
  if (!FindLine(DestIdx, ConIdx, destination, line, controls)) return false;

  bool VolumeDone = Left == -1;
  bool MuteDone = Mute == -1;
  const std::int32_t right = Right == -1 ? Left : Right;
  for (int i = 0; i < controls->Count() && !(VolumeDone && MuteDone); ++i) {
    const MixerControl& control = *controls->Item(i);
    const bool volume = control.dwControlType == mixer::kControlTypeVolume && !VolumeDone;
    const bool mute = control.dwControlType == mixer::kControlTypeMute && !MuteDone;
    if ((!volume && !mute) || HasFlag(control, mixer::kControlMultiple)) continue;
    ControlDetails details(api_, DeviceHandle_, control, *line);
    if (volume) {
      // Left and right alternate over lines with more than two channels.
      details.Value(0) = Left;
      details.Value(1) = right;
      for (std::size_t c = 2; c < details.Count(); ++c) details.Value(c) = c % 2 == 0 ? Left : right;
      VolumeDone = true;
    } else {
      for (std::size_t c = 0; c < details.Count(); ++c) details.Value(c) = Mute;
      MuteDone = true;
    }
    details.Write();
  }
  if (MuteDone || ConIdx == -1) return true;

  // No mute switch on the source: Mute selects it in the destination's first selector.
  const TMixerControls& selectors = destination->ControlList;
  for (int i = 0; i < selectors.Count(); ++i) {
    const MixerControl& control = *selectors.Item(i);
    const bool mux = control.dwControlType == mixer::kControlTypeMux;
    if (!mux && control.dwControlType != mixer::kControlTypeMixer) continue;
    // A single-choice selector always records one source: clearing one would
    // leave none (a driver refuses that), so it changes only by selecting another.
    if (mux && Mute == 0) break;
    ControlDetails details(api_, DeviceHandle_, control, destination->LineInfo);
    if (details.Read()) {
      if (mux) {
        const std::size_t items = std::min<std::size_t>(control.cMultipleItems, details.Count());
        for (std::size_t k = 0; k < items; ++k) details.Value(k) = 0;
      }
      const long k = details.FindItem(line->dwLineID);
      if (k >= 0) {
        details.Value(static_cast<std::size_t>(k)) = Mute;
        details.Write();
      }
    }
    break;
  }
  return true;
}

bool TAudioMixer::MixerWndProc(unsigned message, std::uintptr_t wparam, std::intptr_t lparam) {
  const auto MixerH = static_cast<std::int32_t>(wparam);
  const auto ID = static_cast<std::int32_t>(lparam);
  if (message == mixer::kLineChange) {
    if (OnLineChange) OnLineChange(*this, MixerH, ID);
    return true;
  }
  if (message == mixer::kControlChange) {
    if (OnControlChange) OnControlChange(*this, MixerH, ID);
    return true;
  }
  return false;
}

}  // namespace tavlen
