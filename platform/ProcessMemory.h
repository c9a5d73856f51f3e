// Memory of another process: what reading another program's tree view needs.
// Mirrors OpenProcess, VirtualQueryEx, VirtualAllocEx, VirtualFreeEx,
// Read/WriteProcessMemory and CloseHandle; addresses are carried as 64-bit
// numbers whatever the width of either process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace tavlen {

using ProcessHandle = std::uintptr_t;  // 0 = none
using RemoteAddress = std::uint64_t;   // an address inside the other process; 0 = none

namespace mem {
// Process access rights.
constexpr std::uint32_t kVmOperation = 0x0008;
constexpr std::uint32_t kVmRead = 0x0010;
constexpr std::uint32_t kVmWrite = 0x0020;
constexpr std::uint32_t kQueryInformation = 0x0400;
// Allocation types and region states.
constexpr std::uint32_t kCommit = 0x1000;
constexpr std::uint32_t kReserve = 0x2000;
constexpr std::uint32_t kRelease = 0x8000;
constexpr std::uint32_t kFree = 0x10000;
// Page protections.
constexpr std::uint32_t kNoAccess = 0x01;
constexpr std::uint32_t kReadOnly = 0x02;
constexpr std::uint32_t kReadWrite = 0x04;
constexpr std::uint32_t kExecuteReadWrite = 0x40;
// Allocation granularity of reservations.
constexpr std::uint64_t kGranularity = 0x10000;
}  // namespace mem

// One region as VirtualQueryEx describes it.
struct MemoryRegion {
  RemoteAddress base = 0;
  RemoteAddress allocation_base = 0;
  std::uint32_t allocation_protect = 0;
  std::uint64_t size = 0;
  std::uint32_t state = 0;
  std::uint32_t protect = 0;
  std::uint32_t type = 0;
};

class ProcessMemory {
 public:
  virtual ~ProcessMemory() = default;

  // 0 when the process is gone or refuses the rights asked for.
  virtual ProcessHandle OpenProcess(std::uint32_t access, std::uint32_t process_id) = 0;
  virtual bool CloseHandle(ProcessHandle process) = 0;
  virtual bool VirtualQueryEx(ProcessHandle process, RemoteAddress address, MemoryRegion& region) = 0;
  // `address` 0: the system chooses. Returns the base of the block, 0 on failure.
  virtual RemoteAddress VirtualAllocEx(ProcessHandle process, RemoteAddress address, std::size_t size,
                                       std::uint32_t type, std::uint32_t protect) = 0;
  virtual bool VirtualFreeEx(ProcessHandle process, RemoteAddress address, std::size_t size,
                             std::uint32_t type) = 0;
  // All bytes or failure.
  virtual bool ReadProcessMemory(ProcessHandle process, RemoteAddress address, void* buffer, std::size_t size) = 0;
  virtual bool WriteProcessMemory(ProcessHandle process, RemoteAddress address, const void* data,
                                  std::size_t size) = 0;
  // The pointer width of the code running in the target (32 or 64); none when it
  // cannot be told.
  virtual std::optional<int> TargetPointerBits(ProcessHandle process) = 0;
  // The console's own pointer width.
  virtual int PointerBits() const = 0;
};

}  // namespace tavlen
