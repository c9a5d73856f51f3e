#include "tests/e2e/console/Stories.h"

#include "tests/e2e/console/ConsoleParts.h"
#include "tests/e2e/console/ScreenCapture.h"
#include "tests/e2e/console/Session.h"
#include "tests/e2e/console/SystemTools.h"
#include "ui/MenuIds.h"

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kSetoptAnswer[] = "modo : /setopt\r\nOperation failed! Your current level is: OPPLUS.\r\n";
constexpr char kInactive[] = "Tavlen - [INACTIF]";
// Ctrl+Alt+F9 takes or gives back the microphone, Ctrl+Alt+F10 blocks the talker's.
constexpr char kHotkeysIni[] = "Ctrl+Alt+F9\xA4TALK\r\nCtrl+Alt+F10\xA4" "BLOCKMIC\r\n";
constexpr UINT kHotkeyModifiers = MOD_CONTROL | MOD_ALT;

// The stories own the desktop: a console or a room left by another story or
// run sharing the Wine prefix (its wineserver, hence its windows and hotkeys)
// would take part in this one.
bool DesktopFree(const std::string& room_title) {
  for (const char* cls : {"TForm1", "CamfrogRoom"}) {
    const bool room = std::string(cls) == "CamfrogRoom";
    HWND other = FindWindowA(cls, room && !room_title.empty() ? room_title.c_str() : nullptr);
    if (!other) continue;
    char text[256] = {};
    GetWindowTextA(other, text, sizeof text);
    FAIL_HERE(std::string(room ? "a room" : "a console") + " is already open: \"" + text +
              "\" (left by an earlier story, or another run in this Wine prefix)");
    return false;
  }
  return true;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The nick box beside "Pseudo concerné :": the only edit the folded main window shows.
HWND NickBox(const Console& console) {
  for (HWND c : DirectChildren(console.main))
    if (lstrcmpiA(ClassOf(c).c_str(), "Edit") == 0 && IsWindowVisible(c)) return c;
  return nullptr;
}

// The console refuses every close request of its frame; only the end of the
// Windows session ends it.
void CloseRequests(Session& s, Console& c) {
  const std::string caption = c.Caption();
  const auto start = Clock::now();
  CHECK(SendTimeout(c.main, WM_CLOSE, 0, 0), "WM_CLOSE handled by the main window");
  CHECK(SendTimeout(c.main, WM_SYSCOMMAND, SC_CLOSE, 0), "Alt+F4 (SC_CLOSE) handled by the main window");
  CHECK(SendTimeout(c.app, WM_CLOSE, 0, 0), "WM_CLOSE handled by the taskbar button's window");
  // The key itself: the default procedure turns Alt+F4 into SC_CLOSE.
  CHECK(PostMessageA(c.main, WM_SYSKEYDOWN, VK_F4, (1 << 29) | (MapVirtualKeyA(VK_F4, 0) << 16) | 1),
        "Alt+F4 key posted");
  CHECK(WaitForSingleObject(c.process.process, 1500) == WAIT_TIMEOUT,
        "the console ended after a close request");
  CHECK(IsWindow(c.main) && IsWindowVisible(c.main), "the main window is still shown after the close requests");
  CHECK_TEXT(c.Caption(), caption, "caption after the close requests");
  Timing("close requests refused (1.5 s watched)", MsSince(start));
}

// The help and the about box: each opens from its menu entry with its caption,
// is kept as a screenshot, and closes.
void HelpWindows(Session& s, Console& c) {
  const struct {
    int menu;
    const char* form;
    std::string caption;
    const char* shot;
  } windows[] = {{tavlen::menu_id::kAide, "TForm11", "Aide rapide", "help"},
                 {tavlen::menu_id::kAPropos, "TForm3", "\xC0 propos de Tavlen", "about"}};
  for (const auto& w : windows) {
    CHECK(c.Menu(w.menu), std::string("the menu entry of ") + w.form + " posted");
    HWND window = nullptr;
    if (!WAIT_CONSOLE(s, c, [&] { return (window = VisibleTopLevel(c.process.id, w.form)) != nullptr; },
                      kTickDeadlineMs, std::string("the window ") + w.form))
      continue;
    CHECK_TEXT(GetText(window, 64), w.caption, std::string("the caption of ") + w.form);
    KeepScreenshot(SteadyWindow(window), c.exe_dir, w.shot);
    PostMessageA(window, WM_CLOSE, 0, 0);
    WAIT_CONSOLE(s, c, [&] { return !IsWindowVisible(window); }, kTickDeadlineMs, std::string("the window ") + w.form + " to close");
  }
}

void EndOfSession(Session& s, Console& c) {
  LRESULT app_answer = 0;
  LRESULT main_answer = 0;
  CHECK(SendTimeout(c.app, WM_QUERYENDSESSION, 0, 0, &app_answer) && app_answer == TRUE,
        "the taskbar button's window lets the session end");
  CHECK(SendTimeout(c.main, WM_QUERYENDSESSION, 0, 0, &main_answer) && main_answer == TRUE,
        "the main window lets the session end");
  CHECK(c.Running(), "asking alone does not end the console");
  const auto start = Clock::now();
  PostMessageA(c.main, WM_ENDSESSION, TRUE, 0);
  Launched& process = c.process;
  if (WaitExit(process, kExitDeadlineMs)) Timing("WM_ENDSESSION to process end", MsSince(start));
  else FAIL_HERE("the console did not end with the session");
}

}  // namespace

void DefaultRoomStory(const Setup& setup) {
  Note("default room story (" + setup.label + ")");
  if (!DesktopFree("le_salon_bleu : Video Chat Room")) return;
  Session s(setup);
  Room& room = s.StartRoom({"--room", "le_salon_bleu", "--nick", "modo", "--users", "alice,bob,carl", "--at", "340,8"},
                           "le_salon_bleu : Video Chat Room");
  if (!room.window) return;
  Console::ForgetHotkey(kHotkeyModifiers, VK_F9);
  Console::ForgetHotkey(kHotkeyModifiers, VK_F10);
  const auto start = Clock::now();
  Console& c = s.StartConsole("default-room", {{"hotkeys.ini", kHotkeysIni}});
  if (!c.main) return;

  // Start-up types "/setopt" into the default room, which answers.
  if (!WAIT_CONSOLE(s, c, [&] { return room.Transcript() == kSetoptAnswer; }, kStartDeadlineMs,
                    "the room's answer to /setopt"))
    CHECK_TEXT(room.Transcript(), kSetoptAnswer, "transcript after start-up");
  Timing("console start to the room's answer", MsSince(start));
  WAIT_CONSOLE(s, c, [&] { return c.Caption() == "Tavlen - le_salon_bleu"; }, kTickDeadlineMs,
               "the caption \"Tavlen - le_salon_bleu\"");

  // The monitor reads the answer: the level unlocks the restricted buttons.
  HWND ban = c.Child("Button", "BANNIR");
  HWND unban = c.Child("Button", "DEBANNIR");
  CHECK(ban && unban, "BANNIR and DEBANNIR buttons");
  if (ban) WAIT_CONSOLE(s, c, [&] { return IsWindowEnabled(ban) != FALSE; }, kMonitorDeadlineMs, "BANNIR enabled");
  CHECK_TEXT(room.Transcript(), kSetoptAnswer, "transcript once the rights are known (one /setopt only)");

  // The user list, read in the room's memory, counts on the taskbar button.
  if (setup.TreeReadable()) {
    if (!WAIT_CONSOLE(s, c, [&] { return c.AppTitle() == "Tavlen - [4]"; }, kTickDeadlineMs,
                      "the application title \"Tavlen - [4]\""))
      CHECK_TEXT(c.AppTitle(), "Tavlen - [4]", "application title");
  } else {
    Note("skipped: user count (a 32-bit console cannot read a 64-bit room's tree)");
  }

  // Typing in the console and clicking one of its buttons reaches the room.
  HWND nick = NickBox(c);
  CHECK(nick != nullptr, "the nick box");
  if (nick && unban) {
    CHECK(TypeInto(nick, "bob"), "typing the nick");
    CHECK_TEXT(GetText(nick, 256), "bob", "nick box after typing");
    // A click handler that types into the room takes its time: posted, as a mouse's.
    CHECK(PostClick(unban), "click on DEBANNIR");
    WAIT_CONSOLE(s, c, [&] { return EndsWith(room.Transcript(), "Command accepted: /banlist remove bob\r\n"); },
                 kTickDeadlineMs, "\"/banlist remove bob\" in the room");
  }

  // The talk hotkey clicks "Hands Free" until the indicator, read through real
  // messages, names the own nick; pressed again it gives the microphone back.
  // Registered in file order: the block hotkey last.
  WAIT_CONSOLE(s, c, [] { return Console::HotkeyRegistered(kHotkeyModifiers, VK_F10); }, kStartDeadlineMs,
               "the hotkeys to be registered");
  auto talk_start = Clock::now();
  CHECK(c.Hotkey(kHotkeyModifiers, VK_F9), "TALK hotkey posted");
  WAIT_CONSOLE(s, c, [&] { return room.Talker() == "modo"; }, kTickDeadlineMs, "the indicator to name modo");
  Timing("TALK hotkey to the own nick on the indicator", MsSince(talk_start));
  talk_start = Clock::now();
  CHECK(c.Hotkey(kHotkeyModifiers, VK_F9), "second TALK hotkey posted");
  WAIT_CONSOLE(s, c, [&] { return room.Talker().empty(); }, kTickDeadlineMs, "the indicator to empty");
  Timing("second TALK hotkey to an empty indicator", MsSince(talk_start));
  // Someone else talks: the block hotkey names them.
  CHECK(Control(room.window, "talker carl"), "carl takes the microphone");
  CHECK(c.Hotkey(kHotkeyModifiers, VK_F10), "BLOCKMIC hotkey posted");
  WAIT_CONSOLE(s, c, [&] { return EndsWith(room.Transcript(), "Command accepted: /blockmic carl\r\n"); },
               kTickDeadlineMs, "\"/blockmic carl\" in the room");

  HelpWindows(s, c);
  CloseRequests(s, c);
  EndOfSession(s, c);
  s.CloseRoom(room);
}

void DiscoveryStory(const Setup& setup) {
  Note("discovery story (" + setup.label + ")");
  if (!DesktopFree("")) return;
  Session s(setup);
  Console& c = s.StartConsole("discovery");
  if (!c.main) return;
  // No room anywhere.
  WAIT_CONSOLE(s, c, [&] { return c.AppTitle() == kInactive; }, kTickDeadlineMs, "the inactive application title");
  WAIT_CONSOLE(s, c, [&] { return c.Caption() == "Tavlen - "; }, kTickDeadlineMs, "the caption \"Tavlen - \"");

  // A room opens: discovery adopts it.
  Room& room = s.StartRoom({"--room", "salon", "--nick", "modo", "--users", "dave", "--at", "340,8"},
                           "salon : Video Chat Room");
  if (!room.window) return;
  auto start = Clock::now();
  if (!WAIT_CONSOLE(s, c, [&] { return c.Caption() == "Tavlen - salon"; }, kTickDeadlineMs,
                    "the caption \"Tavlen - salon\""))
    CHECK_TEXT(c.Caption(), "Tavlen - salon", "caption");
  Timing("room window to the console's caption", MsSince(start));
  if (setup.TreeReadable()) {
    WAIT_CONSOLE(s, c, [&] { return c.AppTitle() == "Tavlen - [2]"; }, kTickDeadlineMs,
                 "the application title \"Tavlen - [2]\"");
    // A new room is asked for the rights once its users are known.
    if (!WAIT_CONSOLE(s, c, [&] { return room.Transcript() == kSetoptAnswer; }, kTickDeadlineMs,
                      "/setopt in the adopted room"))
      CHECK_TEXT(room.Transcript(), kSetoptAnswer, "transcript of the adopted room");
  } else {
    Note("skipped: user count and the new room's /setopt (a 32-bit console cannot read a 64-bit room's tree)");
    WAIT_CONSOLE(s, c, [&] { return c.AppTitle().rfind("Tavlen - [", 0) == 0 && c.AppTitle() != kInactive; },
                 kTickDeadlineMs, "the application title to leave the inactive state");
  }

  // The room closes: the console goes inactive.
  start = Clock::now();
  s.CloseRoom(room);
  if (!WAIT_CONSOLE(s, c, [&] { return c.AppTitle() == kInactive; }, kTickDeadlineMs,
                    "the inactive application title after the room closed"))
    CHECK_TEXT(c.AppTitle(), kInactive, "application title");
  Timing("room closed to the inactive title", MsSince(start));
  WAIT_CONSOLE(s, c, [&] { return c.Caption() == "Tavlen - "; }, kTickDeadlineMs,
               "the caption \"Tavlen - \" after the room closed");

  // A room with a long topic: its title passes every read limit, and it is
  // still adopted and written to.
  const std::string topic(600, 't');
  Room& long_room = s.StartRoom({"--room", "long", "--topic", topic, "--nick", "modo", "--users", "dave", "--at", "340,8"},
                                "long, Topic: " + topic);
  if (!long_room.window) return;
  WAIT_CONSOLE(s, c, [&] { return c.Caption() == "Tavlen - long"; }, kTickDeadlineMs,
               "the caption \"Tavlen - long\" for a 613-character title");
  if (setup.TreeReadable())
    WAIT_CONSOLE(s, c, [&] { return long_room.Transcript() == kSetoptAnswer; }, kTickDeadlineMs,
                 "/setopt in the room with the long title");
  s.CloseRoom(long_room);

  // "Quitter" ends the program.
  start = Clock::now();
  CHECK(c.Menu(tavlen::menu_id::kQuitter), "Quitter posted");
  if (WaitExit(c.process, kExitDeadlineMs)) Timing("Quitter to process end", MsSince(start));
  else FAIL_HERE("the console did not end after Quitter");
}

namespace {

// The desktop's scale as a program aware of it sees it.
int DesktopDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

bool Near(int actual, int expected) { return std::abs(actual - expected) <= 2; }

std::string Size(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

// A window drawn for the scale: `width` x `height` 96-DPI units (its client
// area, or its frame when `frame`), and every caption of its buttons and labels
// inside its control, in a font made for the scale rather than stretched.
void CheckScaled(HWND window, int dpi, int width, int height, bool frame, const std::string& what) {
  RECT r{};
  if (frame) GetWindowRect(window, &r);
  else GetClientRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  CHECK(Near(w, MulDiv(width, dpi, 96)) && Near(h, MulDiv(height, dpi, 96)),
        what + " is " + Size(w, h) + " at " + std::to_string(dpi) + " DPI, expected " +
            Size(MulDiv(width, dpi, 96), MulDiv(height, dpi, 96)));
  HDC dc = GetDC(window);
  for (HWND child : DirectChildren(window)) {
    const std::string cls = ClassOf(child);
    const std::string text = GetText(child, 256);
    if (!IsWindowVisible(child) || text.empty() || (cls != "Button" && cls != "Static")) continue;
    const auto font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0));
    LOGFONTA lf{};
    if (!font || !GetObjectA(font, sizeof lf, &lf)) continue;
    // 8 points and up: 11 pixels at 96 DPI, 16 at 144, 21 at 192.
    CHECK(std::abs(lf.lfHeight) >= MulDiv(8, dpi, 72), what + ": \"" + Shown(text) + "\" in a font of " +
                                                          std::to_string(std::abs(lf.lfHeight)) + " pixels");
    const HGDIOBJ previous = SelectObject(dc, font);
    SIZE extent{};
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {  // "&x" shows as an underlined x, "&&" as "&"
      if (text[i] == '&' && ++i == text.size()) break;
      shown += text[i];
    }
    GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &extent);
    SelectObject(dc, previous);
    RECT inside{};
    GetClientRect(child, &inside);
    const bool multiline = (GetWindowLongA(child, GWL_STYLE) & BS_MULTILINE) && cls == "Button";
    if (!multiline)
      CHECK(extent.cx <= inside.right, what + ": \"" + Shown(text) + "\" (" + std::to_string(extent.cx) +
                                           " pixels) fits its control of " + std::to_string(inside.right));
  }
  ReleaseDC(window, dc);
}

}  // namespace

void ScalesStory(const Setup& setup) {
  // A driver aware of the scale sees the desktop's own pixels.
  if (auto aware = reinterpret_cast<BOOL(WINAPI*)()>(
          reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDPIAware"))))
    aware();
  const int dpi = DesktopDpi();
  const std::string at = std::to_string(dpi);
  Note("scales story at " + at + " DPI (" + setup.label + ")");
  if (!DesktopFree("le_salon_bleu : Video Chat Room")) return;
  Session s(setup);
  Room& room = s.StartRoom({"--room", "le_salon_bleu", "--nick", "modo", "--users", "alice,bob,carl", "--at", "700,8"},
                           "le_salon_bleu : Video Chat Room");
  if (!room.window) return;
  Console& c = s.StartConsole("scale-" + at, {{"highlight.ini", "vend\r\n"}});
  if (!c.main) return;
  if (!WAIT_CONSOLE(s, c, [&] { return c.Caption() == "Tavlen - le_salon_bleu"; }, kStartDeadlineMs,
                    "the caption \"Tavlen - le_salon_bleu\""))
    return;
  HWND ban = c.Child("Button", "BANNIR");
  if (ban) WAIT_CONSOLE(s, c, [&] { return IsWindowEnabled(ban) != FALSE; }, kMonitorDeadlineMs, "BANNIR enabled");
  CheckScaled(c.main, dpi, 327, 180, true, "the main window");
  KeepScreenshot(SteadyWindow(c.main), c.exe_dir, "main-" + at);

  // A watched word while the console is in front.
  SetForegroundWindow(c.main);
  WAIT_CONSOLE(s, c, [&] { return GetForegroundWindow() == c.main; }, kTickDeadlineMs, "the console in front");
  CHECK(Control(room.window, "say alice|qui vend un v\xE9lo ?"), "alice says a watched word");
  HWND popup = nullptr;
  if (WAIT_CONSOLE(s, c, [&] { return (popup = VisibleTopLevel(c.process.id, "THTMLPopupWindow")) != nullptr; },
                   kMonitorDeadlineMs, "the notification")) {
    CheckScaled(popup, dpi, 200, 90, true, "the notification");
    const Capture shot = SteadyWindow(popup);
    KeepScreenshot(shot, c.exe_dir, "notification-" + at);
    // The speaker in blue and the word in red, whole inside the frame.
    const PixelBox speaker = FindPixels(shot, [](int r, int g, int b) { return b > 150 && r < 100 && g < 100; });
    const PixelBox word = FindPixels(shot, [](int r, int g, int b) { return r > 150 && g < 100 && b < 100; });
    const PixelBox face = FindPixels(shot, [](int r, int g, int b) { return r > 200 && g > 200 && b > 200; });
    CHECK(face.count > shot.width * shot.height / 2 && face.left <= 2 && face.top <= 2 &&
              face.right >= shot.width - 2 && face.bottom >= shot.height - 2,
          "the notification's face fills its window at " + at + " DPI");
    CHECK(speaker.count > 0 && word.count > 0 && speaker.left > 2 && word.left > 2 && speaker.right < shot.width - 2 &&
              word.right < shot.width - 2 && word.bottom < shot.height - 2,
          "the speaker and the word inside the notification at " + at + " DPI");
  }

  // The chooser, opened by a double click in the nick box.
  HWND box = NickBox(c);
  if (box) {
    // The pointer where a hand would be: the chooser closes once it leaves.
    RECT r{};
    GetWindowRect(box, &r);
    const POINT in_box{(r.right - r.left) / 2, (r.bottom - r.top) / 2};
    CHECK(PointerAt(POINT{r.left + in_box.x, r.top + in_box.y}), "the pointer in the nick box");
    CHECK(DoubleClick(box, in_box), "double click in the nick box");
    HWND chooser = nullptr;
    if (WAIT_CONSOLE(s, c, [&] { return (chooser = VisibleTopLevel(c.process.id, "TForm4")) != nullptr; },
                     kTickDeadlineMs, "the nick chooser")) {
      CheckScaled(chooser, dpi, 153, 380, false, "the chooser");
      const auto lists = VisibleChildren(chooser, "ListBox");
      LRESULT item = 0;
      CHECK(!lists.empty() && SendTimeout(lists.front(), LB_GETITEMHEIGHT, 0, 0, &item) &&
                Near(static_cast<int>(item), MulDiv(16, dpi, 96)),
            "the chooser's items are " + std::to_string(item) + " pixels high at " + at + " DPI");
      // Once the nicks are drawn (dark text on the white list), the pointer still
      // in the box: the chooser stays through the console's 10 ms leave checks.
      Capture shot;
      CHECK(Poll([&] {
              shot = SteadyWindow(chooser);
              return FindPixels(shot, [](int r, int g, int b) { return r + g + b < 150; }).count > 50;
            }, kTickDeadlineMs),
            "the chooser's nicks drawn at " + at + " DPI");
      KeepScreenshot(shot, c.exe_dir, "chooser-" + at);
      CHECK(IsWindowVisible(chooser), "the chooser open with the pointer in the box at " + at + " DPI");
      PostMessageA(chooser, WM_CLOSE, 0, 0);
      WAIT_CONSOLE(s, c, [&] { return !IsWindowVisible(chooser); }, kTickDeadlineMs, "the chooser to close");
    }
  } else {
    FAIL_HERE("the nick box");
  }

  // The editor.
  SetCursorPos(0, GetSystemMetrics(SM_CYSCREEN) - 1);  // no hint over the editor's picture
  CHECK(c.Menu(tavlen::menu_id::kEditerLesMessages), "Editer les messages posted");
  HWND editor = nullptr;
  if (WAIT_CONSOLE(s, c, [&] { return (editor = VisibleTopLevel(c.process.id, "TForm2")) != nullptr; },
                   kTickDeadlineMs, "the editor")) {
    CheckScaled(editor, dpi, 506, 476, false, "the editor");
    KeepScreenshot(SteadyWindow(editor), c.exe_dir, "editor-" + at);
    PostMessageA(editor, WM_CLOSE, 0, 0);
    WAIT_CONSOLE(s, c, [&] { return !IsWindowVisible(editor); }, kTickDeadlineMs, "the editor to close");
  }
  s.CloseRoom(room);
}

}  // namespace e2e
