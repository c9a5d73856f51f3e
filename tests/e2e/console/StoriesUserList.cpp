// The room's user tree read across processes: a crowded room of 500 users.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "tests/e2e/console/ConsoleParts.h"
#include "tests/e2e/console/ScreenCapture.h"
#include "tests/e2e/console/StoriesDevices.h"
#include "tests/e2e/console/SystemTools.h"
#include "ui/MenuIds.h"

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kGenerated = 500;
// user001 ... user500, Bob, bobby, Carl and the own nick.
constexpr int kUsers = kGenerated + 4;
// The last ones leave one after the other while the console reads.
constexpr int kLeaving = 100;
// Long enough to hold three user list ticks (750 ms) whole.
constexpr int kMeasureMs = 3200;

std::string Count(int users) { return std::to_string(users) + " utilisateurs"; }

// The user count label of the main window ("NB utilisateurs" until the first tick).
HWND CountLabel(const Console& c) {
  for (HWND child : DirectChildren(c.main)) {
    if (lstrcmpiA(ClassOf(child).c_str(), "Static") != 0) continue;
    const std::string text = GetText(child, 64);
    if (text.size() > 13 && text.compare(text.size() - 13, 13, " utilisateurs") == 0) return child;
  }
  return nullptr;
}

// The nick box beside "Pseudo concerné :", the highest edit of the main window.
HWND NickBox(const Console& c) {
  const std::vector<HWND> edits = VisibleChildren(c.main, "Edit");
  return edits.empty() ? nullptr : edits.front();
}

HWND RoomTree(const Room& room) {
  for (HWND child : DirectChildren(room.window))
    if (ClassOf(child) == WC_TREEVIEWA) return child;
  return nullptr;
}

// How long the console's user list tick takes: messages are posted to the
// console one after the other while its timers run for kMeasureMs, and the
// time each waited is kept. A message posted as a tick starts waits for the
// whole tick, so the longest waits are the ticks (about one per 750 ms); the
// shortest of those is the tick least disturbed by the rest of the machine.
// -1 when the console stopped handling messages.
double TickMs(HWND combo) {
  std::vector<double> waits;
  const auto start = Clock::now();
  for (int fences = 0; MsSince(start) < kMeasureMs || fences % 2 != 0; ++fences) {
    const double waited = PostedFence(combo, kTickDeadlineMs);
    if (waited < 0) {
      Note("the console did not handle a posted message within " + std::to_string(kTickDeadlineMs) + " ms");
      return -1;
    }
    waits.push_back(waited);
  }
  const std::size_t ticks = std::min<std::size_t>(waits.size(), kMeasureMs / 750 - 1);
  std::sort(waits.begin(), waits.end(), std::greater<>());
  return ticks == 0 ? -1 : waits[ticks - 1];
}

std::string Fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// A combo box of the main window, to time the console with.
HWND AnyCombo(const Console& c) {
  for (HWND child : DirectChildren(c.main))
    if (lstrcmpiA(ClassOf(child).c_str(), "ComboBox") == 0) return child;
  FAIL_HERE("no combo box on the main window to time the console with");
  return nullptr;
}

// A double click in the nick box opens the chooser below it; a double click
// on a nick puts it into the box. The mouse stays where a hand would be.
void Chooser(Session& s, Console& c) {
  HWND box = NickBox(c);
  if (!box) {
    FAIL_HERE("the nick box");
    return;
  }
  RECT r{};
  GetWindowRect(box, &r);
  const POINT in_box{(r.right - r.left) / 2, (r.bottom - r.top) * 3 / 4};
  SetCursorPos(r.left + in_box.x, r.top + in_box.y);
  const auto start = Clock::now();
  CHECK(DoubleClick(box, in_box), "double click in the nick box");
  HWND chooser = nullptr;
  if (!WAIT_CONSOLE(s, c, [&] { return (chooser = VisibleTopLevel(c.process.id, "TForm4")) != nullptr; },
                    kTickDeadlineMs, "the nick chooser"))
    return;
  Timing("double click to the chooser", MsSince(start));
  const std::vector<HWND> lists = VisibleChildren(chooser, "ListBox");
  HWND list = lists.empty() ? nullptr : lists.front();
  RECT place{};
  GetWindowRect(chooser, &place);
  CHECK(place.top >= r.bottom, "the chooser opens below the nick box");
  if (!list) {
    FAIL_HERE("the chooser's list");
    return;
  }
  CHECK(ListCount(list) == kUsers, "the chooser lists " + std::to_string(ListCount(list)) + " nicks");
  CHECK_TEXT(ListItem(list, 1), "bobby", "the chooser's second nick");
  LRESULT height = 0;
  SendTimeout(list, LB_GETITEMHEIGHT, 0, 0, &height);
  const POINT on_nick{20, static_cast<LONG>(height + height / 2)};
  POINT screen = on_nick;
  ClientToScreen(list, &screen);
  SetCursorPos(screen.x, screen.y);
  // Still open with the mouse over it (the chooser closes once the mouse leaves).
  CHECK(VisibleTopLevel(c.process.id, "TForm4") != nullptr, "the chooser stays open with the mouse on it");
  // The picture once the nicks are drawn (dark text on the white list).
  const RECT around{std::min(r.left, place.left) - 4, r.top - 4, std::max(r.right, place.right) + 4, place.bottom + 4};
  Capture shot;
  Poll([&] {
    shot = SteadyCapture(around);
    return FindPixels(shot, [](int red, int green, int blue) { return red + green + blue < 150; }).count > 200;
  }, 3000);
  KeepScreenshot(shot, c.exe_dir, "nick-chooser");
  CHECK(DoubleClick(list, on_nick), "double click on bobby");
  WAIT_CONSOLE(s, c, [&] { return GetText(box, 256) == "bobby"; }, kTickDeadlineMs, "bobby in the nick box");
  WAIT_CONSOLE(s, c, [&] { return VisibleTopLevel(c.process.id, "TForm4") == nullptr; }, kTickDeadlineMs,
               "the chooser to close");

  // Closed without a choice: by a single click in the nick box, and by the mouse
  // over the main window's frame. The pointer stays where the chooser's list
  // shows, so the chooser's own leave rule does not close it.
  SetCursorPos(screen.x, screen.y);
  const LPARAM at = MAKELPARAM(in_box.x, in_box.y);
  RECT frame{};
  GetWindowRect(c.main, &frame);
  const std::vector<std::pair<std::string, std::function<bool()>>> closers = {
      {"a single click in the nick box",
       [&] { return PostMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, at) && PostMessageA(box, WM_LBUTTONUP, 0, at); }},
      {"the mouse over the main window's frame",
       [&] { return PostMessageA(c.main, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(frame.left + 40, frame.top + 8)); }}};
  for (const auto& [how, close] : closers) {
    CHECK(DoubleClick(box, in_box), "double click in the nick box before " + how);
    if (!WAIT_CONSOLE(s, c, [&] { return VisibleTopLevel(c.process.id, "TForm4") != nullptr; }, kTickDeadlineMs,
                      "the nick chooser before " + how))
      return;
    CHECK(close(), how);
    WAIT_CONSOLE(s, c, [&] { return VisibleTopLevel(c.process.id, "TForm4") == nullptr; }, kTickDeadlineMs,
                 "the chooser closed by " + how);
  }
  CHECK_TEXT(GetText(box, 256), "bobby", "the nick box after the chooser closed without a choice");
  SetCursorPos(1200, 1000);
}

// The console's "/setopt" at start-up presses Enter in the room's input box a
// hundred times, handling its messages between the presses: whatever is typed
// meanwhile is submitted, and with a crowd or a busy machine this goes on for
// seconds. A dot left alone in the box for half a second tells it is over.
bool SubmissionOver(const Room& room) {
  return Poll([&] {
    if (!SetText(room.input, ".")) return false;
    const bool submitted = Poll([&] { return GetText(room.input, 16).empty(); }, 500);
    if (submitted) return false;
    SetText(room.input, "");
    return true;
  }, kStartDeadlineMs);
}

// Typed one key at a time, each seen alone by the 10 ms input box watch.
bool TypeSlowly(HWND edit, const std::string& text) {
  for (char ch : text) {
    if (!TypeInto(edit, std::string(1, ch))) return false;
    Sleep(40);
  }
  return true;
}

}  // namespace

void UserTreeStory(const Setup& setup) {
  Note("user tree story (" + setup.label + ")");
  if (!setup.TreeReadable()) {
    Note("skipped: the user tree story (a 32-bit console cannot read a 64-bit room's tree)");
    return;
  }
  // A small room first: star completion in its input box, key by key, and the
  // cost of a tick without a crowd.
  double few = -1;
  LRESULT few_items = 0;
  {
    Session s(setup);
    Room& room = s.StartRoom({"--room", "le_salon_bleu", "--nick", "modo", "--users", "Bob,bobby,Carl", "--at", "340,8"},
                             "le_salon_bleu : Video Chat Room");
    if (!room.window) return;
    HWND tree = RoomTree(room);
    CHECK(tree && SendTimeout(tree, TVM_GETCOUNT, 0, 0, &few_items), "the room's user tree");
    Console& c = s.StartConsole("user-tree-small");
    if (!c.main) return;
    HWND ban = c.Child("Button", "BANNIR");
    CHECK(ban != nullptr, "the BANNIR button");
    if (ban) WAIT_CONSOLE(s, c, [&] { return IsWindowEnabled(ban) != FALSE; }, kMonitorDeadlineMs, "the rights read");
    HWND label = CountLabel(c);
    CHECK(label != nullptr, "the user count label");
    if (label)
      WAIT_CONSOLE(s, c, [&] { return GetText(label, 64) == Count(4); }, kTickDeadlineMs,
                   "the count label \"" + Count(4) + "\"");

    CHECK(SubmissionOver(room), "the console's start-up submission over");
    // A completion is the new text and then the caret moved to its end, two
    // messages: a key typed between them goes in at the start, where setting a
    // text leaves the caret. A moderator types on once the caret is at the end.
    const auto completed = [&](const std::string& line) {
      LRESULT selection = 0;
      const auto end = static_cast<WORD>(line.size());
      return GetText(room.input, 256) == line && SendTimeout(room.input, EM_GETSEL, 0, 0, &selection) &&
             LOWORD(selection) == end && HIWORD(selection) == end;
    };
    CHECK(TypeSlowly(room.input, "hi bo*"), "typing \"hi bo*\" into the room");
    if (!WAIT_CONSOLE(s, c, [&] { return completed("hi Bob"); }, kTickDeadlineMs,
                      "\"hi bo*\" completed to \"hi Bob\", the caret at its end"))
      CHECK_TEXT(GetText(room.input, 256), "hi Bob", "the room's input box (transcript: " + room.Transcript() + ")");
    CHECK(TypeSlowly(room.input, "*"), "typing the star again");
    if (!WAIT_CONSOLE(s, c, [&] { return completed("hi bobby"); }, kTickDeadlineMs,
                      "\"hi Bob*\" completed to \"hi bobby\", the caret at its end"))
      CHECK_TEXT(GetText(room.input, 256), "hi bobby", "the room's input box");
    SetText(room.input, "");

    HWND combo = AnyCombo(c);
    if (combo) few = TickMs(combo);
    s.Quit(c);
    s.CloseRoom(room);
  }

  // The crowd: 500 users more, read across processes.
  Session s(setup);
  Room& room = s.StartRoom({"--room", "le_salon_bleu", "--nick", "modo", "--users", "Bob,bobby,Carl", "--users-count",
                            std::to_string(kGenerated), "--at", "340,8"},
                           "le_salon_bleu : Video Chat Room");
  if (!room.window) return;
  HWND tree = RoomTree(room);
  LRESULT items = 0;
  CHECK(tree && SendTimeout(tree, TVM_GETCOUNT, 0, 0, &items), "the room's user tree");
  Console& c = s.StartConsole("user-tree");
  if (!c.main) return;

  // The whole tree is read: every user counted, the own nick included.
  HWND label = CountLabel(c);
  if (!label) {
    FAIL_HERE("the user count label");
    return;
  }
  if (WAIT_CONSOLE(s, c, [&] { return GetText(label, 64) == Count(kUsers); }, kStartDeadlineMs,
                   "the count label \"" + Count(kUsers) + "\""))
    Timing("console start to \"" + Count(kUsers) + "\"", MsSince(c.started));
  CHECK_TEXT(GetText(label, 64), Count(kUsers), "the count label");
  CHECK_TEXT(c.AppTitle(), "Tavlen - [" + std::to_string(kUsers) + "]", "the application title");

  Chooser(s, c);

  AnswerWatch watch(c.main);
  // What the crowd costs the console's window: its waits at the user list ticks
  // with the crowd, and (above) without it. The tree is read in the background,
  // so the two stay close.
  HWND combo = AnyCombo(c);
  const double crowded = combo ? TickMs(combo) : -1;
  CHECK(crowded > 0 && few >= 0, "the console's ticks timed");
  if (crowded > 0 && few >= 0)
    Note("tree read (" + setup.label + "): the window waits " + Fixed(crowded, 1) + " ms at a tick with " +
         std::to_string(items) + " items, " + Fixed(few, 1) + " ms with " + std::to_string(few_items));
  Timing("longest wait of the console's window while its ticks were timed", watch.Lap());

  // Users leave while the console reads: the room rebuilds its tree each time,
  // and must neither crash nor hang (it closes normally below).
  const auto leave_start = Clock::now();
  for (int i = kGenerated - kLeaving + 1; i <= kGenerated; ++i) {
    char nick[16];
    std::snprintf(nick, sizeof nick, "user%03d", i);
    std::string why;
    if (!Control(room.window, std::string("quit ") + nick, &why)) {
      FAIL_HERE(std::string("the room did not take \"quit ") + nick + "\": " + why + "; the room's process " +
                ProcessState(room.process.process));
      break;
    }
  }
  if (WAIT_CONSOLE(s, c, [&] { return GetText(label, 64) == Count(kUsers - kLeaving); }, kTickDeadlineMs,
                   "the count label \"" + Count(kUsers - kLeaving) + "\""))
    Timing(std::to_string(kLeaving) + " users leaving to \"" + Count(kUsers - kLeaving) + "\"", MsSince(leave_start));
  Timing("longest wait of the console's window while users left", watch.Lap());
  Timing("longest wait of the console's window with " + std::to_string(kUsers) + " users", watch.LongestMs());
  s.Quit(c);
  s.CloseRoom(room);
}

}  // namespace e2e
