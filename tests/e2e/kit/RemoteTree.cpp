#include "tests/e2e/kit/RemoteTree.h"

#include <commctrl.h>

#include <cstdint>

#include "tests/e2e/kit/Driver.h"

namespace e2e {

namespace {

// TVITEMA as the owner process lays it out, with Ptr its pointer width.
template <typename Ptr>
struct TvItem {
  std::uint32_t mask;
  Ptr item;
  std::uint32_t state;
  std::uint32_t state_mask;
  Ptr text;
  std::int32_t text_max;
  std::int32_t image;
  std::int32_t selected_image;
  std::int32_t children;
  Ptr param;
};
static_assert(sizeof(TvItem<std::uint32_t>) == 40);
static_assert(sizeof(TvItem<std::uint64_t>) == 56);

constexpr std::size_t kTextCapacity = 260;

template <typename Ptr>
void Walk(HWND tree, HANDLE process, std::uintptr_t block, RemoteTree& out) {
  LRESULT root = 0;
  LRESULT count = 0;
  if (!SendTimeout(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0, &root) || !SendTimeout(tree, TVM_GETCOUNT, 0, 0, &count)) {
    out.error = "the tree does not answer";
    return;
  }
  out.count = static_cast<std::size_t>(count);
  TvItem<Ptr> record{};
  record.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_PARAM | TVIF_STATE | TVIF_HANDLE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
  record.text = static_cast<Ptr>(block + sizeof record);
  record.text_max = static_cast<std::int32_t>(kTextCapacity);
  std::uintptr_t item = static_cast<std::uintptr_t>(root);
  for (LRESULT round = 0; round < count && item != 0; ++round) {
    record.item = static_cast<Ptr>(item);
    TvItem<Ptr> back{};
    char text[kTextCapacity] = {};
    LRESULT got = 0;
    SIZE_T moved = 0;
    if (!WriteProcessMemory(process, reinterpret_cast<void*>(block), &record, sizeof record, &moved) ||
        !SendTimeout(tree, TVM_GETITEMA, 0, static_cast<LPARAM>(block), &got) || !got ||
        !ReadProcessMemory(process, reinterpret_cast<void*>(block), &back, sizeof back, &moved) ||
        !ReadProcessMemory(process, reinterpret_cast<void*>(static_cast<std::uintptr_t>(back.text)), text,
                           sizeof text, &moved)) {
      out.error = "item " + std::to_string(round) + " could not be read";
      return;
    }
    text[kTextCapacity - 1] = '\0';
    out.visible.emplace_back(text);
    LRESULT next = 0;
    if (!SendTimeout(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, static_cast<LPARAM>(item), &next)) next = 0;
    // A 32-bit owner's handles fit 32 bits whatever the reader widens them to.
    item = sizeof(Ptr) == 4 ? static_cast<std::uint32_t>(next) : static_cast<std::uintptr_t>(next);
  }
  out.ok = true;
}

}  // namespace

RemoteTree ReadRemoteTree(HWND tree) {
  RemoteTree out;
  DWORD id = 0;
  if (!tree || !GetWindowThreadProcessId(tree, &id)) {
    out.error = "no tree window";
    return out;
  }
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                               FALSE, id);
  if (!process) {
    out.error = "OpenProcess failed (" + std::to_string(GetLastError()) + ")";
    return out;
  }
  const bool owner32 = Is32BitProcess(process);
  out.owner_bits = owner32 ? 32 : 64;
  if (sizeof(void*) == 4 && !owner32) {
    out.unsupported = true;
    out.error = "a 32-bit reader cannot read a 64-bit owner's memory";
    CloseHandle(process);
    return out;
  }
  void* block = VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  const auto address = reinterpret_cast<std::uintptr_t>(block);
  if (!block) {
    out.error = "VirtualAllocEx failed (" + std::to_string(GetLastError()) + ")";
  } else if (owner32 && address > 0xFFFFFFFFu) {
    out.error = "remote block above 4 GiB in a 32-bit owner";
  } else if (owner32) {
    Walk<std::uint32_t>(tree, process, address, out);
  } else {
    Walk<std::uint64_t>(tree, process, address, out);
  }
  if (block) VirtualFreeEx(process, block, 0, MEM_RELEASE);
  CloseHandle(process);
  return out;
}

}  // namespace e2e
