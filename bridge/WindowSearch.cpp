#include "bridge/WindowSearch.h"

#include "base/Text.h"

namespace tavlen {

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
