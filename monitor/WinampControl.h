// The media player component: which song Winamp shows in its main window title.
#pragma once

#include <string>
#include <string_view>

#include "platform/Windowing.h"

namespace tavlen {

class TWinampControl {
 public:
  explicit TWinampControl(Windowing& windowing) : windowing_(windowing) {}

  // The song of the top-level "Winamp v1.x" window; empty without one.
  std::string NowPlayingTitle();

 private:
  Windowing& windowing_;
};

// The song carried by a player title such as «12. Artist - Song - Winamp»: the text
// before the blank that precedes "- Winamp", without a leading playlist number
// (digits followed by ". "). Empty when the title has no "- Winamp".
std::string SongFromPlayerTitle(std::string_view title);

}  // namespace tavlen
