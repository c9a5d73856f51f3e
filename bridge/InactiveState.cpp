#include "bridge/RoomContext.h"

namespace tavlen {

void EnterInactiveState(RoomContext& ctx, const std::string& room_name) {
  ctx.room.RoomName = room_name;
  ctx.room.RoomWindowTitle.clear();
  if (ctx.OnRoomPresence) ctx.OnRoomPresence(false);
  ctx.app.SetTitle(kInactiveTitle);
}

}  // namespace tavlen
