// A console and stand-in rooms started for one story, driven from outside
// through the windows a moderator sees. Whatever a story leaves running is
// ended when its session goes.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/kit/Driver.h"

namespace e2e {

// Deadlines of the waits (Wine starts a program in about a second cold).
constexpr int kStartDeadlineMs = 20000;
constexpr int kTickDeadlineMs = 10000;   // a change the console's 10-100 ms timers make
constexpr int kMonitorDeadlineMs = 15000; // a transcript read of the 2-second monitor
constexpr int kExitDeadlineMs = 10000;

// What the run is given: the programs and a folder for fresh program folders.
struct Setup {
  std::string console;  // tavlen.exe
  std::string standin;  // standin.exe
  std::string work;     // each story's ExeDir goes below
  std::string label;    // "x86_64 console, i686 room"
  bool console32 = false;
  bool standin32 = false;
  // The harness started a PulseAudio server the programs can reach (--pulse).
  bool pulse = false;
  // The latency story: runs of each action, what is added to the room's
  // command line, which actions (comma-separated; empty: all).
  int repeat = 20;
  std::vector<std::string> room_args;
  std::string actions;
  // A 32-bit program cannot read a 64-bit one's memory.
  bool TreeReadable() const { return !(console32 && !standin32); }
};

struct Room {
  Launched process;
  HWND window = nullptr;
  HWND transcript = nullptr;  // RichEdit20A, child 1
  HWND input = nullptr;       // Edit, child 2
  HWND talk = nullptr;        // "Hands Free", child 3
  HWND indicator = nullptr;   // talker indicator, child 26
  std::string Transcript() const { return GetText(transcript); }
  std::string Talker() const { return GetText(indicator, 5001); }
};

struct Console {
  Launched process;
  std::string exe_dir;  // UTF-8
  std::chrono::steady_clock::time_point started;
  HWND main = nullptr;  // TForm1: caption "Tavlen - <room>"
  HWND app = nullptr;   // TApplication: the taskbar button's title
  std::string Caption() const;
  std::string AppTitle() const;
  bool Running() const;
  // A main menu item chosen by its command id.
  bool Menu(int command_id) const;
  // A registered hotkey as Windows reports it (modifiers MOD_*, virtual key).
  bool Hotkey(UINT modifiers, UINT vk) const;
  // Whether the console has registered that hotkey. Its hotkey component takes
  // each hotkey's id from a global atom "HotKeyManagerHotKey<value>" added just
  // before registering: a press posted once the atom exists is handled after the
  // registration. A press before it is lost, as a real one would be.
  static bool HotkeyRegistered(UINT modifiers, UINT vk);
  // Removes atoms left by consoles that ended without giving their hotkeys back.
  static void ForgetHotkey(UINT modifiers, UINT vk);
  // A visible child of the main window by class and caption.
  HWND Child(const std::string& class_name, const std::string& caption) const;
};

class Session {
 public:
  explicit Session(const Setup& setup) : setup_(setup) {}
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // standin.exe with these options; waits for its window titled title, which
  // has `children` direct children (more for a room given the crowd lie). Null
  // window on failure (reported).
  Room& StartRoom(const std::vector<std::string>& args, const std::string& title, std::size_t children = 26);
  void CloseRoom(Room& room);
  // "Quitter" chosen; fails when the console does not end within the deadline.
  void Quit(Console& console);
  // tavlen.exe copied into a fresh folder work\<folder> holding files (name,
  // bytes) beside it; waits for its main window.
  Console& StartConsole(const std::string& folder, const std::vector<std::pair<std::string, std::string>>& files = {});
  // tavlen.exe started again in a folder an earlier StartConsole made, with the
  // files the earlier run left there.
  Console& RestartConsole(const std::string& folder);
  // StartConsole in two steps, for a start-up that asks something first (a
  // message box before the main window): the program started, then its main
  // window awaited (false, reported, when it does not come).
  Console& LaunchConsole(const std::string& folder, const std::vector<std::pair<std::string, std::string>>& files = {},
                         bool keep_folder = false);
  bool AwaitMainWindow(Console& console);
  // Fails with the console's windows listed when the wait runs out.
  // Leaves the programs running when the session goes (the demo).
  void Detach();
  bool WaitConsole(const Console& console, const std::function<bool()>& ready, int deadline_ms,
                   const std::string& what, const char* file, int line);

 private:
  const Setup& setup_;
  std::vector<std::unique_ptr<Room>> rooms_;
  std::vector<std::unique_ptr<Console>> consoles_;
};

// Typed into an edit control one WM_CHAR at a time.
bool TypeInto(HWND edit, const std::string& text);

}  // namespace e2e

#define WAIT_CONSOLE(session, console, ready, deadline_ms, what) \
  (session).WaitConsole((console), (ready), (deadline_ms), (what), __FILE__, __LINE__)
