#include "tests/e2e/console/StoriesMonitor.h"

#include <cstdlib>
#include <fstream>

#include "tests/e2e/console/ConsoleParts.h"
#include "tests/e2e/console/ScreenCapture.h"
#include "tests/e2e/console/SystemTools.h"
#include "ui/MenuIds.h"

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kRoomTitle[] = "le_salon_bleu : Video Chat Room";
constexpr char kTopicTitle[] = "le_salon_bleu, Topic: Soir\xE9" "e quiz";
constexpr char kOwnerAnswer[] = "/SETOPT arguments: talk_time <seconds>, moderated <0|1>, ...";
constexpr char kPopupClass[] = "THTMLPopupWindow";
// The notification's size and the player's title.
constexpr int kPopupWidth = 200;
constexpr int kPopupHeight = 90;
constexpr char kPlayerTitle[] = "12. Artist - Song - Winamp";
constexpr char kSongAnswer[] = "modo : [[ Actuellement sur Le Phare ]] : Artist - Song\r\n";

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool Blue(int r, int g, int b) { return b > 180 && r < 90 && g < 90; }
bool Red(int r, int g, int b) { return r > 180 && g < 90 && b < 90; }
bool Dark(int r, int g, int b) { return r < 80 && g < 80 && b < 80; }

// Whether a row of the box is almost wholly of that colour: the underline.
bool Underlined(const Capture& shot, const PixelBox& box, bool (*match)(int, int, int)) {
  for (int y = box.top; y < box.bottom; ++y) {
    int run = 0;
    for (int x = box.left; x < box.right; ++x) {
      const std::uint32_t p = shot.At(x, y);
      if (match(static_cast<int>(p >> 16), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF))) ++run;
    }
    if (run * 10 >= (box.right - box.left) * 9) return true;
  }
  return false;
}

// Where the notification must stand: centred on the desktop, above a
// horizontal taskbar.
RECT ExpectedPopupRect() {
  const int dw = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int dh = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  RECT taskbar{};
  if (HWND tray = FindWindowA("Shell_TrayWnd", nullptr)) GetWindowRect(tray, &taskbar);
  const int tw = taskbar.right - taskbar.left;
  const int th = taskbar.bottom - taskbar.top;
  const int left = dw / 2 - kPopupWidth / 2;
  const int top = tw > th ? dh - kPopupHeight - th : dh - kPopupHeight;
  return {left, top, left + kPopupWidth, top + kPopupHeight};
}

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
         std::to_string(r.bottom - r.top);
}

// Before the rights are known "Commandes" is hidden and its entries out of
// reach. The moderator's draft in the room's input box holds the console's
// "/setopt" back meanwhile (a line is never typed over a draft).
void CommandesLockedBeforeAnswer(Session& s, Console& c, Room& room) {
  CHECK(c.Menu(tavlen::menu_id::kReglageDuVolume), "Commandes > Reglage du volume posted");
  // Handled after the entry above: once its window shows, the entry has had its turn.
  CHECK(c.Menu(tavlen::menu_id::kDeboguage), "Config. > D\xE9" "boguage posted");
  HWND debug = nullptr;
  if (!WAIT_CONSOLE(s, c, [&] { return (debug = VisibleTopLevel(c.process.id, "TForm10")) != nullptr; },
                    kTickDeadlineMs, "the debug window"))
    return;
  CHECK(VisibleTopLevel(c.process.id, "TForm9") == nullptr, "the volume window of the hidden Commandes menu opened");
  CHECK_TEXT(room.Transcript(), "", "the transcript while the draft waits");
  KeepScreenshot(SteadyWindow(debug), c.exe_dir, "debug-window");
  PostMessageA(debug, WM_CLOSE, 0, 0);
  WAIT_CONSOLE(s, c, [&] { return !IsWindowVisible(debug); }, kTickDeadlineMs, "the debug window to close");
  // The draft sent by the moderator: the console asks for the rights at its next user list tick.
  CHECK(SetText(room.input, ""), "the draft cleared");
}

// Every other line entry of "Commandes", one after the other, each with its line
// in the room; the status entries act on the nick in the target box. The topic
// prompt cancelled sends nothing; answered, it changes the room's title, which
// the console then follows (the rest of the story runs under that title).
void CommandesEntries(Session& s, Console& c, Room& room) {
  namespace id = tavlen::menu_id;
  const auto edits = VisibleChildren(c.main, "Edit");
  if (edits.empty()) {
    FAIL_HERE("the target nick box");
    return;
  }
  CHECK(TypeInto(edits.front(), "bob"), "typing bob in the target nick box");
  struct Entry {
    int id;
    const char* line;
  };
  const Entry entries[] = {
      {id::kTalk30, "Command accepted: /setopt talk_time 30"}, {id::kTalk120, "Command accepted: /setopt talk_time 120"},
      {id::kTalkIllimite, "Command accepted: /setopt talk_time 0"}, {id::kModereActiver, "Command accepted: /moderator 1"},
      {id::kModereDesactiver, "Command accepted: /moderator 0"}, {id::kAjouterAmi, "Command accepted: /addfriend bob"},
      {id::kAjouterOP, "Command accepted: /oplist add bob"}, {id::kAjouterOPPlus, "Command accepted: /oplist add bob +"},
      {id::kRetirer, "Command accepted: /oplist remove bob"}, {id::kEffacerTopic, "Topic removed by modo"},
  };
  for (const Entry& e : entries) {
    CHECK(c.Menu(e.id), std::string("Commandes entry for \"") + e.line + "\" posted");
    if (!WAIT_CONSOLE(s, c, [&] { return EndsWith(room.Transcript(), std::string(e.line) + "\r\n"); },
                      kTickDeadlineMs, std::string("\"") + e.line + "\" in the room"))
      return;
  }

  // The topic's prompt, answered with `topic`, or cancelled when it is empty.
  const auto change_topic = [&](const std::string& topic) {
    CHECK(c.Menu(id::kChangerTopic), "Commandes > Topic > Changer le Topic posted");
    return AnswerPrompt(s, c, "Changement de topic", topic.empty() ? "jamais" : topic, !topic.empty());
  };
  const std::size_t before = room.Transcript().size();
  if (!change_topic("")) return;
  if (!change_topic("Soir\xE9" "e quiz")) return;
  if (!WAIT_CONSOLE(s, c, [&] { return EndsWith(room.Transcript(), "Topic changed by modo\r\n"); }, kTickDeadlineMs,
                    "the new topic in the room"))
    return;
  CHECK_TEXT(room.Transcript().substr(before), "Topic changed by modo\r\n", "the room's lines after both prompts");
  WAIT_CONSOLE(s, c, [&] { return GetText(room.window, 128) == kTopicTitle; }, kTickDeadlineMs,
               "the room's title with its new topic");
}

// Counts the non-overlapping occurrences of `part` in `text`.
std::size_t Occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
  return count;
}

// The automatic kick on the nick in the target box: an interval under ten seconds
// is asked for again, then the reason; the first kick goes at once, the next one
// an interval later, and "Desactiver" stops them.
void AutomaticKick(Session& s, Console& c, Room& room) {
  namespace id = tavlen::menu_id;
  const std::string interval_caption = "D\xE9lai entre les KICKS";
  const std::string kick = "modo kicked bob from the room (spam)\r\n";
  const std::size_t kicks_before = Occurrences(room.Transcript(), kick);
  const auto count = [&] { return Occurrences(room.Transcript(), kick) - kicks_before; };
  CHECK(c.Menu(id::kAutoKickActiver), "Commandes > KICK automatique > Activer posted");
  if (!AnswerPrompt(s, c, interval_caption, "9") || !AnswerPrompt(s, c, interval_caption, "10") ||
      !AnswerPrompt(s, c, "Message de KICK", "spam"))
    return;
  if (!WAIT_CONSOLE(s, c, [&] { return count() == 1; }, kTickDeadlineMs, "the first automatic kick at once")) {
    const std::string text = room.Transcript();
    Note("the transcript ends with: " + text.substr(text.size() > 300 ? text.size() - 300 : 0));
    return;
  }
  const auto first = Clock::now();
  if (!WAIT_CONSOLE(s, c, [&] { return count() == 2; }, 10000 + kTickDeadlineMs, "the second automatic kick")) return;
  const double interval = MsSince(first);
  Timing("automatic kick, first to second (10 s asked)", interval);
  CHECK(interval >= 9500, "the second kick came " + std::to_string(interval) + " ms after the first");
  CHECK(c.Menu(id::kAutoKickDesactiver), "Commandes > KICK automatique > Desactiver posted");
  // Stopped: no kick over one and a half intervals.
  CHECK(!Poll([&] { return count() > 2; }, 15000), "a kick after Desactiver");
}

// "Effacer le topic" at the end, sent under the title the topic gave the room.
void TopicCleared(Session& s, Console& c, Room& room) {
  CHECK(c.Menu(tavlen::menu_id::kEffacerTopic), "Commandes > Topic > Effacer le topic posted");
  if (!WAIT_CONSOLE(s, c, [&] { return EndsWith(room.Transcript(), "Topic removed by modo\r\n"); }, kTickDeadlineMs,
                    "\"/notopic\" in the room retitled by its topic"))
    return;
  WAIT_CONSOLE(s, c, [&] { return GetText(room.window, 128) == kRoomTitle; }, kTickDeadlineMs,
               "the room's plain title back");
}

// The owner's help line unlocks "Commandes": its entries then do their work.
void CommandesUnlocked(Session& s, Console& c, Room& room) {
  WAIT_CONSOLE(s, c, [&] { return room.Transcript().find(kOwnerAnswer) != std::string::npos; }, kStartDeadlineMs,
               "the owner's answer to /setopt");
  // The menu and the restricted buttons are unlocked together.
  HWND ban = c.Child("Button", "BANNIR");
  CHECK(ban != nullptr, "the BANNIR button");
  const auto start = Clock::now();
  if (!ban || !WAIT_CONSOLE(s, c, [&] { return IsWindowEnabled(ban) != FALSE; }, kMonitorDeadlineMs,
                            "the owner's rights to unlock BANNIR"))
    return;
  Timing("owner's answer read (BANNIR enabled)", MsSince(start));
  KeepScreenshot(CaptureWindow(c.main), c.exe_dir, "owner-menu-bar");
  CHECK(c.Menu(tavlen::menu_id::kReglageDuVolume), "Commandes > Reglage du volume posted");
  HWND volume = nullptr;
  if (WAIT_CONSOLE(s, c, [&] { return (volume = VisibleTopLevel(c.process.id, "TForm9")) != nullptr; },
                   kTickDeadlineMs, "the volume window from the unlocked Commandes menu")) {
    KeepScreenshot(SteadyWindow(volume), c.exe_dir, "volume-window");
    PostMessageA(volume, WM_CLOSE, 0, 0);
    WAIT_CONSOLE(s, c, [&] { return !IsWindowVisible(volume); }, kTickDeadlineMs, "the volume window to close");
  }
  CHECK(c.Menu(tavlen::menu_id::kTalk60), "Commandes > Temps de parole > 60 sec. posted");
  if (!WAIT_CONSOLE(s, c, [&] { return EndsWith(room.Transcript(), "Command accepted: /setopt talk_time 60\r\n"); },
                    kTickDeadlineMs, "\"/setopt talk_time 60\" from the unlocked Commandes menu"))
    return;
  CommandesEntries(s, c, room);
}

// A watched word said by someone else while the console is in front.
void KeywordNotification(Session& s, Console& c, Room& room) {
  SetForegroundWindow(c.main);
  if (!WAIT_CONSOLE(s, c, [&] { return GetForegroundWindow() == c.main; }, kTickDeadlineMs,
                    "the console in front of the room"))
    return;
  const auto start = Clock::now();
  CHECK(Control(room.window, "say alice|qui vend un v\xE9lo ?"), "alice says a watched word");
  HWND popup = nullptr;
  if (!WAIT_CONSOLE(s, c, [&] { return (popup = VisibleTopLevel(c.process.id, kPopupClass)) != nullptr; },
                    kMonitorDeadlineMs, "the notification popup"))
    return;
  Timing("watched word to the notification", MsSince(start));

  // The main window owns it: the focus goes back there after a click.
  CHECK(GetWindow(popup, GW_OWNER) == c.main, "the notification is owned by the console's main window");
  CHECK((GetWindowLongA(popup, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "the notification stays on top");
  CHECK(GetForegroundWindow() == c.main, "showing the notification leaves the console in front");
  RECT rect{};
  GetWindowRect(popup, &rect);
  const RECT expected = ExpectedPopupRect();
  CHECK(EqualRect(&rect, &expected), "notification at " + Describe(rect) + ", expected " + Describe(expected));

  // The speaker in blue above the word in red, each centred and underlined,
  // with the dark line between them.
  const Capture shot = CaptureWindow(popup);
  KeepScreenshot(shot, c.exe_dir, "notification");
  const PixelBox speaker = FindPixels(shot, Blue);
  const PixelBox word = FindPixels(shot, Red);
  const PixelBox middle = FindPixels(shot, Dark);
  CHECK(speaker.count > 20 && word.count > 20, "the speaker in blue and the word in red are painted");
  if (speaker.count == 0 || word.count == 0) return;
  CHECK(speaker.bottom <= word.top, "the speaker stands above the word");
  CHECK(middle.count > 20 && middle.top >= speaker.bottom - 2 && middle.bottom <= word.top + 2,
        "the dark middle line between the speaker and the word");
  CHECK(std::abs(speaker.CenterX() - shot.width / 2) <= 4 && std::abs(word.CenterX() - shot.width / 2) <= 4,
        "speaker and word centred (" + std::to_string(speaker.CenterX()) + ", " + std::to_string(word.CenterX()) +
            " in " + std::to_string(shot.width) + ")");
  CHECK(Underlined(shot, speaker, Blue) && Underlined(shot, word, Red), "speaker and word underlined");
  CHECK(word.right - word.left > speaker.right - speaker.left, "\"v\xE9lo\" is wider than \"alice\" in bold 15 points");

  // A click on the speaker's name brings the room to the front.
  const POINT target{rect.left + speaker.CenterX(), rect.top + speaker.CenterY()};
  const auto click = Clock::now();
  CHECK(MouseClickAt(target), "click on the notification");
  HWND front = nullptr;
  if (Poll([&] { return (front = GetForegroundWindow()) == room.window; }, kTickDeadlineMs)) {
    Timing("click on the notification to the room in front", MsSince(click));
    // Handing the focus back to the console must not take the front again.
    // Without a window manager Wine may give the front to the desktop once the
    // X focus events of the click arrive late; only the console would be a fault.
    Sleep(500);
    const HWND later = GetForegroundWindow();
    DWORD later_process = 0;
    GetWindowThreadProcessId(later, &later_process);
    CHECK(later_process != c.process.id,
          "the room still in front 500 ms after the click; in front: " + ClassOf(later) + " of the console");
    if (later != room.window) Note("500 ms after the click Wine's front fell back to " + ClassOf(later));
  } else {
    char title[256] = {};
    GetWindowTextA(front, title, sizeof title);
    POINT cursor{};
    GetCursorPos(&cursor);
    FAIL_HERE("the room is not in front after the click on the notification at " + std::to_string(target.x) + "," +
              std::to_string(target.y) + " (cursor at " + std::to_string(cursor.x) + "," +
              std::to_string(cursor.y) + "); in front: " + ClassOf(front) + " [" + Shown(title) + "]");
  }
  CHECK(IsWindowVisible(popup), "the click leaves the notification shown");
}

// "!titre" while the own nick holds the microphone: the player's song.
void SongRequest(Session& s, Console& c, Room& room) {
  CHECK(Click(room.talk), "click on Hands Free");
  if (!WAIT_FOR([&] { return room.Talker() == "modo"; }, kTickDeadlineMs, "modo on the talker indicator")) return;
  const auto start = Clock::now();
  CHECK(Control(room.window, "say alice|!titre"), "alice asks for the song");
  if (WAIT_CONSOLE(s, c, [&] { return EndsWith(room.Transcript(), kSongAnswer); }, kMonitorDeadlineMs,
                   "the song's title in the room"))
    Timing("!titre to the answer", MsSince(start));
}

// "Configurer les notifications": a new word typed over the old ones, the sound
// switched on and its file chosen in the system's file dialog, "Valider". The
// files hold them; after a restart the window shows them again and the new word
// notifies.
void NotificationSettingsSaved(Session& s, Console& c, Room& room) {
  const std::string sound = c.exe_dir + "\\alerte.wav";
  {
    std::ofstream out(sound, std::ios::binary);
    out << WaveFileBytes(300);
  }
  const auto open_settings = [&](Console& console, HWND& form, HWND& words, HWND& file) {
    CHECK(console.Menu(tavlen::menu_id::kConfigurerLesNotifications), "Configurer les notifications posted");
    if (!WAIT_CONSOLE(s, console, [&] { return (form = VisibleTopLevel(console.process.id, "TForm5")) != nullptr; },
                      kTickDeadlineMs, "the notification settings"))
      return false;
    const std::vector<HWND> edits = VisibleChildren(form, "Edit");
    if (edits.size() != 2) {
      FAIL_HERE("the word box and the sound file box");
      return false;
    }
    words = edits[0];
    file = edits[1];
    return true;
  };
  HWND form = nullptr, words = nullptr, file = nullptr;
  if (!open_settings(c, form, words, file)) return;
  CHECK_TEXT(GetText(words, 256), "vend\r\nmoto", "the words read from highlight.ini");
  CHECK(SendTimeout(words, EM_SETSEL, 0, -1) && TypeInto(words, "bateau"), "bateau typed over the words");
  HWND switch_on = LowestChild(form, "Button", "Activer le son");
  LRESULT state = 0;
  CHECK(switch_on && PostClick(switch_on), "click on Activer le son");
  WAIT_CONSOLE(s, c, [&] { return SendTimeout(switch_on, BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED; },
               kTickDeadlineMs, "\"Activer le son\" ticked");
  HWND browse = LowestChild(form, "Button", "");
  CHECK(browse && PostClick(browse), "click on the sound file button");
  HWND dialog = nullptr;
  if (!WAIT_CONSOLE(s, c, [&] {
        dialog = VisibleTopLevel(c.process.id, "#32770");
        return dialog && (GetDlgItem(dialog, 1148) || GetDlgItem(dialog, 1152));
      }, kTickDeadlineMs, "the file dialog"))
    return;
  KeepScreenshot(CaptureWindow(dialog), c.exe_dir, "sound-file-dialog");
  // The file name box: cmb13 in explorer dialogs, edt1 in older ones.
  CHECK(SetDlgItemTextA(dialog, 1148, sound.c_str()) || SetDlgItemTextA(dialog, 1152, sound.c_str()),
        "the sound's path typed into the file dialog");
  CHECK(PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0), "Open in the file dialog");
  WAIT_CONSOLE(s, c, [&] { return lstrcmpiA(GetText(file, 512).c_str(), sound.c_str()) == 0; }, kTickDeadlineMs,
               "the chosen sound in its box");
  KeepScreenshot(CaptureWindow(form), c.exe_dir, "notification-settings");
  HWND valider = LowestChild(form, "Button", "Valider");
  CHECK(valider && PostClick(valider), "click on Valider");
  WAIT_CONSOLE(s, c, [&] { return !IsWindowVisible(form); }, kTickDeadlineMs, "the settings closed");
  CHECK_TEXT(FileBytes(c.exe_dir + "\\highlight.ini"), "bateau\r\n", "highlight.ini after Valider");
  CHECK(lstrcmpiA(FileBytes(c.exe_dir + "\\sounds.ini").c_str(), (sound + "\r\n").c_str()) == 0,
        "sounds.ini names the chosen sound: [" + Shown(FileBytes(c.exe_dir + "\\sounds.ini")) + "]");

  s.Quit(c);
  Console& again = s.RestartConsole("owner-monitor");
  if (!again.main) return;
  // The rights read from the room's answer: the transcript is being followed, so
  // the next line is new to the console.
  HWND ban = again.Child("Button", "BANNIR");
  if (!ban || !WAIT_CONSOLE(s, again, [&] { return IsWindowEnabled(ban) != FALSE; }, kMonitorDeadlineMs,
                            "the owner's rights read again after the restart"))
    return;
  if (!open_settings(again, form, words, file)) return;
  CHECK_TEXT(GetText(words, 256), "bateau", "the word after the restart");
  CHECK(lstrcmpiA(GetText(file, 512).c_str(), sound.c_str()) == 0, "the sound's path after the restart");
  switch_on = LowestChild(form, "Button", "Activer le son");
  CHECK(switch_on && SendTimeout(switch_on, BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED,
        "the sound switched on by the saved file");
  PostMessageA(form, WM_CLOSE, 0, 0);
  WAIT_CONSOLE(s, again, [&] { return !IsWindowVisible(form); }, kTickDeadlineMs, "the settings closed");
  SetForegroundWindow(again.main);
  if (!WAIT_CONSOLE(s, again, [&] { return GetForegroundWindow() == again.main; }, kTickDeadlineMs,
                    "the restarted console in front"))
    return;
  CHECK(Control(room.window, "say alice|un bateau \xE0 vendre"), "alice says the new word");
  WAIT_CONSOLE(s, again, [&] { return VisibleTopLevel(again.process.id, kPopupClass) != nullptr; },
               kMonitorDeadlineMs, "the notification of the new word after the restart");
}

}  // namespace

void OwnerRoomMonitorStory(const Setup& setup) {
  Note("owner's room monitor story (" + setup.label + ")");
  Session s(setup);
  Player player;
  if (!StartPlayer(setup, kPlayerTitle, player)) return;
  Room& room = s.StartRoom({"--room", "le_salon_bleu", "--nick", "modo", "--owner", "--users", "alice,bob", "--at",
                            "340,8"},
                           kRoomTitle);
  if (!room.window) return;
  CHECK(SetText(room.input, "brouillon") && GetText(room.input, 64) == "brouillon", "a draft in the room's input box");
  Console& c = s.StartConsole("owner-monitor", {{"highlight.ini", "vend\r\nmoto\r\n"}});
  if (!c.main) return;
  CommandesLockedBeforeAnswer(s, c, room);
  CommandesUnlocked(s, c, room);
  AutomaticKick(s, c, room);
  KeywordNotification(s, c, room);
  SongRequest(s, c, room);
  TopicCleared(s, c, room);
  NotificationSettingsSaved(s, c, room);
}

}  // namespace e2e
