// A block of memory inside another process, for records a control of that
// process must read and write.
#pragma once

#include <cstddef>

#include "platform/ProcessMemory.h"

namespace tavlen {

// The rights the console asks for when it opens the client's process: enough to
// place a block, fill it, read it back and tell the client's width.
inline constexpr std::uint32_t kRemoteBlockRights =
    mem::kVmOperation | mem::kVmRead | mem::kVmWrite | mem::kQueryInformation;

// Where the search for a free place starts.
inline constexpr RemoteAddress kRemoteSearchStart = 0x5F000000;

// `size` read-write bytes in `process`: at the first free region from
// 0x5F000000 upward, else wherever the system puts them. 0 when none could be had.
RemoteAddress AllocRemote(ProcessMemory& memory, ProcessHandle process, std::size_t size);
void FreeRemote(ProcessMemory& memory, ProcessHandle process, RemoteAddress address);

// Releases a block and closes a process handle on every way out of a scope.
class RemoteBlock {
 public:
  RemoteBlock(ProcessMemory& memory, ProcessHandle process, std::size_t size)
      : memory_(memory), process_(process), address_(AllocRemote(memory, process, size)) {}
  ~RemoteBlock() { if (address_) FreeRemote(memory_, process_, address_); }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;
  RemoteAddress Address() const { return address_; }

 private:
  ProcessMemory& memory_;
  ProcessHandle process_;
  RemoteAddress address_;
};

class ProcessHandleGuard {
 public:
  ProcessHandleGuard(ProcessMemory& memory, ProcessHandle process) : memory_(memory), process_(process) {}
  ~ProcessHandleGuard() { if (process_) memory_.CloseHandle(process_); }
  ProcessHandleGuard(const ProcessHandleGuard&) = delete;
  ProcessHandleGuard& operator=(const ProcessHandleGuard&) = delete;
  ProcessHandle Get() const { return process_; }

 private:
  ProcessMemory& memory_;
  ProcessHandle process_;
};

}  // namespace tavlen
