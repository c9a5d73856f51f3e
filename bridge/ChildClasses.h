// The class names of a room window's children, each read once. A window keeps
// its class for life, and under Wine every read of another program's class
// costs two round trips to the window server: walks over a room's children at
// every 10 ms tick would read them all again, thousands of times a second in a
// room window holding hundreds of children.
#pragma once

#include <string>
#include <unordered_map>

#include "platform/Windowing.h"

namespace tavlen {

class ChildClasses {
 public:
  // The class name of `child`, a direct child of `parent`, read up to 5,000
  // characters; empty when it cannot be read, and then asked again next time.
  const std::string& Of(Windowing& w, Hwnd parent, Hwnd child);

 private:
  Hwnd parent_ = kNoWindow;
  std::unordered_map<Hwnd, std::string> known_;
  std::string read_;
};

}  // namespace tavlen
