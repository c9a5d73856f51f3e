// Keeps the console on the topmost room window that has a talk switch, and
// follows the exact letter case of the room title from the foreground window.
#pragma once

#include "bridge/RoomContext.h"
#include "bridge/TalkSwitch.h"

namespace tavlen {

class RoomDiscovery {
 public:
  RoomDiscovery(RoomContext& ctx, TalkSwitch& talk, kit::Form& main_form)
      : ctx_(ctx), talk_(talk), main_form_(main_form) {}

  // The discovery tick (every 100 ms).
  void Timer9Timer();
  // First step of the foreground tick: adopt the foreground title's letter case.
  void AdoptForegroundTitle();
  // Last step of the foreground tick: sample the foreground window's title.
  void SampleForeground();

 private:
  // Adopts the room of the candidate titled `title` (read up to 499 characters).
  void Adopt(const std::string& title);

  RoomContext& ctx_;
  TalkSwitch& talk_;
  kit::Form& main_form_;
};

// The room name carried by a room window title: the text before the first comma
// when there is one, else before the first blank.
std::string RoomNameFromTitle(const std::string& title);

}  // namespace tavlen
