#include "tests/e2e/console/StoriesReliability.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "standin/RoomLies.h"
#include "tests/e2e/console/ConsoleParts.h"
#include "tests/e2e/console/SystemTools.h"
#include "ui/MenuIds.h"

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;
constexpr char kInactive[] = "Tavlen - [INACTIF]";
constexpr char kRoomTitle[] = "salon : Video Chat Room";
constexpr char kOwnerHelp[] = "/SETOPT arguments:";
constexpr int kAnswerMs = 2000;  // the console's own window answers within this
constexpr UINT kShiftCtrlAlt = MOD_CONTROL | MOD_ALT | MOD_SHIFT;

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// How long the console's main window takes to answer a message; -1 when it does
// not within kAnswerMs.
double AnswerMs(const Console& c) {
  const auto start = Clock::now();
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(c.main, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerMs, &result)) return -1;
  return MsSince(start);
}

// A crowded owner's room, so that a tree read takes a while and the owners'
// commands are unlocked.
std::vector<std::string> RoomArgs(std::vector<std::string> extra = {}) {
  std::vector<std::string> args = {"--room", "salon", "--nick", "modo", "--owner", "--users-count", "1000",
                                   "--at", "340,8"};
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

// The console has taken the room: its caption, and its user count.
bool Adopted(Session& s, Console& c, const std::string& when) {
  if (!WAIT_CONSOLE(s, c, [&] { return c.Caption() == "Tavlen - salon"; }, kTickDeadlineMs,
                    "the caption \"Tavlen - salon\" " + when))
    return false;
  return WAIT_CONSOLE(s, c,
                      [&] { return c.AppTitle().rfind("Tavlen - [", 0) == 0 && c.AppTitle() != kInactive; },
                      kTickDeadlineMs, "the room's user count in the application title " + when);
}

// The client died: the console still answers at once and goes inactive.
void Survived(Session& s, Console& c, const std::string& during) {
  const double ms = AnswerMs(c);
  if (ms < 0) FAIL_HERE("the console did not answer within 2 s after the client died during " + during);
  else Timing("answer after the client died during " + during, ms);
  CHECK(c.Running(), "the console runs after the client died during " + during);
  WAIT_CONSOLE(s, c, [&] { return c.AppTitle() == kInactive; }, kTickDeadlineMs,
               "the inactive title after the client died during " + during);
}

void KillRoom(Room& room) {
  Kill(room.process);
  room.window = nullptr;
}

// The process's private bytes now; 0 when they cannot be read.
SIZE_T PrivateBytes(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX m{};
  m.cb = sizeof m;
  if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m), sizeof m)) return 0;
  // Wine fills the commit charge (PagefileUsage) and leaves PrivateUsage, the
  // same figure on Windows, at 0.
  return std::max(m.PrivateUsage, m.PagefileUsage);
}

// The "Raccourcis Clavier" window opened from the menu: its talk key box and its
// Valider button; form null (reported) when it does not show as expected.
struct HotkeyWindow {
  HWND form = nullptr;
  HWND talk_key = nullptr;
  HWND valider = nullptr;
};
HotkeyWindow OpenHotkeyWindow(Session& s, Console& c) {
  HotkeyWindow w;
  CHECK(c.Menu(tavlen::menu_id::kRaccourcisClavier), "Raccourcis Clavier chosen");
  HWND form = nullptr;
  if (!WAIT_CONSOLE(s, c, [&] { return (form = VisibleTopLevel(c.process.id, "TForm7")) != nullptr; },
                    kTickDeadlineMs, "the Raccourcis Clavier window"))
    return w;
  const std::vector<HWND> edits = VisibleChildren(form, "Edit");
  HWND valider = LowestChild(form, "Button", "Valider");
  if (edits.size() != 4 || !valider) {
    FAIL_HERE("the Raccourcis Clavier window shows " + std::to_string(edits.size()) + " boxes and " +
              (valider ? "its" : "no") + " Valider button");
    return w;
  }
  return {form, edits[0], valider};
}

}  // namespace

void ReadOnlySettingsStory(const Setup& setup) {
  Note("read-only settings story (" + setup.label + ")");
  Session s(setup);
  const std::string before = "Ctrl+Alt+Shift+F9\xA4TALK\r\n";
  Console& c = s.StartConsole("readonly", {{"hotkeys.ini", before}});
  if (!c.main) return;
  const std::string path = c.exe_dir + "\\hotkeys.ini";
  // Left writable whatever happens: the next run clears the folder.
  struct Writable {
    std::string path;
    ~Writable() { SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL); }
  } writable{path};
  CHECK(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY), "hotkeys.ini made read-only");
  if (!WAIT_CONSOLE(s, c, [] { return Console::HotkeyRegistered(kShiftCtrlAlt, VK_F9); }, kTickDeadlineMs,
                    "the stored hotkey registered at start-up"))
    return;

  const auto [form, talk_key, valider] = OpenHotkeyWindow(s, c);
  if (!form) return;
  CHECK(SendTimeout(talk_key, EM_SETSEL, 0, -1) && TypeInto(talk_key, "Ctrl+Alt+Shift+F10"), "the new talk key typed");

  // The save registers the table again, then fails to replace the read-only file.
  CHECK(PostClick(valider), "click on Valider");
  WAIT_CONSOLE(s, c, [] { return Console::HotkeyRegistered(kShiftCtrlAlt, VK_F10); }, kTickDeadlineMs,
               "the new hotkey registered by the save");
  Pause(500);
  CHECK(AnswerMs(c) >= 0, "the console answers after the refused save");
  CHECK(VisibleTopLevel(c.process.id, "TForm7") == form, "the window stays open after the refused save");
  CHECK_TEXT(FileBytes(path), before, "the read-only hotkeys.ini after the refused save");
  CHECK(!Exists(path + ".tmp"), "no temporary file left by the refused save");

  // Writable again: the same click saves and closes the window.
  CHECK(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL), "hotkeys.ini made writable");
  CHECK(PostClick(valider), "second click on Valider");
  WAIT_CONSOLE(s, c, [&] { return VisibleTopLevel(c.process.id, "TForm7") == nullptr; }, kTickDeadlineMs,
               "the window closed by the second save");
  CHECK_TEXT(FileBytes(path), "Ctrl+Alt+Shift+F10\xA4TALK\r\n", "hotkeys.ini after the second save");
  CHECK(!Exists(path + ".tmp"), "no temporary file left by the save");

  s.Quit(c);
  Console::ForgetHotkey(kShiftCtrlAlt, VK_F10);
}

// Moderators install the console in folders named with accents or in another
// script: it starts there, holds the hotkey stored beside it, saves a new one
// there and holds that one after a restart.
void InstallFolderStory(const Setup& setup) {
  const char* const folders[] = {"H\xC3\xA9l\xC3\xA8ne Fr\xC3\xA9" "d\xC3\xA9ric",        // Hélène Frédéric (UTF-8)
                                 "\xD0\x9C\xD0\xBE\xD0\xB4\xD0\xB5\xD1\x80\xD0\xB0\xD1\x82\xD0\xBE\xD1\x80"};  // Модератор
  for (const char* folder : folders) {
    Note("install folder story (" + setup.label + "), folder " + Shown(folder));
    Session s(setup);
    Console& c = s.StartConsole(folder, {{"hotkeys.ini", "Ctrl+Alt+Shift+F8\xA4TALK\r\n"}});
    if (!c.main) return;
    if (!WAIT_CONSOLE(s, c, [] { return Console::HotkeyRegistered(kShiftCtrlAlt, VK_F8); }, kTickDeadlineMs,
                      "the hotkey from the hotkeys.ini beside the console"))
      return;
    const auto [form, talk_key, valider] = OpenHotkeyWindow(s, c);
    if (!form) return;
    CHECK(SendTimeout(talk_key, EM_SETSEL, 0, -1) && TypeInto(talk_key, "Ctrl+Alt+Shift+F7"), "the new talk key typed");
    CHECK(PostClick(valider), "click on Valider");
    WAIT_CONSOLE(s, c, [&] { return VisibleTopLevel(c.process.id, "TForm7") == nullptr; }, kTickDeadlineMs,
                 "the window closed by the save");
    const std::filesystem::path file = std::filesystem::u8path(c.exe_dir) / "hotkeys.ini";
    CHECK_TEXT(FileBytes(file), "Ctrl+Alt+Shift+F7\xA4TALK\r\n", "hotkeys.ini saved in the folder");
    s.Quit(c);
    Console::ForgetHotkey(kShiftCtrlAlt, VK_F8);

    Console& again = s.RestartConsole(folder);
    if (!again.main) return;
    WAIT_CONSOLE(s, again, [] { return Console::HotkeyRegistered(kShiftCtrlAlt, VK_F7); }, kTickDeadlineMs,
                 "the saved hotkey held after the restart");
    s.Quit(again);
    Console::ForgetHotkey(kShiftCtrlAlt, VK_F7);
  }
}

void ClientFaultsStory(const Setup& setup) {
  Note("client faults story (" + setup.label + ")");
  if (FindWindowA(nullptr, kRoomTitle)) {
    FAIL_HERE("a room titled \"salon\" is already open");
    return;
  }
  Session s(setup);
  Console& c = s.StartConsole("client-faults", {{"hotkeys.ini", "Ctrl+Alt+Shift+F5\xA4TALK\r\n"}});
  if (!c.main) return;
  WAIT_CONSOLE(s, c, [&] { return c.AppTitle() == kInactive; }, kTickDeadlineMs, "the inactive title without a room");

  // Killed during user tree reads (every 750 ms): at three places in the period.
  for (int round = 0; round < 3; ++round) {
    Room& room = s.StartRoom(RoomArgs(), kRoomTitle);
    if (!room.window || !Adopted(s, c, "before the kill during a tree read")) return;
    Pause(120 + 230 * round);
    KillRoom(room);
    Survived(s, c, "a user tree read");
  }

  // Killed during a submission: the console is still pressing Enter after the
  // client took the line.
  {
    Room& room = s.StartRoom(RoomArgs(), kRoomTitle);
    if (!room.window || !Adopted(s, c, "before the kill during a submission")) return;
    // The owners' commands unlock at the transcript tick that reads the answer to "/setopt".
    if (!WAIT_CONSOLE(s, c, [&] { return room.Transcript().find(kOwnerHelp) != std::string::npos; },
                      kMonitorDeadlineMs, "the owner's answer to /setopt")) {
      const std::string transcript = room.Transcript();
      Note("the room's input box holds [" + Shown(GetText(room.input, 256)) + "], its transcript ends [" +
           Shown(transcript.substr(transcript.size() > 400 ? transcript.size() - 400 : 0)) + "]");
      return;
    }
    // The command is unreachable until the monitor tick that reads the answer has
    // revealed "Commandes"; in a crowded room on a busy machine that tick can come
    // late, so the command is chosen again until it reaches the room.
    const auto in_room = [&] { return room.Transcript().find("talk_time 30") != std::string::npos; };
    bool sent = false;
    for (int attempt = 0; attempt < 10 && !sent; ++attempt) {
      CHECK(c.Menu(tavlen::menu_id::kTalk30), "Définir à 30 sec. chosen");
      sent = Poll(in_room, 2500);
    }
    if (!WAIT_CONSOLE(s, c, in_room, kTickDeadlineMs, "the talk time command in the room")) return;
    KillRoom(room);
    Survived(s, c, "a submission");
  }

  // Killed during a talk loop: the switch does nothing, so the console keeps clicking.
  {
    Room& room = s.StartRoom(RoomArgs({"--refuse-talk"}), kRoomTitle);
    if (!room.window || !Adopted(s, c, "before the kill during a talk loop")) return;
    if (!WAIT_CONSOLE(s, c, [] { return Console::HotkeyRegistered(kShiftCtrlAlt, VK_F5); }, kTickDeadlineMs,
                      "the talk hotkey registered"))
      return;
    CHECK(c.Hotkey(kShiftCtrlAlt, VK_F5), "the talk hotkey pressed");
    Pause(400);
    KillRoom(room);
    Survived(s, c, "a talk loop");
  }

  // A client that stops handling messages for 6 s: the console answers all along
  // and works with the room again afterwards.
  {
    Room& room = s.StartRoom(RoomArgs({"--hang-switch"}), kRoomTitle);
    if (!room.window || !Adopted(s, c, "before the client hangs")) return;
    CHECK(Control(room.window, "hang 6000"), "the room told to stop handling messages");
    const auto start = Clock::now();
    double slowest = 0;
    int late = 0;
    while (MsSince(start) < 6500) {
      const double ms = AnswerMs(c);
      if (ms < 0) ++late;
      slowest = std::max(slowest, ms);
      Pause(250);
    }
    CHECK(late == 0, std::to_string(late) + " times the console did not answer within 2 s while the client hung");
    Timing("slowest answer of the console while the client hung", slowest);
    DWORD_PTR result = 0;
    CHECK(SendMessageTimeoutA(room.window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result) != 0,
          "the room answers again");
    if (!Adopted(s, c, "after the client answers again")) return;
    // The client first works through the messages that waited during its hang; a
    // command chosen meanwhile may find the room busy. The console takes commands
    // again within a few seconds.
    const auto back = Clock::now();
    bool submitted = false;
    while (!submitted && MsSince(back) < 10000) {
      CHECK(c.Menu(tavlen::menu_id::kTalk30), "Définir à 30 sec. chosen after the hang");
      submitted = Poll([&] { return room.Transcript().find("talk_time 30") != std::string::npos; }, 1000);
    }
    if (submitted) {
      Timing("client back to a command submitted", MsSince(back));
    } else {
      const std::string transcript = room.Transcript();
      FAIL_HERE("no command reached the room within 10 s after the hang; its input box holds [" +
                Shown(GetText(room.input, 256)) + "], its transcript ends [" +
                Shown(transcript.substr(transcript.size() > 400 ? transcript.size() - 400 : 0)) + "]");
    }
    s.CloseRoom(room);
  }

  s.Quit(c);
  Console::ForgetHotkey(kShiftCtrlAlt, VK_F5);
}

void LyingRoomStory(const Setup& setup) {
  Note("lying room story (" + setup.label + ")");
  constexpr char kLiarTitle[] = "menteur : Video Chat Room";
  constexpr int kBesideMs = 60000;
  constexpr SIZE_T kPrivateCeiling = 20u << 20;
  if (FindWindowA(nullptr, kRoomTitle) || FindWindowA(nullptr, kLiarTitle)) {
    FAIL_HERE("a room titled \"salon\" or \"menteur\" is already open");
    return;
  }
  Session s(setup);
  Console& c = s.StartConsole("lying-room");
  if (!c.main) return;

  // Every lie at once: lengths, texts, counts, a circle, item answers, 5,000
  // children, a switch that renames itself, and a window made again.
  // An owner's room, as the honest one after it: the rights the console learns
  // are kept from room to room, and the owners' command below needs them.
  Room& liar = s.StartRoom({"--room", "menteur", "--nick", "modo", "--owner", "--users-count", "200", "--lie", "all",
                            "--at", "340,8"},
                           kLiarTitle, 26 + tavlen::standin::kCrowdChildren);
  if (!liar.window) return;
  // Its window is made again now and then, and for the second or two that
  // takes it goes by no title: the program is reached through its thread.
  const DWORD liar_thread = GetWindowThreadProcessId(liar.window, nullptr);
  if (!WAIT_CONSOLE(s, c, [&] { return c.Caption() == "Tavlen - menteur"; }, kTickDeadlineMs,
                    "the caption \"Tavlen - menteur\" beside the lying room"))
    return;
  {
    AnswerWatch watch(c.main);
    const auto start = Clock::now();
    SIZE_T peak = PrivateBytes(c.process.process);
    while (MsSince(start) < kBesideMs && c.Running()) {
      Pause(250);
      peak = std::max(peak, PrivateBytes(c.process.process));
    }
    CHECK(c.Running(), "the console runs after a minute beside the lying room");
    // A send that timed out counts 5 s: the window never stopped answering.
    CHECK(watch.LongestMs() < 5000, "the console's window answered all along beside the lying room");
    Timing("longest wait of the console's window beside the lying room", watch.LongestMs());
    Note("peak private bytes of the console beside the lying room: " + std::to_string(peak / 1024) + " KiB");
    CHECK(peak > 0 && peak < kPrivateCeiling,
          "the console's private bytes stay under 20 MB beside the lying room (peak " + std::to_string(peak / 1024) +
              " KiB)");
  }

  // The liar is closed. A message posted to a window that goes first is lost:
  // its program is told to end instead.
  CHECK(PostThreadMessageA(liar_thread, WM_QUIT, 0, 0), "the lying room told to end");
  const auto told = Clock::now();
  const bool closed = WaitForSingleObject(liar.process.process, kExitDeadlineMs) == WAIT_OBJECT_0;
  CHECK(closed, "the lying room ended");
  if (closed) Timing("the lying room told to end to its end", MsSince(told));
  if (!closed) KillRoom(liar);
  liar.window = nullptr;

  // The next room, an honest one: adopted, its users counted, asked for the
  // rights, and a command reaches it. It opens on earlier chat, as a room
  // joined in the evening does: when the console takes it before a tick of its
  // monitor has seen no room, the liar's last reading is not found in it and
  // its first 299 characters are passed over, which must not be the answer to
  // the console's "/setopt".
  Room& room = s.StartRoom({"--room", "salon", "--nick", "modo", "--owner", "--users-count", "20",
                            "--transcript-lines", "20", "--at", "340,8"},
                           kRoomTitle);
  if (!room.window || !Adopted(s, c, "after the lying room")) return;
  WAIT_CONSOLE(s, c, [&] { return c.AppTitle() == "Tavlen - [21]"; }, kTickDeadlineMs,
               "the honest room's 21 users counted after the lying room");
  if (!WAIT_CONSOLE(s, c, [&] { return room.Transcript().find(kOwnerHelp) != std::string::npos; },
                    kMonitorDeadlineMs, "the owner's answer to /setopt after the lying room"))
    return;
  // The command stays hidden until the monitor tick that reads the answer (see
  // the client faults story); it is chosen until it reaches the room.
  const auto in_room = [&] { return room.Transcript().find("talk_time 30") != std::string::npos; };
  bool sent = false;
  for (int attempt = 0; attempt < 10 && !sent; ++attempt) {
    CHECK(c.Menu(tavlen::menu_id::kTalk30), "Définir à 30 sec. chosen after the lying room");
    sent = Poll(in_room, 2500);
  }
  WAIT_CONSOLE(s, c, in_room, kTickDeadlineMs, "the talk time command in the honest room after the lying room");
  s.CloseRoom(room);
  s.Quit(c);
}

}  // namespace e2e
