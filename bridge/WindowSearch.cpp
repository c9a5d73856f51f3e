#include "bridge/WindowSearch.h"

#include "base/Text.h"
#include "core/RoomState.h"

namespace tavlen {

namespace {

// The first top-level window from the top whose title, read up to the search
// limit, satisfies `matches`.
template <class Match>
Hwnd FirstTopLevel(Windowing& windowing, Match matches) {
  std::string text;  // one buffer for every title of the walk
  for (Hwnd h = windowing.GetWindow(windowing.FindWindow({}, {}), GetWindowCmd::kHwndFirst); h != kNoWindow;
       h = windowing.GetWindow(h, GetWindowCmd::kHwndNext)) {
    windowing.ReadWindowText(h, kSearchTitleLimit, text);
    if (matches(text)) return h;
  }
  return kNoWindow;
}

}  // namespace

std::string RoomNameFromTitle(const std::string& title) {
  return Pos(",", title) > 0 ? WordAt(1, title, kComma) : WordAt(1, title, kBlank);
}

Hwnd FindRetitledRoom(Windowing& windowing, const std::string& title) {
  const std::string name = RoomNameFromTitle(title);
  if (name.empty()) return kNoWindow;
  return FirstTopLevel(windowing, [&](const std::string& text) {
    return (Pos(kTopicMarker, text) > 0 || Pos(kRoomTitleSuffix, text) > 0) &&
           EqualsIgnoreCase(RoomNameFromTitle(text), name);
  });
}

bool TitleMatches(std::string_view text, std::string_view title, bool partial) {
  if (text.empty() || title.empty()) return false;
  return EqualsIgnoreCase(text, title) || (partial && Pos(title, text) > 0);
}

Hwnd GetWindowHandle(Windowing& windowing, std::string_view title, bool partial) {
  if (title.empty()) return kNoWindow;
  return FirstTopLevel(windowing, [&](const std::string& text) { return TitleMatches(text, title, partial); });
}

Hwnd FindRoomWindow(Windowing& windowing, std::string_view title) {
  if (title.empty()) return kNoWindow;
  const Hwnd exact = windowing.FindWindow({}, title);
  if (exact != kNoWindow || title.size() < static_cast<std::size_t>(kSearchTitleLimit)) return exact;
  return GetWindowHandle(windowing, title, false);
}

}  // namespace tavlen
