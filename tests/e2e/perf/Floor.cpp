// floor.exe: the window-system work the console's timer ticks cannot do without,
// and nothing else, at the console's own intervals. It is the yardstick of the
// Wine run: the console's CPU time is reported as a ratio to this program's,
// measured side by side beside the same room.
//
//   10 ms   the room found by its title, its children's classes, the input box
//           read (Timer3); the foreground window's title (Timer6)
//   100 ms  one walk of the top-level windows reading every title, then the
//           room's children up to its talk switch, whose caption is read (Timer9)
//   750 ms  the user tree: the visible item handles, every request record in one
//           transfer, one TVM_GETITEMA per item, everything back in one transfer
//           (Timer4)
//   2 s     the transcript's length and text (Timer2)
//
// Like the console it shows a window (the size of the console's main window) and
// its timers are that window's: under Wine a thread with windows on screen looks
// for X events whenever it waits for a message, which a windowless program never
// pays. `--no-window` gives the windowless variant.
//
// It reads a room of its own width. On WM_QUIT (posted to its thread) it prints
// what it read and "FLOOR OK" when every kind of tick reached the room.
//   floor.exe --title "le_salon_bleu : Video Chat Room" [--no-window]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr UINT kSendTimeoutMs = 2000;
constexpr char kTopicMarker[] = ", Topic:";
constexpr char kRoomSuffix[] = " : Video Chat Room";

struct Floor {
  std::string title;
  HWND tree = nullptr;
  char text[512];
  char class_name[257];
  std::vector<char> input = std::vector<char>(5001);
  std::vector<char> transcript;
  std::vector<char> records;
  std::vector<HTREEITEM> items;
  // What the ticks reached, for the closing line.
  unsigned long input_reads = 0, foreground_reads = 0, walks = 0, switches = 0, tree_reads = 0, transcript_reads = 0;
  std::size_t windows = 0, tree_items = 0, transcript_chars = 0;
};
Floor floor_state;

bool Send(HWND window, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR* result = nullptr) {
  DWORD_PTR r = 0;
  const bool ok = SendMessageTimeoutA(window, msg, wp, lp, SMTO_ABORTIFHUNG, kSendTimeoutMs, &r) != 0;
  if (result) *result = r;
  return ok;
}

bool ClassIs(HWND window, const char* name) {
  const int n = GetClassNameA(window, floor_state.class_name, sizeof floor_state.class_name);
  return n > 0 && lstrcmpiA(floor_state.class_name, name) == 0;
}

// The room's direct children: the last one of class `wanted`, noting the user tree.
HWND RoomChild(HWND room, const char* wanted) {
  HWND found = nullptr;
  for (HWND c = GetWindow(room, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    const int n = GetClassNameA(c, floor_state.class_name, sizeof floor_state.class_name);
    if (n <= 0) continue;
    if (lstrcmpiA(floor_state.class_name, "SysTreeView32") == 0) floor_state.tree = c;
    if (std::strcmp(floor_state.class_name, wanted) == 0) found = c;
  }
  return found;
}

void CALLBACK InputTick(HWND, UINT, UINT_PTR, DWORD) {
  const HWND room = FindWindowA(nullptr, floor_state.title.c_str());
  if (!room) return;
  if (const HWND edit = RoomChild(room, "Edit"))
    if (Send(edit, WM_GETTEXT, floor_state.input.size(), reinterpret_cast<LPARAM>(floor_state.input.data())))
      ++floor_state.input_reads;
}

void CALLBACK ForegroundTick(HWND, UINT, UINT_PTR, DWORD) {
  if (const HWND fg = GetForegroundWindow()) {
    GetWindowTextA(fg, floor_state.text, 500);
    ++floor_state.foreground_reads;
  }
}

void CALLBACK DiscoveryTick(HWND, UINT, UINT_PTR, DWORD) {
  HWND room = nullptr;
  std::size_t windows = 0;
  for (HWND h = GetWindow(FindWindowA(nullptr, nullptr), GW_HWNDFIRST); h; h = GetWindow(h, GW_HWNDNEXT)) {
    ++windows;
    if (GetWindowTextA(h, floor_state.text, 255) > 0 && !room &&
        (std::strstr(floor_state.text, kTopicMarker) || std::strstr(floor_state.text, kRoomSuffix)))
      room = h;
  }
  floor_state.windows = windows;
  ++floor_state.walks;
  if (!room) return;
  for (HWND c = GetWindow(room, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!ClassIs(c, "Button")) continue;
    if (Send(c, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(floor_state.text)) &&
        lstrcmpiA(floor_state.text, "Hands Free") == 0) {
      ++floor_state.switches;
      return;
    }
  }
}

void CALLBACK TreeTick(HWND, UINT, UINT_PTR, DWORD) {
  Floor& f = floor_state;
  if (!f.tree) return;
  DWORD pid = 0;
  GetWindowThreadProcessId(f.tree, &pid);
  const HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE, pid);
  if (!process) return;
  DWORD_PTR count = 0;
  f.items.clear();
  if (Send(f.tree, TVM_GETCOUNT, 0, 0, &count) && count > 0) {
    DWORD_PTR item = 0;
    for (Send(f.tree, TVM_GETNEXTITEM, TVGN_ROOT, 0, &item); item && f.items.size() < count;) {
      f.items.push_back(reinterpret_cast<HTREEITEM>(item));
      if (!Send(f.tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, static_cast<LPARAM>(item), &item)) break;
    }
  }
  const std::size_t stride = sizeof(TVITEMA) + 260;
  const std::size_t size = f.items.size() * stride;
  char* const remote =
      size ? static_cast<char*>(VirtualAllocEx(process, nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE))
           : nullptr;
  if (remote) {
    f.records.assign(size, 0);
    for (std::size_t i = 0; i < f.items.size(); ++i) {
      auto* record = reinterpret_cast<TVITEMA*>(f.records.data() + i * stride);
      record->mask = TVIF_TEXT | TVIF_IMAGE | TVIF_PARAM | TVIF_STATE | TVIF_HANDLE | TVIF_SELECTEDIMAGE |
                     TVIF_CHILDREN;
      record->hItem = f.items[i];
      record->pszText = remote + i * stride + sizeof(TVITEMA);
      record->cchTextMax = 260;
    }
    SIZE_T moved = 0;
    if (WriteProcessMemory(process, remote, f.records.data(), size, &moved)) {
      std::size_t answered = 0;
      for (std::size_t i = 0; i < f.items.size(); ++i) {
        DWORD_PTR ok = 0;
        if (Send(f.tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote + i * stride), &ok) && ok) ++answered;
      }
      if (ReadProcessMemory(process, remote, f.records.data(), size, &moved)) {
        f.tree_items = answered;
        ++f.tree_reads;
      }
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
}

void CALLBACK TranscriptTick(HWND, UINT, UINT_PTR, DWORD) {
  Floor& f = floor_state;
  const HWND room = FindWindowA(nullptr, f.title.c_str());
  if (!room) return;
  const HWND rich = RoomChild(room, "RichEdit20A");
  if (!rich) return;
  DWORD_PTR length = 0;
  if (!Send(rich, WM_GETTEXTLENGTH, 0, 0, &length)) return;
  f.transcript.resize(length + 1 > 30000 ? length + 1 : 30000);
  DWORD_PTR copied = 0;
  if (Send(rich, WM_GETTEXT, f.transcript.size(), reinterpret_cast<LPARAM>(f.transcript.data()), &copied)) {
    f.transcript_chars = copied;
    ++f.transcript_reads;
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool window = true;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--title") == 0 && i + 1 < argc) floor_state.title = argv[++i];
    else if (std::strcmp(argv[i], "--no-window") == 0) window = false;
  }
  if (floor_state.title.empty()) {
    std::fprintf(stderr, "usage: floor.exe --title ROOM_WINDOW_TITLE [--no-window]\n");
    return 2;
  }
  HWND owner = nullptr;
  if (window) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "TavlenFloor";
    RegisterClassExA(&wc);
    owner = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "floor", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 8, 220,
                            327, 180, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(owner, SW_SHOWNA);
  }
  // The console's timers, with their intervals (a window's timers carry their
  // procedure in the message, as thread timers do).
  SetTimer(owner, 1, 10, InputTick);
  SetTimer(owner, 2, 10, ForegroundTick);
  SetTimer(owner, 3, 100, DiscoveryTick);
  SetTimer(owner, 4, 750, TreeTick);
  SetTimer(owner, 5, 2000, TranscriptTick);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);

  const Floor& f = floor_state;
  std::printf("floor: %lu input reads, %lu foreground reads, %lu walks of %zu windows, %lu talk switches, "
              "%lu tree reads of %zu items, %lu transcript reads of %zu characters\n",
              f.input_reads, f.foreground_reads, f.walks, f.windows, f.switches, f.tree_reads, f.tree_items,
              f.transcript_reads, f.transcript_chars);
  // The foreground may be no window at all on a desktop without a window manager.
  const bool ok = f.input_reads && f.switches && f.tree_reads && f.transcript_reads;
  std::printf(ok ? "FLOOR OK\n" : "FLOOR INCOMPLETE\n");
  std::fflush(stdout);
  return ok ? 0 : 1;
}
