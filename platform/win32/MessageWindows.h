// Hidden message-only windows that one object owns, each with its handler: the
// windows go with their owner, and a window's procedure finds its handler here.
// Free of <windows.h>, so the port headers that hold one keep their method names.
#pragma once

#include <map>
#include <memory>
#include <utility>

#include "platform/Types.h"

namespace tavlen::win32 {

// A message-only window of `class_name` (registered on first use) whose procedure
// `window_proc` (a WNDPROC) finds `owner` with WindowOwner; kNoWindow when it
// cannot be created.
Hwnd CreateMessageWindow(const char* class_name, void* window_proc, void* owner);
void DestroyMessageWindow(Hwnd window);

template <class Handler>
class MessageWindows {
 public:
  MessageWindows() = default;
  MessageWindows(const MessageWindows&) = delete;
  MessageWindows& operator=(const MessageWindows&) = delete;
  // Windows left behind would call into their destroyed owner.
  ~MessageWindows() {
    while (!windows_.empty()) Destroy(windows_.begin()->first);
  }

  Hwnd Create(const char* class_name, void* window_proc, void* owner, Handler handler) {
    const Hwnd window = CreateMessageWindow(class_name, window_proc, owner);
    if (window != kNoWindow) windows_[window] = std::make_shared<Handler>(std::move(handler));
    return window;
  }
  // Does nothing for a window that is not one of these.
  void Destroy(Hwnd window) {
    if (windows_.erase(window) != 0) DestroyMessageWindow(window);
  }
  // Empty when the window has no handler (yet, or any more). Shared, so a handler
  // may destroy its own window.
  std::shared_ptr<Handler> Find(Hwnd window) const {
    const auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : it->second;
  }

 private:
  std::map<Hwnd, std::shared_ptr<Handler>> windows_;
};

}  // namespace tavlen::win32
