// The room window's talk switch and talker indicator.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "bridge/ControlAccess.h"
#include "bridge/RoomContext.h"

namespace tavlen {

inline constexpr const char* kTalkSwitchCaption = "Hands Free";

class TalkSwitch {
 public:
  TalkSwitch(RoomContext& ctx, ControlAccess& controls) : ctx_(ctx), controls_(controls) {}

  // Mode 1: does the window titled `title` (partial match) have the switch among
  // its direct children? Any other mode hands the found switch to PressMode.
  bool FindButtonAndPressIt(std::string_view title, std::string_view caption, int mode);
  // The same, `room` being the window the title search found (kNoWindow: none).
  bool FindButtonIn(Hwnd room, std::string_view caption, int mode);
  // The talk control run once the switch is found (mode other than 1).
  std::function<bool(Hwnd talk_switch)> PressMode;

  // Trimmed text of the talker indicator, the 26th readable child when it is a Button.
  std::string CurrentTalker();
  // One click: button down then up, each waited for.
  void ClickTalkSwitch(Hwnd talk_switch);

 private:
  RoomContext& ctx_;
  ControlAccess& controls_;
};

}  // namespace tavlen
