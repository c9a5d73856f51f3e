// A configurable simulated mixer: devices with destination and source lines,
// their controls and stored values, plus driver misbehaviour (refused lines or
// control lists, failing reads, opens that fail) and notifications a test fires.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/MixerApi.h"

namespace tavlen {

class SimMixer : public MixerApi {
 public:
  struct Control {
    MixerControl info;
    std::uint32_t channels = 1;  // the line's channel count; a UNIFORM control keeps them equal
    std::uint32_t items = 1;     // max(1, cMultipleItems)
    // Channel-major: channel c, item i at c × items + i.
    std::vector<std::int32_t> values;
    std::vector<MixerListText> names;  // one per item, list controls only
    bool fail_reads = false;           // every mixerGetControlDetails fails
    bool fail_list_text = false;       // LISTTEXT reads fail, VALUE reads work

    std::int32_t& Value(std::uint32_t channel = 0, std::uint32_t item = 0) {
      return values.at(channel * items + item);
    }
  };

  struct Line {
    MixerLine info;
    std::deque<Control> controls;
    bool refused = false;           // mixerGetLineInfo fails for this line
    bool refuse_controls = false;   // mixerGetLineControls fails for this line
  };

  struct Destination : Line {
    std::deque<Line> sources;
  };

  struct Device {
    unsigned number = 0;
    MixerCaps caps;  // cDestinations follows the destinations added
    std::deque<Destination> destinations;
    int open_failures = 0;  // the next this many opens fail
  };

  struct OpenCall {
    unsigned device = 0;
    Hwnd callback = kNoWindow;
    std::uint32_t flags = 0;
    MmResult result = 0;
  };

  struct Write {
    std::uint32_t control_id = 0;
    std::vector<std::int32_t> values;
  };

  struct Calls {
    int open = 0;
    int close = 0;
    int get_dev_caps = 0;
    int get_line_info = 0;
    int get_line_controls = 0;
    int get_details = 0;
    int set_details = 0;
    int Total() const {
      return open + close + get_dev_caps + get_line_info + get_line_controls + get_details + set_details;
    }
  };

  // Building the hardware. References stay valid while more is added.
  Device& AddDevice(std::string name, std::uint16_t mid = 1, std::uint16_t pid = 104,
                    std::uint32_t driver_version = 0x0501);
  Destination& AddDestination(Device& device, std::string name, std::uint32_t channels);
  Line& AddSource(Destination& destination, std::string name, std::uint32_t channels);
  Control& AddControl(Line& line, std::uint32_t type, std::uint32_t flags = 0);
  // A MUX or MIXER selector of a destination listing the given lines, in order;
  // MULTIPLE is always set, UNIFORM unless `uniform` is false.
  Control& AddSelector(Destination& destination, std::uint32_t type, const std::vector<const Line*>& items,
                       bool uniform = true);

  Device& device(unsigned number) { return devices_.at(number); }

  // Driver notifications to every open handle of `device` that asked for them.
  // Returns how many handles were told.
  int FireLineChange(const Device& device, std::uint32_t line_id);
  int FireControlChange(const Device& device, std::uint32_t control_id);
  // Any message to a notification window; returns whether its handler took it.
  bool SendToNotifyWindow(Hwnd window, unsigned message, std::uintptr_t wparam, std::intptr_t lparam);

  bool IsNotifyWindow(Hwnd window) const { return notify_windows_.count(window) != 0; }
  std::size_t OpenHandles() const { return handles_.size(); }

  const std::vector<OpenCall>& open_calls() const { return open_calls_; }
  const std::vector<Write>& writes() const { return writes_; }
  const Calls& calls() const { return calls_; }

  // MixerApi
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

 private:
  struct Open {
    unsigned device = 0;
    Hwnd callback = kNoWindow;
  };

  Device* DeviceOf(MixerHandle handle);
  Control* FindControl(Device& device, std::uint32_t control_id);
  int Fire(const Device& device, unsigned message, std::uint32_t id);

  std::deque<Device> devices_;
  std::map<MixerHandle, Open> handles_;
  std::map<Hwnd, NotifyHandler> notify_windows_;
  MixerHandle next_handle_ = 0x100;
  Hwnd next_window_ = 0x5000;
  std::uint32_t next_control_id_ = 1;
  std::vector<OpenCall> open_calls_;
  std::vector<Write> writes_;
  Calls calls_;
};

}  // namespace tavlen
