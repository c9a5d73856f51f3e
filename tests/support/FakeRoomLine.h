// A room input that keeps the lines it is given, for tests, benchmarks and fuzzers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "bridge/RoomLine.h"

namespace tavlen::testing {

class FakeRoomLine final : public RoomLine {
 public:
  bool send_to_camfrog(std::string_view line) override {
    sent.emplace_back(line);
    return accepts;
  }

  std::vector<std::string> sent;
  bool accepts = true;
};

}  // namespace tavlen::testing
