#include "tests/e2e/kit/Driver.h"

#include <cstdio>
#include <thread>

#include "standin/RoomControl.h"

namespace e2e {

int& Failures() {
  static int failures = 0;
  return failures;
}

void Fail(const std::string& what, const char* file, int line) {
  ++Failures();
  std::printf("FAIL %s:%d: %s\n", file, line, what.c_str());
  std::fflush(stdout);
}

std::string Shown(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c < 32 || c >= 127) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out.size() > 200 ? out.substr(0, 200) + "... (" + std::to_string(text.size()) + " bytes)" : out;
}

void CheckText(const std::string& actual, const std::string& expected, const std::string& what, const char* file,
               int line) {
  if (actual == expected) return;
  Fail(what + ": got [" + Shown(actual) + "], want [" + Shown(expected) + "]", file, line);
}

void Note(const std::string& text) {
  std::printf("-- %s\n", text.c_str());
  std::fflush(stdout);
}

void Timing(const std::string& what, double ms) {
  std::printf("-- time: %s: %.3f ms\n", what.c_str(), ms);
  std::fflush(stdout);
}

double MsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

bool Poll(const std::function<bool()>& ready, int deadline_ms) {
  const auto start = std::chrono::steady_clock::now();
  while (true) {
    if (ready()) return true;
    if (MsSince(start) > deadline_ms) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

bool WaitFor(const std::function<bool()>& ready, int deadline_ms, const std::string& what, const char* file,
             int line) {
  if (Poll(ready, deadline_ms)) return true;
  Fail("gave up after " + std::to_string(deadline_ms) + " ms waiting for " + what, file, line);
  return false;
}

namespace {
// UTF-8 when the bytes are UTF-8, the ANSI code page otherwise ("Caf\xE9").
std::wstring Wide(const std::string& text) {
  UINT page = CP_UTF8;
  DWORD flags = MB_ERR_INVALID_CHARS;
  int size = MultiByteToWideChar(page, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (size == 0 && !text.empty()) {
    page = CP_ACP;
    flags = 0;
    size = MultiByteToWideChar(page, flags, text.data(), static_cast<int>(text.size()), nullptr, 0);
  }
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(page, flags, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}
}  // namespace

Launched Launch(const std::string& exe, const std::vector<std::string>& args) {
  std::string command = "\"" + exe + "\"";
  for (const auto& arg : args) command += " \"" + arg + "\"";
  // Wide, so that a program in a folder named in any script starts; each
  // argument keeps its own encoding.
  std::wstring wide_command = L"\"" + Wide(exe) + L"\"";
  for (const auto& arg : args) wide_command += L" \"" + Wide(arg) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  Launched launched;
  const auto create = [&] {
    return CreateProcessW(Wide(exe).c_str(), wide_command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi) != FALSE;
  };
  bool created = create();
  // Wine, now and then, loses a new process before its first instruction and
  // says ERROR_INTERNAL_ERROR: none of the program ran, so nothing under test
  // failed. It is started once more, and the run's summary says so.
  if (!created && GetLastError() == ERROR_INTERNAL_ERROR) {
    std::printf("-- noted: the system lost a new process before it began (CreateProcess %d), started again\n",
                ERROR_INTERNAL_ERROR);
    created = create();
  }
  if (!created) {
    const DWORD error = GetLastError();
    std::printf("-- CreateProcess failed (%lu): %s\n", error, command.c_str());
    return launched;
  }
  CloseHandle(pi.hThread);
  launched.process = pi.hProcess;
  launched.id = pi.dwProcessId;
  return launched;
}

bool WaitExit(Launched& launched, int deadline_ms) {
  if (!launched.process) return true;
  const bool ended = WaitForSingleObject(launched.process, static_cast<DWORD>(deadline_ms)) == WAIT_OBJECT_0;
  if (ended) {
    CloseHandle(launched.process);
    launched.process = nullptr;
  }
  return ended;
}

void Kill(Launched& launched) {
  if (!launched.process) return;
  TerminateProcess(launched.process, 9);
  WaitForSingleObject(launched.process, 5000);
  CloseHandle(launched.process);
  launched.process = nullptr;
}

HWND FindTopLevel(DWORD process_id, const std::string& class_name, const std::string& title) {
  HWND w = nullptr;
  while ((w = FindWindowExA(nullptr, w, class_name.empty() ? nullptr : class_name.c_str(),
                            title.empty() ? nullptr : title.c_str()))) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == process_id) return w;
  }
  return nullptr;
}

std::vector<HWND> TopLevelWindows(DWORD process_id) {
  std::vector<HWND> found;
  for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == process_id) found.push_back(w);
  }
  return found;
}

std::string DescribeWindows(DWORD process_id) {
  std::string out;
  for (HWND w : TopLevelWindows(process_id)) {
    char title[256] = {};
    GetWindowTextA(w, title, sizeof title);
    const std::string cls = ClassOf(w);
    if (cls == "IME" || cls == "Default IME") continue;
    out += (out.empty() ? "" : ", ") + cls + " [" + Shown(title) + "]" + (IsWindowVisible(w) ? "" : " hidden");
    // A message box says why the program waits.
    if (cls == "#32770" && IsWindowVisible(w))
      for (HWND c : DirectChildren(w))
        if (ClassOf(c) == "Static" && GetWindowTextLengthA(c) > 0) {
          char text[512] = {};
          GetWindowTextA(c, text, sizeof text);
          out += " \"" + Shown(text) + "\"";
        }
  }
  if (out.empty()) return "no window";
  return out + ThreadModes(process_id);
}

std::string ThreadModes(DWORD process_id) {
  // A loop of the system's own (a menu, a move or size) keeps the thread from
  // the program's loop while it still answers: the flags say which.
  const std::vector<HWND> windows = TopLevelWindows(process_id);
  if (windows.empty()) return {};
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(windows.front(), nullptr), &info)) return {};
  std::string modes;
  const auto add = [&](const std::string& mode) { modes += (modes.empty() ? "" : ", ") + mode; };
  if (info.flags & GUI_INMENUMODE) add("in a menu");
  if (info.flags & GUI_POPUPMENUMODE) add("in a popup menu");
  if (info.flags & GUI_SYSTEMMENUMODE) add("in the system menu");
  if (info.flags & GUI_INMOVESIZE) add("moving or sizing " + ClassOf(info.hwndMoveSize));
  if (info.hwndCapture) add("mouse captured by " + ClassOf(info.hwndCapture));
  if (info.hwndMenuOwner) add("menu owned by " + ClassOf(info.hwndMenuOwner));
  if (info.hwndActive) add("active " + ClassOf(info.hwndActive));
  if (info.hwndFocus) add("focus in " + ClassOf(info.hwndFocus));
  return "; its thread: " + (modes.empty() ? std::string("nothing active") : modes);
}

bool Is32BitProcess(HANDLE process) {
  if (sizeof(void*) == 4) {
    // A 32-bit program meets a 64-bit one only on a 64-bit system, where it
    // runs under WOW64 itself.
    BOOL self_wow = FALSE;
    IsWow64Process(GetCurrentProcess(), &self_wow);
    if (!self_wow) return true;
  }
  BOOL wow = FALSE;
  IsWow64Process(process, &wow);
  return wow != FALSE;
}

std::vector<HWND> DirectChildren(HWND window) {
  std::vector<HWND> children;
  for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
  return children;
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

bool SendTimeout(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result, UINT timeout_ms) {
  DWORD_PTR answer = 0;
  const bool ok = SendMessageTimeoutA(window, msg, wp, lp, SMTO_ABORTIFHUNG, timeout_ms, &answer) != 0;
  if (result) *result = static_cast<LRESULT>(answer);
  return ok;
}

std::string GetText(HWND window, std::size_t limit) {
  std::string text(limit, '\0');
  LRESULT copied = 0;
  if (!SendTimeout(window, WM_GETTEXT, limit, reinterpret_cast<LPARAM>(text.data()), &copied)) return {};
  text.resize(text.find('\0') == std::string::npos ? limit : text.find('\0'));
  return text;
}

bool SetText(HWND window, const std::string& text) {
  return SendTimeout(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool Click(HWND button) {
  return SendTimeout(button, WM_LBUTTONDOWN, 0, 0) && SendTimeout(button, WM_LBUTTONUP, 0, 0);
}

bool PostClick(HWND button) {
  return PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, 0) && PostMessageA(button, WM_LBUTTONUP, 0, 0);
}

bool Control(HWND window, const std::string& command, std::string* why) {
  COPYDATASTRUCT data{};
  data.dwData = tavlen::standin::kControlDataId;
  data.cbData = static_cast<DWORD>(command.size());
  data.lpData = const_cast<char*>(command.data());
  LRESULT applied = 0;
  const auto sent = std::chrono::steady_clock::now();
  if (SendTimeout(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), &applied)) {
    if (applied != TRUE && why) *why = "it refused the command";
    return applied == TRUE;
  }
  const DWORD error = GetLastError();
  if (why) {
    // A program Windows deems hung fails the send at once, a busy one at the deadline.
    *why = !IsWindow(window) ? std::string("its window is gone")
                             : "no answer, error " + std::to_string(error) + " after " +
                                   std::to_string(static_cast<long>(MsSince(sent))) + " ms";
  }
  return false;
}

std::string ProcessState(HANDLE process) {
  DWORD code = 0;
  if (!process || !GetExitCodeProcess(process, &code)) return "unknown";
  if (code == STILL_ACTIVE) return "running";
  char text[48];
  std::snprintf(text, sizeof text, "ended, exit code 0x%08lX", static_cast<unsigned long>(code));
  return text;
}

}  // namespace e2e
