// Work moved off the user-interface thread, for reads that cross into another
// process long enough to hold up the console's windows. The Windows build runs
// the work on a worker thread and then its completion from the message loop;
// without a runner (the simulated desktop) the caller runs both at once, in order.
#pragma once

#include <functional>

namespace tavlen {

class Background {
 public:
  virtual ~Background() = default;
  // Runs `work` on the worker, one job after the other, then `done` on the
  // user-interface thread. `work` may only touch what is safe off that thread.
  virtual void Run(std::function<void()> work, std::function<void()> done) = 0;
};

}  // namespace tavlen
