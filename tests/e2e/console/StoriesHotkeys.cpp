// Global hotkeys pressed on the X display, the talk control and sound shortcuts.
#include <windows.h>

#include "tests/e2e/console/ConsoleParts.h"
#include "tests/e2e/console/ScreenCapture.h"
#include "tests/e2e/console/StoriesDevices.h"
#include "tests/e2e/console/SystemTools.h"
#include "ui/MenuIds.h"

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;

constexpr UINT kMods = MOD_CONTROL | MOD_ALT;
constexpr DWORD kAlreadyRegistered = 1409;  // ERROR_HOTKEY_ALREADY_REGISTERED
// Wine names the keys after X keysyms: the console's own texts read "Control".
constexpr char kHotkeysIni[] =
    "Control+Alt+T\xA4TALK\r\n"
    "Control+Alt+B\xA4" "BLOCKMIC\r\n"
    "Control+Alt+Y\xA4" "absent.wav\r\n";
constexpr char kHeldWarning[] = "Control+Alt+Y couldn't be assigned to a hotkey.";
// The debug log's trace lines (code page 1252).
constexpr char kTakeTalk[] = "-> routine ACTIVATION TALK";
constexpr char kReleaseTalk[] = "-> routine DESACTIVATION TALK";
constexpr char kTalkPressed[] = "-> Entr\xE9" "e routine hotkey>Talk/relache talk";
constexpr char kSwitchStuck[] = "-> routine TALK : le switch ne repond pas";
constexpr char kBlockPressed[] = "-> Entr\xE9" "e routine hotkey>BlockMic";
constexpr char kOther[] = "-> Entr\xE9" "e routine hotkey>OTHER";
constexpr char kChangeVolume[] = "-> Entr\xE9" "e routine hotkey>OTHER>Changevolume";
constexpr char kSoundEnd[] = "-> Fin du son du raccourci, volume WAVE r\xE9tabli";
constexpr char kAppException[] = "-> AppException";
constexpr int kSoundMs = 800;

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The debug window's text ("Déboguage", opened once from the menu).
class DebugWindow {
 public:
  explicit DebugWindow(const Console& c) : c_(c) {}
  std::string Text() {
    if (!memo_ || !IsWindow(memo_)) Open();
    return memo_ ? GetText(memo_, 1 << 20) : std::string();
  }
  bool Has(const std::string& line) { return Text().find(line) != std::string::npos; }
  std::size_t CountOf(const std::string& line) {
    const std::string text = Text();
    std::size_t n = 0;
    for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + line.size())) ++n;
    return n;
  }

 private:
  void Open() {
    if (!c_.Menu(tavlen::menu_id::kDeboguage)) return;
    Poll([&] {
      HWND form = VisibleTopLevel(c_.process.id, "TForm10");
      if (!form) return false;
      for (HWND child : DirectChildren(form))
        if (lstrcmpiA(ClassOf(child).c_str(), "Edit") == 0) memo_ = child;
      return memo_ != nullptr;
    }, kTickDeadlineMs);
  }
  const Console& c_;
  HWND memo_ = nullptr;
};

HWND StatusPopup(const Console& c) { return VisibleTopLevel(c.process.id, "THTMLPopupWindow"); }

// A status popup slides in: a picture of it is kept; then it slides out.
// Watched from the key press on: it shows for a second only.
bool StatusShown(Session& s, Console& c, const std::string& shot) {
  HWND popup = nullptr;
  if (!WAIT_CONSOLE(s, c, [&] { return (popup = StatusPopup(c)) != nullptr; }, kTickDeadlineMs,
                    "the status popup (" + shot + ")"))
    return false;
  KeepScreenshot(SteadyWindow(popup), c.exe_dir, shot);
  WAIT_CONSOLE(s, c, [&] { return StatusPopup(c) == nullptr; }, kTickDeadlineMs,
               "the status popup to slide out (" + shot + ")");
  return true;
}

// Whether another program may still register the combination: false with 1409
// while the console holds it.
bool HeldElsewhere(UINT vk) {
  constexpr int kProbeId = 0x7A01;
  if (RegisterHotKey(nullptr, kProbeId, kMods, vk)) {
    UnregisterHotKey(nullptr, kProbeId);
    return false;
  }
  return GetLastError() == kAlreadyRegistered;
}

// A real key press, made again when the console has not begun to handle it
// within a few seconds: the press goes to X through xdotool, started apart, and one
// was seen lost in a loaded run. `trace` is the line the console writes at once when
// it handles the press, so a press is never handled twice.
bool PressTraced(DebugWindow& debug, HWND window, const std::string& keys, const char* trace) {
  const std::size_t before = debug.CountOf(trace);
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (!PressKeys(window, keys)) return false;
    if (Poll([&] { return debug.CountOf(trace) > before; }, 4000)) return true;
    Note(keys + " press not seen by the console, pressed again");
  }
  return false;
}

bool PressTalk(DebugWindow& debug, HWND room) { return PressTraced(debug, room, "ctrl+alt+t", kTalkPressed); }

}  // namespace

void HotkeysStory(const Setup& setup) {
  Note("hotkeys story (" + setup.label + ")");
  Session s(setup);
  Room& room = s.StartRoom({"--room", "le_salon_bleu", "--nick", "modo", "--users", "alice,bob", "--at", "340,8"},
                           "le_salon_bleu : Video Chat Room");
  if (!room.window) return;
  for (UINT vk : {UINT{'T'}, UINT{'B'}, UINT{'Y'}, UINT{'K'}, UINT{'I'}}) Console::ForgetHotkey(kMods, vk);
  // Another program holds Ctrl+Alt+Y before the console starts.
  constexpr int kHeldId = 0x7A02;
  if (!RegisterHotKey(nullptr, kHeldId, kMods, 'Y')) {
    FAIL_HERE("the driver cannot hold Ctrl+Alt+Y (error " + std::to_string(GetLastError()) + ")");
    return;
  }
  struct Release {
    ~Release() { UnregisterHotKey(nullptr, kHeldId); }
  } release;

  Console& c = s.LaunchConsole("hotkeys", {{"hotkeys.ini", kHotkeysIni}});
  if (!c.process.process) return;
  HWND box = nullptr;
  if (WAIT_CONSOLE(s, c, [&] { return (box = MessageBoxOf(c.process.id)) != nullptr; }, kStartDeadlineMs,
                   "the warning about the combination held by another program")) {
    CHECK_TEXT(MessageBoxText(box), kHeldWarning, "the warning's text");
    CHECK_TEXT(WindowTitle(box), "Avertissement", "the warning's caption");
    KeepScreenshot(SteadyWindow(box), c.exe_dir, "held-hotkey-warning");
    CHECK(DismissMessageBox(box), "the warning closed with its OK button");
  }
  if (!s.AwaitMainWindow(c)) return;
  CHECK(MessageBoxOf(c.process.id) == nullptr, "one warning only");
  // The own nick is known once the room's answer to "/setopt" has been read.
  HWND ban = c.Child("Button", "BANNIR");
  CHECK(ban != nullptr, "the BANNIR button");
  if (ban) WAIT_CONSOLE(s, c, [&] { return IsWindowEnabled(ban) != FALSE; }, kMonitorDeadlineMs, "the rights read");

  // The console's registrations are the system's: another program is refused.
  WAIT_CONSOLE(s, c, [] { return Console::HotkeyRegistered(kMods, 'B'); }, kStartDeadlineMs,
               "the hotkeys to be registered");
  WAIT_CONSOLE(s, c, [&] { return HeldElsewhere('T') && HeldElsewhere('B'); }, kTickDeadlineMs,
               "Ctrl+Alt+T and Ctrl+Alt+B refused to another program with error 1409");
  DebugWindow debug(c);

  // TALK on the keyboard: the own nick takes the microphone, "MIC ON".
  // The popup follows the switch: once it shows, the indicator names the own nick.
  auto start = Clock::now();
  CHECK(PressTalk(debug, room.window), "Ctrl+Alt+T pressed");
  if (StatusShown(s, c, "mic-on")) Timing("Ctrl+Alt+T pressed to MIC ON gone", MsSince(start));
  CHECK_TEXT(room.Talker(), "modo", "the talker indicator after MIC ON");
  CHECK(debug.Has(kTakeTalk), "the debug log traces the take");
  // Pressed again: the microphone goes back, "MIC OFF".
  start = Clock::now();
  CHECK(PressTalk(debug, room.window), "Ctrl+Alt+T pressed again");
  if (StatusShown(s, c, "mic-off")) Timing("second Ctrl+Alt+T pressed to MIC OFF gone", MsSince(start));
  CHECK_TEXT(room.Talker(), "", "the talker indicator after MIC OFF");
  CHECK(debug.Has(kReleaseTalk), "the debug log traces the release");
  CHECK(debug.CountOf(kTakeTalk) == 1, "one take only");

  // BLOCKMIC on the keyboard blocks whoever talks.
  CHECK(Control(room.window, "talker alice"), "alice takes the microphone");
  start = Clock::now();
  CHECK(PressTraced(debug, room.window, "ctrl+alt+b", kBlockPressed), "Ctrl+Alt+B pressed");
  if (WAIT_CONSOLE(s, c, [&] { return EndsWith(room.Transcript(), "Command accepted: /blockmic alice\r\n"); },
                   kTickDeadlineMs, "\"/blockmic alice\" in the room"))
    Timing("Ctrl+Alt+B pressed to /blockmic in the room", MsSince(start));

  // A room whose talk switch refuses to change, brought on top: the clicks stop
  // within their bound and "MIC BLOQUÉ" shows, on one line.
  Room& refusing = s.StartRoom({"--room", "refus", "--nick", "modo", "--refuse-talk", "--at", "360,40"},
                               "refus : Video Chat Room");
  if (!refusing.window) return;
  if (!WAIT_CONSOLE(s, c, [&] { return c.Caption() == "Tavlen - refus"; }, kTickDeadlineMs,
                    "the console to take the refusing room"))
    return;
  start = Clock::now();
  CHECK(PressTalk(debug, refusing.window), "Ctrl+Alt+T pressed in the refusing room");
  HWND popup = nullptr;
  if (WAIT_CONSOLE(s, c, [&] { return (popup = StatusPopup(c)) != nullptr; }, kTickDeadlineMs,
                   "the status popup after the refused clicks")) {
    Timing("Ctrl+Alt+T pressed to the stuck switch's popup", MsSince(start));
    const Capture shot = SteadyWindow(popup);
    KeepScreenshot(shot, c.exe_dir, "mic-blocked");
    const PixelBox text = FindPixels(shot, [](int r, int g, int b) { return r + g + b < 200; });
    CHECK(text.count > 20 && text.bottom - text.top < 30,
          "\"MIC BLOQU\xC9\" on one line (text " + std::to_string(text.bottom - text.top) + " px high)");
    WAIT_CONSOLE(s, c, [&] { return StatusPopup(c) == nullptr; }, kTickDeadlineMs, "the stuck switch's popup to go");
  }
  CHECK(debug.Has(kSwitchStuck), "the debug log says the switch does not answer");
  CHECK_TEXT(refusing.Talker(), "", "nobody talks in the refusing room");

  // "Raccourcis Clavier": TALK changed, BLOCKMIC removed, SRCMIC added, then
  // "Valider". The file holds the three, the old keys are free again, and the
  // new TALK key answers a press. Ctrl+Alt+Y is still held by the driver: the save
  // warns about it again.
  CHECK(c.Menu(tavlen::menu_id::kRaccourcisClavier), "Raccourcis Clavier posted");
  HWND keys = nullptr;
  if (!WAIT_CONSOLE(s, c, [&] { return (keys = VisibleTopLevel(c.process.id, "TForm7")) != nullptr; },
                    kTickDeadlineMs, "the hotkey window"))
    return;
  const std::vector<HWND> boxes = VisibleChildren(keys, "Edit");
  if (boxes.size() != 4) {
    FAIL_HERE("the hotkey window's four boxes");
    return;
  }
  CHECK_TEXT(GetText(boxes[0], 64) + "|" + GetText(boxes[1], 64), "Control+Alt+T|Control+Alt+B",
             "the boxes filled from the table");
  CHECK(SetText(boxes[0], "Control+Alt+K") && SetText(boxes[1], "") && SetText(boxes[2], "Control+Alt+I"),
        "TALK changed, BLOCKMIC emptied, SRCMIC typed");
  KeepScreenshot(CaptureWindow(keys), c.exe_dir, "hotkey-window");
  HWND valider = LowestChild(keys, "Button", "Valider");
  CHECK(valider && PostClick(valider), "click on Valider");
  if (WAIT_CONSOLE(s, c, [&] { return (box = MessageBoxOf(c.process.id)) != nullptr; }, kTickDeadlineMs,
                   "the warning about Ctrl+Alt+Y at the save")) {
    CHECK_TEXT(MessageBoxText(box), kHeldWarning, "the save's warning");
    CHECK(DismissMessageBox(box), "the warning closed");
  }
  WAIT_CONSOLE(s, c, [&] { return VisibleTopLevel(c.process.id, "TForm7") == nullptr; }, kTickDeadlineMs,
               "the hotkey window closed");
  CHECK_TEXT(FileBytes(c.exe_dir + "\\hotkeys.ini"),
             "Control+Alt+K\xA4TALK\r\nControl+Alt+I\xA4SRCMIC\r\nControl+Alt+Y\xA4" "absent.wav\r\n",
             "hotkeys.ini after Valider");
  WAIT_CONSOLE(s, c, [] { return Console::HotkeyRegistered(kMods, 'K') && Console::HotkeyRegistered(kMods, 'I'); },
               kTickDeadlineMs, "Ctrl+Alt+K and Ctrl+Alt+I registered");
  CHECK(!HeldElsewhere('T') && !HeldElsewhere('B'), "Ctrl+Alt+T and Ctrl+Alt+B given back to the system");
  CHECK(PressTraced(debug, refusing.window, "ctrl+alt+k", kTalkPressed), "Ctrl+Alt+K answered as TALK");
  WAIT_CONSOLE(s, c, [&] { return StatusPopup(c) == nullptr; }, kTickDeadlineMs, "the stuck switch's popup to go");

  s.Quit(c);
  s.CloseRoom(refusing);
  s.CloseRoom(room);
}

void SoundShortcutStory(const Setup& setup) {
  Note("sound shortcut story (" + setup.label + ")");
  if (!setup.pulse) {
    Note("skipped: the sound shortcut story (no PulseAudio started by the harness)");
    return;
  }
  SoundDevices pulse("pulse");
  CHECK(pulse.Applied(), "Wine's audio driver setting written");
  Console::ForgetHotkey(kMods, 'S');
  Console::ForgetHotkey(kMods, 'J');
  const std::string folder = "sound-shortcut";
  const std::string sound = setup.work + "\\" + folder + "\\ding.wav";
  Session s(setup);
  // An owner's room: the sound shortcut window is in the owner's "Commandes".
  Room& room = s.StartRoom({"--room", "sons", "--nick", "modo", "--owner", "--at", "340,8"}, "sons : Video Chat Room");
  if (!room.window) return;
  Console& c = s.StartConsole(folder, {{"hotkeys.ini", "Control+Alt+S\xA4" + sound + "\r\n"},
                                       {"ding.wav", WaveFileBytes(kSoundMs)}});
  if (!c.main) return;
  WAIT_CONSOLE(s, c, [] { return Console::HotkeyRegistered(kMods, 'S'); }, kStartDeadlineMs,
               "the sound shortcut to be registered");
  DebugWindow debug(c);
  debug.Text();

  const auto start = Clock::now();
  CHECK(PressTraced(debug, c.main, "ctrl+alt+s", kOther), "Ctrl+Alt+S pressed");
  if (WAIT_CONSOLE(s, c, [&] { return debug.Has(kChangeVolume); }, kTickDeadlineMs,
                   "the sound opened (the volume change traced)"))
    Timing("Ctrl+Alt+S pressed to the sound opened", MsSince(start));
  CHECK(debug.Has(kOther), "the press traced as a sound shortcut");
  // The end watch sees the sound played out and puts the wave level back.
  if (WAIT_CONSOLE(s, c, [&] { return debug.Has(kSoundEnd); }, kTickDeadlineMs + kSoundMs,
                   "the end of the sound traced")) {
    const double ms = MsSince(start);
    Timing("Ctrl+Alt+S pressed to the end of its " + std::to_string(kSoundMs) + " ms sound", ms);
    CHECK(ms >= kSoundMs / 2, "the end seen no sooner than the sound could play");
  }
  CHECK(!debug.Has(kAppException), "no error while playing");
  CHECK(debug.CountOf(kSoundEnd) == 1, "the end seen once");

  // "Raccourcis de sons": a shortcut added, played and stopped in the window, the
  // old one removed, saved; the file holds the new one only, and its key plays.
  HWND ban = c.Child("Button", "BANNIR");
  if (!ban || !WAIT_CONSOLE(s, c, [&] { return IsWindowEnabled(ban) != FALSE; }, kMonitorDeadlineMs,
                            "the owner's rights (the Commandes menu)"))
    return;
  CHECK(c.Menu(tavlen::menu_id::kRaccourcisDeSons), "Commandes > Raccourcis de sons posted");
  HWND form = nullptr;
  if (!WAIT_CONSOLE(s, c, [&] { return (form = VisibleTopLevel(c.process.id, "TForm8")) != nullptr; },
                    kTickDeadlineMs, "the sound shortcut window"))
    return;
  const std::vector<HWND> lists = VisibleChildren(form, "ListBox");
  const std::vector<HWND> boxes = VisibleChildren(form, "Edit");
  if (lists.size() != 2 || boxes.size() != 2) {
    FAIL_HERE("the window's two lists and its key and file boxes");
    return;
  }
  HWND shortcuts = lists[0];  // the upper list, left; the available keys are below the group
  CHECK_TEXT(ListItem(shortcuts, 0), "Control+Alt+S", "the shortcut read from hotkeys.ini");
  CHECK(TypeInto(boxes[0], "Control+Alt+J") && TypeInto(boxes[1], sound), "the new shortcut's key and file typed");
  const auto press = [&](const char* caption) {
    HWND button = LowestChild(form, "Button", caption);
    CHECK(button && PostClick(button), std::string("click on ") + caption);
  };
  press("Ajouter");
  if (!WAIT_CONSOLE(s, c, [&] { return ListCount(shortcuts) == 2; }, kTickDeadlineMs, "the new shortcut listed"))
    return;
  CHECK_TEXT(ListItem(shortcuts, 1), "Control+Alt+J", "the new shortcut's key");
  CHECK(ClickListItem(shortcuts, 1), "click on the new shortcut");
  WAIT_CONSOLE(s, c, [&] { return ListSelection(shortcuts) == 1; }, kTickDeadlineMs, "the new shortcut selected");
  press("Jouer le son");
  press("Sopper le son");
  KeepScreenshot(CaptureWindow(form), c.exe_dir, "sound-shortcut-window");
  CHECK(ClickListItem(shortcuts, 0), "click on the old shortcut");
  WAIT_CONSOLE(s, c, [&] { return ListSelection(shortcuts) == 0; }, kTickDeadlineMs, "the old shortcut selected");
  press("Supprimer le Raccourci");
  if (!WAIT_CONSOLE(s, c, [&] { return ListCount(shortcuts) == 1; }, kTickDeadlineMs, "the old shortcut removed"))
    return;
  press("ENREGITRER ET SORTIR");
  WAIT_CONSOLE(s, c, [&] { return VisibleTopLevel(c.process.id, "TForm8") == nullptr; }, kTickDeadlineMs,
               "the sound shortcut window closed");
  CHECK_TEXT(FileBytes(c.exe_dir + "\\hotkeys.ini"), "Control+Alt+J\xA4" + sound + "\r\n", "hotkeys.ini after the save");
  CHECK(!debug.Has(kAppException), "no error in the sound shortcut window");
  WAIT_CONSOLE(s, c, [] { return Console::HotkeyRegistered(kMods, 'J'); }, kTickDeadlineMs,
               "the new shortcut registered");
  CHECK(!HeldElsewhere('S'), "the removed shortcut's key given back to the system");
  CHECK(PressTraced(debug, c.main, "ctrl+alt+j", kOther), "Ctrl+Alt+J pressed");
  WAIT_CONSOLE(s, c, [&] { return debug.CountOf(kSoundEnd) == 2; }, kTickDeadlineMs + kSoundMs,
               "the new shortcut's sound played to its end");

  s.Quit(c);
}

}  // namespace e2e
