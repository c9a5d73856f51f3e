// Checks standin.exe from another process, through the messages the console
// uses: transcript reads, a submission, a click on the talk switch, the talker
// indicator, the user tree read in the owner's memory, the control channel, the
// hang switch, and the media player window. Prints "STANDIN CHECK OK" only when
// every check passed; the harness looks for that line, never at the exit code.
//   standin_check.exe [path of standin.exe]   (default: beside this program)
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "standin/RoomControl.h"
#include "tests/e2e/kit/Driver.h"
#include "tests/e2e/kit/RemoteTree.h"

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;
using Texts = std::vector<std::string>;

constexpr int kStartDeadlineMs = 15000;
constexpr int kExitDeadlineMs = 10000;

std::string g_standin;

std::string Join(const Texts& texts) {
  std::string out;
  for (const auto& t : texts) out += (out.empty() ? "" : "|") + t;
  return out;
}

// Launches a room and waits for its window; null when it never came.
HWND StartRoom(Launched& launched, const Texts& args, const std::string& title) {
  const auto start = Clock::now();
  launched = Launch(g_standin, args);
  if (!launched.process) {
    FAIL_HERE("standin.exe did not start");
    return nullptr;
  }
  HWND room = nullptr;
  WAIT_FOR([&] { return (room = FindTopLevel(launched.id, "CamfrogRoom", title)) != nullptr; }, kStartDeadlineMs,
           "the room window \"" + title + "\"");
  Timing("start to room window (" + title + ")", MsSince(start));
  return room;
}

void StopRoom(Launched& launched, HWND room, const std::string& how) {
  const auto start = Clock::now();
  PostMessageA(room, WM_CLOSE, 0, 0);
  if (!WaitExit(launched, kExitDeadlineMs)) {
    FAIL_HERE("the stand-in did not end after " + how);
    Kill(launched);
    return;
  }
  Timing(how + " to process end", MsSince(start));
}

bool Submit(HWND edit, const std::string& line) {
  return SetText(edit, line) && SendTimeout(edit, WM_KEYDOWN, VK_RETURN, 0);
}

// The default room: structure, submission, talk switch, tree, control channel,
// hang switch and closing.
void RoomStory() {
  Note("room story");
  Launched launched;
  const std::string title = "salon_e2e : Video Chat Room";
  HWND room = StartRoom(launched, {"--room", "salon_e2e", "--nick", "modo", "--users", "carl,alice,Bob",
                                   "--hidden-users", "zed", "--hang-switch"},
                        title);
  if (!room) return Kill(launched);

  const auto children = DirectChildren(room);
  CHECK(children.size() == 26, "26 direct children, got " + std::to_string(children.size()));
  if (children.size() != 26) return Kill(launched);
  Texts classes;
  for (HWND c : children) classes.push_back(ClassOf(c));
  CHECK_TEXT(classes[0], "RichEdit20A", "child 1");
  CHECK_TEXT(classes[1], "Edit", "child 2");
  CHECK_TEXT(classes[2], "Button", "child 3");
  CHECK_TEXT(GetText(children[2], 129), "Hands Free", "talk switch caption");
  CHECK_TEXT(classes[3], "SysTreeView32", "child 4");
  CHECK_TEXT(classes[25], "Button", "child 26");
  for (std::size_t i = 4; i < 25; ++i)
    CHECK(classes[i] == "Button" || classes[i] == "Static", "filler child " + std::to_string(i + 1) + " is " + classes[i]);
  HWND transcript = children[0], edit = children[1], talk = children[2], tree = children[3], indicator = children[25];

  CHECK_TEXT(GetText(transcript), "", "transcript at start");
  CHECK_TEXT(GetText(indicator, 5001), "", "indicator at start");

  // Submission as the console makes it: the box's text, then Enter.
  auto start = Clock::now();
  CHECK(Submit(edit, "/setopt"), "submitting /setopt");
  const std::string answer = "modo : /setopt\r\nOperation failed! Your current level is: OPPLUS.\r\n";
  CHECK_TEXT(GetText(transcript), answer, "transcript after /setopt");
  Timing("WM_SETTEXT + WM_KEYDOWN + transcript read", MsSince(start));
  CHECK_TEXT(GetText(edit, 5001), "", "input box after the submission");
  // Later lines are appended after the earlier ones.
  CHECK(Submit(edit, "bonjour \xE0 tous"), "submitting a chat line");
  CHECK_TEXT(GetText(transcript), answer + "modo : bonjour \xE0 tous\r\n", "transcript after a chat line");
  // Enter in an empty box submits nothing.
  CHECK(SendTimeout(edit, WM_KEYDOWN, VK_RETURN, 0), "Enter in the empty box");
  CHECK_TEXT(GetText(transcript), answer + "modo : bonjour \xE0 tous\r\n", "transcript after an empty Enter");
  start = Clock::now();
  CHECK_TEXT(GetText(transcript, 30000), answer + "modo : bonjour \xE0 tous\r\n", "transcript read");
  Timing("one transcript read (WM_GETTEXT 30000)", MsSince(start));

  // The talk switch toggles the own nick; the indicator follows at once.
  start = Clock::now();
  CHECK(Click(talk), "click on Hands Free");
  CHECK_TEXT(GetText(indicator, 5001), "modo", "indicator after a click");
  Timing("click + indicator read", MsSince(start));
  CHECK(Click(talk), "second click on Hands Free");
  CHECK_TEXT(GetText(indicator, 5001), "", "indicator after a second click");

  // The user tree, read in the stand-in's memory.
  start = Clock::now();
  RemoteTree users = ReadRemoteTree(tree);
  const double tree_ms = MsSince(start);
  if (users.unsupported) {
    Note("tree read skipped: " + users.error);
  } else {
    CHECK(users.ok, "tree read: " + users.error);
    Note("tree owner is " + std::to_string(users.owner_bits) + "-bit");
    Timing("tree read, " + std::to_string(users.visible.size()) + " items", tree_ms);
    CHECK(users.count == 8, "tree item count 8, got " + std::to_string(users.count));
    CHECK_TEXT(Join(users.visible), "Visible Users|alice|Bob|carl|modo|Hidden Users| Click name to view",
               "visible tree items");
  }

  // The control channel: other people act.
  start = Clock::now();
  CHECK(Control(room, "say bob|salut : \xE7" "a va ?"), "control: say");
  Timing("control command", MsSince(start));
  CHECK(Control(room, "join dave"), "control: join");
  CHECK(Control(room, "join-hidden yann"), "control: join-hidden");
  CHECK(Control(room, "quit alice"), "control: quit");
  CHECK_TEXT(GetText(transcript),
             answer + "modo : bonjour \xE0 tous\r\nbob : salut : \xE7" "a va ?\r\nJoin: dave\r\nJoin: yann\r\nQuit: alice\r\n",
             "transcript after say, join and quit");
  if (!users.unsupported) {
    users = ReadRemoteTree(tree);
    CHECK(users.count == 9, "tree item count 9 after join and quit, got " + std::to_string(users.count));
    CHECK_TEXT(Join(users.visible), "Visible Users|Bob|carl|dave|modo|Hidden Users| Click name to view",
               "visible tree items after join and quit");
  }
  CHECK(Control(room, "talker carl"), "control: talker");
  CHECK_TEXT(GetText(indicator, 5001), "carl", "indicator names the talker");
  // Somebody else talks: the own click takes nothing.
  CHECK(Click(talk), "click while carl talks");
  CHECK_TEXT(GetText(indicator, 5001), "carl", "indicator after a click while carl talks");
  CHECK(Control(room, "quit carl"), "control: talker quits");
  CHECK_TEXT(GetText(indicator, 5001), "", "indicator after the talker left");
  CHECK(!Control(room, "dance"), "an unknown command is refused");
  CHECK(!Control(room, "say nobody"), "a malformed say is refused");

  CHECK(Control(room, "topic Soir\xE9" "e jazz"), "control: topic");
  const std::string topic_title = "salon_e2e, Topic: Soir\xE9" "e jazz";
  CHECK(FindTopLevel(launched.id, "CamfrogRoom", topic_title) == room, "the title carries the topic");
  CHECK(Control(room, "clear"), "control: clear");
  CHECK_TEXT(GetText(transcript), "", "transcript after clear");
  CHECK(Control(room, "raw Operation failed! Your current level is: OPPLUS."), "control: raw");
  CHECK_TEXT(GetText(transcript), "Operation failed! Your current level is: OPPLUS.\r\n", "transcript after raw");

  // The hang switch: sends go unanswered while the stand-in sleeps, then work
  // again. Under Wine 8 a send to a sleeping thread returns only when that thread
  // wakes, whatever its timeout, and then mostly failed (ERROR_TIMEOUT) but at
  // times answered; on Windows it fails at the timeout. A send that fails, or
  // that comes back only after most of the hang, counts as silence here.
  const auto hang = [&](const std::string& how, const std::function<bool()>& ask, int ms) {
    const auto asked = Clock::now();
    if (!ask()) return FAIL_HERE(how + " was refused");
    LRESULT len = 0;
    double longest_failed_send = 0;
    // Sent messages come before posted ones: the hang starts within a few tries.
    if (!WAIT_FOR([&] {
          const auto sent = Clock::now();
          const bool answered = SendTimeout(transcript, WM_GETTEXTLENGTH, 0, 0, &len, 100);
          const double took = MsSince(sent);
          if (answered && took < ms / 2) return false;
          longest_failed_send = took;
          return true;
        }, ms + 3000, "a send to fail after " + how))
      return;
    WAIT_FOR([&] { return SendTimeout(transcript, WM_GETTEXTLENGTH, 0, 0, &len, 100); }, ms + 3000,
             "the stand-in to answer again after " + how);
    const double answered_after = MsSince(asked);
    Timing(how + ": unanswered send with a 100 ms timeout returned after", longest_failed_send);
    Timing(how + ": answering again after", answered_after);
    CHECK(answered_after >= ms * 0.9, how + " lasted only " + std::to_string(answered_after) + " ms");
  };
  hang("control hang 800", [&] { return Control(room, "hang 800"); }, 800);
  const UINT hang_message = RegisterWindowMessageA(tavlen::standin::kHangMessageName);
  hang("posted hang message 600", [&] { return PostMessageA(room, hang_message, 600, 0) != 0; }, 600);

  StopRoom(launched, room, "WM_CLOSE");
}

// A room with a second input box and a transcript already long, beside other
// windows: each box submits its own line, and the key log has the time of
// every Enter key-down, the box and the line it submitted.
void BusyDesktop() {
  Launched launched;
  HWND room = StartRoom(launched, {"--room", "occupe", "--users", "alice", "--input-boxes", "2",
                                   "--transcript-lines", "3", "--other-windows", "6"},
                        "occupe : Video Chat Room");
  if (!room) return Kill(launched);
  const auto children = DirectChildren(room);
  CHECK(children.size() == 27 && ClassOf(children[26]) == "Edit" && ClassOf(children[25]) == "Button",
        "27 children, the second input box last, the talker indicator 26th");
  Texts shapes;
  for (HWND w : TopLevelWindows(launched.id)) {
    if (ClassOf(w) != "TavlenStandinOther") continue;
    char title[512] = {};
    const int length = GetWindowTextA(w, title, sizeof title);
    RECT r{};
    GetWindowRect(w, &r);
    CHECK(IsWindowVisible(w) && r.right <= 0 && r.bottom <= 0, "another window shown off the screen");
    shapes.push_back(length == 0 ? "none" : length < 40 ? "short" : length > 254 ? "long" : "other");
  }
  std::sort(shapes.begin(), shapes.end());
  CHECK_TEXT(Join(shapes), "long|long|none|none|short|short", "the other windows' titles");
  if (children.size() != 27) return StopRoom(launched, room, "WM_CLOSE");

  CHECK_TEXT(GetText(children[0]),
             "alice : message d'avant 1\r\nalice : message d'avant 2\r\nalice : message d'avant 3\r\n",
             "the transcript at the start");
  {
    // Each read of the transcript's text counted, that one included.
    const UINT reads_message = RegisterWindowMessageA(tavlen::standin::kTranscriptReadsMessageName);
    LRESULT before = -1, after = -1;
    SendTimeout(room, reads_message, 0, 0, &before);
    GetText(children[0]);
    SendTimeout(room, reads_message, 0, 0, &after);
    CHECK(before >= 1 && after == before + 1,
          "transcript reads counted: " + std::to_string(before) + " then " + std::to_string(after));
  }
  const UINT count_message = RegisterWindowMessageA(tavlen::standin::kKeyCountMessageName);
  const auto key_count = [&] {
    LRESULT count = -1;
    return SendTimeout(room, count_message, 0, 0, &count) ? static_cast<int>(count) : -1;
  };
  CHECK(Control(room, "keylog"), "control: keylog (emptied)");
  CHECK(Submit(children[1], "un") && Submit(children[26], "deux") &&
            SendTimeout(children[26], WM_KEYDOWN, VK_RETURN, 0),
        "Enter in each box, then in the emptied second box");
  CHECK(key_count() == 3, "3 key-downs counted, got " + std::to_string(key_count()));
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  const std::string path = std::string(temp) + "standin-check-keys.log";
  CHECK(Control(room, "keylog " + path), "control: keylog " + path);
  CHECK(key_count() == 0, "the key log emptied once written");
  Texts lines;
  double last = 0;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
      double ms = 0;
      int box = 0, used = 0;
      if (std::sscanf(line, "%lf %d %n", &ms, &box, &used) < 2) continue;
      CHECK(ms >= last && ms > 0, "key-down times in order");
      last = ms;
      std::string text = line + used;
      while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
      lines.push_back(std::to_string(box) + ":" + text);
    }
    std::fclose(f);
  }
  CHECK_TEXT(Join(lines), "1:un|2:deux|2:", "the key log: box and line of each key-down");
  const std::string text = GetText(children[0]);
  CHECK(text.size() > 24 && text.substr(text.size() - 24) == "modo : un\r\nmodo : deux\r\n", "both lines submitted");
  StopRoom(launched, room, "WM_CLOSE");
}

// Options that change what the console meets: an owner without a talk switch
// and without the final line break, fewer children, a refused talk.
void OptionsStory() {
  Note("options story");
  Launched launched;
  HWND room = StartRoom(launched, {"--room", "rapide", "--topic", "Caf\xE9", "--nick", "KelVorn", "--owner",
                                   "--no-final-crlf", "--no-talk-switch", "--filler", "0"},
                        "rapide, Topic: Caf\xE9");
  if (room) {
    const auto children = DirectChildren(room);
    Texts classes;
    for (HWND c : children) classes.push_back(ClassOf(c));
    CHECK_TEXT(Join(classes), "RichEdit20A|Edit|Static|SysTreeView32|Button", "children without filler");
    if (children.size() == 5) {
      CHECK_TEXT(GetText(children[2], 129), "Hands Free", "the static keeps the caption");
      CHECK(Submit(children[1], "/setopt"), "owner /setopt");
      const std::string text = GetText(children[0]);
      CHECK(text.rfind("KelVorn : /setopt\r\n/SETOPT arguments:", 0) == 0, "owner answer, got [" + Shown(text) + "]");
      CHECK(text.size() >= 2 && text.substr(text.size() - 2) != "\r\n", "no line break after the last line");
      CHECK(Click(children[2]), "click on the static");
      CHECK_TEXT(GetText(children[4], 5001), "", "no talker without a switch");
    }
    StopRoom(launched, room, "WM_CLOSE");
  } else {
    Kill(launched);
  }

  room = StartRoom(launched, {"--room", "refus", "--refuse-talk"}, "refus : Video Chat Room");
  if (room) {
    const auto children = DirectChildren(room);
    CHECK(children.size() == 26, "26 children");
    if (children.size() == 26) {
      CHECK(Click(children[2]), "click on a refusing switch");
      CHECK_TEXT(GetText(children[25], 5001), "", "a refused talk leaves the indicator empty");
    }
    const auto start = Clock::now();
    CHECK(Control(room, "close"), "control: close");
    CHECK(WaitExit(launched, kExitDeadlineMs), "the stand-in ends after the close command");
    Timing("close command to process end", MsSince(start));
  }
  Kill(launched);

  BusyDesktop();

  // A bad command line ends at once, with no window left waiting for a click.
  Launched bad = Launch(g_standin, {"--users-count", "lots"});
  CHECK(bad.process && WaitExit(bad, kExitDeadlineMs), "a bad command line ends the program");
  Kill(bad);
}

// A crowded, chatty room: the tree of 500 users and a growing transcript.
void LoadStory() {
  Note("load story");
  Launched launched;
  HWND room = StartRoom(launched, {"--room", "charge", "--users-count", "500", "--say-every-ms", "20"},
                        "charge : Video Chat Room");
  if (!room) return Kill(launched);
  const auto children = DirectChildren(room);
  if (children.size() != 26) {
    FAIL_HERE("26 children");
    return Kill(launched);
  }
  Clock::time_point start;
  // Lines keep arriving at the end of the transcript, at about the asked pace.
  std::string text;
  const auto seen = [&](int n) {
    return [&, n] {
      text = GetText(children[0]);
      return text.find("message " + std::to_string(n) + "\r\n") != std::string::npos;
    };
  };
  if (WAIT_FOR(seen(10), 10000, "10 chatter lines")) {
    CHECK(text.rfind("user001 : message 1\r\nuser002 : message 2\r\n", 0) == 0,
          "chatter from the first users in turn, got [" + Shown(text.substr(0, 60)) + "]");
    start = Clock::now();
    if (WAIT_FOR(seen(50), 10000, "50 chatter lines")) {
      const double per_line = MsSince(start) / 40;
      Timing("interval between chatter lines asked every 20 ms", per_line);
      CHECK(per_line < 200, "chatter far slower than asked: " + std::to_string(per_line) + " ms a line");
    }
  }
  // Read while the chatter goes on.
  start = Clock::now();
  RemoteTree users = ReadRemoteTree(children[3]);
  const double ms = MsSince(start);
  if (users.unsupported) {
    Note("tree read skipped: " + users.error);
  } else {
    CHECK(users.ok, "tree read: " + users.error);
    CHECK(users.count == 504, "504 items, got " + std::to_string(users.count));
    CHECK(users.visible.size() == 504, "504 visible items, got " + std::to_string(users.visible.size()));
    if (users.visible.size() == 504) {
      CHECK_TEXT(users.visible[1], "modo", "the own nick sorts first");
      CHECK_TEXT(users.visible[501], "user500", "the last user");
    }
    Timing("tree read, 504 items", ms);
  }
  StopRoom(launched, room, "WM_CLOSE");
}

void PlayerStory() {
  Note("player story");
  Launched launched;
  const auto start = Clock::now();
  launched = Launch(g_standin, {"--winamp", "12. Artist - Song - Winamp"});
  HWND player = nullptr;
  WAIT_FOR([&] { return (player = FindTopLevel(launched.id, "Winamp v1.x", "12. Artist - Song - Winamp")) != nullptr; },
           kStartDeadlineMs, "the player window");
  Timing("start to player window", MsSince(start));
  if (!player) return Kill(launched);
  CHECK(FindWindowA("Winamp v1.x", nullptr) != nullptr, "found by class alone");
  CHECK(Control(player, "title 3. Autre Artiste - Chanson \xE9t\xE9 - Winamp"), "control: title");
  char title[255] = {};
  GetWindowTextA(player, title, sizeof title);
  CHECK_TEXT(title, "3. Autre Artiste - Chanson \xE9t\xE9 - Winamp", "player title");
  CHECK(!Control(player, "say bob|x"), "room commands are refused by the player");
  CHECK(Control(player, "close"), "control: close");
  CHECK(WaitExit(launched, kExitDeadlineMs), "the player ends after the close command");
  Kill(launched);
}

}  // namespace
}  // namespace e2e

int main(int argc, char** argv) {
  using namespace e2e;
  // A stuck stand-in must not stall the harness: fail loudly instead.
  std::thread([] {
    std::this_thread::sleep_for(std::chrono::seconds(120));
    std::printf("STANDIN CHECK TIMEOUT\n");
    std::fflush(stdout);
    std::_Exit(3);
  }).detach();

  if (argc > 1) {
    g_standin = argv[1];
  } else {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    g_standin = self;
    g_standin = g_standin.substr(0, g_standin.find_last_of("\\/") + 1) + "standin.exe";
  }
  Note("standin check: " + std::to_string(sizeof(void*) * 8) + "-bit driver, " + g_standin);
  CHECK(GetACP() == 1252, "ANSI code page 1252, got " + std::to_string(GetACP()));

  const auto start = std::chrono::steady_clock::now();
  RoomStory();
  OptionsStory();
  LoadStory();
  PlayerStory();
  Timing("whole check", MsSince(start));

  if (Failures() != 0) {
    std::printf("STANDIN CHECK FAILED (%d)\n", Failures());
    return 1;
  }
  std::printf("STANDIN CHECK OK\n");
  std::fflush(stdout);
  return 0;
}
