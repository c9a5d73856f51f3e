#include "bridge/RemoteMemory.h"

namespace tavlen {

namespace {
// Bounds the walk whatever the other process's map looks like.
constexpr int kMaxRegions = 1 << 16;

RemoteAddress ReserveAndCommit(ProcessMemory& memory, ProcessHandle process, RemoteAddress at, std::size_t size) {
  const RemoteAddress reserved = memory.VirtualAllocEx(process, at, size, mem::kReserve, mem::kReadWrite);
  if (!reserved) return 0;
  if (memory.VirtualAllocEx(process, reserved, size, mem::kCommit, mem::kReadWrite)) return reserved;
  memory.VirtualFreeEx(process, reserved, 0, mem::kRelease);
  return 0;
}
}  // namespace

RemoteAddress AllocRemote(ProcessMemory& memory, ProcessHandle process, std::size_t size) {
  if (size == 0 || !process) return 0;
  // The block holds data only: read-write, never executable.
  RemoteAddress address = kRemoteSearchStart;
  for (int i = 0; i < kMaxRegions; ++i) {
    MemoryRegion region;
    if (!memory.VirtualQueryEx(process, address, region)) break;
    if (region.state == mem::kFree) {
      if (const RemoteAddress block = ReserveAndCommit(memory, process, region.base, size)) return block;
      break;
    }
    const std::uint64_t step =
        region.size < mem::kGranularity ? mem::kGranularity : region.size / mem::kGranularity * mem::kGranularity;
    if (address + step < address) break;
    address += step;
  }
  return memory.VirtualAllocEx(process, 0, size, mem::kReserve | mem::kCommit, mem::kReadWrite);
}

void FreeRemote(ProcessMemory& memory, ProcessHandle process, RemoteAddress address) {
  if (address) memory.VirtualFreeEx(process, address, 0, mem::kRelease);
}

}  // namespace tavlen
