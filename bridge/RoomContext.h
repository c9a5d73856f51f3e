// What the bridge works with: the desktop, the application (message processing,
// title), the room state, the debug log and the user list timer that the
// inactive state switches off.
#pragma once

#include "state/DebugLog.h"
#include "state/RoomState.h"
#include "kit/Widgets.h"
#include "ports/Windowing.h"

namespace tavlen {

struct RoomContext {
  Windowing& windowing;
  kit::Application& app;
  RoomState& room;
  DebugLog& log;
  kit::Timer& Timer4;
};

inline constexpr const char* kInactiveTitle = "Tavlen - [INACTIF]";

// The inactive state: no usable room window. `room_name` is empty when entered by
// discovery and "- INACTIF -" when a write found no window.
void EnterInactiveState(RoomContext& ctx, const std::string& room_name);

}  // namespace tavlen
