// Small tools shared by the end-to-end drivers: counted failures, bounded
// polling, processes started and ended, another process's windows driven
// through real messages.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

// Failures are printed and counted; the run goes on.
int& Failures();
void Fail(const std::string& what, const char* file, int line);
void CheckText(const std::string& actual, const std::string& expected, const std::string& what, const char* file,
               int line);
void Note(const std::string& text);
// Printed with three decimals, for the report.
void Timing(const std::string& what, double ms);
// Bytes shown with \r, \n and non-ASCII escaped.
std::string Shown(const std::string& text);

double MsSince(std::chrono::steady_clock::time_point start);

// Polls until ready() holds or deadline_ms pass. Returns whether it held.
bool Poll(const std::function<bool()>& ready, int deadline_ms);
// Poll, with a failure naming what is awaited when the deadline passes.
bool WaitFor(const std::function<bool()>& ready, int deadline_ms, const std::string& what, const char* file,
             int line);

struct Launched {
  HANDLE process = nullptr;
  DWORD id = 0;
};
// Starts exe with the arguments (each quoted); process null on failure.
// exe and args in UTF-8, or in the ANSI code page when they are not UTF-8.
Launched Launch(const std::string& exe, const std::vector<std::string>& args);
// True when the process ended within deadline_ms; the handle is closed.
bool WaitExit(Launched& launched, int deadline_ms);
void Kill(Launched& launched);

// The top-level window of that process with that class and title (empty: any).
HWND FindTopLevel(DWORD process_id, const std::string& class_name, const std::string& title);
// Every top-level window of that process, hidden ones too, from the top of the Z order.
std::vector<HWND> TopLevelWindows(DWORD process_id);
// "class [title]" of each of them, visible ones marked, for failure messages.
std::string DescribeWindows(DWORD process_id);
// "; its thread: ..." the modes of the thread of those windows (a menu, a move
// or size, the capture) and its active and focused windows, for the same.
std::string ThreadModes(DWORD process_id);
// Whether the process runs 32-bit code (a WOW64 process on a 64-bit system).
bool Is32BitProcess(HANDLE process);
std::vector<HWND> DirectChildren(HWND window);
std::string ClassOf(HWND window);

// Cross-process sends with a deadline, as the console makes them.
constexpr UINT kSendTimeoutMs = 2000;
bool SendTimeout(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result = nullptr,
                 UINT timeout_ms = kSendTimeoutMs);
// WM_GETTEXT with limit characters including the terminating zero.
std::string GetText(HWND window, std::size_t limit = 30000);
bool SetText(HWND window, const std::string& text);
// WM_LBUTTONDOWN then WM_LBUTTONUP, both waited for.
bool Click(HWND button);
// The same, posted as a mouse's input is: the owner may take its time.
bool PostClick(HWND button);
// A control-channel command; true when the program applied it. Otherwise
// `why`, when given, says whether the program refused it, did not answer in
// time or has no window any more.
bool Control(HWND window, const std::string& command, std::string* why = nullptr);
// "running", or how the process ended (its exit code), for failure messages.
std::string ProcessState(HANDLE process);

}  // namespace e2e

#define FAIL_HERE(what) ::e2e::Fail((what), __FILE__, __LINE__)
#define CHECK(cond, what) \
  do {                    \
    if (!(cond)) FAIL_HERE(what); \
  } while (0)
#define CHECK_TEXT(actual, expected, what) ::e2e::CheckText((actual), (expected), (what), __FILE__, __LINE__)
#define WAIT_FOR(ready, deadline_ms, what) ::e2e::WaitFor((ready), (deadline_ms), (what), __FILE__, __LINE__)
