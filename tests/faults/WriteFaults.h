// The write faults a save can meet, injected through the file layer's fault hook:
// refusals the system reports (the save fails and cleans up) and crashes (the
// process dies at that point and nothing is cleaned up).
#pragma once

#include <cstddef>
#include <fstream>
#include <string>
#include <vector>

#include "base/Files.h"

namespace tavlen::testing {

// Stands for the process dying: not an error anything handles, it only unwinds.
struct SimulatedCrash {};

struct WriteFault {
  const char* what;
  WriteStep step;
  bool crash;
  std::size_t bytes_kept = 0;  // disk full part way
};

inline const std::vector<WriteFault>& AllWriteFaults() {
  static const std::vector<WriteFault> faults = {
      {"the folder refuses the new file (permission denied)", WriteStep::kCreate, false},
      {"the disk is full before the first byte", WriteStep::kWrite, false, 0},
      {"the disk fills up part way", WriteStep::kWrite, false, 5},
      {"the bytes cannot be flushed to the disk", WriteStep::kSync, false},
      {"the file cannot be replaced (read-only or locked)", WriteStep::kReplace, false},
      {"crash before the new file exists", WriteStep::kCreate, true},
      {"crash part way through the write", WriteStep::kWrite, true},
      {"crash before the flush", WriteStep::kSync, true},
      {"crash between write and rename", WriteStep::kReplace, true},
  };
  return faults;
}

// Makes the next save of any file meet `fault` at its step, once.
class InjectedFault {
 public:
  explicit InjectedFault(const WriteFault& fault)
      : hook_([this, fault](WriteStep step, const std::string& path) -> StepFault {
          if (fired_ || step != fault.step) return {};
          fired_ = true;
          if (!fault.crash) return {true, fault.bytes_kept};
          // A crash during the write leaves the start of the bytes behind.
          if (step == WriteStep::kWrite) std::ofstream(path + ".tmp", std::ios::binary) << "MIC= 0";
          throw SimulatedCrash{};
        }) {}
  bool Fired() const { return fired_; }

 private:
  bool fired_ = false;
  ScopedWriteFaultHook hook_;
};

}  // namespace tavlen::testing
