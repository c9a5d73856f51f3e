// A slow client: a second input box in the room whose every key-down takes `ms`
// of the simulated clock, so that ticks come due while one line is submitted.
#pragma once

#include "standin/sim/SimWorld.h"

namespace tavlen::testing {

inline void AddSlowInputBox(sim::SimWorld& world, sim::SimRoom& room, int ms) {
  const Hwnd box = world.desktop.CreateChild(room.Window(), "Edit", "");
  world.desktop.At(box).handler = [&world, ms](sim::SimWindow& w, sim::SimMessage& m) {
    if (m.msg != wm::kKeyDown) return false;
    w.text.clear();
    world.clock.Sleep(ms);
    return true;
  };
}

}  // namespace tavlen::testing
