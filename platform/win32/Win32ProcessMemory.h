// The ProcessMemory port over OpenProcess, VirtualQueryEx, VirtualAllocEx,
// VirtualFreeEx, Read/WriteProcessMemory and CloseHandle. The target's width
// comes from IsWow64Process. A 32-bit console does not reach into a 64-bit
// process (its addresses do not fit ours): those calls fail, as they would for a
// process it cannot open.
#pragma once

#include <map>
#include <mutex>

#include "platform/ProcessMemory.h"

namespace tavlen {

class Win32ProcessMemory final : public ProcessMemory {
 public:
  ProcessHandle OpenProcess(std::uint32_t access, std::uint32_t process_id) override;
  bool CloseHandle(ProcessHandle process) override;
  bool VirtualQueryEx(ProcessHandle process, RemoteAddress address, MemoryRegion& region) override;
  RemoteAddress VirtualAllocEx(ProcessHandle process, RemoteAddress address, std::size_t size, std::uint32_t type,
                               std::uint32_t protect) override;
  bool VirtualFreeEx(ProcessHandle process, RemoteAddress address, std::size_t size, std::uint32_t type) override;
  bool ReadProcessMemory(ProcessHandle process, RemoteAddress address, void* buffer, std::size_t size) override;
  bool WriteProcessMemory(ProcessHandle process, RemoteAddress address, const void* data, std::size_t size) override;
  std::optional<int> TargetPointerBits(ProcessHandle process) override;
  int PointerBits() const override;

 private:
  // Whether the console may address the process's memory through this handle.
  bool Reachable(ProcessHandle process);

  std::mutex mutex_;
  std::map<ProcessHandle, bool> unreachable_;  // handles to processes wider than the console
};

}  // namespace tavlen
