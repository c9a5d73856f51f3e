// Win32Windowing against windows of this process: a stand-in host window with an
// Edit that submits on Enter, a Button that counts clicks and a RichEdit20A.
#include "platform/win32/WinApi.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "base/Text.h"
#include "platform/win32/Win32Collation.h"
#include "platform/win32/Win32Windowing.h"
#include "tests/e2e/smoke/Check.h"

namespace smoke {
namespace {

using tavlen::GetWindowCmd;
using tavlen::Hwnd;

constexpr char kHostClass[] = "TavlenSmokeHost";
constexpr char kHostTitle[] = "Salon smoke : Video Chat Room";

std::vector<std::string> g_submitted;
int g_clicks = 0;
WNDPROC g_edit_proc = nullptr;

Hwnd H(HWND w) { return reinterpret_cast<Hwnd>(w); }

// The input box of a chat room: Enter submits the text and empties the box.
LRESULT CALLBACK InputBoxProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KEYDOWN && wp == VK_RETURN) {
    char text[5001] = {};
    GetWindowTextA(w, text, sizeof text);
    if (text[0]) g_submitted.emplace_back(text);
    SetWindowTextA(w, "");
    return 0;
  }
  return CallWindowProcA(g_edit_proc, w, msg, wp, lp);
}

LRESULT CALLBACK HostProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) ++g_clicks;
  return DefWindowProcA(w, msg, wp, lp);
}

struct Host {
  HWND window = nullptr;
  HWND edit = nullptr;
  HWND button = nullptr;
  HWND rich = nullptr;
};

Host CreateHost() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kHostClass;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassExA(&wc);
  LoadLibraryA("riched20.dll");

  Host host;
  host.window = CreateWindowExA(0, kHostClass, kHostTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 400,
                                300, nullptr, nullptr, wc.hInstance, nullptr);
  host.edit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 10, 240,
                              300, 22, host.window, nullptr, wc.hInstance, nullptr);
  host.button = CreateWindowExA(0, "Button", "Hands Free", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 320, 240,
                                70, 22, host.window, nullptr, wc.hInstance, nullptr);
  host.rich = CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL, 10,
                              10, 380, 220, host.window, nullptr, wc.hInstance, nullptr);
  g_edit_proc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(host.edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(InputBoxProc)));
  return host;
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void FindAndWalk(tavlen::Win32Windowing& win, const Host& host) {
  CHECK(win.FindWindow("", kHostTitle) == H(host.window), "FindWindow by title");
  CHECK(win.FindWindow(kHostClass, "") == H(host.window), "FindWindow by class");
  CHECK(win.FindWindow("", "SALON SMOKE : video chat room") == H(host.window),
        "FindWindow compares titles ignoring case");
  CHECK(win.FindWindow("", "Salon smoke") == tavlen::kNoWindow, "FindWindow wants the whole title");
  CHECK(win.FindWindow("", "") != tavlen::kNoWindow, "FindWindow with nothing given: some top-level window");

  // Children in creation order, then the end of the list.
  const Hwnd first = win.GetWindow(H(host.window), GetWindowCmd::kChild);
  const Hwnd second = win.GetWindow(first, GetWindowCmd::kHwndNext);
  const Hwnd third = win.GetWindow(second, GetWindowCmd::kHwndNext);
  CHECK(first == H(host.edit), "GW_CHILD is the first created child");
  CHECK(second == H(host.button), "GW_HWNDNEXT follows creation order");
  CHECK(third == H(host.rich), "third child");
  CHECK(win.GetWindow(third, GetWindowCmd::kHwndNext) == tavlen::kNoWindow, "end of the children");
  CHECK(win.GetWindow(tavlen::kNoWindow, GetWindowCmd::kChild) == tavlen::kNoWindow, "no window, no child");

  // The top-level walk from the first window reaches the host.
  bool seen = false;
  int steps = 0;
  for (Hwnd w = win.GetWindow(win.FindWindow("", ""), GetWindowCmd::kHwndFirst); w && steps < 10000;
       w = win.GetWindow(w, GetWindowCmd::kHwndNext), ++steps)
    seen = seen || w == H(host.window);
  CHECK(seen, "Z-order walk from GW_HWNDFIRST reaches the host window");

  CHECK_TEXT(win.GetClassName(first, 5000), "Edit", "class of the input box");
  CHECK_TEXT(win.GetClassName(second, 5000), "Button", "class of the button");
  CHECK_TEXT(win.GetClassName(third, 5000), "RichEdit20A", "class of the rich edit");
  CHECK_TEXT(win.GetClassName(third, 4), "Rich", "class name cut at max_chars");
  CHECK_TEXT(win.GetWindowText(H(host.window), 255), kHostTitle, "caption");
  CHECK_TEXT(win.GetWindowText(H(host.window), 5), "Salon", "caption cut at max_chars");
  CHECK_TEXT(win.GetWindowText(second, 255), "Hands Free", "button caption");
}

void Texts(tavlen::Win32Windowing& win, const Host& host) {
  const Hwnd edit = H(host.edit);
  // Accented letters and the 0xA4 separator go through byte for byte.
  const std::string french = tavlen::ansi("Pseudo concerné : élève¤ça");
  CHECK(win.SendSetText(edit, french), "WM_SETTEXT answered");
  CHECK_TEXT(win.SendGetText(edit, 5001), french, "WM_GETTEXT reads back the ANSI bytes");
  std::size_t length = 0;
  CHECK(win.SendGetTextLength(edit, length), "WM_GETTEXTLENGTH answered");
  CHECK_EQ(length, french.size(), "WM_GETTEXTLENGTH");
  CHECK_TEXT(win.SendGetText(edit, 7), french.substr(0, 6), "limit counts the terminating zero");
  CHECK_TEXT(win.SendGetText(edit, 0), "", "limit 0 reads nothing");

  // A long line is written whole; a read sees at most limit - 1 characters.
  const std::string long_line(6000, 'x');
  CHECK(win.SendSetText(edit, long_line), "long WM_SETTEXT");
  CHECK(win.SendGetTextLength(edit, length) && length == 6000, "long line written whole");
  CHECK_EQ(win.SendGetText(edit, 5001).size(), std::size_t{5000}, "input box read stops at 5000");

  // The transcript: lines come back CR LF separated; the 30000 limit cuts.
  CHECK(win.SendSetText(H(host.rich), "ligne un\r\nligne deux"), "rich edit WM_SETTEXT");
  CHECK_TEXT(win.SendGetText(H(host.rich), 30000), "ligne un\r\nligne deux", "rich edit text");
  std::string big;
  while (big.size() < 35000) big += "0123456789abcdefghijklmnopqrstuvwxyz0123456789abcdefghijklmnopqrstuvwxyz\r\n";
  CHECK(win.SendSetText(H(host.rich), big), "big transcript written");
  const std::string head = win.SendGetText(H(host.rich), 30000);
  CHECK_EQ(head.size(), std::size_t{29999}, "transcript read stops at 29999");
  CHECK(big.compare(0, head.size(), head) == 0, "transcript read is the beginning of the text");

  // Submission: text then Enter, handled before the send returns.
  win.SendSetText(edit, "/setopt");
  std::intptr_t result = -1;
  CHECK(win.Send(edit, tavlen::wm::kKeyDown, tavlen::wm::kVkReturn, 0, &result), "WM_KEYDOWN answered");
  CHECK(g_submitted.size() == 1 && g_submitted.back() == "/setopt", "Enter submitted the line at once");
  CHECK_TEXT(win.SendGetText(edit, 5001), "", "box emptied by the submission");
  win.SendSetText(edit, "abc");
  CHECK(win.Send(edit, tavlen::wm::kEmSetSel, 3, 3), "EM_SETSEL");
  DWORD start = 0, end = 0;
  SendMessageA(host.edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  CHECK(start == 3 && end == 3, "caret after the text");

  // A click through button messages is handled before the send returns.
  CHECK(win.Send(H(host.button), tavlen::wm::kLButtonDown, 0, 0), "WM_LBUTTONDOWN");
  CHECK(win.Send(H(host.button), tavlen::wm::kLButtonUp, 0, 0), "WM_LBUTTONUP");
  CHECK_EQ(g_clicks, 1, "one click from down + up");

  // Posted messages arrive through the queue.
  win.SendSetText(edit, "/post");
  CHECK(win.Post(edit, tavlen::wm::kKeyDown, tavlen::wm::kVkReturn, 0), "PostMessage");
  CHECK_EQ(g_submitted.size(), std::size_t{1}, "a post waits for the queue");
  Pump();
  CHECK(g_submitted.size() == 2 && g_submitted.back() == "/post", "posted Enter handled by the loop");
}

void Geometry(tavlen::Win32Windowing& win, const Host& host) {
  CHECK(win.IsWindow(H(host.window)), "IsWindow");
  CHECK(win.GetWindowRect(H(host.window)) == (tavlen::Rect{40, 30, 440, 330}), "window rect");
  const int width = win.VirtualScreenWidth();
  const int height = win.VirtualScreenHeight();
  Note("virtual screen " + std::to_string(width) + "x" + std::to_string(height));
  CHECK(width >= 640 && height >= 480, "virtual screen size");
  const tavlen::Rect work = win.WorkArea();
  CHECK(work.Width() > 0 && work.Height() > 0 && work.right <= width && work.bottom <= height,
        "work area inside the screen");
  const tavlen::Point cursor = win.CursorPos();
  CHECK(cursor.x >= 0 && cursor.x <= width && cursor.y >= 0 && cursor.y <= height, "cursor on screen");
  CHECK_EQ(win.WindowProcessId(H(host.edit)), static_cast<std::uint32_t>(GetCurrentProcessId()),
           "window process id");
  CHECK_EQ(win.WindowProcessId(tavlen::kNoWindow), 0u, "no window, no process");
  win.SetForegroundWindow(H(host.window));
  Pump();
  CHECK(win.GetForegroundWindow() == H(host.window), "foreground after SetForegroundWindow");
}

// A window whose thread stops answering: sends give up after the timeout instead
// of freezing the caller.
void HungWindow(tavlen::Win32Windowing& win) {
  HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HWND hung = nullptr;
  std::thread owner([&] {
    hung = CreateWindowExA(0, "Edit", "hung", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    SetEvent(created);
    WaitForSingleObject(release, 10000);  // does not pump messages meanwhile
    DestroyWindow(hung);
  });
  WaitForSingleObject(created, 5000);
  const auto start = std::chrono::steady_clock::now();
  const std::string text = win.SendGetText(H(hung), 5001);
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  Note("send to a window that does not answer gave up after " + std::to_string(took.count()) + " ms");
  CHECK_TEXT(text, "", "timed-out read is empty");
  CHECK(took.count() >= 1500 && took.count() < 4000, "the timeout is about 2 s");
  CHECK(!win.SendSetText(H(hung), "x"), "timed-out write fails");
  SetEvent(release);
  owner.join();
  CloseHandle(created);
  CloseHandle(release);
}

// The system's list order in the user's locale: accented nicks among their
// letter, case ignored, an accent still a difference.
void Collation() {
  const tavlen::Win32Collation order;
  CHECK(order.Compare("bob", tavlen::ansi("Élodie")) < 0 && order.Compare(tavlen::ansi("Élodie"), "zoe") < 0,
        "an accented nick sorts among its letter");
  CHECK(order.Compare("Bob", "bOB") == 0, "case is ignored");
  CHECK(order.Compare("emile", tavlen::ansi("émile")) != 0, "an accent is a difference");
  // The merge of a 500-user list makes a few thousand comparisons a tick.
  const auto start = std::chrono::steady_clock::now();
  int sum = 0;
  for (int i = 0; i < 10000; ++i) sum += order.Compare("utilisateur_0421", "utilisateur_0422");
  const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
  std::printf("-- time: one comparison: %.2f us (%d)\n", us / 10000, sum < 0);
}

}  // namespace

void WindowingSmoke() {
  tavlen::Win32Windowing win;
  const Host host = CreateHost();
  Pump();
  FindAndWalk(win, host);
  Texts(win, host);
  Geometry(win, host);
  HungWindow(win);
  Collation();

  DestroyWindow(host.window);
  Pump();
  const Hwnd gone = H(host.edit);
  CHECK(!win.IsWindow(gone), "destroyed window");
  CHECK_TEXT(win.SendGetText(gone, 5001), "", "read from a destroyed window");
  CHECK(!win.SendSetText(gone, "x"), "write to a destroyed window fails");
  CHECK(!win.Send(gone, tavlen::wm::kKeyDown, 13, 0), "send to a destroyed window fails");
  CHECK(!win.Post(gone, tavlen::wm::kKeyDown, 13, 0), "post to a destroyed window fails");
  CHECK_TEXT(win.GetClassName(gone, 5000), "", "class of a destroyed window");
  CHECK(win.FindWindow("", kHostTitle) == tavlen::kNoWindow, "destroyed window not found");
  Note("windowing done");
}

}  // namespace smoke
