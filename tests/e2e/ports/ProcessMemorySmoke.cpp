// Win32ProcessMemory: another process's tree view read through its memory (the
// request record in the owner's layout, written, filled by TVM_GETITEMA, read
// back), reserve/commit/query/free of the remote block, the owner's width, a
// 32-bit console refused a 64-bit owner, and a dead owner refusing transfers.
// The owner is a child running this program's "tree" mode, of either width.
#include "platform/win32/WinApi.h"

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/TreeViewItem.h"
#include "platform/win32/Win32ProcessMemory.h"
#include "tests/e2e/ports/Support.h"

namespace ports {
namespace {

namespace mem = tavlen::mem;
namespace tv = tavlen::tv;

constexpr int kNicks = 500;
constexpr std::size_t kTextMax = 260;
constexpr char kTitlePrefix[] = "TavlenPortsTree ";

std::string Nick(int i) {
  char text[16];
  std::snprintf(text, sizeof(text), "nick%04d", i);
  return text;
}

// What a reader walking root and next-visible items sees: the collapsed group's
// members stay hidden.
std::vector<std::string> ExpectedVisible() {
  std::vector<std::string> items{"Users"};
  for (int i = 0; i < kNicks; ++i) items.push_back(Nick(i));
  items.push_back("Hidden");
  items.push_back(std::string(kTextMax - 1, 'x'));
  return items;
}

bool Send(HWND window, UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(window, msg, wparam, lparam, SMTO_ABORTIFHUNG, 2000, &answer)) return false;
  result = static_cast<LRESULT>(answer);
  return true;
}

// Walks the tree with the record in the owner's layout at `block`, its text
// buffer right after it.
std::vector<std::string> ReadTree(tavlen::Win32ProcessMemory& memory, tavlen::ProcessHandle process, HWND tree,
                                  tavlen::RemoteAddress block, const tv::ItemLayout& layout) {
  std::vector<std::string> items;
  LRESULT count = 0, item = 0;
  if (!Send(tree, TVM_GETCOUNT, 0, 0, count) || !Send(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0, item)) return items;
  const tavlen::RemoteAddress text_at = block + 64;
  std::vector<std::uint8_t> record(layout.size);
  for (LRESULT round = 0; round < count && item != 0; ++round) {
    std::fill(record.begin(), record.end(), 0);
    tv::Put32(record, layout.mask, tv::kText | tv::kHandle);
    tv::PutPointer(layout, record, layout.item, static_cast<std::uint64_t>(item));
    tv::PutPointer(layout, record, layout.text, text_at);
    tv::Put32(record, layout.text_max, kTextMax);
    LRESULT got = 0;
    char text[kTextMax] = {};
    if (!memory.WriteProcessMemory(process, block, record.data(), record.size()) ||
        !Send(tree, TVM_GETITEMA, 0, static_cast<LPARAM>(block), got) || !got ||
        !memory.ReadProcessMemory(process, block, record.data(), record.size()) ||
        !memory.ReadProcessMemory(process, tv::GetPointer(layout, record, layout.text), text, sizeof(text))) {
      items.push_back("<item " + std::to_string(round) + " unreadable>");
      return items;
    }
    text[kTextMax - 1] = '\0';
    items.emplace_back(text);
    LRESULT next = 0;
    if (!Send(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, item, next)) next = 0;
    // A 32-bit owner's item handles fit 32 bits.
    item = layout.pointer_bits == 32 ? static_cast<LRESULT>(static_cast<std::uint32_t>(next)) : next;
  }
  return items;
}

void ReserveCommitFree(tavlen::Win32ProcessMemory& memory, tavlen::ProcessHandle process) {
  const tavlen::RemoteAddress reserved = memory.VirtualAllocEx(process, 0, 0x10000, mem::kReserve, mem::kReadWrite);
  CHECK(reserved != 0, "reserve a range");
  tavlen::MemoryRegion region;
  CHECK(memory.VirtualQueryEx(process, reserved, region), "query the reserved range");
  CHECK_EQ(region.state, mem::kReserve, "reserved, not committed");
  char probe[4] = {};
  // Wine reads another process's memory whatever its state; Windows does not.
  if (!UnderWine()) CHECK(!memory.ReadProcessMemory(process, reserved, probe, sizeof(probe)), "no reading reserved memory");
  CHECK_EQ(memory.VirtualAllocEx(process, reserved, 0x1000, mem::kCommit, mem::kReadWrite), reserved,
           "commit its first page");
  CHECK(memory.VirtualQueryEx(process, reserved, region), "query the committed page");
  CHECK_EQ(region.state, mem::kCommit, "committed");
  CHECK_EQ(region.protect, mem::kReadWrite, "read-write");
  CHECK_EQ(region.allocation_base, reserved, "allocation base");
  CHECK_EQ(region.size, std::uint64_t{0x1000}, "one page committed");
  CHECK(memory.VirtualFreeEx(process, reserved, 0, mem::kRelease), "release");
  CHECK(memory.VirtualQueryEx(process, reserved, region), "query the released range");
  CHECK_EQ(region.state, mem::kFree, "free after release");
  CHECK(!memory.VirtualFreeEx(process, reserved, 0, mem::kRelease), "releasing twice fails");
}

void ReadOwner(const std::string& exe) {
  tavlen::Win32ProcessMemory memory;
  void* child = StartChild(exe, {"tree"});
  CHECK(child != nullptr, "tree owner started");
  if (!child) return;
  const DWORD pid = GetProcessId(static_cast<HANDLE>(child));
  HWND top = nullptr;
  int owner_bits = 0;
  PumpUntil(
      [&] {
        for (int bits : {32, 64}) {
          const std::string title = kTitlePrefix + std::to_string(pid) + " " + std::to_string(bits);
          if ((top = FindWindowA(nullptr, title.c_str()))) {
            owner_bits = bits;
            break;
          }
        }
        return top != nullptr;
      },
      15000);
  CHECK(top != nullptr, "tree owner window found");
  HWND tree = top ? FindWindowExA(top, nullptr, WC_TREEVIEWA, nullptr) : nullptr;
  CHECK(tree != nullptr, "tree control found");
  const std::string pair = std::to_string(memory.PointerBits()) + "->" + std::to_string(owner_bits);

  CHECK_EQ(memory.OpenProcess(mem::kVmRead, 0xFFFFFFF0u), tavlen::ProcessHandle{0}, "no such process");
  const tavlen::ProcessHandle process =
      memory.OpenProcess(mem::kVmOperation | mem::kVmRead | mem::kVmWrite | mem::kQueryInformation, pid);
  CHECK(process != 0, pair + ": opened with the reading rights only");
  const std::optional<int> bits = memory.TargetPointerBits(process);
  CHECK(bits.has_value() && *bits == owner_bits, pair + ": owner width told");

  if (tree && process && memory.PointerBits() < owner_bits) {
    CHECK_EQ(memory.VirtualAllocEx(process, 0, 4096, mem::kCommit | mem::kReserve, mem::kReadWrite),
             tavlen::RemoteAddress{0}, pair + ": no block in a wider process");
    char probe[4];
    CHECK(!memory.ReadProcessMemory(process, 0x10000, probe, sizeof(probe)), pair + ": no reading a wider process");
    Note(pair + ": refused, as it must be");
  } else if (tree && process) {
    ReserveCommitFree(memory, process);
    const tavlen::RemoteAddress block =
        memory.VirtualAllocEx(process, 0, 4096, mem::kCommit | mem::kReserve, mem::kReadWrite);
    CHECK(block != 0, pair + ": remote block");
    if (owner_bits == 32) CHECK(block <= 0xFFFFFFFFu, pair + ": a 32-bit owner's block lies below 4 GiB");
    const auto started = std::chrono::steady_clock::now();
    const std::vector<std::string> items = ReadTree(memory, process, tree, block, tv::LayoutFor(owner_bits));
    const auto us =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started).count();
    const std::vector<std::string> expected = ExpectedVisible();
    CHECK_EQ(items.size(), expected.size(), pair + ": visible items read");
    for (std::size_t i = 0; i < items.size() && i < expected.size(); ++i) {
      if (items[i] != expected[i]) {
        CHECK_TEXT(items[i], expected[i], pair + ": item " + std::to_string(i));
        break;
      }
    }
    Note(pair + ": " + std::to_string(items.size()) + " items in " + std::to_string(us / 1000) + " ms, " +
         std::to_string(items.empty() ? 0 : us / static_cast<long long>(items.size())) + " us per item");
    CHECK(memory.VirtualFreeEx(process, block, 0, mem::kRelease), pair + ": block freed");

    // The owner goes away while the handle is open: transfers fail from then on.
    const tavlen::RemoteAddress kept =
        memory.VirtualAllocEx(process, 0, 4096, mem::kCommit | mem::kReserve, mem::kReadWrite);
    PostMessageA(top, WM_CLOSE, 0, 0);
    CHECK_EQ(WaitChild(child, 10000), 0, pair + ": tree owner closed");
    child = nullptr;
    char probe[4];
    CHECK(!memory.ReadProcessMemory(process, kept, probe, sizeof(probe)), pair + ": no reading a dead process");
    CHECK_EQ(memory.VirtualAllocEx(process, 0, 4096, mem::kCommit | mem::kReserve, mem::kReadWrite),
             tavlen::RemoteAddress{0}, pair + ": no block in a dead process");
  }
  if (process) CHECK(memory.CloseHandle(process), pair + ": handle closed");
  if (child) {
    if (top) PostMessageA(top, WM_CLOSE, 0, 0);
    CHECK_EQ(WaitChild(child, 10000), 0, pair + ": tree owner closed");
  }
}

HTREEITEM Insert(HWND tree, HTREEITEM parent, const std::string& text) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = const_cast<char*>(text.c_str());
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

LRESULT CALLBACK TreeOwnerProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, msg, wparam, lparam);
}

}  // namespace

void ProcessMemorySmoke(const std::vector<std::string>& tree_exes) {
  for (const std::string& exe : tree_exes) ReadOwner(exe);
}

int TreeChild(const std::vector<std::string>&) {
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&init);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = TreeOwnerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TavlenPortsTreeOwner";
  RegisterClassExA(&wc);
  HWND top = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 400, nullptr, nullptr,
                             wc.hInstance, nullptr);
  HWND tree = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES, 0, 0, 280,
                              380, top, nullptr, wc.hInstance, nullptr);
  if (!top || !tree) return 20;
  HTREEITEM users = Insert(tree, TVI_ROOT, "Users");
  for (int i = 0; i < kNicks; ++i) Insert(tree, users, Nick(i));
  HTREEITEM hidden = Insert(tree, TVI_ROOT, "Hidden");
  Insert(tree, hidden, "unseen1");
  Insert(tree, hidden, "unseen2");
  Insert(tree, TVI_ROOT, std::string(kTextMax - 1, 'x'));
  SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(users));
  // The title tells the reader the tree is complete, and this process's width.
  const std::string title = kTitlePrefix + std::to_string(GetCurrentProcessId()) + " " +
                            std::to_string(sizeof(void*) * 8);
  SetWindowTextA(top, title.c_str());
  SetTimer(top, 1, 60000, nullptr);  // never outlive a failed run by long
  MSG msg{};
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

}  // namespace ports
