#include "tests/e2e/console/Session.h"

#include <filesystem>
#include <fstream>

#include "ui/MenuIds.h"

namespace e2e {

namespace {

constexpr char kRoomClass[] = "CamfrogRoom";
constexpr char kMainClass[] = "TForm1";
constexpr char kApplicationClass[] = "TApplication";
constexpr char kHotkeyClass[] = "TavlenHotkeyWindow";

std::string TitleOf(HWND window) {
  char text[512] = {};
  // Another process's window: the text the system keeps, no message sent.
  GetWindowTextA(window, text, sizeof text);
  return text;
}

bool SameClass(HWND window, const std::string& name) { return lstrcmpiA(ClassOf(window).c_str(), name.c_str()) == 0; }

// The last lines of the console's debug window ("Déboguage"), which keeps its
// traces from the start: what the console did before a wait ran out.
std::string DebugTail(const Console& console, std::size_t lines) {
  if (!console.Menu(tavlen::menu_id::kDeboguage)) return "no debug window";
  HWND memo = nullptr;
  Poll([&] {
    HWND form = FindTopLevel(console.process.id, "TForm10", "");
    if (!form || !IsWindowVisible(form)) return false;
    for (HWND c : DirectChildren(form))
      if (SameClass(c, "Edit")) memo = c;
    // The lines kept from before the window existed arrive just after it.
    LRESULT length = 0;
    return memo && SendTimeout(memo, WM_GETTEXTLENGTH, 0, 0, &length) && length > 0;
  }, 3000);
  if (!memo) return "no debug window";
  // Runs of one line (the 100 ms discovery traces) count once.
  std::vector<std::pair<std::string, int>> runs;
  const std::string text = GetText(memo, 1 << 20);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    start = end + 1;
    if (line.empty()) continue;
    if (!runs.empty() && runs.back().first == line) ++runs.back().second;
    else runs.emplace_back(std::move(line), 1);
  }
  std::string out;
  for (std::size_t i = runs.size() > lines ? runs.size() - lines : 0; i < runs.size(); ++i)
    out += "\n    | " + Shown(runs[i].first) + (runs[i].second > 1 ? " (x" + std::to_string(runs[i].second) + ")" : "");
  return out;
}

std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

std::string Console::Caption() const { return main ? TitleOf(main) : std::string(); }

std::string Console::AppTitle() const { return app ? TitleOf(app) : std::string(); }

bool Console::Running() const { return process.process && WaitForSingleObject(process.process, 0) == WAIT_TIMEOUT; }

bool Console::Menu(int command_id) const {
  return PostMessageA(main, WM_COMMAND, MAKEWPARAM(command_id, 0), 0) != 0;
}

bool Console::Hotkey(UINT modifiers, UINT vk) const {
  // The hotkeys belong to message-only windows, found below HWND_MESSAGE.
  bool posted = false;
  HWND w = nullptr;
  while ((w = FindWindowExA(HWND_MESSAGE, w, kHotkeyClass, nullptr))) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == process.id) posted |= PostMessageA(w, WM_HOTKEY, 0, MAKELPARAM(modifiers, vk)) != 0;
  }
  return posted;
}

namespace {
std::string HotkeyAtom(UINT modifiers, UINT vk) {
  // The component's hotkey value: the key plus 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt, 0x10000 Win.
  unsigned value = vk;
  if (modifiers & MOD_SHIFT) value += 0x2000;
  if (modifiers & MOD_CONTROL) value += 0x4000;
  if (modifiers & MOD_ALT) value += 0x8000;
  if (modifiers & MOD_WIN) value += 0x10000;
  return "HotKeyManagerHotKey" + std::to_string(value);
}
}  // namespace

bool Console::HotkeyRegistered(UINT modifiers, UINT vk) {
  return GlobalFindAtomA(HotkeyAtom(modifiers, vk).c_str()) != 0;
}

void Console::ForgetHotkey(UINT modifiers, UINT vk) {
  const std::string name = HotkeyAtom(modifiers, vk);
  for (int i = 0; i < 100; ++i) {
    const ATOM atom = GlobalFindAtomA(name.c_str());
    if (!atom) return;
    GlobalDeleteAtom(atom);
  }
}

HWND Console::Child(const std::string& class_name, const std::string& caption) const {
  for (HWND c : DirectChildren(main))
    if (SameClass(c, class_name) && IsWindowVisible(c) && GetText(c, 256) == caption) return c;
  return nullptr;
}

bool TypeInto(HWND edit, const std::string& text) {
  for (unsigned char c : text)
    if (!SendTimeout(edit, WM_CHAR, c, 1)) return false;
  return true;
}

Session::~Session() {
  // Only what a failed story left behind is still running here.
  for (auto& console : consoles_) Kill(console->process);
  for (auto& room : rooms_) Kill(room->process);
}

void Session::Detach() {
  for (auto& console : consoles_)
    if (console->process.process) CloseHandle(console->process.process);
  for (auto& room : rooms_)
    if (room->process.process) CloseHandle(room->process.process);
  consoles_.clear();
  rooms_.clear();
}

Room& Session::StartRoom(const std::vector<std::string>& args, const std::string& title, std::size_t children_expected) {
  rooms_.push_back(std::make_unique<Room>());
  Room& room = *rooms_.back();
  const auto start = std::chrono::steady_clock::now();
  room.process = Launch(setup_.standin, args);
  if (!room.process.process) {
    FAIL_HERE("standin.exe did not start: " + setup_.standin);
    return room;
  }
  HWND window = nullptr;
  if (!WAIT_FOR([&] { return (window = FindTopLevel(room.process.id, kRoomClass, title)) != nullptr; },
                kStartDeadlineMs, "the room window \"" + title + "\""))
    return room;
  const std::vector<HWND> children = DirectChildren(window);
  if (children.size() != children_expected) {
    FAIL_HERE("the room window has " + std::to_string(children.size()) + " children, not " +
              std::to_string(children_expected));
    return room;
  }
  room.window = window;
  room.transcript = children[0];
  room.input = children[1];
  room.talk = children[2];
  room.indicator = children[25];
  Timing("room \"" + title + "\" up", MsSince(start));
  return room;
}

void Session::CloseRoom(Room& room) {
  if (room.window) PostMessageA(room.window, WM_CLOSE, 0, 0);
  if (!WaitExit(room.process, kExitDeadlineMs)) {
    FAIL_HERE("the stand-in room did not end after WM_CLOSE");
    Kill(room.process);
  }
  room.window = nullptr;
}

void Session::Quit(Console& console) {
  CHECK(console.Menu(tavlen::menu_id::kQuitter), "Quitter posted");
  if (!WaitExit(console.process, kExitDeadlineMs))
    FAIL_HERE("the console did not end after Quitter; its windows: " + DescribeWindows(console.process.id) +
              (SendTimeout(console.main, WM_NULL, 0, 0) ? "; its main window answers" : "; its main window hangs"));
}

Console& Session::StartConsole(const std::string& folder,
                               const std::vector<std::pair<std::string, std::string>>& files) {
  Console& console = LaunchConsole(folder, files);
  if (console.process.process) AwaitMainWindow(console);
  return console;
}

Console& Session::RestartConsole(const std::string& folder) {
  Console& console = LaunchConsole(folder, {}, true);
  if (console.process.process) AwaitMainWindow(console);
  return console;
}

Console& Session::LaunchConsole(const std::string& folder,
                                const std::vector<std::pair<std::string, std::string>>& files, bool keep_folder) {
  namespace fs = std::filesystem;
  consoles_.push_back(std::make_unique<Console>());
  Console& console = *consoles_.back();
  // The folder's name is UTF-8: a moderator's folder may be named in any script.
  const fs::path dir = fs::path(setup_.work) / fs::u8path(folder);
  std::error_code error;
  const fs::path exe = dir / "tavlen.exe";
  if (!keep_folder) fs::remove_all(dir, error);
  fs::create_directories(dir, error);
  if (!keep_folder && !fs::copy_file(setup_.console, exe, fs::copy_options::overwrite_existing, error)) {
    FAIL_HERE("cannot copy " + setup_.console + " to " + Utf8(exe) + ": " + error.message());
    return console;
  }
  for (const auto& [name, bytes] : files) {
    std::ofstream out(dir / name, std::ios::binary);
    out << bytes;
    if (!out) FAIL_HERE("cannot write " + Utf8(dir / name));
  }
  console.exe_dir = Utf8(dir);

  console.started = std::chrono::steady_clock::now();
  console.process = Launch(Utf8(exe), {});
  if (!console.process.process) FAIL_HERE("tavlen.exe did not start");
  return console;
}

bool Session::AwaitMainWindow(Console& console) {
  HWND main = nullptr;
  if (!WaitConsole(console, [&] {
        main = FindTopLevel(console.process.id, kMainClass, "");
        return main && IsWindowVisible(main);
      }, kStartDeadlineMs, "the console's main window", __FILE__, __LINE__))
    return false;
  console.main = main;
  console.app = FindTopLevel(console.process.id, kApplicationClass, "");
  CHECK(console.app != nullptr, "the console has an application window (" + DescribeWindows(console.process.id) + ")");
  Timing("console up", MsSince(console.started));
  return true;
}

bool Session::WaitConsole(const Console& console, const std::function<bool()>& ready, int deadline_ms,
                          const std::string& what, const char* file, int line) {
  if (Poll(ready, deadline_ms)) return true;
  const std::string state = console.Running() ? "console windows: " + DescribeWindows(console.process.id) +
                                                    "; its debug log ends:" + DebugTail(console, 15)
                                              : "the console's process " + ProcessState(console.process.process);
  Fail("gave up after " + std::to_string(deadline_ms) + " ms waiting for " + what + "; " + state, file, line);
  return false;
}

}  // namespace e2e
