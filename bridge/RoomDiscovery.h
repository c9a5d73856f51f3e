// Keeps the console on the topmost room window that has a talk switch, and
// follows the exact letter case of the room title from the foreground window.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "bridge/RoomContext.h"
#include "bridge/TalkSwitch.h"
#include "bridge/WindowSearch.h"

namespace tavlen {

class RoomDiscovery {
 public:
  RoomDiscovery(RoomContext& ctx, TalkSwitch& talk);

  // Looks for the room window (100 ms).
  kit::Timer Timer9;
  // Gives the main window its caption when the room title's letter case changes.
  std::function<void(const std::string& caption)> OnCaption;

  void Timer9Timer();
  // First step of the foreground tick: adopt the foreground title's letter case.
  void AdoptForegroundTitle();
  // Last step of the foreground tick: sample the foreground window's title.
  void SampleForeground();

 private:
  // Adopts the room of the candidate titled `title` (read up to 499 characters).
  void Adopt(const std::string& title);

  // The top-level windows from the top of the Z order, each title read up to
  // 254 characters: the one walk of a discovery tick. Entries past `count`
  // keep their storage for the next walk.
  struct Seen {
    Hwnd window = kNoWindow;
    std::string text;
  };
  struct Walk {
    std::vector<Seen> seen;
    std::size_t count = 0;
    std::vector<std::size_t> candidates;  // indexes into seen, in preference order
    std::string title;
  };
  void Snapshot(Walk& walk);
  // The window GetWindowHandle(title, partial) finds, over the walk's titles.
  static Hwnd Lookup(const Walk& walk, std::string_view title);

  RoomContext& ctx_;
  TalkSwitch& talk_;
  Walk walk_;
};

}  // namespace tavlen
