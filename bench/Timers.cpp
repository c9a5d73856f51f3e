// One tick of each of the main window's timers, on the simulated desktop under a
// realistic load: the whole console, built as the program builds it, beside a
// stand-in room. Each benchmark reports, per tick, the heap allocations of the
// whole program (console and simulated desktop), the window-system calls the
// console made (`calls`) and, among them, the messages sent to the room
// (`sends`): under Wine every call is a round trip to the server.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/Text.h"
#include "bench/support/Allocations.h"
#include "bench/support/CountingWindowing.h"
#include "bench/support/NamedKeyHotkeys.h"
#include "hotkeys/HotkeyTable.h"
#include "standin/sim/SimWorld.h"
#include "standin/StandinOptions.h"
#include "ui/Console.h"

namespace {

using namespace tavlen;
using namespace std::chrono_literals;

// The console beside one stand-in room, started and settled (rights known,
// room adopted, user tree met).
struct Desk {
  explicit Desk(standin::RoomConfig config = {}, int windows_above = 0, int windows_below = 0,
                const std::function<void(sim::SimWorld&)>& before_start = {}) {
    OtherWindows(windows_below);
    room = &world.open_room(std::move(config));
    OtherWindows(windows_above);
    if (before_start) before_start(world);
    console = std::make_unique<Console>(platform);
    world.advance(2100ms);
  }

  TForm1& main() { return *console->Form1; }

  // Top-level windows of other programs, as a desktop has them: many hidden
  // helpers without a title or with a short one, and application windows.
  void OtherWindows(int count) {
    static const char* const kTitles[] = {"",
                                          "Default IME",
                                          "Sans titre - Bloc-notes",
                                          "",
                                          "MSCTFIME UI",
                                          "Boite de reception - Courrier - Mozilla Thunderbird",
                                          "",
                                          "Program Manager",
                                          "Lecteur multimedia - playlist du soir (37 titres)",
                                          "GDI+ Window"};
    for (int i = 0; i < count; ++i) {
      const std::string title = kTitles[i % 10];
      world.desktop.CreateTopLevel("Helper" + std::to_string(i), title.empty() ? title : title + " " + std::to_string(i),
                                   world.desktop.NewProcess());
    }
  }

  sim::SimWorld world;
  bench::CountingWindowing counting{world.desktop};
  Platform platform{counting,     world.clock,  world.dialogs, world.widgets, world.exe_dir(),
                    world.mixer,  world.hotkeys, world.sound,  world.volume,  world.metrics,
                    world.popups, world.collation, &world.memory};
  sim::SimRoom* room = nullptr;
  std::unique_ptr<Console> console;
};

// Runs `tick` once per iteration and reports the per-tick counters. Not inlined,
// so a profiler can be told to look at it alone (callgrind --toggle-collect).
template <class Tick>
[[gnu::noinline]] void Measure(benchmark::State& state, Desk& desk, Tick tick) {
  tick();  // first use of the buffers a tick keeps
  const std::uint64_t allocations = bench::AllocationCount();
  const std::uint64_t calls = desk.counting.Calls();
  const std::uint64_t sends = desk.counting.Sends();
  for (auto _ : state) tick();
  const auto per_tick = [&](std::uint64_t n) {
    return static_cast<double>(n) / static_cast<double>(state.iterations());
  };
  state.counters["allocs"] = per_tick(bench::AllocationCount() - allocations);
  state.counters["calls"] = per_tick(desk.counting.Calls() - calls);
  state.counters["sends"] = per_tick(desk.counting.Sends() - sends);
}

// Timer2 (2 s): the transcript is read whole and one new chat line is found at
// its end, then every rule runs over it with 20 watched words. The room keeps
// its last 500 lines: 30,000 characters, the first line leaving as a new one
// arrives.
void Timer2Tick(benchmark::State& state) {
  constexpr std::size_t kLine = 60;  // with its CR LF
  constexpr std::size_t kShown = 500;
  constexpr std::size_t kCycle = 2000;
  std::string history;
  for (std::size_t i = 0; i < kCycle + kShown; ++i) {
    char line[kLine + 1];
    std::snprintf(line, sizeof line, "user%02zu : message %06zu de la conversation ordinaire du soir", i % 47,
                  i % kCycle);
    std::string text = line;
    text.resize(kLine - 2, '.');
    history += text + "\r\n";
  }
  standin::RoomConfig config;
  config.users = standin::GeneratedNicks(20);
  Desk desk(config);
  std::vector<std::string> words;
  for (const char* w : {"urgent", "aide", "modo", "pub", "spam", "insulte", "bug", "cam", "micro", "photo"}) {
    words.push_back(w);
    words.push_back(std::string(w) + "_interdite_ici");
  }
  desk.console->Form5->Memo1.SetLines(words);
  if (desk.console->Form5->NotificationWords().size() != 20) state.SkipWithError("the words were not set");

  std::size_t first = 0;
  desk.world.desktop.At(desk.room->Transcript()).handler = [&](sim::SimWindow&, sim::SimMessage& m) {
    if (m.msg == wm::kGetText) {
      m.text.assign(history, first * kLine, kShown * kLine);
      m.result = static_cast<std::intptr_t>(m.text.size());
      return true;
    }
    if (m.msg == wm::kGetTextLength) {
      m.result = static_cast<std::intptr_t>(kShown * kLine);
      return true;
    }
    return false;
  };
  desk.console->monitor.Timer2.Tick();
  std::uint64_t lines = 0;
  const std::int32_t kicks = desk.console->room.KicksTotal;
  Measure(state, desk, [&] {
    first = (first + 1) % kCycle;
    desk.console->monitor.Timer2.Tick();
    ++lines;
  });
  if (desk.console->monitor.tracker.PreviousSnapshot().size() != kShown * kLine || desk.console->room.KicksTotal != kicks)
    state.SkipWithError("the transcript was not followed");
  state.counters["transcript_chars"] = static_cast<double>(kShown * kLine);
}
BENCHMARK(Timer2Tick);

// Timer3 (10 ms): the caption, and the watch of the room's input box holding a
// 40-character sentence being typed.
void Timer3Tick(benchmark::State& state) {
  Desk desk;
  const std::string typed = "salut tout le monde, ca va bien ce soir?";
  desk.room->Type(typed);
  TForm1& f = desk.main();
  Measure(state, desk, [&] { f.Timer3.Tick(); });
  if (desk.room->InputText() != typed || f.Text() != "Tavlen - le_salon_bleu")
    state.SkipWithError("the tick changed something");
}
BENCHMARK(Timer3Tick);

// Timer4 (750 ms): the user tree of a 500-user room read across processes and
// merged into the user list.
void Timer4Tick(benchmark::State& state) {
  standin::RoomConfig config;
  config.users = standin::GeneratedNicks(static_cast<int>(state.range(0)));
  Desk desk(config);
  TForm1& f = desk.main();
  sim::SimTreeView& tree = *desk.room->TreeView();
  const auto ops = [&] { return desk.world.memory.Operations() + tree.Messages(); };
  const std::uint64_t ops_before = ops() ;
  std::uint64_t ticks = 0;
  Measure(state, desk, [&] {
    f.users.Timer4.Tick();
    ++ticks;
  });
  // The measuring loop's first tick is outside `ticks`: count it out.
  const double items = static_cast<double>(tree.VisibleTexts().size());
  if (f.users.ListBox1.Count() != state.range(0) + 1) state.SkipWithError("the user list is not whole");
  state.counters["tree_items"] = items;
  state.counters["ops_per_item"] = static_cast<double>(ops() - ops_before) / (items * static_cast<double>(ticks + 1));
}
BENCHMARK(Timer4Tick)->ArgName("users")->Arg(500);

// Timer6 (10 ms): the foreground window's title, the room being in front; the
// nick chooser is closed.
void Timer6Tick(benchmark::State& state) {
  Desk desk;
  desk.world.desktop.SetForeground(desk.room->Window());
  TForm1& f = desk.main();
  Measure(state, desk, [&] { f.Timer6.Tick(); });
  if (desk.console->room.ForegroundTitle != desk.console->room.RoomWindowTitle) state.SkipWithError("the foreground was not sampled");
}
BENCHMARK(Timer6Tick);

// Timer9 (100 ms): discovery over 200 top-level windows of other programs, the
// room among them.
void Timer9Tick(benchmark::State& state) {
  const int others = static_cast<int>(state.range(0));
  Desk desk({}, others / 2, others - others / 2);
  TForm1& f = desk.main();
  Measure(state, desk, [&] { desk.console->discovery.Timer9.Tick(); });
  if (desk.console->room.RoomName != "le_salon_bleu" || !f.users.Timer4.Enabled()) state.SkipWithError("the room was lost");
  state.counters["windows"] = static_cast<double>(desk.world.desktop.ZOrder().size());
}
BENCHMARK(Timer9Tick)->ArgName("windows")->Arg(200);

// A hotkey press, its combination in the last of `slots` slots, the others
// named keys ("Ctrl+Shift+Page Down"...): BLOCKMIC with nobody talking, so the
// press costs finding its slot and one read of the talker indicator. Once each
// press parsed every slot and named every key code to find a named key.
void HotkeyPress(benchmark::State& state) {
  const int slots = static_cast<int>(state.range(0));
  const auto hotkeys_ini = [slots](sim::SimWorld& world) {
    std::string ini;
    for (const std::string& line : bench::NamedKeyHotkeyLines(world.hotkeys, static_cast<std::size_t>(slots - 1)))
      ini += line + "\r\n";
    world.write_file("hotkeys.ini", ini + "Ctrl+Alt+B\xA4" "BLOCKMIC\r\n");
  };
  Desk desk({}, 0, 0, hotkeys_ini);
  constexpr unsigned kCtrlAlt = hotkey_mod::kControl | hotkey_mod::kAlt;
  int presses = 0;
  Measure(state, desk, [&] {
    presses += desk.world.hotkeys.Press(kCtrlAlt, 'B');
    desk.world.clock.ProcessMessages();
  });
  if (presses != static_cast<int>(state.iterations()) + 1 ||
      desk.console->log.Last() != ansi("-> Entrée routine hotkey>BlockMic"))
    state.SkipWithError("a press was not handled");
  state.counters["slots"] = slots;
}
BENCHMARK(HotkeyPress)->ArgName("slots")->Arg(1)->Arg(HotkeyTable::kSlots);

}  // namespace
