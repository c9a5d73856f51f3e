// What the moderation commands work with: the main window (its height and
// position), the room state, the modal dialogs, the clock for the pause between
// two lines, the submission of a line to the room, and the message catalogue.
#pragma once

#include <functional>
#include <string_view>

#include "bridge/RoomLine.h"
#include "core/RoomState.h"
#include "kit/Widgets.h"
#include "moderation/MessageCatalogue.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"

namespace tavlen {

struct ModerationContext {
  kit::Form& form;
  RoomState& room;
  Dialogs& dialogs;
  Clock& clock;
  RoomLine& line;
  MessageCatalogue& catalogue;
};

inline constexpr int kPairPauseMs = 1000;

}  // namespace tavlen
