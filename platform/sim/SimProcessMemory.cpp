#include "platform/sim/SimProcessMemory.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace tavlen::sim {

namespace {
constexpr std::uint64_t kLowest = 0x10000;
constexpr std::uint32_t kTypeImage = 0x1000000;
constexpr std::uint32_t kTypePrivate = 0x20000;
constexpr std::uint32_t kWriteCopy = 0x08;
constexpr std::uint32_t kQueryLimited = 0x1000;

constexpr std::uint64_t AlignDown(std::uint64_t v, std::uint64_t a) { return v / a * a; }
constexpr std::uint64_t AlignUp(std::uint64_t v, std::uint64_t a) { return (v + a - 1) / a * a; }

bool Readable(std::uint32_t protect) { return protect != 0 && protect != mem::kNoAccess; }
bool Writable(std::uint32_t protect) {
  return protect == mem::kReadWrite || protect == mem::kExecuteReadWrite || protect == kWriteCopy;
}
}  // namespace

// ---- building ----

void SimProcessMemory::AddProcess(std::uint32_t process, int pointer_bits) {
  Process& p = processes_[process];
  p = Process{};
  p.bits = pointer_bits;
  Map(process, 0x400000, 0x5000, mem::kCommit, mem::kReadOnly);
  Map(process, 0x5F000000, 0x23000, mem::kCommit, mem::kReadOnly);
}

void SimProcessMemory::KillProcess(std::uint32_t process) {
  if (Process* p = Find(process)) {
    p->alive = false;
    p->space.clear();
  }
}

bool SimProcessMemory::Alive(std::uint32_t process) const {
  const Process* p = Find(process);
  return p && p->alive;
}

int SimProcessMemory::ProcessBits(std::uint32_t process) const {
  const Process* p = Find(process);
  return p ? p->bits : 0;
}

bool SimProcessMemory::Map(std::uint32_t process, RemoteAddress address, std::uint64_t size, std::uint32_t state,
                           std::uint32_t protect) {
  Process* p = Find(process);
  if (!p || !p->alive || size == 0) return false;
  const RemoteAddress base = AlignDown(address, kPage);
  const std::uint64_t whole = AlignUp(address + size, kPage) - base;
  if (!Reserve(*p, base, whole, state == mem::kCommit, protect, false)) return false;
  Allocation& a = p->space.at(base);
  a.image = true;
  a.allocation_protect = protect;
  return true;
}

RemoteAddress SimProcessMemory::AllocOwn(std::uint32_t process, std::uint64_t size, std::uint32_t protect) {
  Process* p = Find(process);
  if (!p || !p->alive || size == 0) return 0;
  const RemoteAddress base = FindFree(*p, size);
  return base ? Reserve(*p, base, size, true, protect, false) : 0;
}

bool SimProcessMemory::ReadOwn(std::uint32_t process, RemoteAddress address, void* buffer, std::size_t size) const {
  const Process* p = Find(process);
  if (!p || !p->alive || !Access(*p, address, size, false)) return false;
  if (size == 0) return true;
  RemoteAddress base = 0;
  const Allocation* a = Containing(*p, address, &base);
  CopyOut(*a, address - base, buffer, size);
  return true;
}

bool SimProcessMemory::WriteOwn(std::uint32_t process, RemoteAddress address, const void* data, std::size_t size) {
  Process* p = Find(process);
  if (!p || !p->alive || !Access(*p, address, size, true)) return false;
  if (size == 0) return true;
  RemoteAddress base = 0;
  Containing(*p, address, &base);
  CopyIn(p->space.at(base), address - base, data, size);
  return true;
}

void SimProcessMemory::RefuseRights(std::uint32_t process, std::uint32_t rights) {
  if (Process* p = Find(process)) p->refused |= rights;
}

int SimProcessMemory::OutsideAllocations(std::uint32_t process) const {
  return static_cast<int>(OutsideBlocks(process).size());
}

std::vector<RemoteAddress> SimProcessMemory::OutsideBlocks(std::uint32_t process) const {
  std::vector<RemoteAddress> out;
  if (const Process* p = Find(process))
    for (const auto& [base, a] : p->space)
      if (a.outside) out.push_back(base);
  return out;
}

// ---- the address space ----

std::uint64_t SimProcessMemory::Limit(const Process& p) {
  return p.bits == 32 ? 0x7FFF0000ull : 0x7FFFFFFF0000ull;
}

SimProcessMemory::Process* SimProcessMemory::Find(std::uint32_t process) {
  auto it = processes_.find(process);
  return it == processes_.end() ? nullptr : &it->second;
}

const SimProcessMemory::Process* SimProcessMemory::Find(std::uint32_t process) const {
  auto it = processes_.find(process);
  return it == processes_.end() ? nullptr : &it->second;
}

SimProcessMemory::Process* SimProcessMemory::Reach(ProcessHandle handle, std::uint32_t right) {
  auto it = handles_.find(handle);
  if (it == handles_.end() || (it->second.access & right) != right) return nullptr;
  Process* p = Find(it->second.process);
  if (!p || !p->alive) return nullptr;
  // A 32-bit program cannot address a 64-bit one.
  if (own_bits_ == 32 && p->bits == 64) return nullptr;
  return p;
}

const SimProcessMemory::Allocation* SimProcessMemory::Containing(const Process& p, RemoteAddress address,
                                                                 RemoteAddress* base) {
  auto it = p.space.upper_bound(address);
  if (it == p.space.begin()) return nullptr;
  --it;
  if (address >= it->first + it->second.size) return nullptr;
  *base = it->first;
  return &it->second;
}

bool SimProcessMemory::RangeFree(const Process& p, RemoteAddress begin, RemoteAddress end) {
  if (begin < kLowest || end > Limit(p) || begin >= end) return false;
  auto it = p.space.lower_bound(begin);
  if (it != p.space.end() && it->first < end) return false;
  if (it != p.space.begin()) {
    --it;
    if (it->first + it->second.size > begin) return false;
  }
  return true;
}

RemoteAddress SimProcessMemory::FindFree(const Process& p, std::uint64_t size) {
  const std::uint64_t whole = AlignUp(size, kPage);
  RemoteAddress candidate = kLowest;
  for (const auto& [base, a] : p.space) {
    if (candidate + whole <= base) return candidate;
    candidate = std::max(candidate, AlignUp(base + a.size, mem::kGranularity));
  }
  return candidate + whole <= Limit(p) ? candidate : 0;
}

RemoteAddress SimProcessMemory::Reserve(Process& p, RemoteAddress base, std::uint64_t size, bool commit,
                                        std::uint32_t protect, bool outside) {
  const std::uint64_t whole = AlignUp(size, kPage);
  if (base % kPage != 0 || !RangeFree(p, base, base + whole)) return 0;
  Allocation& a = p.space[base];
  a.size = whole;
  a.allocation_protect = protect;
  a.outside = outside;
  a.pages.assign(whole / kPage, Page{commit ? mem::kCommit : mem::kReserve, commit ? protect : 0u});
  return base;
}

bool SimProcessMemory::Commit(Process& p, RemoteAddress address, std::uint64_t size, std::uint32_t protect) {
  RemoteAddress base = 0;
  if (!Containing(p, address, &base)) return false;
  Allocation& a = p.space.at(base);
  const RemoteAddress first = AlignDown(address, kPage);
  const RemoteAddress end = AlignUp(address + size, kPage);
  if (end > base + a.size) return false;
  for (RemoteAddress at = first; at < end; at += kPage) a.pages[(at - base) / kPage] = Page{mem::kCommit, protect};
  return true;
}

bool SimProcessMemory::Access(const Process& p, RemoteAddress address, std::size_t size, bool write) {
  RemoteAddress base = 0;
  const Allocation* a = Containing(p, address, &base);
  if (!a) return false;
  if (size == 0) return true;
  if (address + size > base + a->size) return false;
  for (RemoteAddress at = AlignDown(address, kPage); at < address + size; at += kPage) {
    const Page& page = a->pages[(at - base) / kPage];
    if (page.state != mem::kCommit) return false;
    if (write ? !Writable(page.protect) : !Readable(page.protect)) return false;
  }
  return true;
}

void SimProcessMemory::CopyOut(const Allocation& a, std::uint64_t offset, void* buffer, std::size_t size) {
  auto* out = static_cast<std::uint8_t*>(buffer);
  while (size > 0) {
    const std::uint64_t page = offset / kPage;
    const std::size_t within = offset % kPage;
    const std::size_t n = std::min<std::size_t>(size, kPage - within);
    if (page < a.page_bytes.size() && !a.page_bytes[page].empty()) std::memcpy(out, a.page_bytes[page].data() + within, n);
    else std::memset(out, 0, n);
    out += n;
    offset += n;
    size -= n;
  }
}

void SimProcessMemory::CopyIn(Allocation& a, std::uint64_t offset, const void* data, std::size_t size) {
  const auto* in = static_cast<const std::uint8_t*>(data);
  if (a.page_bytes.size() < a.pages.size()) a.page_bytes.resize(a.pages.size());
  while (size > 0) {
    const std::uint64_t page = offset / kPage;
    const std::size_t within = offset % kPage;
    const std::size_t n = std::min<std::size_t>(size, kPage - within);
    std::vector<std::uint8_t>& bytes = a.page_bytes[page];
    if (bytes.empty()) bytes.assign(kPage, 0);
    std::memcpy(bytes.data() + within, in, n);
    in += n;
    offset += n;
    size -= n;
  }
}

// ---- ProcessMemory ----

ProcessHandle SimProcessMemory::OpenProcess(std::uint32_t access, std::uint32_t process) {
  ++operations_;
  last_access_ = access;
  const Process* p = Find(process);
  if (!p || !p->alive || (access & p->refused) != 0) return 0;
  const ProcessHandle h = next_handle_ += 4;
  handles_[h] = Handle{process, access};
  return h;
}

bool SimProcessMemory::CloseHandle(ProcessHandle handle) {
  ++operations_;
  return handles_.erase(handle) != 0;
}

bool SimProcessMemory::VirtualQueryEx(ProcessHandle handle, RemoteAddress address, MemoryRegion& region) {
  ++operations_;
  Process* p = Reach(handle, mem::kQueryInformation);
  if (!p || address >= Limit(*p)) return false;
  region = MemoryRegion{};
  region.base = AlignDown(address, kPage);
  RemoteAddress base = 0;
  if (const Allocation* a = Containing(*p, address, &base)) {
    std::size_t index = (region.base - base) / kPage;
    const Page first = a->pages[index];
    std::size_t run = 0;
    while (index + run < a->pages.size() && a->pages[index + run].state == first.state &&
           a->pages[index + run].protect == first.protect)
      ++run;
    region.allocation_base = base;
    region.allocation_protect = a->allocation_protect;
    region.size = run * kPage;
    region.state = first.state;
    region.protect = first.protect;
    region.type = a->image ? kTypeImage : kTypePrivate;
    return true;
  }
  auto next = p->space.upper_bound(address);
  const RemoteAddress end = next == p->space.end() ? Limit(*p) : next->first;
  region.size = end - region.base;
  region.state = mem::kFree;
  region.protect = mem::kNoAccess;
  return true;
}

RemoteAddress SimProcessMemory::VirtualAllocEx(ProcessHandle handle, RemoteAddress address, std::size_t size,
                                               std::uint32_t type, std::uint32_t protect) {
  ++operations_;
  Process* p = Reach(handle, mem::kVmOperation);
  if (!p || size == 0) return 0;
  RemoteAddress result = 0;
  if ((type & mem::kReserve) || address == 0) {
    // Committing without an address reserves too, as the system does.
    const RemoteAddress base = address ? AlignDown(address, mem::kGranularity) : FindFree(*p, size);
    const std::uint64_t whole = address ? AlignUp(address + size, kPage) - base : size;
    if (base) result = Reserve(*p, base, whole, (type & mem::kCommit) != 0, protect, true);
  } else if (type == mem::kCommit) {
    if (Commit(*p, address, size, protect)) result = AlignDown(address, kPage);
  }
  if (result) protections_.push_back(protect);
  return result;
}

bool SimProcessMemory::VirtualFreeEx(ProcessHandle handle, RemoteAddress address, std::size_t size,
                                     std::uint32_t type) {
  ++operations_;
  Process* p = Reach(handle, mem::kVmOperation);
  if (!p || type != mem::kRelease || size != 0) return false;
  return p->space.erase(address) != 0;
}

bool SimProcessMemory::Transfer(SimTransfer::Kind kind, ProcessHandle handle, RemoteAddress address,
                                std::size_t size) {
  ++operations_;
  ++transfers_;
  const bool write = kind == SimTransfer::Kind::kWrite;
  Process* p = Reach(handle, write ? mem::kVmWrite : mem::kVmRead);
  if (!p) return false;
  if (FailTransfer && FailTransfer(SimTransfer{kind, handles_.at(handle).process, address, size, transfers_}))
    return false;
  return Access(*p, address, size, write);
}

bool SimProcessMemory::ReadProcessMemory(ProcessHandle handle, RemoteAddress address, void* buffer,
                                         std::size_t size) {
  if (!Transfer(SimTransfer::Kind::kRead, handle, address, size)) return false;
  if (size == 0) return true;
  Process& p = *Find(handles_.at(handle).process);
  RemoteAddress base = 0;
  const Allocation* a = Containing(p, address, &base);
  CopyOut(*a, address - base, buffer, size);
  return true;
}

bool SimProcessMemory::WriteProcessMemory(ProcessHandle handle, RemoteAddress address, const void* data,
                                          std::size_t size) {
  if (!Transfer(SimTransfer::Kind::kWrite, handle, address, size)) return false;
  if (size == 0) return true;
  Process& p = *Find(handles_.at(handle).process);
  RemoteAddress base = 0;
  Containing(p, address, &base);
  CopyIn(p.space.at(base), address - base, data, size);
  return true;
}

std::optional<int> SimProcessMemory::TargetPointerBits(ProcessHandle handle) {
  ++operations_;
  auto it = handles_.find(handle);
  if (it == handles_.end() || (it->second.access & (mem::kQueryInformation | kQueryLimited)) == 0) return std::nullopt;
  const Process* p = Find(it->second.process);
  if (!p || !p->alive) return std::nullopt;
  return p->bits;
}

}  // namespace tavlen::sim
