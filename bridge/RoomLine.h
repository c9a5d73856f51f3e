// The one way a line reaches the room: typed into its input box and submitted.
// ControlAccess is the real one; tests, benchmarks and fuzzers use a fake.
#pragma once

#include <string_view>

namespace tavlen {

class RoomLine {
 public:
  virtual ~RoomLine() = default;
  // True when the line was typed and submitted; false when there is no room
  // window, or the moderator has something typed in the input box.
  virtual bool send_to_camfrog(std::string_view line) = 0;
};

}  // namespace tavlen
