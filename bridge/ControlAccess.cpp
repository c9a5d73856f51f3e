#include "bridge/ControlAccess.h"

#include "base/Text.h"
#include "bridge/WindowSearch.h"

namespace tavlen {

namespace {
constexpr std::size_t kRichEditLimit = 30000;
constexpr std::size_t kControlLimit = 5001;
constexpr int kClassNameLimit = 5000;
constexpr int kSubmitKeyDowns = 100;
}  // namespace

std::string ControlAccess::GetOtherWindowMemoText(std::string_view title, std::string_view cls, int n) {
  std::string result;
  ReadOtherWindowMemoText(title, cls, n, result);
  return result;
}

void ControlAccess::ReadOtherWindowMemoText(std::string_view title, std::string_view cls, int n, std::string& out) {
  out.clear();
  Windowing& w = ctx_.windowing;
  const Hwnd room = FindRoomWindow(w, title);
  if (room == kNoWindow) return;
  // Taken for the walk and given back after it: a read nested in this one (from
  // the messages a send lets through) works on a buffer of its own.
  std::string class_name = std::move(class_name_);
  int position = 0;
  for (Hwnd child = w.GetWindow(room, GetWindowCmd::kChild); child != kNoWindow;
       child = w.GetWindow(child, GetWindowCmd::kHwndNext)) {
    w.ReadClassName(child, kClassNameLimit, class_name);
    if (class_name.empty()) continue;
    ++position;
    if (EqualsIgnoreCase(class_name, "SysTreeView32")) ctx_.room.UserTreeWindow = child;
    if (class_name == cls && (n == 0 || n == position)) {
      if (cls == "RichEdit20A") {
        // The whole transcript: a fixed read limit would hide every line past it
        // for the rest of a long session.
        std::size_t length = 0;
        const std::size_t limit = w.SendGetTextLength(child, length) ? std::max(length + 1, kRichEditLimit) : kRichEditLimit;
        w.SendGetTextInto(child, limit, out);
      } else {
        w.SendGetTextInto(child, kControlLimit, out);
      }
    }
  }
  class_name_ = std::move(class_name);
}

bool ControlAccess::SetOtherWindowMemoText(std::string_view title, std::string_view text, bool focus, bool submit) {
  Windowing& w = ctx_.windowing;
  const Hwnd room = FindRoomWindow(w, title);
  if (room == kNoWindow) {
    EnterInactiveState(ctx_, kInactiveRoomName);
    return false;
  }
  bool written = false;
  for (Hwnd child = w.GetWindow(room, GetWindowCmd::kChild); child != kNoWindow;
       child = w.GetWindow(child, GetWindowCmd::kHwndNext)) {
    if (w.GetClassName(child, kClassNameLimit) != "Edit") continue;
    if (focus) {
      w.Send(child, wm::kSetFocus, 0, 0);
      w.Send(room, wm::kSetFocus, 0, 0);
      return false;
    }
    if (!w.SendSetText(child, text)) {
      // A client that does not answer counts as no room window.
      if (submit) abandoned_.assign(text);
      EnterInactiveState(ctx_, kInactiveRoomName);
      return false;
    }
    written = true;
    if (submit) {
      for (int i = 0; i < kSubmitKeyDowns; ++i) {
        ctx_.app.GetClock().Sleep(1);
        ctx_.app.ProcessMessages();
        w.Send(child, wm::kKeyDown, wm::kVkReturn, 0);
        ctx_.app.ProcessMessages();
      }
    } else {
      const auto end = static_cast<std::intptr_t>(text.size());
      w.Send(child, wm::kEmSetSel, static_cast<std::uintptr_t>(end), end);
    }
  }
  return written;
}

bool ControlAccess::send_to_camfrog(std::string_view line) {
  const std::string title = ctx_.room.RoomWindowTitle;
  const std::string current = GetOtherWindowMemoText(title, "Edit", 0);
  if (!current.empty() && current != abandoned_) return false;
  abandoned_.clear();
  return SetOtherWindowMemoText(title, line, false, true);
}

}  // namespace tavlen
