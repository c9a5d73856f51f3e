#include "bridge/RoomDiscovery.h"

#include <vector>

#include "bridge/WindowSearch.h"
#include "core/Text.h"

namespace tavlen {

namespace {
constexpr int kTitleLimit = 499;
constexpr int kSearchLimit = 254;

// Top-level windows whose title contains `marker`, from the top of the Z order.
std::vector<Hwnd> Candidates(Windowing& w, std::string_view marker) {
  std::vector<Hwnd> found;
  for (Hwnd h = w.GetWindow(w.FindWindow({}, {}), GetWindowCmd::kHwndFirst); h != kNoWindow;
       h = w.GetWindow(h, GetWindowCmd::kHwndNext)) {
    const std::string text = w.GetWindowText(h, kSearchLimit);
    if (!text.empty() && Pos(marker, text) > 0) found.push_back(h);
  }
  return found;
}
}  // namespace

std::string RoomNameFromTitle(const std::string& title) {
  return Pos(",", title) > 0 ? WordAt(1, title, kComma) : WordAt(1, title, kBlank);
}

void RoomDiscovery::Timer9Timer() {
  Windowing& w = ctx_.windowing;
  // Preference: ", Topic:" windows from the top, then " : Video Chat Room" ones. A
  // window of another program that merely carries one of the markers is passed
  // over, so it cannot hide a real room behind it.
  std::vector<Hwnd> candidates = Candidates(w, kTopicMarker);
  for (Hwnd h : Candidates(w, kRoomTitleSuffix)) candidates.push_back(h);
  if (candidates.empty()) {
    EnterInactiveState(ctx_, "");
    return;
  }
  ctx_.Timer4.SetEnabled(true);
  for (Hwnd candidate : candidates) {
    const std::string title = w.GetWindowText(candidate, kTitleLimit);
    if (talk_.FindButtonAndPressIt(title, kTalkSwitchCaption, 1)) {
      Adopt(title);
      return;
    }
  }
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
    main_form_.SetText("Tavlen - " + room.RoomName);
  }
}

void RoomDiscovery::SampleForeground() {
  Windowing& w = ctx_.windowing;
  const Hwnd fg = w.GetForegroundWindow();
  ctx_.room.ForegroundTitle = fg == kNoWindow ? std::string() : w.GetWindowText(fg, kTitleLimit);
}

}  // namespace tavlen
