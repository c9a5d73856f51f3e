#include "bridge/TalkSwitch.h"

#include "base/Text.h"
#include "bridge/WindowSearch.h"

namespace tavlen {

namespace {
constexpr int kReadLimit = 128;
constexpr int kIndicatorPosition = 26;
}  // namespace

bool TalkSwitch::FindButtonAndPressIt(std::string_view title, std::string_view caption, int mode) {
  return FindButtonIn(GetWindowHandle(ctx_.windowing, title, true), caption, mode);
}

bool TalkSwitch::FindButtonIn(Hwnd room, std::string_view caption, int mode) {
  Windowing& w = ctx_.windowing;
  if (room == kNoWindow) {
    ctx_.app.ProcessMessages();
    return false;
  }
  ctx_.log.debog("-> routine Detection STATUT DU SWITCH TALK");
  Hwnd found = kNoWindow;
  std::string text;
  int visited = 0;
  for (Hwnd child = w.GetWindow(room, GetWindowCmd::kChild); child != kNoWindow && visited++ < kRoomChildCeiling;
       child = w.GetWindow(child, GetWindowCmd::kHwndNext)) {
    if (ctx_.child_classes.Of(w, room, child) != "Button") continue;
    // WM_GETTEXT with the 128-character buffer, as any control read.
    w.SendGetTextInto(child, kReadLimit, text);
    if (EqualsIgnoreCase(text, caption)) {
      found = child;
      break;
    }
  }
  if (found == kNoWindow) return false;
  if (mode == 1) return true;
  if (PressMode) PressMode(found);
  return false;
}

std::string TalkSwitch::CurrentTalker() {
  return TrimBlanks(controls_.GetOtherWindowMemoText(ctx_.room.RoomWindowTitle, "Button", kIndicatorPosition));
}

void TalkSwitch::ClickTalkSwitch(Hwnd talk_switch) {
  ctx_.windowing.Send(talk_switch, wm::kLButtonDown, 0, 0);
  ctx_.windowing.Send(talk_switch, wm::kLButtonUp, 0, 0);
}

}  // namespace tavlen
