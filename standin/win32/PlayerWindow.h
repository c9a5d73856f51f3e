// The stand-in media player: a top-level window of class "Winamp v1.x" whose
// title names the playing song ("12. Artist - Song - Winamp"). A test changes
// the title through the control channel ("title ...", "close").
#pragma once

#include <windows.h>

#include <string>

#include "standin/StandinOptions.h"

namespace tavlen::standin::win32 {

inline constexpr char kPlayerClass[] = "Winamp v1.x";

class PlayerWindow {
 public:
  explicit PlayerWindow(const StandinOptions& options) : options_(options) {}
  PlayerWindow(const PlayerWindow&) = delete;
  PlayerWindow& operator=(const PlayerWindow&) = delete;

  bool Create();
  HWND Window() const { return window_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  bool Control(const char* data, std::size_t size);
  void Paint();

  StandinOptions options_;
  HWND window_ = nullptr;
};

}  // namespace tavlen::standin::win32
