#include "bridge/RoomContext.h"

namespace tavlen {

void EnterInactiveState(RoomContext& ctx, const std::string& room_name) {
  ctx.room.RoomName = room_name;
  ctx.room.RoomWindowTitle.clear();
  ctx.Timer4.SetEnabled(false);
  ctx.app.SetTitle(kInactiveTitle);
}

}  // namespace tavlen
