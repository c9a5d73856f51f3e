#include "bridge/RoomDiscovery.h"

#include <vector>

#include "base/Text.h"
#include "bridge/WindowSearch.h"

namespace tavlen {

RoomDiscovery::RoomDiscovery(RoomContext& ctx, TalkSwitch& talk)
    : Timer9(ctx.app, "Timer9", 100, true), ctx_(ctx), talk_(talk) {
  Timer9.OnTimer = [this] { Timer9Timer(); };
}

void RoomDiscovery::Snapshot(Walk& walk) {
  Windowing& w = ctx_.windowing;
  walk.count = 0;
  for (Hwnd h = w.GetWindow(w.FindWindow({}, {}), GetWindowCmd::kHwndFirst); h != kNoWindow;
       h = w.GetWindow(h, GetWindowCmd::kHwndNext)) {
    if (walk.count == walk.seen.size()) walk.seen.emplace_back();
    Seen& seen = walk.seen[walk.count++];
    seen.window = h;
    w.ReadWindowText(h, kSearchTitleLimit, seen.text);
  }
}

Hwnd RoomDiscovery::Lookup(const Walk& walk, std::string_view title) {
  for (std::size_t i = 0; i < walk.count; ++i)
    if (TitleMatches(walk.seen[i].text, title, true)) return walk.seen[i].window;
  return kNoWindow;
}

void RoomDiscovery::Timer9Timer() {
  // Inside a submission's key-downs the walk waits for a tick outside them: it
  // reads every window's title and the rooms' children, and the line being
  // typed has its room already.
  if (ctx_.Submitting()) return;
  // Taken for this tick and given back after it: a tick run from the messages
  // handled inside this one walks into storage of its own.
  Walk walk = std::move(walk_);
  Snapshot(walk);
  // Preference: ", Topic:" windows from the top, then " : Video Chat Room" ones. A
  // window of another program that merely carries one of the markers is passed
  // over, so it cannot hide a real room behind it.
  walk.candidates.clear();
  for (const char* marker : {kTopicMarker, kRoomTitleSuffix})
    for (std::size_t i = 0; i < walk.count; ++i)
      if (Pos(marker, walk.seen[i].text) > 0) walk.candidates.push_back(i);
  if (walk.candidates.empty()) {
    EnterInactiveState(ctx_, "");
  } else {
    if (ctx_.OnRoomPresence) ctx_.OnRoomPresence(true);
    for (const std::size_t candidate : walk.candidates) {
      const Seen& seen = walk.seen[candidate];
      walk.title = seen.text;
      if (talk_.FindButtonIn(Lookup(walk, walk.title), kTalkSwitchCaption, 1)) {
        Adopt(walk.title);
        break;
      }
    }
  }
  walk_ = std::move(walk);
}

void RoomDiscovery::Adopt(const std::string& title) {
  ctx_.room.RoomWindowTitle = title;
  const std::string previous = ctx_.room.RoomName;
  ctx_.room.RoomName = RoomNameFromTitle(title);
  if (!EqualsIgnoreCase(ctx_.room.RoomName, previous)) ctx_.room.RoomChanged = true;
}

void RoomDiscovery::AdoptForegroundTitle() {
  RoomState& room = ctx_.room;
  if (EqualsIgnoreCase(room.RoomWindowTitle, room.ForegroundTitle) && room.RoomWindowTitle != room.ForegroundTitle) {
    room.RoomWindowTitle = room.ForegroundTitle;
    room.RoomName = RoomNameFromTitle(room.RoomWindowTitle);
    if (OnCaption) OnCaption("Tavlen - " + room.RoomName);
  }
}

void RoomDiscovery::SampleForeground() {
  Windowing& w = ctx_.windowing;
  const Hwnd fg = w.GetForegroundWindow();
  if (fg == kNoWindow) ctx_.room.ForegroundTitle.clear();
  else w.ReadWindowText(fg, kSearchTitleLimit, ctx_.room.ForegroundTitle);
}

}  // namespace tavlen
