// Smoke driver of the device and process ports under Wine (or Windows): the real
// calls behind Win32Hotkeys, Win32Mixer, Win32Sound, Win32Volume and
// Win32ProcessMemory. Prints "PORTS OK" only when every check passed.
//
//   ports_smoke.exe [--key-press] [--tree-exe <exe>]...
//     --key-press   waits for a real Ctrl+Alt+F9 press (the run script sends it)
//     --tree-exe    also reads the tree of a child started from that exe (another
//                   architecture's build of this program); this exe is always used
// Child modes (started by the smoke itself): probe-hotkey ..., tree ...
#include "platform/win32/WinApi.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/ports/Support.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args[0] == "probe-hotkey") return ports::ProbeHotkeyChild({args.begin() + 1, args.end()});
  if (!args.empty() && args[0] == "tree") return ports::TreeChild({args.begin() + 1, args.end()});

  bool key_press = false;
  std::vector<std::string> tree_exes{ports::SelfPath()};
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--key-press") key_press = true;
    if (args[i] == "--tree-exe" && i + 1 < args.size()) tree_exes.push_back(args[++i]);
  }

  // A hung call must not hang the harness: fail loudly instead.
  std::thread([] {
    std::this_thread::sleep_for(std::chrono::seconds(100));
    std::printf("PORTS TIMEOUT\n");
    std::fflush(stdout);
    std::_Exit(3);
  }).detach();

  std::printf("-- ports smoke: %d-bit build%s%s\n", static_cast<int>(sizeof(void*) * 8),
              ports::UnderWine() ? ", under Wine" : "", ports::SoundExpected() ? ", sound server" : "");
  std::fflush(stdout);

  ports::HotkeysSmoke(key_press);
  ports::MixerSmoke();
  ports::SoundSmoke();
  ports::VolumeSmoke();
  ports::ProcessMemorySmoke(tree_exes);

  if (smoke::Failures() != 0) {
    std::printf("PORTS FAILED (%d)\n", smoke::Failures());
    return 1;
  }
  std::printf("PORTS OK\n");
  std::fflush(stdout);
  return 0;
}
