// Top-level windows of another kind beside the room, as a busy desktop has them
// (standin.exe --other-windows N): tiny and off the screen, so they change
// nothing anybody sees, but every walk of the desktop meets them.
#pragma once

#include <windows.h>

#include <vector>

namespace tavlen::standin::win32 {

class OtherWindows {
 public:
  OtherWindows() = default;
  ~OtherWindows();
  OtherWindows(const OtherWindows&) = delete;
  OtherWindows& operator=(const OtherWindows&) = delete;

  // False when a window could not be made.
  bool Create(int count);

 private:
  std::vector<HWND> windows_;
};

}  // namespace tavlen::standin::win32
