#include "bridge/ChildClasses.h"

#include "bridge/WindowSearch.h"

namespace tavlen {

namespace {
constexpr int kClassNameLimit = 5000;
}  // namespace

const std::string& ChildClasses::Of(Windowing& w, Hwnd parent, Hwnd child) {
  // Names are kept for one room window; children that come and go over a long
  // session (video windows) cannot make the table grow past two walks' worth.
  if (parent != parent_ || known_.size() >= 2 * static_cast<std::size_t>(kRoomChildCeiling)) {
    known_.clear();
    parent_ = parent;
  }
  if (const auto it = known_.find(child); it != known_.end()) return it->second;
  // A handle names one window until it is destroyed, and a new window never
  // gets the value of one destroyed a moment ago: the system adds a use count.
  w.ReadClassName(child, kClassNameLimit, read_);
  if (read_.empty()) return read_;
  return known_.emplace(child, read_).first->second;
}

}  // namespace tavlen
