// A console started on the simulated desktop, as the program starts.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "standin/sim/SimWorld.h"
#include "ui/Console.h"

namespace tavlen::testing {

using Lines = std::vector<std::string>;
using namespace std::chrono_literals;

class ConsoleTest : public ::testing::Test {
 protected:
  sim::SimWorld world;
  std::unique_ptr<Console> console;

  void Start() { console = std::make_unique<Console>(world.platform()); }
  TForm1& main() { return *console->Form1; }
  RoomState& room() { return console->room; }
  const std::string& title() { return console->app.Title(); }
};

}  // namespace tavlen::testing
