// How long the console takes to act, under Wine, beside a busy room: a benchmark
// story (bench/wine-latency.sh), run only when asked for. Times are taken on the
// performance counter, which the room's key log shares: the room notes when each
// Enter key-down reached its input boxes, so a line's arrival is timed where it
// lands rather than when a poll happens to see it. Waits are on what can be
// observed; a wait that runs out fails the story, a slow time never does.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "standin/RoomControl.h"
#include "standin/win32/PerformanceClock.h"
#include "tests/e2e/console/ConsoleParts.h"
#include "tests/e2e/console/ScreenCapture.h"
#include "tests/e2e/console/Stories.h"
#include "tests/e2e/console/SystemTools.h"

namespace e2e {

namespace {

constexpr char kRoomTitle[] = "le_salon_bleu : Video Chat Room";
constexpr char kRoomCaption[] = "Tavlen - le_salon_bleu";
constexpr UINT kMods = MOD_CONTROL | MOD_ALT;
constexpr char kMessagesIni[] = "AVERTIR/KICKER/PUNIR/BANNIR\xA4" "Flood\xA4" "Flood sur $room\xA4popup\r\n";
constexpr char kHotkeysIni[] = "Control+Alt+B\xA4" "BLOCKMIC\r\n";
constexpr char kHighlightIni[] = "vend\r\n";
constexpr char kReason[] = "Flood sur le_salon_bleu";
constexpr int kSanctionReasons = 2;  // the custom entry and Flood
constexpr int kFlood = 1;
constexpr int kKeyDownsPerBox = 100;
constexpr int kPopupHiddenDeadlineMs = 20000;  // the notification hides 7 s after it showed
constexpr char kTalker[] = "user499";
// A submission beside 500 users took seconds before the latency work, when the
// user tree was read inside it: two of them and a pause take longer still.
constexpr int kLatencyDeadlineMs = 60000;

std::string Nick(int number) {
  char nick[16];
  std::snprintf(nick, sizeof nick, "user%03d", number);
  return nick;
}

struct KeyDown {
  double ms = 0;
  int box = 0;
  std::string line;  // what it submitted
};

// One action's times and how long the console's window kept a caller waiting
// meanwhile.
struct Series {
  explicit Series(std::string name) : action(std::move(name)) {}
  std::string action;
  std::vector<double> ms;
  double window_max = 0;

  void Print() const {
    if (ms.empty()) {
      Note("latency: " + action + " no sample");
      return;
    }
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t n = sorted.size();
    const double median = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    char line[256];
    std::snprintf(line, sizeof line, "latency: %s median=%.1f max=%.1f window_max=%.1f n=%zu", action.c_str(), median,
                  sorted.back(), window_max, n);
    Note(line);
    std::string all = "latency samples: " + action;
    for (double v : ms) {
      std::snprintf(line, sizeof line, " %.1f", v);
      all += line;
    }
    Note(all);
  }
};

struct Bench {
  Session& s;
  const Setup& setup;
  Room& room;
  int boxes = 1;
  std::string key_file;
  UINT key_count_message = RegisterWindowMessageA(tavlen::standin::kKeyCountMessageName);
  UINT transcript_reads_message = RegisterWindowMessageA(tavlen::standin::kTranscriptReadsMessageName);

  int KeyDownsPerSubmission() const { return kKeyDownsPerBox * boxes; }

  int KeyCount() const {
    LRESULT count = -1;
    return SendTimeout(room.window, key_count_message, 0, 0, &count) ? static_cast<int>(count) : -1;
  }

  long TranscriptReads() const {
    LRESULT count = -1;
    return SendTimeout(room.window, transcript_reads_message, 0, 0, &count) ? static_cast<long>(count) : -1;
  }

  // The console reads the transcript every 2 s and takes a gain of 300
  // characters or more as a burst, which teaches rights only: ten hotkey
  // presses' answers and a watched word in one reading would raise no
  // notification, as for a moderator. Waits for a reading of all that is there
  // now, so that what is said next comes alone.
  bool WaitTranscriptRead(const Console& c) {
    const long seen = TranscriptReads();
    return seen >= 0 && WAIT_CONSOLE(s, c, [&] { return TranscriptReads() > seen; }, kTickDeadlineMs,
                                     "the console's next reading of the transcript");
  }

  // A console just started submits "/setopt" once: its key-downs all in the
  // room (the log emptied before the start), nothing of it runs any more. The
  // console of before the latency work took up to half a minute for them, and
  // whatever was done meanwhile ran inside that submission.
  bool WaitStartSubmission(const Console& c) {
    return WAIT_CONSOLE(s, c, [&] { return KeyCount() >= KeyDownsPerSubmission(); }, kLatencyDeadlineMs,
                        "the key-downs of the start-up \"/setopt\" (" + std::to_string(KeyCount()) + " so far)");
  }

  bool ClearKeyLog() {
    if (Control(room.window, "keylog")) return true;
    FAIL_HERE("the room's key log emptied");
    return false;
  }

  // Waits for the Enter key-downs of `submissions` submissions, then reads them.
  bool KeyLog(const Console& c, int submissions, std::vector<KeyDown>& log) {
    const int expected = submissions * KeyDownsPerSubmission();
    if (!WAIT_CONSOLE(s, c, [&] { return KeyCount() >= expected; }, kLatencyDeadlineMs,
                      std::to_string(expected) + " Enter key-downs in the room (" + std::to_string(KeyCount()) +
                          " so far)"))
      return false;
    if (!Control(room.window, "keylog " + key_file)) {
      FAIL_HERE("the room's key log written to " + key_file);
      return false;
    }
    log.clear();
    std::ifstream in(key_file, std::ios::binary);
    std::string text;
    while (std::getline(in, text)) {
      if (!text.empty() && text.back() == '\r') text.pop_back();
      std::istringstream fields(text);
      KeyDown k;
      fields >> k.ms >> k.box;
      if (!fields) continue;
      fields.get();  // the blank before the line
      std::getline(fields, k.line);
      log.push_back(std::move(k));
    }
    CHECK(static_cast<int>(log.size()) == expected,
          std::to_string(log.size()) + " key-downs in the room's log, not " + std::to_string(expected));
    return static_cast<int>(log.size()) == expected;
  }

  // The first key-down that submitted `line`; null when none did (reported).
  const KeyDown* Submitted(const std::vector<KeyDown>& log, const std::string& line) {
    for (const KeyDown& k : log)
      if (k.line == line) return &k;
    FAIL_HERE("\"" + line + "\" never submitted in the room");
    return nullptr;
  }
};

bool Wanted(const Setup& setup, const std::string& action) {
  return setup.actions.empty() || ("," + setup.actions + ",").find("," + action + ",") != std::string::npos;
}

// The console started in a fresh folder until its caption names the room.
void StartUp(Bench& b, int runs) {
  Series series{"startup"};
  for (int i = 0; i < runs; ++i) {
    if (!b.ClearKeyLog()) return;
    Console& k = b.s.LaunchConsole("latency-start-" + std::to_string(i));
    if (!k.process.process || !b.s.AwaitMainWindow(k)) return;
    {
      AnswerWatch watch(k.main);
      if (!WAIT_CONSOLE(b.s, k, [&] { return k.Caption() == kRoomCaption; }, kStartDeadlineMs,
                        std::string("the caption \"") + kRoomCaption + "\""))
        return;
      series.ms.push_back(MsSince(k.started));
      series.window_max = std::max(series.window_max, watch.LongestMs());
    }
    if (!b.WaitStartSubmission(k)) return;
    b.s.Quit(k);
  }
  series.Print();
}

// KICKER: the execute button clicked to the kick line in the room; with it the
// span of that submission's Enter key-downs.
void Kicker(Bench& b, Panel& p, int runs, int& next_nick) {
  Series kick{"kicker"};
  Series keys{"keydowns"};
  AnswerWatch watch(p.c.main);
  for (int i = 0; i < runs; ++i) {
    const std::string nick = Nick(next_nick++);
    if (!p.SetNick(nick) || !p.Choose("KICKER", kSanctionReasons) || !p.PickReason(kFlood) || !b.ClearKeyLog())
      return;
    const double clicked = tavlen::standin::win32::PerformanceMs();
    if (!p.Execute("KICKER") || !p.WaitFolded("the kick of " + nick, kLatencyDeadlineMs)) return;
    std::vector<KeyDown> log;
    if (!b.KeyLog(p.c, 1, log)) return;
    const KeyDown* line = b.Submitted(log, "/kick " + nick + " " + kReason + " (modo)");
    if (!line) return;
    kick.ms.push_back(line->ms - clicked);
    keys.ms.push_back(log.back().ms - log.front().ms);
  }
  kick.window_max = keys.window_max = watch.LongestMs();
  keys.Print();
  kick.Print();
}

// PUNIR: the punishment line to the kick line, both where the room got them.
void Punir(Bench& b, Panel& p, int runs, int& next_nick) {
  Series series{"punir"};
  AnswerWatch watch(p.c.main);
  for (int i = 0; i < runs; ++i) {
    const std::string nick = Nick(next_nick++);
    if (!p.SetNick(nick) || !p.Choose("PUNIR", kSanctionReasons) || !p.PickReason(kFlood) || !b.ClearKeyLog())
      return;
    if (!p.Execute("PUNIR") || !p.WaitFolded("the punishment of " + nick, kLatencyDeadlineMs)) return;
    std::vector<KeyDown> log;
    if (!b.KeyLog(p.c, 2, log)) return;
    const KeyDown* punished = b.Submitted(log, "/punish " + nick + " 3 days Puni{e} pour 3 jour{s}");
    const KeyDown* kicked = b.Submitted(log, "/kick " + nick + " " + kReason + " (modo)");
    if (!punished || !kicked) return;
    series.ms.push_back(kicked->ms - punished->ms);
  }
  series.window_max = watch.LongestMs();
  series.Print();
}

// Control+Alt+B (BLOCKMIC), handed to the console's hotkey window as the system
// hands a press, to "/blockmic" submitted in the room.
void Hotkey(Bench& b, Console& c, int runs) {
  Series series{"hotkey"};
  CHECK(Control(b.room.window, std::string("talker ") + kTalker), "a talker in the room");
  if (!WAIT_FOR([&] { return b.room.Talker() == kTalker; }, kTickDeadlineMs, "the talker indicator")) return;
  AnswerWatch watch(c.main);
  for (int i = 0; i < runs; ++i) {
    if (!b.ClearKeyLog()) return;
    const double pressed = tavlen::standin::win32::PerformanceMs();
    if (!c.Hotkey(kMods, 'B')) {
      FAIL_HERE("Control+Alt+B posted to the console");
      return;
    }
    std::vector<KeyDown> log;
    if (!b.KeyLog(c, 1, log)) return;
    const KeyDown* line = b.Submitted(log, std::string("/blockmic ") + kTalker);
    if (!line) return;
    series.ms.push_back(line->ms - pressed);
  }
  series.window_max = watch.LongestMs();
  series.Print();
}

// A watched word said while the console is in front; the speaker's name in the
// notification clicked with the mouse, to the room in front.
void Notification(Bench& b, Console& c, int runs) {
  Series series{"notification"};
  AnswerWatch watch(c.main);
  const auto blue = [](int r, int g, int bl) { return bl > 180 && r < 90 && g < 90; };
  for (int i = 0; i < runs; ++i) {
    SetForegroundWindow(c.main);
    if (!WAIT_CONSOLE(b.s, c, [&] { return GetForegroundWindow() == c.main; }, kTickDeadlineMs,
                      "the console in front of the room"))
      return;
    if (!b.WaitTranscriptRead(c)) return;
    CHECK(Control(b.room.window, "say user450|qui vend un v\xE9lo ?"), "a watched word said");
    HWND popup = nullptr;
    if (!WAIT_CONSOLE(b.s, c, [&] { return (popup = VisibleTopLevel(c.process.id, "THTMLPopupWindow")) != nullptr; },
                      kLatencyDeadlineMs, "the notification"))
      return;
    const PixelBox speaker = FindPixels(SteadyWindow(popup), blue);
    if (speaker.count == 0) {
      FAIL_HERE("the speaker's name painted in the notification");
      return;
    }
    RECT rect{};
    GetWindowRect(popup, &rect);
    const double clicked = tavlen::standin::win32::PerformanceMs();
    CHECK(MouseClickAt(POINT{rect.left + speaker.CenterX(), rect.top + speaker.CenterY()}), "click on the speaker");
    if (!WAIT_CONSOLE(b.s, c, [&] { return GetForegroundWindow() == b.room.window; }, kTickDeadlineMs,
                      "the room in front after the click on the notification"))
      return;
    series.ms.push_back(tavlen::standin::win32::PerformanceMs() - clicked);
    // The pointer off the notification, which then hides: the next one is new.
    SetCursorPos(0, 0);
    if (!WAIT_CONSOLE(b.s, c, [&] { return VisibleTopLevel(c.process.id, "THTMLPopupWindow") == nullptr; },
                      kPopupHiddenDeadlineMs, "the notification to hide"))
      return;
  }
  series.window_max = watch.LongestMs();
  series.Print();
}

}  // namespace

void LatencyStory(const Setup& setup) {
  const int runs = std::max(1, setup.repeat);
  std::string variant;
  for (const auto& arg : setup.room_args) variant += " " + arg;
  Note("latency story (" + setup.label + "), " + std::to_string(runs) + " runs, room variant:" +
       (variant.empty() ? std::string(" plain") : variant));
  std::vector<std::string> args = {"--room", "le_salon_bleu", "--nick",          "modo", "--users-count",
                                   "500",    "--say-every-ms", "1000", "--at",   "340,8"};
  int boxes = 1;
  for (std::size_t i = 0; i < setup.room_args.size(); ++i) {
    args.push_back(setup.room_args[i]);
    if (setup.room_args[i] == "--input-boxes" && i + 1 < setup.room_args.size())
      boxes = std::max(1, std::atoi(setup.room_args[i + 1].c_str()));
  }
  Session s(setup);
  // Any further input box comes after the talker indicator.
  Room& room = s.StartRoom(args, kRoomTitle, 26 + static_cast<std::size_t>(boxes - 1));
  if (!room.window) return;
  Bench b{s, setup, room, boxes, setup.work + "\\latency-keys.log"};
  if (Wanted(setup, "startup")) StartUp(b, runs);

  Console::ForgetHotkey(kMods, 'B');
  if (!b.ClearKeyLog()) return;
  Console& c = s.StartConsole("latency", {{"messages.ini", kMessagesIni},
                                          {"hotkeys.ini", kHotkeysIni},
                                          {"highlight.ini", kHighlightIni}});
  if (!c.main) return;
  // The steady state: the rights read, the whole user list shown, the hotkey
  // held. Before the latency work the first "/setopt" alone could take half a
  // minute beside 500 users.
  HWND ban = c.Child("Button", "BANNIR");
  if (!ban || !WAIT_CONSOLE(s, c, [&] { return IsWindowEnabled(ban) != FALSE; }, kLatencyDeadlineMs,
                            "the rights to unlock BANNIR"))
    return;
  if (!WAIT_CONSOLE(s, c, [&] { return c.AppTitle() == "Tavlen - [501]"; }, kLatencyDeadlineMs, "the count 501"))
    return;
  if (!b.WaitStartSubmission(c)) return;
  if (Wanted(setup, "hotkey") && !WAIT_CONSOLE(s, c, [] { return Console::HotkeyRegistered(kMods, 'B'); },
                                               kLatencyDeadlineMs, "Control+Alt+B registered"))
    return;

  Panel p{s, c, room, OuterHeight(c.main)};
  int next_nick = 1;
  if (Wanted(setup, "kicker")) Kicker(b, p, runs, next_nick);
  if (Wanted(setup, "punir")) Punir(b, p, runs, next_nick);
  if (Wanted(setup, "hotkey")) Hotkey(b, c, runs);
  if (Wanted(setup, "notification")) Notification(b, c, runs);
  s.Quit(c);
}

}  // namespace e2e
