// What the bridge works with: the desktop, the application (message processing,
// title), the room state, the debug log and the client's memory, and the event it raises when a room
// window appears or the console goes inactive.
#pragma once

#include <functional>

#include "bridge/ChildClasses.h"
#include "core/DebugLog.h"
#include "core/RoomState.h"
#include "kit/Widgets.h"
#include "platform/ProcessMemory.h"
#include "platform/Windowing.h"

namespace tavlen {

struct RoomContext {
  Windowing& windowing;
  kit::Application& app;
  RoomState& room;
  DebugLog& log;
  // The client's memory, for reads plain messages cannot carry; none in a test
  // that does without.
  ProcessMemory* memory = nullptr;
  // Raised with true while discovery sees room windows and with false when the
  // console goes inactive: the user list starts or stops its tick.
  std::function<void(bool present)> OnRoomPresence;
  // How many submissions are running, nested in each other's message handling.
  // Ticks that would cross into the room many times wait for a tick outside them.
  int submissions = 0;
  bool Submitting() const { return submissions > 0; }
  // The class names of the room window's children, for every walk over them.
  ChildClasses child_classes;
};

inline constexpr const char* kInactiveTitle = "Tavlen - [INACTIF]";

// The inactive state: no usable room window. `room_name` is empty when entered by
// discovery and "- INACTIF -" when a write found no window.
void EnterInactiveState(RoomContext& ctx, const std::string& room_name);

}  // namespace tavlen
