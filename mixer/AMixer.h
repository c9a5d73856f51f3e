// In-memory model of one audio mixer device: its destination lines, the source
// lines (connections) of each destination and the controls of every line, built
// once when the device is opened. Lines are addressed by positions in the model's
// lists (a line the driver refused is missing and the following ones move up);
// connection index -1 is the destination line itself.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/MixerApi.h"

namespace tavlen {

class TAudioMixer;

// The controls of one line, in the driver's order. Empty when the driver would
// not list them.
class TMixerControls {
 public:
  TMixerControls(MixerApi& api, MixerHandle handle, const MixerLine& line);
  int Count() const { return static_cast<int>(block_.size()); }
  // The control, or null when i is outside the list.
  const MixerControl* Item(int i) const;

 private:
  std::vector<MixerControl> block_;
};

// One source line of a destination.
class TMixerConnection {
 public:
  TMixerConnection(TAudioMixer& mixer, const MixerLine& line);
  TAudioMixer& Mixer;
  MixerLine LineInfo;
  TMixerControls ControlList;
};

class TMixerConnections {
 public:
  // The source lines of `destination` the driver accepts, in the driver's order.
  TMixerConnections(TAudioMixer& mixer, const MixerLine& destination);
  int Count() const { return static_cast<int>(items_.size()); }
  TMixerConnection* Item(int i) const;

  TAudioMixer& Mixer;

 private:
  std::vector<std::unique_ptr<TMixerConnection>> items_;
};

// One destination line with its own controls and its source lines.
class TMixerDestination {
 public:
  // Builds the connections the driver accepts, then the destination's controls.
  TMixerDestination(TAudioMixer& mixer, const MixerLine& line);
  TAudioMixer& Mixer;
  MixerLine LineInfo;
  TMixerConnections ConnectionList;
  TMixerControls ControlList;
};

class TMixerDestinations {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  TMixerDestination* Item(int i) const;
  void Add(std::unique_ptr<TMixerDestination> destination) { items_.push_back(std::move(destination)); }

 private:
  std::vector<std::unique_ptr<TMixerDestination>> items_;
};

// What GetLineState reports about a line. Volumes are the driver's values as
// read; Mute is the mute switch, or for a source without one its entry in the
// destination's source selector (IsSelect true).
struct TLineState {
  std::int32_t Left = -1;
  std::int32_t Right = -1;
  std::int32_t Mute = -1;
  bool Stereo = false;
  bool VolDisabled = true;
  bool MuteDisabled = true;
  bool IsSelect = false;
};

// The mixer device component.
class TAudioMixer {
 public:
  // Sender, MixerH (device handle), ID (line or control identifier).
  using TMixerChange = std::function<void(TAudioMixer& Sender, std::int32_t MixerH, std::int32_t ID)>;

  // Counts the devices and opens device 0 when there is one.
  explicit TAudioMixer(MixerApi& api);
  ~TAudioMixer();
  TAudioMixer(const TAudioMixer&) = delete;
  TAudioMixer& operator=(const TAudioMixer&) = delete;

  // Number of the open device, -1 when none is open.
  int MixerId() const { return MixerId_; }
  // Opens device n (closing the current one) and builds its model. A number
  // outside 0 .. DeviceCount - 1 changes nothing.
  void SetMixerId(int n);
  void CloseDevice();

  int DeviceCount() const { return DeviceCount_; }
  std::uint32_t DriverVersion() const { return DriverVersion_; }
  const std::string& Manufacturer() const { return Manufacturer_; }
  std::uint16_t ProductId() const { return ProductId_; }
  int NumberOfLine() const { return NumberOfLine_; }
  const std::string& ProductName() const { return ProductName_; }
  const MixerCaps& DeviceCaps() const { return DeviceCaps_; }
  MixerHandle DeviceHandle() const { return DeviceHandle_; }
  Hwnd NotifyWindow() const { return NotifyWindow_; }

  // The model of the open device: empty when no device could be opened, null
  // after CloseDevice.
  const TMixerDestinations* DestinationList() const { return DestinationList_.get(); }

  // False when no line has those indexes (state then untouched if there is no
  // model at all, else reset to the "nothing found" values).
  bool GetLineState(int DestIdx, int ConIdx, TLineState& State);
  // Left -1 leaves the volume, Right -1 means Left, Mute -1 leaves the mute
  // switch and the selection. On a source without a mute switch, Mute is its entry
  // in the destination's first selector: 1 in a MUX makes it the only source, 0
  // leaves a MUX as it is. True once the line exists, whatever the driver does.
  bool SetLineState(int DestIdx, int ConIdx, std::int32_t Left, std::int32_t Right, std::int32_t Mute);

  TMixerChange OnLineChange;
  TMixerChange OnControlChange;

  MixerApi& Api() { return api_; }

 private:
  bool MixerWndProc(unsigned message, std::uintptr_t wparam, std::intptr_t lparam);
  // The line's record and controls, and its destination; false when none.
  bool FindLine(int DestIdx, int ConIdx, TMixerDestination*& destination, const MixerLine*& line,
                const TMixerControls*& controls) const;

  MixerApi& api_;
  Hwnd NotifyWindow_ = kNoWindow;
  std::unique_ptr<TMixerDestinations> DestinationList_;
  int DeviceCount_ = 0;
  MixerHandle DeviceHandle_ = 0;
  int MixerId_ = -1;
  MixerCaps DeviceCaps_;
  std::uint32_t DriverVersion_ = 0;
  std::string Manufacturer_;
  std::uint16_t ProductId_ = 0;
  int NumberOfLine_ = 0;
  std::string ProductName_;
};

}  // namespace tavlen
