// The lies of a lying room (standin/RoomLies.h) told by the real controls:
// each control is subclassed and answers the console's messages wrongly, in
// the ways the simulated room does.
#pragma once

#include <windows.h>

#include <cstdint>

#include "standin/RoomLies.h"

namespace tavlen::standin::win32 {

class LyingControls {
 public:
  // `room` is told (posted `reborn_message`) when it is time to be made again.
  LyingControls(const RoomLies& lies, UINT reborn_message) : lies_(lies), reborn_message_(reborn_message) {}
  LyingControls(const LyingControls&) = delete;
  LyingControls& operator=(const LyingControls&) = delete;

  // Subclasses the room's controls; called again for each new set of windows.
  void Install(HWND room, HWND transcript, HWND input, HWND talk_switch, HWND tree, HWND indicator);

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  LRESULT Answer(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id);
  LRESULT TreeAnswer(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  // A message of another program answered: now and then the room is made again.
  void Answered();

  const RoomLies lies_;
  const UINT reborn_message_;
  HWND room_ = nullptr;
  std::uint64_t length_reads_ = 0;
  std::uint64_t switch_reads_ = 0;
  std::uint64_t item_requests_ = 0;
  std::uint64_t wild_answers_ = 0;
  int messages_ = 0;
  bool reborn_asked_ = false;
  // An address that was mapped once and is no more.
  char* released_ = nullptr;
};

}  // namespace tavlen::standin::win32
