// What the main window knows about the room it works on.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Types.h"

namespace tavlen {

inline constexpr const char* kDefaultRoom = "le_salon_bleu";
inline constexpr const char* kRoomTitleSuffix = " : Video Chat Room";
inline constexpr const char* kTopicMarker = ", Topic:";
inline constexpr const char* kInactiveRoomName = "- INACTIF -";

struct RoomState {
  std::string RoomName = kDefaultRoom;
  std::string RoomWindowTitle = std::string(kDefaultRoom) + kRoomTitleSuffix;
  bool RoomChanged = false;
  Hwnd UserTreeWindow = kNoWindow;
  std::string OwnNick;
  std::string Level;
  bool RightsKnown = false;
  bool SetoptSent = false;
  std::int32_t KicksTotal = 0;
  std::int32_t KicksByOwnNick = 0;
  std::string ForegroundTitle;
  std::string VersionText = "Ver 1.0.1";
};

}  // namespace tavlen
