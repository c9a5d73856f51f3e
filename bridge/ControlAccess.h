// Reading and writing the room window's child controls, and submitting lines to
// the room through its input box.
#pragma once

#include <string>
#include <string_view>

#include "bridge/RoomContext.h"
#include "bridge/RoomLine.h"

namespace tavlen {

class ControlAccess final : public RoomLine {
 public:
  explicit ControlAccess(RoomContext& ctx) : ctx_(ctx) {}

  // The text of the direct child of class `cls` of the window titled `title`: with
  // n = 0 the last such child, with n > 0 the child at readable position n when it
  // is of that class. Every read remembers the user tree it meets.
  std::string GetOtherWindowMemoText(std::string_view title, std::string_view cls, int n);
  // The same read into `out`, whose storage is reused (the 10 ms ticks).
  void ReadOtherWindowMemoText(std::string_view title, std::string_view cls, int n, std::string& out);
  // Acts on every direct "Edit" child: focus only, or write (and submit) text.
  // No window: the inactive state by write. True when some "Edit" child took the text.
  bool SetOtherWindowMemoText(std::string_view title, std::string_view text, bool focus, bool submit);
  // Types and submits `line` into the room input box, only when the box is empty.
  // True when the line was typed and submitted.
  bool send_to_camfrog(std::string_view line) override;

 private:
  // The room window titled `title`, or the same room under its new title.
  Hwnd FindRoom(std::string_view title);

  RoomContext& ctx_;
  // A line whose write to the input box timed out. A hung client may still take
  // it when it wakes; the box then holds our abandoned line, not the moderator's
  // typing, and must not block every later command.
  std::string abandoned_;
};

}  // namespace tavlen
