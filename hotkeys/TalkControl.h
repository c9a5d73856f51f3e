// The talk control: what a press of the talk switch does once the switch is found.
// It reads who holds the microphone, then takes it (nobody talks) or releases it
// (the own nick talks) by clicking the switch until the talker indicator agrees,
// and says so in the status popup.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "bridge/ControlAccess.h"
#include "bridge/TalkSwitch.h"
#include "core/DebugLog.h"
#include "core/RoomState.h"
#include "hotkeys/Volumes.h"
#include "notify/HTMLPopup.h"
#include "platform/Clock.h"

namespace tavlen {

class TalkControl {
 public:
  // A chat client that ignores the clicks must not hold the console: the click
  // loop gives up after this many clicks or this much time, whichever comes first.
  static constexpr int kMaxClicks = 20;
  static constexpr int kMaxLoopMs = 2000;

  TalkControl(TalkSwitch& talk, ControlAccess& controls, const RoomState& room, DebugLog& log,
              THTMLPopup& status_popup, Clock& clock, TVolumeControl& volume, const WaveLevels& levels);

  // The press mode of FindButtonAndPressIt, given the switch it found. Always false.
  bool Press(Hwnd talk_switch);

 private:
  // Clicks while `again` holds for the talker shown; false when the bound stopped it.
  bool ClickWhile(Hwnd talk_switch, const std::function<bool(const std::string& talker)>& again);
  void ShowStatus(std::string_view text);
  // "MIC BLOQUÉ", in a popup wide enough for it.
  void ShowStuck();

  TalkSwitch& talk_;
  ControlAccess& controls_;
  const RoomState& room_;
  DebugLog& log_;
  THTMLPopup& popup_;
  Clock& clock_;
  TVolumeControl& volume_;
  const WaveLevels& levels_;
};

// The status popup's one line for a short text such as "MIC ON".
std::string StatusLine(std::string_view text);

}  // namespace tavlen
