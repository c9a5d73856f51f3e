// The stand-in media player on the simulated desktop: a top-level window of class
// "Winamp v1.x" whose title shows the song the way the player does
// («12. Artist - Song - Winamp»). Tests set the title as the player would.
#pragma once

#include <string>

#include "platform/sim/SimDesktop.h"

namespace tavlen::sim {

class SimPlayer {
 public:
  static constexpr const char* kClassName = "Winamp v1.x";

  SimPlayer(SimDesktop& desktop, std::string title);
  ~SimPlayer();
  SimPlayer(const SimPlayer&) = delete;
  SimPlayer& operator=(const SimPlayer&) = delete;

  Hwnd Window() const { return window_; }
  void SetTitle(std::string title);
  void Close();

 private:
  SimDesktop& desktop_;
  Hwnd window_;
};

}  // namespace tavlen::sim
