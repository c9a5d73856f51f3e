#include "platform/win32/Win32ProcessMemory.h"

#include "platform/win32/WinApi.h"

#include <limits>

namespace tavlen {
namespace {

HANDLE ToHandle(ProcessHandle process) { return reinterpret_cast<HANDLE>(process); }

// An address of the other process as a pointer of ours; false when it does not fit.
bool ToPointer(RemoteAddress address, void*& pointer) {
  if (address > std::numeric_limits<std::uintptr_t>::max()) return false;
  pointer = reinterpret_cast<void*>(static_cast<std::uintptr_t>(address));
  return true;
}

RemoteAddress ToAddress(const void* pointer) { return reinterpret_cast<std::uintptr_t>(pointer); }

std::optional<int> BitsOf(HANDLE process) {
  if (sizeof(void*) == 4) {
    // A 32-bit console meets 64-bit processes only on a 64-bit system, where it
    // runs under WOW64 itself.
    BOOL self_wow = FALSE;
    if (!IsWow64Process(GetCurrentProcess(), &self_wow)) return std::nullopt;
    if (!self_wow) return 32;
  }
  BOOL wow = FALSE;
  if (!IsWow64Process(process, &wow)) return std::nullopt;
  return wow ? 32 : 64;
}

}  // namespace

ProcessHandle Win32ProcessMemory::OpenProcess(std::uint32_t access, std::uint32_t process_id) {
  HANDLE process = ::OpenProcess(access, FALSE, process_id);
  if (!process) return 0;
  const auto handle = reinterpret_cast<ProcessHandle>(process);
  if (PointerBits() == 32) {
    const std::optional<int> bits = BitsOf(process);
    std::lock_guard lock(mutex_);
    unreachable_[handle] = bits && *bits > 32;
  }
  return handle;
}

bool Win32ProcessMemory::CloseHandle(ProcessHandle process) {
  {
    std::lock_guard lock(mutex_);
    unreachable_.erase(process);
  }
  return process != 0 && ::CloseHandle(ToHandle(process)) != FALSE;
}

bool Win32ProcessMemory::Reachable(ProcessHandle process) {
  std::lock_guard lock(mutex_);
  const auto it = unreachable_.find(process);
  return it == unreachable_.end() || !it->second;
}

bool Win32ProcessMemory::VirtualQueryEx(ProcessHandle process, RemoteAddress address, MemoryRegion& region) {
  void* pointer = nullptr;
  if (!Reachable(process) || !ToPointer(address, pointer)) return false;
  MEMORY_BASIC_INFORMATION info{};
  if (::VirtualQueryEx(ToHandle(process), pointer, &info, sizeof(info)) != sizeof(info)) return false;
  region.base = ToAddress(info.BaseAddress);
  region.allocation_base = ToAddress(info.AllocationBase);
  region.allocation_protect = info.AllocationProtect;
  region.size = info.RegionSize;
  region.state = info.State;
  region.protect = info.Protect;
  region.type = info.Type;
  return true;
}

RemoteAddress Win32ProcessMemory::VirtualAllocEx(ProcessHandle process, RemoteAddress address, std::size_t size,
                                                 std::uint32_t type, std::uint32_t protect) {
  void* pointer = nullptr;
  if (!Reachable(process) || !ToPointer(address, pointer)) return 0;
  return ToAddress(::VirtualAllocEx(ToHandle(process), pointer, size, type, protect));
}

bool Win32ProcessMemory::VirtualFreeEx(ProcessHandle process, RemoteAddress address, std::size_t size,
                                       std::uint32_t type) {
  void* pointer = nullptr;
  if (!Reachable(process) || !ToPointer(address, pointer)) return false;
  return ::VirtualFreeEx(ToHandle(process), pointer, size, type) != FALSE;
}

bool Win32ProcessMemory::ReadProcessMemory(ProcessHandle process, RemoteAddress address, void* buffer,
                                           std::size_t size) {
  void* pointer = nullptr;
  if (!Reachable(process) || !ToPointer(address, pointer)) return false;
  SIZE_T moved = 0;
  return ::ReadProcessMemory(ToHandle(process), pointer, buffer, size, &moved) != FALSE && moved == size;
}

bool Win32ProcessMemory::WriteProcessMemory(ProcessHandle process, RemoteAddress address, const void* data,
                                            std::size_t size) {
  void* pointer = nullptr;
  if (!Reachable(process) || !ToPointer(address, pointer)) return false;
  SIZE_T moved = 0;
  return ::WriteProcessMemory(ToHandle(process), pointer, data, size, &moved) != FALSE && moved == size;
}

std::optional<int> Win32ProcessMemory::TargetPointerBits(ProcessHandle process) {
  if (process == 0) return std::nullopt;
  return BitsOf(ToHandle(process));
}

int Win32ProcessMemory::PointerBits() const { return static_cast<int>(sizeof(void*) * 8); }

}  // namespace tavlen
