// Watching the room's input box: a word ending in a star becomes a nick of the
// room (typing the star again goes on to the next nick with that beginning), and
// a lone nick followed by a comma that appears at once in an empty box becomes
// the target nick.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "bridge/ControlAccess.h"
#include "bridge/RoomContext.h"
#include "kit/Widgets.h"

namespace tavlen {

class NickCompletion {
 public:
  NickCompletion(RoomContext& ctx, ControlAccess& controls, const kit::ItemList& user_list,
                 kit::Edit& target_nick_box)
      : ctx_(ctx), controls_(controls), user_list_(user_list), box_(target_nick_box) {}

  // The box text after the last completion, followed by "*".
  std::string LastCompletion;
  // The candidate last written; -1 when no search is under way.
  int CompletionIndex = -1;
  std::vector<std::string> CompletionCandidates;
  bool InputWasNonEmpty = false;

  // One watch of the input box (every 10 ms).
  void Tick();

 private:
  void Capture(const std::string& text);
  void Complete(const std::string& text, std::string_view last_word);

  RoomContext& ctx_;
  ControlAccess& controls_;
  const kit::ItemList& user_list_;
  kit::Edit& box_;
  // Storage of the box's text, kept from one watch to the next.
  std::string reading_;
};

}  // namespace tavlen
