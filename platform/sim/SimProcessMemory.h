// Simulated processes with address spaces: allocations of pages that are
// reserved or committed with a protection, reachable from outside through
// handles as the system's cross-process memory functions reach them. A 32-bit
// console cannot reach a 64-bit process. Every call from outside is counted; the
// process itself (its controls) reaches its memory directly, uncounted.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "platform/ProcessMemory.h"

namespace tavlen::sim {

struct SimTransfer {
  enum class Kind { kRead, kWrite };
  Kind kind;
  std::uint32_t process;
  RemoteAddress address;
  std::size_t size;
  std::uint64_t number;  // 1 for the first transfer ever made, and so on
};

class SimProcessMemory : public ProcessMemory {
 public:
  static constexpr std::uint64_t kPage = 0x1000;

  // ---- building processes (tests, stand-ins) ----
  // A process of the given pointer width. It starts with an executable image at
  // 0x400000 and a system library at 0x5F000000 whose size is not a multiple of
  // the allocation granularity.
  void AddProcess(std::uint32_t process, int pointer_bits);
  void KillProcess(std::uint32_t process);
  bool Alive(std::uint32_t process) const;
  int ProcessBits(std::uint32_t process) const;
  // Places an allocation of the process's own at `address` (rounded to pages).
  bool Map(std::uint32_t process, RemoteAddress address, std::uint64_t size, std::uint32_t state,
           std::uint32_t protect);
  // Commits `size` bytes of the process's own at the lowest free place; 0 on failure.
  RemoteAddress AllocOwn(std::uint32_t process, std::uint64_t size, std::uint32_t protect);
  // The process reaching its own memory: committed, accessible pages only.
  bool ReadOwn(std::uint32_t process, RemoteAddress address, void* buffer, std::size_t size) const;
  bool WriteOwn(std::uint32_t process, RemoteAddress address, const void* data, std::size_t size);
  // Opening the process with any of these rights fails (a process that guards itself).
  void RefuseRights(std::uint32_t process, std::uint32_t rights);

  // The console's own width (64 unless told).
  void SetPointerBits(int bits) { own_bits_ = bits; }
  // Failure injection: a transfer for which this answers true fails.
  std::function<bool(const SimTransfer&)> FailTransfer;

  // ---- what happened ----
  std::uint64_t Operations() const { return operations_; }  // every call from outside
  std::uint64_t Transfers() const { return transfers_; }    // reads and writes from outside
  int OpenHandles() const { return static_cast<int>(handles_.size()); }
  // Blocks allocated from outside and not yet released.
  int OutsideAllocations(std::uint32_t process) const;
  std::uint32_t LastAccess() const { return last_access_; }
  // The protection of every allocation made from outside, in order.
  const std::vector<std::uint32_t>& ProtectionsUsed() const { return protections_; }
  std::vector<RemoteAddress> OutsideBlocks(std::uint32_t process) const;

  // ---- ProcessMemory ----
  ProcessHandle OpenProcess(std::uint32_t access, std::uint32_t process) override;
  bool CloseHandle(ProcessHandle handle) override;
  bool VirtualQueryEx(ProcessHandle handle, RemoteAddress address, MemoryRegion& region) override;
  RemoteAddress VirtualAllocEx(ProcessHandle handle, RemoteAddress address, std::size_t size, std::uint32_t type,
                               std::uint32_t protect) override;
  bool VirtualFreeEx(ProcessHandle handle, RemoteAddress address, std::size_t size, std::uint32_t type) override;
  bool ReadProcessMemory(ProcessHandle handle, RemoteAddress address, void* buffer, std::size_t size) override;
  bool WriteProcessMemory(ProcessHandle handle, RemoteAddress address, const void* data, std::size_t size) override;
  std::optional<int> TargetPointerBits(ProcessHandle handle) override;
  int PointerBits() const override { return own_bits_; }

 private:
  struct Page {
    std::uint32_t state = mem::kReserve;  // kReserve or kCommit
    std::uint32_t protect = 0;
  };
  struct Allocation {
    std::uint64_t size = 0;  // whole pages
    std::uint32_t allocation_protect = 0;
    bool outside = false;
    bool image = false;
    std::vector<Page> pages;
    // The bytes of each page, made on its first write: a page never written
    // reads as zeros, so a large block costs only what is written into it.
    std::vector<std::vector<std::uint8_t>> page_bytes;
  };
  struct Process {
    int bits = 64;
    bool alive = true;
    std::uint32_t refused = 0;
    std::map<RemoteAddress, Allocation> space;
  };
  struct Handle {
    std::uint32_t process;
    std::uint32_t access;
  };

  static std::uint64_t Limit(const Process& p);
  Process* Find(std::uint32_t process);
  const Process* Find(std::uint32_t process) const;
  // The process behind a live handle carrying `right`, reachable by the console.
  Process* Reach(ProcessHandle handle, std::uint32_t right);
  static const Allocation* Containing(const Process& p, RemoteAddress address, RemoteAddress* base);
  static bool RangeFree(const Process& p, RemoteAddress begin, RemoteAddress end);
  static RemoteAddress FindFree(const Process& p, std::uint64_t size);
  // Reserves (and commits) a new allocation; 0 when the range is not free.
  static RemoteAddress Reserve(Process& p, RemoteAddress base, std::uint64_t size, bool commit,
                               std::uint32_t protect, bool outside);
  static bool Commit(Process& p, RemoteAddress address, std::uint64_t size, std::uint32_t protect);
  // Copies between the process and a buffer when every page is committed and allows it.
  static bool Access(const Process& p, RemoteAddress address, std::size_t size, bool write);
  // Copies out of and into an allocation, from `offset` bytes into it.
  static void CopyOut(const Allocation& a, std::uint64_t offset, void* buffer, std::size_t size);
  static void CopyIn(Allocation& a, std::uint64_t offset, const void* data, std::size_t size);
  bool Transfer(SimTransfer::Kind kind, ProcessHandle handle, RemoteAddress address, std::size_t size);

  std::map<std::uint32_t, Process> processes_;
  std::map<ProcessHandle, Handle> handles_;
  ProcessHandle next_handle_ = 0x100;
  int own_bits_ = 64;
  std::uint64_t operations_ = 0;
  std::uint64_t transfers_ = 0;
  std::uint32_t last_access_ = 0;
  std::vector<std::uint32_t> protections_;
};

}  // namespace tavlen::sim
