// The audio mixer under Wine: without any sound device, and with PulseAudio.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <cstdlib>
#include <sstream>

#include "tests/e2e/console/ConsoleParts.h"
#include "tests/e2e/console/ScreenCapture.h"
#include "tests/e2e/console/StoriesDevices.h"
#include "tests/e2e/console/SystemTools.h"
#include "ui/MenuIds.h"

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kNoMixer[] = "No mixer present in the system !";
constexpr int kPageSize = 4096;  // the audio window's slider page
constexpr int kPages = 6;
// Wine keeps volumes in the sound server's scale: a write may read back a step off.
constexpr int kVolumeStep = 2;

// The strip just above the client area: the native menu bar.
Capture MenuBar(HWND main) {
  RECT window{};
  GetWindowRect(main, &window);
  POINT client{0, 0};
  ClientToScreen(main, &client);
  const int height = GetSystemMetrics(SM_CYMENU) + 1;
  return SteadyCapture({window.left, client.y - height, window.right, client.y});
}

int DifferentPixels(const Capture& a, const Capture& b) {
  if (a.Empty() || b.Empty() || a.width != b.width || a.height != b.height) return -1;
  int differ = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i) differ += a.pixels[i] != b.pixels[i];
  return differ;
}

// A visible status popup of the console.
HWND StatusPopup(const Console& c) { return VisibleTopLevel(c.process.id, "THTMLPopupWindow"); }

// One click on the "Mic"/"Mix" item: the popup slides in and out, the caption
// changes. Returns the menu bar once the popup has gone.
Capture ToggleSource(Session& s, Console& c, const Capture& before, const std::string& shot) {
  const auto start = Clock::now();
  CHECK(c.Menu(tavlen::menu_id::kMic), "the Mic/Mix item chosen");
  HWND popup = nullptr;
  if (WAIT_CONSOLE(s, c, [&] { return (popup = StatusPopup(c)) != nullptr; }, kTickDeadlineMs,
                   "the status popup after the Mic/Mix item")) {
    Timing("Mic/Mix item to the status popup", MsSince(start));
    // Mid-way, once it has slid in: the popup, and the screen from the main
    // window down to it.
    const Capture shown = SteadyWindow(popup);
    // The caption has already changed while the popup shows.
    const bool changed = DifferentPixels(MenuBar(c.main), before) > 0;
    CHECK(StatusPopup(c) == popup, "the status popup still shown after its picture");
    CHECK(changed, "the menu bar changed while the popup shows (" + shot + ")");
    KeepScreenshot(shown, c.exe_dir, shot + "-popup");
    RECT around{};
    GetWindowRect(c.main, &around);
    UnionRect(&around, &around, &shown.rect);
    KeepScreenshot(SteadyCapture(around), c.exe_dir, shot);
    WAIT_CONSOLE(s, c, [&] { return StatusPopup(c) == nullptr; }, kTickDeadlineMs, "the status popup to slide out");
    Timing("status popup shown, then gone", MsSince(start));
  }
  return MenuBar(c.main);
}

// The console's first mixer destination as its own process sees it: Wine keeps
// mixer volumes per process, so the probe library is loaded into the console
// and reports on request (tests/e2e/mixer-probe).
class ConsoleMixer {
 public:
  explicit ConsoleMixer(const Console& c) : pid_(c.process.id) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir = exe;
    dir.resize(dir.find_last_of('\\') + 1);
    const std::string library = dir + "mixer_probe.dll";
    report_ = dir + "mixer-probe-" + std::to_string(pid_) + ".txt";
    DeleteFileA(report_.c_str());
    if (!Load(c.process.process, library)) return;
    loaded_ = Poll([&] { return Parse(); }, kTickDeadlineMs);
  }
  ~ConsoleMixer() {
    if (ask_) CloseHandle(ask_);
    DeleteFileA(report_.c_str());
  }
  ConsoleMixer(const ConsoleMixer&) = delete;
  ConsoleMixer& operator=(const ConsoleMixer&) = delete;

  bool Loaded() const { return loaded_; }
  // A fresh reading of the left channel's level; -1 when there is none.
  long Level() {
    if (!loaded_) return -1;
    if (!ask_) ask_ = OpenEventA(EVENT_MODIFY_STATE, FALSE, ("TavlenMixerProbe" + std::to_string(pid_)).c_str());
    const long before = round_;
    if (!ask_ || !SetEvent(ask_) || !Poll([&] { return Parse() && round_ > before; }, kTickDeadlineMs)) return -1;
    return left_;
  }
  bool Near(long level) {
    const long read = Level();
    return read >= 0 && std::abs(read - level) <= kVolumeStep;
  }
  std::string Shown() const { return std::to_string(left_) + (mute_ == 1 ? " (muted)" : ""); }

 private:
  static bool Load(HANDLE process, const std::string& library) {
    void* remote = VirtualAllocEx(process, nullptr, library.size() + 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote) return false;
    bool loaded = false;
    if (WriteProcessMemory(process, remote, library.c_str(), library.size() + 1, nullptr)) {
      // kernel32 lies at the same address in every process of one width.
      const auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
          reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
      if (HANDLE thread = CreateRemoteThread(process, nullptr, 0, load, remote, 0, nullptr)) {
        DWORD module = 0;
        loaded = WaitForSingleObject(thread, kTickDeadlineMs) == WAIT_OBJECT_0 && GetExitCodeThread(thread, &module) &&
                 module != 0;
        CloseHandle(thread);
      }
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return loaded;
  }
  bool Parse() {
    std::istringstream in(FileBytes(report_));
    long left = 0, right = 0, mute = 0, round = 0;
    if (!(in >> left >> right >> mute >> round)) return false;
    left_ = left;
    right_ = right;
    mute_ = mute;
    round_ = round;
    return true;
  }

  DWORD pid_;
  std::string report_;
  HANDLE ask_ = nullptr;
  bool loaded_ = false;
  long left_ = -1, right_ = -1, mute_ = -1, round_ = -1;
};

// The window has handled the choice, and the list updates it posted in turn.
bool Settle(HWND combo) { return PostedFence(combo, kTickDeadlineMs) >= 0 && PostedFence(combo, kTickDeadlineMs) >= 0; }

bool Pick(HWND combo, int index) { return ChooseComboItem(combo, index) && Settle(combo); }

}  // namespace

void NoMixerStory(const Setup& setup) {
  Note("no mixer story (" + setup.label + ")");
  SoundDevices none("");
  CHECK(none.Applied(), "Wine's audio driver setting written");
  Session s(setup);
  const auto start = Clock::now();
  Console& c = s.LaunchConsole("no-mixer");
  if (!c.process.process) return;
  // The audio window is built at start-up, before the main window shows.
  HWND box = nullptr;
  if (!WAIT_CONSOLE(s, c, [&] { return (box = MessageBoxOf(c.process.id)) != nullptr; }, kStartDeadlineMs,
                    "the missing-mixer box at start-up"))
    return;
  Timing("console start to the missing-mixer box", MsSince(start));
  CHECK_TEXT(MessageBoxText(box), kNoMixer, "the box's message");
  KeepScreenshot(SteadyWindow(box), c.exe_dir, "no-mixer-box");
  CHECK(DismissMessageBox(box), "the box closed with its OK button");
  if (!s.AwaitMainWindow(c)) return;
  WAIT_CONSOLE(s, c, [&] { return c.AppTitle() == "Tavlen - [INACTIF]"; }, kTickDeadlineMs,
               "the console to go on (inactive title, no room)");

  // The item still switches the recording source's caption and slides the popup.
  const Capture mic = MenuBar(c.main);
  KeepScreenshot(mic, c.exe_dir, "menu-bar-mic");
  const Capture mix = ToggleSource(s, c, mic, "source-mix");
  KeepScreenshot(mix, c.exe_dir, "menu-bar-mix");
  CHECK(DifferentPixels(mic, mix) > 0, "the menu bar changed after Mic -> Mix");
  const Capture back = ToggleSource(s, c, mix, "source-mic");
  CHECK(DifferentPixels(mic, back) == 0, "the menu bar shows \"Mic\" again after Mix -> Mic (" +
                                             std::to_string(DifferentPixels(mic, back)) + " pixels differ)");
  CHECK(MessageBoxOf(c.process.id) == nullptr, "no box after the switches");

  s.Quit(c);
}

void MixerStory(const Setup& setup) {
  Note("mixer story (" + setup.label + ")");
  if (!setup.pulse) {
    Note("skipped: the mixer story (no PulseAudio started by the harness)");
    return;
  }
  Note("skipped: recording source selection through a MUX/MIXER control (Wine's mixers have none; proven on the "
       "simulated mixer)");
  SoundDevices pulse("pulse");
  CHECK(pulse.Applied(), "Wine's audio driver setting written");
  // The driver's own sound system starts here, on the same server.
  const UINT devices = mixerGetNumDevs();
  Note("mixer devices offered by Wine: " + std::to_string(devices));
  if (devices == 0) {
    FAIL_HERE("no mixer device with PulseAudio");
    return;
  }

  Session s(setup);
  Console& c = s.StartConsole("mixer");
  if (!c.main) return;
  CHECK(MessageBoxOf(c.process.id) == nullptr, "no missing-mixer box with PulseAudio");
  ConsoleMixer mixer(c);
  if (!mixer.Loaded()) {
    FAIL_HERE("the mixer probe could not be loaded into the console");
    return;
  }
  mixer.Level();
  Note("the console's mixer 0 at start-up: " + mixer.Shown());
  CHECK(c.Menu(tavlen::menu_id::kConfigurationAudio), "Configuration Audio chosen");
  HWND form = nullptr;
  if (!WAIT_CONSOLE(s, c, [&] { return (form = VisibleTopLevel(c.process.id, "TForm12")) != nullptr; },
                    kTickDeadlineMs, "the audio window"))
    return;
  const std::vector<HWND> combos = VisibleChildren(form, "ComboBox");
  const std::vector<HWND> tracks = VisibleChildren(form, TRACKBAR_CLASSA);
  HWND save = LowestChild(form, "Button", "ENREGISTRER");
  if (combos.size() != 3 || tracks.size() != 1 || !save) {
    FAIL_HERE("the audio window's three lists, slider and ENREGISTRER: " + std::to_string(combos.size()) +
              " lists, " + std::to_string(tracks.size()) + " sliders");
    return;
  }
  HWND device_list = combos[0];
  HWND destination_list = combos[1];
  HWND line_list = combos[2];
  HWND slider = tracks[0];

  // Every device Wine offers, by number.
  LRESULT count = 0;
  SendTimeout(device_list, CB_GETCOUNT, 0, 0, &count);
  CHECK(count == static_cast<LRESULT>(devices),
        "the device list holds " + std::to_string(count) + " entries for " + std::to_string(devices) + " mixers");
  for (int i = 0; i < count; ++i)
    CHECK_TEXT(ComboItem(device_list, i), "Mixer " + std::to_string(i), "device entry " + std::to_string(i));
  KeepScreenshot(SteadyWindow(form), c.exe_dir, "audio-window");

  // Mixer 0, its destination, the destination's own line; then the slider.
  CHECK(Pick(device_list, 0), "Mixer 0 picked");
  CHECK(Pick(destination_list, 0), "the first destination picked");
  CHECK(Pick(line_list, 0), "the destination's own line picked");
  Note("line picked: \"" + ComboItem(line_list, 0) + "\" of \"" + ComboItem(destination_list, 0) + "\"");
  const int level = kPageSize * kPages;
  const auto slide_start = Clock::now();
  // The keyboard moves the slider as a mouse would: each step tells the window.
  CHECK(PostMessageA(slider, WM_KEYDOWN, VK_HOME, 1), "Home on the slider");
  for (int i = 0; i < kPages; ++i) CHECK(PostMessageA(slider, WM_KEYDOWN, VK_NEXT, 1), "Page Down on the slider");
  if (WAIT_CONSOLE(s, c, [&] { return mixer.Near(level); }, kTickDeadlineMs,
                   "the console's mixer 0 volume to follow the slider to " + std::to_string(level)))
    Timing("slider to the mixer's volume", MsSince(slide_start));
  LRESULT position = -1;
  SendTimeout(slider, TBM_GETPOS, 0, 0, &position);
  Note("the console's mixer 0 read back: " + mixer.Shown() + " for " + std::to_string(level) + ", the slider at " +
       std::to_string(position));
  KeepScreenshot(SteadyWindow(form), c.exe_dir, "audio-window-slid");

  // ENREGISTRER writes the microphone's setting and closes the window.
  CHECK(PostClick(save), "click on ENREGISTRER");
  const std::string config_path = c.exe_dir + "\\config.ini";
  const std::string expected = "MIC= 0 0 0 " + std::to_string(level) + "\r\nMIX= 0 0 0 0\r\n";
  WAIT_CONSOLE(s, c, [&] { return FileBytes(config_path) == expected; }, kTickDeadlineMs, "config.ini written");
  CHECK_TEXT(FileBytes(config_path), expected, "config.ini");
  WAIT_CONSOLE(s, c, [&] { return !IsWindowVisible(form); }, kTickDeadlineMs, "the audio window to close");
  s.Quit(c);

  // A console started on the file applies the stored level (a new process
  // starts from the full level).
  const std::string stored = FileBytes(config_path);
  Console& again = s.StartConsole("mixer-again", {{"config.ini", stored}});
  if (!again.main) return;
  ConsoleMixer again_mixer(again);
  CHECK(again_mixer.Loaded(), "the mixer probe loaded into the second console");
  if (WAIT_CONSOLE(s, again, [&] { return again_mixer.Near(level); }, kTickDeadlineMs,
                   "the stored level applied at start-up"))
    Timing("second console up to the stored level", MsSince(again.started));
  Note("the second console's mixer 0: " + again_mixer.Shown());
  s.Quit(again);
}

}  // namespace e2e
