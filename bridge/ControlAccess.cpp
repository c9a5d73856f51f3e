#include "bridge/ControlAccess.h"

#include <algorithm>

#include "base/Text.h"
#include "bridge/TranscriptTail.h"
#include "bridge/WindowSearch.h"

namespace tavlen {

namespace {
constexpr std::size_t kRichEditLimit = 30000;
constexpr std::size_t kControlLimit = 5001;
constexpr int kSubmitKeyDowns = 100;

// What one walk over the room window's direct children finds.
struct RoomChildren {
  Hwnd match = kNoWindow;      // the child asked for
  Hwnd user_tree = kNoWindow;  // the user list, whatever was asked for
};

// With n = 0 the last child of class `cls`, with n > 0 the child at readable
// position n when it is of that class. Every child up to the ceiling is visited,
// so the user tree is found by any walk.
RoomChildren WalkRoomChildren(Windowing& w, Hwnd room, std::string_view cls, int n, ChildClasses& classes) {
  RoomChildren found;
  int position = 0;
  int visited = 0;
  for (Hwnd child = w.GetWindow(room, GetWindowCmd::kChild); child != kNoWindow && visited++ < kRoomChildCeiling;
       child = w.GetWindow(child, GetWindowCmd::kHwndNext)) {
    const std::string& class_name = classes.Of(w, room, child);
    if (class_name.empty()) continue;
    ++position;
    if (EqualsIgnoreCase(class_name, "SysTreeView32")) found.user_tree = child;
    if (class_name == cls && (n == 0 || n == position)) found.match = child;
  }
  return found;
}

}  // namespace

std::string ControlAccess::GetOtherWindowMemoText(std::string_view title, std::string_view cls, int n) {
  std::string result;
  ReadOtherWindowMemoText(title, cls, n, result);
  return result;
}

void ControlAccess::ReadOtherWindowMemoText(std::string_view title, std::string_view cls, int n, std::string& out) {
  out.clear();
  Windowing& w = ctx_.windowing;
  const Hwnd room = FindRoom(title);
  if (room == kNoWindow) return;
  const RoomChildren found = WalkRoomChildren(w, room, cls, n, ctx_.child_classes);
  // Remembered from every read, so a tree the client builds again is found again.
  if (found.user_tree != kNoWindow) ctx_.room.UserTreeWindow = found.user_tree;
  if (found.match == kNoWindow) return;
  if (cls == "RichEdit20A") {
    // The whole transcript: a fixed read limit would hide every line past it
    // for the rest of a long session. Past the ceiling, its last part.
    std::size_t length = 0;
    bool told = w.SendGetTextLength(found.match, length);
    if (told && length >= kTranscriptCeiling) {
      if (ReadRichEditTail(w, ctx_.memory, found.match, length, kTranscriptCeiling, out)) return;
      // No last part to be had: the start of so long a text holds no new line,
      // and a control that lies about its length would have the console copy
      // and split megabytes at every tick. The plain limit it is.
      ctx_.log.debog(ansi("-> transcription : ") + std::to_string(length) + ansi(" caractères annoncés, lecture arrêtée à ") +
                     std::to_string(kRichEditLimit - 1));
      told = false;
    }
    const std::size_t limit = told ? std::clamp(length + 1, kRichEditLimit, kTranscriptCeiling) : kRichEditLimit;
    w.SendGetTextInto(found.match, limit, out);
  } else {
    w.SendGetTextInto(found.match, kControlLimit, out);
  }
}

bool ControlAccess::SetOtherWindowMemoText(std::string_view title, std::string_view text, bool focus, bool submit) {
  Windowing& w = ctx_.windowing;
  const Hwnd room = FindRoom(title);
  if (room == kNoWindow) {
    EnterInactiveState(ctx_, kInactiveRoomName);
    return false;
  }
  bool written = false;
  int visited = 0;
  for (Hwnd child = w.GetWindow(room, GetWindowCmd::kChild); child != kNoWindow && visited++ < kRoomChildCeiling;
       child = w.GetWindow(child, GetWindowCmd::kHwndNext)) {
    if (ctx_.child_classes.Of(w, room, child) != "Edit") continue;
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
      ++ctx_.submissions;
      struct Done {
        int& depth;
        ~Done() { --depth; }
      } done{ctx_.submissions};
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

Hwnd ControlAccess::FindRoom(std::string_view title) {
  const Hwnd room = FindRoomWindow(ctx_.windowing, title);
  // Retitled by a topic since discovery last looked (it looks every 100 ms): the
  // same room, which must neither lose this line nor read as gone.
  return room != kNoWindow ? room : FindRetitledRoom(ctx_.windowing, std::string(title));
}

bool ControlAccess::send_to_camfrog(std::string_view line) {
  const std::string title = ctx_.room.RoomWindowTitle;
  const std::string current = GetOtherWindowMemoText(title, "Edit", 0);
  if (!current.empty() && current != abandoned_) return false;
  abandoned_.clear();
  return SetOtherWindowMemoText(title, line, false, true);
}

}  // namespace tavlen
