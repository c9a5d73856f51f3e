#include "bridge/WindowSearch.h"

#include "base/Text.h"
#include "core/RoomState.h"

namespace tavlen {

std::string RoomNameFromTitle(const std::string& title) {
  return Pos(",", title) > 0 ? WordAt(1, title, kComma) : WordAt(1, title, kBlank);
}

Hwnd FindRetitledRoom(Windowing& windowing, const std::string& title) {
  const std::string name = RoomNameFromTitle(title);
  if (name.empty()) return kNoWindow;
  std::string text;
  for (Hwnd h = windowing.GetWindow(windowing.FindWindow({}, {}), GetWindowCmd::kHwndFirst); h != kNoWindow;
       h = windowing.GetWindow(h, GetWindowCmd::kHwndNext)) {
    windowing.ReadWindowText(h, kSearchTitleLimit, text);
    if (Pos(kTopicMarker, text) == 0 && Pos(kRoomTitleSuffix, text) == 0) continue;
    if (EqualsIgnoreCase(RoomNameFromTitle(text), name)) return h;
  }
  return kNoWindow;
}

bool TitleMatches(std::string_view text, std::string_view title, bool partial) {
  if (text.empty() || title.empty()) return false;
  return EqualsIgnoreCase(text, title) || (partial && Pos(title, text) > 0);
}

Hwnd GetWindowHandle(Windowing& windowing, std::string_view title, bool partial) {
  if (title.empty()) return kNoWindow;
  std::string text;  // one buffer for every title of the walk
  for (Hwnd h = windowing.GetWindow(windowing.FindWindow({}, {}), GetWindowCmd::kHwndFirst); h != kNoWindow;
       h = windowing.GetWindow(h, GetWindowCmd::kHwndNext)) {
    windowing.ReadWindowText(h, kSearchTitleLimit, text);
    if (TitleMatches(text, title, partial)) return h;
  }
  return kNoWindow;
}

Hwnd FindRoomWindow(Windowing& windowing, std::string_view title) {
  if (title.empty()) return kNoWindow;
  const Hwnd exact = windowing.FindWindow({}, title);
  if (exact != kNoWindow || title.size() < static_cast<std::size_t>(kSearchTitleLimit)) return exact;
  return GetWindowHandle(windowing, title, false);
}

}  // namespace tavlen
