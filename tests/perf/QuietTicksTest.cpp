// What the polling ticks cost in a steady room: the 10 ms ticks allocate nothing,
// discovery walks the desktop once, and the results stay those of the plain ticks.
#include <gtest/gtest.h>

#include <memory>

#include "bench/support/Allocations.h"
#include "bench/support/CountingWindowing.h"
#include "standin/sim/SimWorld.h"
#include "standin/StandinOptions.h"
#include "tests/support/SlowInputBox.h"
#include "ui/Console.h"

namespace tavlen {
namespace {

using namespace std::chrono_literals;

class QuietTicks : public ::testing::Test {
 protected:
  sim::SimWorld world;
  bench::CountingWindowing counting{world.desktop};
  Platform platform{counting,     world.clock,  world.dialogs, world.widgets, world.exe_dir(),
                    world.mixer,  world.hotkeys, world.sound,  world.volume,  world.metrics,
                    world.popups, world.collation, &world.memory};
  std::unique_ptr<Console> console;

  void Start() {
    console = std::make_unique<Console>(platform);
    world.advance(2100ms);
  }
  TForm1& main() { return *console->Form1; }
  RoomState& room() { return console->room; }
  // Heap allocations made by `n` runs of `tick`.
  template <class Tick>
  std::uint64_t AllocationsOf(int n, Tick tick) {
    const std::uint64_t before = bench::AllocationCount();
    for (int i = 0; i < n; ++i) tick();
    return bench::AllocationCount() - before;
  }
};

TEST_F(QuietTicks, TenMillisecondTicksAllocateNothingWhenNothingChanged) {
  auto& salon = world.open_room("le_salon_bleu");
  Start();
  salon.Type("salut tout le monde, ca va bien ce soir?");
  world.desktop.SetForeground(salon.Window());
  main().Timer3.Tick();
  main().Timer6.Tick();
  EXPECT_EQ(AllocationsOf(50, [&] { main().Timer3.Tick(); }), 0u);
  EXPECT_EQ(AllocationsOf(50, [&] { main().Timer6.Tick(); }), 0u);
  // Each child's class is read once: a warm tick steps over the room's 26
  // children and reads the input box, and reads no class (under Wine each class
  // read of another program's window is two round trips to the server).
  const std::uint64_t before = counting.Calls();
  main().Timer3.Tick();
  EXPECT_LT(counting.Calls() - before, 26u + 8u);
  EXPECT_EQ(main().Text(), "Tavlen - le_salon_bleu");
  EXPECT_EQ(room().ForegroundTitle, "le_salon_bleu : Video Chat Room");

  // A longer room name, then a longer foreground title: the first tick after the
  // change may take storage, the following ones take none, and the caption and
  // the sampled title follow.
  console->room.RoomName = "un_salon_au_nom_bien_plus_long_que_le_premier";
  main().Timer3.Tick();
  EXPECT_EQ(main().Text(), "Tavlen - un_salon_au_nom_bien_plus_long_que_le_premier");
  EXPECT_EQ(AllocationsOf(20, [&] { main().Timer3.Tick(); }), 0u);
  const Hwnd other = world.desktop.CreateTopLevel("Notepad", std::string(300, 'n'), world.desktop.NewProcess());
  world.desktop.SetForeground(other);
  main().Timer6.Tick();
  EXPECT_EQ(room().ForegroundTitle, std::string(300, 'n'));
  EXPECT_EQ(AllocationsOf(20, [&] { main().Timer6.Tick(); }), 0u);
  // A shorter name: the caption shrinks with it.
  console->room.RoomName = "b";
  main().Timer3.Tick();
  EXPECT_EQ(main().Text(), "Tavlen - b");
}

TEST_F(QuietTicks, DiscoveryWalksTheDesktopOnce) {
  for (int i = 0; i < 40; ++i)
    world.desktop.CreateTopLevel("Helper", i % 2 ? "" : "fenetre " + std::to_string(i), world.desktop.NewProcess());
  world.open_room("alpha");
  standin::RoomConfig fake;
  fake.has_talk_switch = false;  // a candidate passed over
  world.open_room("beta", fake);
  // The whole title is read beyond the search's 254 characters only when needed:
  // this one is 253 characters long and adopted whole.
  standin::RoomConfig topic;
  topic.topic = std::string(253 - std::string("gamma, Topic: ").size(), 't');
  auto& gamma = world.open_room("gamma", topic);
  ASSERT_EQ(gamma.Model().Title().size(), 253u);
  world.desktop.SendToBottom(gamma.Window());
  Start();
  EXPECT_EQ(room().RoomWindowTitle, gamma.Model().Title());
  EXPECT_EQ(room().RoomName, "gamma");

  const std::size_t windows = world.desktop.ZOrder().size();
  const std::uint64_t calls = counting.Calls();
  console->discovery.Timer9.Tick();
  // One GetWindow and one title per window, then each candidate's talk switch
  // search among its children (the fake room's five with the filler, ...).
  const std::uint64_t walk = 1 + 2 * windows;
  EXPECT_LT(counting.Calls() - calls, walk + 2 * (2 * 26 + 2));
  EXPECT_GE(counting.Calls() - calls, walk);
  EXPECT_EQ(room().RoomWindowTitle, gamma.Model().Title());
  // The debug log's line of each tick, and now and then more storage for the
  // log; nothing per window.
  EXPECT_LE(AllocationsOf(32, [&] { console->discovery.Timer9.Tick(); }), 40u);
}

// Inside a submission's key-downs discovery waits for the next tick outside
// them: beside 200 other windows each walk is 400 calls, each a round trip to
// the server under Wine, taken from the line being typed.
TEST_F(QuietTicks, DiscoveryWaitsForTheEndOfASubmission) {
  for (int i = 0; i < 200; ++i)
    world.desktop.CreateTopLevel("Helper", "fenetre " + std::to_string(i), world.desktop.NewProcess());
  auto& salon = world.open_room("alpha");
  // Each key-down into its second box takes 5 ms, so discovery comes due
  // several times while one line is submitted.
  testing::AddSlowInputBox(world, salon, 5);
  Start();
  const auto started = world.clock.NowMs();
  const std::uint64_t walks = counting.DesktopWalks();
  EXPECT_TRUE(console->controls.send_to_camfrog("/kick bob spam"));
  EXPECT_GE(world.clock.NowMs() - started, 500);
  EXPECT_EQ(counting.DesktopWalks(), walks);
  world.advance(100ms);
  EXPECT_EQ(counting.DesktopWalks(), walks + 1);
  EXPECT_EQ(room().RoomName, "alpha");
}

}  // namespace
}  // namespace tavlen
