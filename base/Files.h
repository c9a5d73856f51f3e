// Settings files: read whole, written whole and atomically (a temporary file beside
// the target, then a rename), so a failed save never leaves a truncated file.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavlen {

bool FileExists(const std::string& path);
// The whole file, or nothing when it is missing or cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);
// Replaces path with bytes. Throws std::runtime_error when any step fails or the
// file is marked read-only; the previous file is then left as it was. The new bytes reach the disk before they
// take the file's name, so a power cut leaves either the old file or the new one.
void WriteFileAtomic(const std::string& path, std::string_view bytes);

// Test seam: the steps of WriteFileAtomic, in order, and a hook that can make any
// of them fail as the system would. Production code never installs a hook.
enum class WriteStep { kCreate, kWrite, kSync, kReplace };
struct StepFault {
  bool fail = false;
  // kWrite only: how many bytes reach the temporary file before the write fails
  // (a disk that fills up part way).
  std::size_t bytes_kept = 0;
};
// Asked before each step. It may also throw to stand for a crash at that point:
// the exception passes through untouched and nothing is cleaned up.
using WriteFaultHook = std::function<StepFault(WriteStep step, const std::string& path)>;
// Installs a hook for the saves of the current thread while it lives.
class ScopedWriteFaultHook {
 public:
  explicit ScopedWriteFaultHook(WriteFaultHook hook);
  ~ScopedWriteFaultHook();
  ScopedWriteFaultHook(const ScopedWriteFaultHook&) = delete;
  ScopedWriteFaultHook& operator=(const ScopedWriteFaultHook&) = delete;

 private:
  WriteFaultHook hook_;
  const WriteFaultHook* previous_;
};

// Lines ended by CR LF, a lone CR or a lone LF; a final line break adds no line.
std::vector<std::string> SplitLinesAnyBreak(std::string_view text);
// Each line followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace tavlen
