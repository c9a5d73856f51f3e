#include "bridge/WindowSearch.h"

#include "core/Text.h"

namespace tavlen {

Hwnd GetWindowHandle(Windowing& windowing, std::string_view title, bool partial) {
  if (title.empty()) return kNoWindow;
  for (Hwnd h = windowing.GetWindow(windowing.FindWindow({}, {}), GetWindowCmd::kHwndFirst); h != kNoWindow;
       h = windowing.GetWindow(h, GetWindowCmd::kHwndNext)) {
    const std::string text = windowing.GetWindowText(h, 254);
    if (text.empty()) continue;
    if (EqualsIgnoreCase(text, title) || (partial && Pos(title, text) > 0)) return h;
  }
  return kNoWindow;
}

}  // namespace tavlen
