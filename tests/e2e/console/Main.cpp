// Drives tavlen.exe beside the stand-in room under Wine, through the messages a
// moderator's desktop delivers. Prints "E2E OK" only when every check passed;
// the harness looks for that line, never at the exit code.
//   console_e2e.exe --console tavlen.exe --standin standin.exe --work DIR [--pulse] [--only STORY]
//   console_e2e.exe ... --demo-start | --demo-stop     (the README's screenshot)
//   console_e2e.exe ... --only latency [--repeat N] [--room-args "ARGS"] [--actions a,b]
//                   [--watchdog SECONDS]             (bench/wine-latency.sh)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include "tests/e2e/console/Stories.h"
#include "tests/e2e/console/StoriesDevices.h"
#include "tests/e2e/console/StoriesModeration.h"
#include "tests/e2e/console/StoriesMonitor.h"
#include "tests/e2e/console/StoriesReliability.h"
#include "tests/e2e/console/SystemTools.h"

namespace {

// The machine field of the program's PE header.
bool Is32BitExe(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  IMAGE_DOS_HEADER dos{};
  in.read(reinterpret_cast<char*>(&dos), sizeof dos);
  in.seekg(dos.e_lfanew + 4);
  IMAGE_FILE_HEADER header{};
  in.read(reinterpret_cast<char*>(&header), sizeof header);
  return in && header.Machine == IMAGE_FILE_MACHINE_I386;
}

const char* Arch(bool is32) { return is32 ? "i686" : "x86_64"; }

// Every story this pairing of widths can run.
void AllStories(const e2e::Setup& setup) {
  using namespace e2e;
  DefaultRoomStory(setup);
  DiscoveryStory(setup);
  // Bitness plays no part in these: the same-architecture pairs run them.
  if (setup.console32 == setup.standin32) {
    OwnerRoomMonitorStory(setup);
    ModerationStory(setup);
  } else {
    Note("skipped: the monitor and moderation stories (same-architecture pairs only)");
  }
  // Tree reading depends on both widths; the devices on neither.
  UserTreeStory(setup);
  if (setup.console32 == setup.standin32) {
    NoMixerStory(setup);
    MixerStory(setup);
    HotkeysStory(setup);
    SoundShortcutStory(setup);
  } else {
    Note("skipped: the mixer, hotkey and sound shortcut stories (same-architecture pairs only)");
  }
  // Once, on the x86_64 pair: the file layer is the same on every pairing, and an
  // i686 console under Wine can stay blocked for good in a memory call into a client
  // killed during it (Wine waits on the dead process; Windows fails the call).
  if (!setup.console32 && !setup.standin32) {
    ClientFaultsStory(setup);
    LyingRoomStory(setup);
    ReadOnlySettingsStory(setup);
    InstallFolderStory(setup);
  }
}

}  // namespace

int main(int argc, char** argv) {
  using namespace e2e;
  Setup setup;
  std::string mode = "stories";
  std::string only;  // one story by name, when working on it
  int watchdog_s = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--console" && has_value) setup.console = argv[++i];
    else if (arg == "--standin" && has_value) setup.standin = argv[++i];
    else if (arg == "--work" && has_value) setup.work = argv[++i];
    else if (arg == "--pulse") setup.pulse = true;
    else if (arg == "--only" && has_value) only = argv[++i];
    else if (arg == "--repeat" && has_value) setup.repeat = std::atoi(argv[++i]);
    else if (arg == "--actions" && has_value) setup.actions = argv[++i];
    else if (arg == "--watchdog" && has_value) watchdog_s = std::atoi(argv[++i]);
    else if (arg == "--room-args" && has_value) {
      std::istringstream words(argv[++i]);
      for (std::string word; words >> word;) setup.room_args.push_back(word);
    }
    else if (arg == "--demo-start" || arg == "--demo-stop") mode = arg.substr(2);
    else {
      std::printf("unknown argument: %s\nE2E FAILED (usage)\n", arg.c_str());
      return 2;
    }
  }
  if (mode == "demo-stop") {
    const bool ok = DemoStop();
    std::printf(ok ? "DEMO STOPPED\n" : "DEMO STOP FAILED\n");
    return ok ? 0 : 1;
  }
  if (setup.console.empty() || setup.standin.empty() || setup.work.empty()) {
    std::printf("--console, --standin and --work are needed\nE2E FAILED (usage)\n");
    return 2;
  }

  // A stuck program must not stall the harness: fail loudly instead, before the
  // harness's own deadline for the whole run (run-e2e.sh) cuts the output short.
  // The latency story's many runs take longer than any other story.
  if (watchdog_s <= 0) watchdog_s = only == "latency" ? 1800 : 500;
  std::thread([watchdog_s] {
    std::this_thread::sleep_for(std::chrono::seconds(watchdog_s));
    std::printf("E2E TIMEOUT\n");
    std::fflush(stdout);
    std::_Exit(3);
  }).detach();

  setup.console32 = Is32BitExe(setup.console);
  setup.standin32 = Is32BitExe(setup.standin);
  setup.label = std::string(Arch(setup.console32)) + " console, " + Arch(setup.standin32) + " room";
  Note(std::to_string(sizeof(void*) * 8) + "-bit driver: " + setup.label);
  // The French captions and the 0xA4 separator are code page 1252 bytes.
  CHECK(GetACP() == 1252, "ANSI code page 1252, got " + std::to_string(GetACP()));
  if (!setup.TreeReadable()) Note("this pair skips the stories that read the room's user tree");

  if (mode == "demo-start") {
    const bool ok = DemoStart(setup);
    std::printf(ok ? "DEMO READY\n" : "DEMO FAILED\n");
    std::fflush(stdout);
    std::_Exit(ok ? 0 : 1);  // the watchdog must not outlive this
  }

  // The programs reach the harness's PulseAudio: they keep the silent card
  // unless a story asks for the server.
  if (setup.pulse) CHECK(SoundDevices::Use("alsa"), "Wine's audio driver setting written");

  const auto start = std::chrono::steady_clock::now();
  if (!only.empty()) {
    const std::map<std::string, void (*)(const Setup&)> stories = {
        {"default", DefaultRoomStory}, {"discovery", DiscoveryStory}, {"monitor", OwnerRoomMonitorStory},
        {"moderation", ModerationStory}, {"users", UserTreeStory},     {"nomixer", NoMixerStory},
        {"mixer", MixerStory},           {"hotkeys", HotkeysStory},    {"sounds", SoundShortcutStory},
        {"faults", ClientFaultsStory},   {"lying", LyingRoomStory},    {"readonly", ReadOnlySettingsStory},
        {"folders", InstallFolderStory}, {"scales", ScalesStory},     {"latency", LatencyStory}};
    const auto story = stories.find(only);
    CHECK(story != stories.end(), "a story named \"" + only + "\"");
    if (story != stories.end()) story->second(setup);
  } else {
    AllStories(setup);
  }
  Timing("all stories", MsSince(start));
  if (Failures() != 0) {
    std::printf("E2E FAILED (%d)\n", Failures());
    std::fflush(stdout);
    return 1;
  }
  std::printf("E2E OK\n");
  std::fflush(stdout);
  return 0;
}
