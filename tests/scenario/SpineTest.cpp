#include <stdexcept>

#include "bridge/WindowSearch.h"
#include "ConsoleFixture.h"

namespace tavlen::testing {

TEST_F(ConsoleTest, StartUpWithoutRoomGoesInactive) {
  Start();
  EXPECT_EQ(room().RoomName, "- INACTIF -");
  EXPECT_TRUE(room().RoomWindowTitle.empty());
  EXPECT_TRUE(room().SetoptSent);
  EXPECT_EQ(title(), "Tavlen - [INACTIF]");
  EXPECT_FALSE(main().users.Timer4.Enabled());
  world.advance(10ms);
  EXPECT_EQ(main().Text(), "Tavlen - - INACTIF -");
  // Discovery then finds nothing: the name empties, the caption follows.
  world.advance(100ms);
  EXPECT_EQ(room().RoomName, "");
  EXPECT_EQ(main().Text(), "Tavlen - ");
  EXPECT_EQ(title(), "Tavlen - [INACTIF]");
  EXPECT_TRUE(world.dialogs.Boxes().empty());
}

TEST_F(ConsoleTest, StartUpInDefaultRoomSendsSetoptOnce) {
  auto& salon = world.open_room("le_salon_bleu");
  Start();
  EXPECT_EQ(salon.SubmittedLines(), Lines{"/setopt"});
  EXPECT_EQ(salon.Model().TranscriptLines(),
            (Lines{"modo : /setopt", "Operation failed! Your current level is: OPPLUS."}));
  EXPECT_TRUE(room().SetoptSent);
  EXPECT_EQ(title(), "Tavlen");
  world.advance(2000ms);
  EXPECT_EQ(room().RoomName, "le_salon_bleu");
  EXPECT_EQ(room().RoomWindowTitle, "le_salon_bleu : Video Chat Room");
  EXPECT_FALSE(room().RoomChanged);
  EXPECT_EQ(main().Text(), "Tavlen - le_salon_bleu");
  EXPECT_EQ(salon.SubmittedLines(), Lines{"/setopt"});
}

TEST_F(ConsoleTest, DiscoveryFollowsTheTopmostRoom) {
  auto& a = world.open_room("alpha");
  auto& b = world.open_room("beta");  // opened last: on top
  Start();
  world.advance(100ms);
  EXPECT_EQ(room().RoomName, "beta");
  EXPECT_TRUE(room().RoomChanged);
  room().RoomChanged = false;

  world.desktop.BringToTop(a.Window());
  world.advance(100ms);
  EXPECT_EQ(room().RoomName, "alpha");
  EXPECT_EQ(room().RoomWindowTitle, "alpha : Video Chat Room");
  EXPECT_TRUE(room().RoomChanged);

  // Same name in other letters: adopted, but no room change.
  room().RoomChanged = false;
  auto& upper = world.open_room("ALPHA");
  world.advance(100ms);
  EXPECT_EQ(room().RoomWindowTitle, "ALPHA : Video Chat Room");
  EXPECT_FALSE(room().RoomChanged);
  (void)upper;
  (void)b;
}

TEST_F(ConsoleTest, TopicTitlesWinAndNameStopsAtTheComma) {
  standin::RoomConfig topic;
  topic.topic = "soir\xE9" "e jazz";
  auto& phare = world.open_room("Le Phare", topic);
  world.open_room("plain");  // higher in the Z order, but without ", Topic:"
  Start();
  world.advance(100ms);
  EXPECT_EQ(room().RoomName, "Le Phare");
  EXPECT_EQ(room().RoomWindowTitle, phare.Model().Title());
}

// A long topic makes a title past every read limit: the room is still found,
// adopted and written to, whatever the title's length.
TEST_F(ConsoleTest, LongTopicTitlesAreAdoptedAndWrittenTo) {
  for (const std::size_t length : {300u, 498u, 499u, 500u, 700u}) {
    SCOPED_TRACE(length);
    sim::SimWorld w;
    standin::RoomConfig config;
    config.topic = std::string(length, 't');
    auto& salon = w.open_room("salon", config);
    ASSERT_GT(salon.Model().Title().size(), length);
    Console c(w.platform());
    w.advance(2000ms);
    EXPECT_EQ(c.room.RoomName, "salon");
    EXPECT_EQ(c.room.RoomWindowTitle, salon.Model().Title().substr(0, 499));
    EXPECT_EQ(c.app.Title(), "Tavlen - [" + std::to_string(salon.Model().Users().size()) + "]");
    EXPECT_EQ(salon.SubmittedLines(), Lines{"/setopt"});
  }
}

TEST_F(ConsoleTest, WindowWithoutTalkSwitchIsPassedOver) {
  auto& real = world.open_room("salon");
  standin::RoomConfig fake;
  fake.has_talk_switch = false;
  world.open_room("faux", fake);  // another program's window, on top
  Start();
  world.advance(100ms);
  EXPECT_EQ(room().RoomName, "salon");
  EXPECT_TRUE(main().users.Timer4.Enabled());

  real.Close();
  world.advance(100ms);
  // Only the impostor is left: not adopted, but the user list timer runs.
  EXPECT_EQ(room().RoomWindowTitle, "salon : Video Chat Room");
  EXPECT_TRUE(main().users.Timer4.Enabled());
}

TEST_F(ConsoleTest, ClosingTheOnlyRoomGoesInactiveWithin100ms) {
  auto& salon = world.open_room("salon");
  Start();
  world.advance(200ms);
  ASSERT_EQ(room().RoomName, "salon");
  main().users.Timer4Timer();  // the user list tick would have rewritten the title
  console->app.SetTitle("Tavlen - [3]");
  salon.Close();
  world.advance(100ms);
  EXPECT_EQ(room().RoomName, "");
  EXPECT_EQ(room().RoomWindowTitle, "");
  EXPECT_EQ(title(), "Tavlen - [INACTIF]");
  EXPECT_FALSE(main().users.Timer4.Enabled());

  // A new room ends the inactive state and counts as a room change.
  world.open_room("salon2");
  world.advance(100ms);
  EXPECT_EQ(room().RoomName, "salon2");
  EXPECT_TRUE(room().RoomChanged);
  EXPECT_TRUE(main().users.Timer4.Enabled());
}

TEST_F(ConsoleTest, ForegroundTitleLendsItsLetterCase) {
  auto& salon = world.open_room("Salon");
  Start();
  world.advance(100ms);
  room().RoomWindowTitle = "salon : video chat room";  // adopted earlier in other letters
  world.desktop.Activate(salon.Window());
  world.advance(20ms);
  EXPECT_EQ(room().RoomWindowTitle, "Salon : Video Chat Room");
  EXPECT_EQ(room().RoomName, "Salon");
  EXPECT_EQ(main().Text(), "Tavlen - Salon");
}

TEST_F(ConsoleTest, TypingModeratorIsNeverOverwritten) {
  auto& salon = world.open_room("le_salon_bleu");
  salon.Type("bonsoir a t");
  Start();
  EXPECT_TRUE(salon.SubmittedLines().empty());
  EXPECT_EQ(salon.InputText(), "bonsoir a t");
  EXPECT_TRUE(room().SetoptSent);
  EXPECT_FALSE(console->controls.send_to_camfrog("/kick x"));
  EXPECT_EQ(salon.InputText(), "bonsoir a t");
}

TEST_F(ConsoleTest, SubmissionSendsHundredKeyDownsWithTicksNested) {
  auto& salon = world.open_room("le_salon_bleu");
  const Hwnd second_edit = world.desktop.CreateChild(salon.Window(), "Edit", "");
  int second_keydowns = 0;
  std::int64_t first_keydown_at = -1;
  world.desktop.At(second_edit).handler = [&](sim::SimWindow&, sim::SimMessage& m) {
    if (m.msg != wm::kKeyDown) return false;
    if (second_keydowns++ == 0) first_keydown_at = world.clock.NowMs();
    return true;
  };
  Start();
  EXPECT_EQ(salon.KeyDownsTo(salon.InputBox()), 100);
  EXPECT_EQ(second_keydowns, 100);
  EXPECT_EQ(first_keydown_at, 101);  // one child after the other, 1 ms apart
  // The line went into both boxes; the stand-in's own box submitted it.
  EXPECT_EQ(world.desktop.At(second_edit).text, "/setopt");
  EXPECT_GE(world.clock.NowMs(), 200);

  // Ticks run inside the loop: the caption refresh (10 ms) ran during start-up.
  EXPECT_EQ(main().Text(), "Tavlen - le_salon_bleu");

  // Text typed while a submission runs goes out with the remaining key-downs.
  // The ticks that cross into the room many times (the user tree, the input
  // box's completion watch) wait for a tick outside the submission, even when
  // due at every pump.
  int seen = 0;
  salon.OnKeyDown = [&] {
    if (++seen == 50) salon.Type("tape pendant");
  };
  int tree_reads = 0;
  int input_reads = 0;
  auto count = [](sim::SimWindow& window, unsigned msg, int& reads) {
    window.handler = [&reads, msg, inner = window.handler](sim::SimWindow& w, sim::SimMessage& m) {
      if (m.msg == msg) ++reads;
      return inner(w, m);
    };
  };
  count(world.desktop.At(salon.Tree()), wm::kTvmGetCount, tree_reads);
  count(world.desktop.At(second_edit), wm::kGetText, input_reads);  // the last "Edit" is the one read
  main().users.Timer4.SetInterval(20);
  world.desktop.At(second_edit).text.clear();
  EXPECT_TRUE(console->controls.send_to_camfrog("hello"));
  EXPECT_EQ(salon.SubmittedLines(), (Lines{"/setopt", "hello", "tape pendant"}));
  EXPECT_EQ(tree_reads, 0);
  EXPECT_EQ(input_reads, 1);  // the draft check before typing
  world.advance(40ms);
  EXPECT_GT(tree_reads, 0);
  EXPECT_GT(input_reads, 1);
}

TEST_F(ConsoleTest, ErrorsInTicksAreDroppedSilently) {
  Start();
  int ticks = 0;
  console->notifier.Timer7.OnTimer = [&] {
    ++ticks;
    throw std::out_of_range("List index out of bounds (-1)");
  };
  console->notifier.Timer7.SetInterval(50);
  world.advance(120ms);
  EXPECT_EQ(ticks, 2);
  EXPECT_TRUE(world.dialogs.Boxes().empty());
  EXPECT_EQ(console->app.DroppedErrors(), 2u);
  EXPECT_FALSE(console->app.Terminated());
}

TEST_F(ConsoleTest, DebugLogAccumulatesWhileHiddenAndKeepsRecentLines) {
  Start();
  console->log.debog("-> one");
  console->log.debog("-> two");
  EXPECT_FALSE(console->Form10->Visible());
  main().Dboguage1->Click();
  EXPECT_TRUE(console->Form10->Visible());
  const auto& lines = console->Form10->Memo1.Lines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2], "-> one");
  EXPECT_EQ(lines.back(), "-> two");
  for (int i = 0; i < 25000; ++i) console->log.debog("-> line " + std::to_string(i));
  EXPECT_LE(lines.size(), DebugLog::kKeptLines + 1000);
  EXPECT_GE(lines.size(), DebugLog::kKeptLines);
  EXPECT_EQ(lines.back(), "-> line 24999");
}

TEST_F(ConsoleTest, CloseRequestsRefusedQuitterEnds) {
  Start();
  main().RequestClose();
  EXPECT_TRUE(main().Visible());
  EXPECT_FALSE(console->app.Terminated());
  main().Quitter1->Click();
  EXPECT_TRUE(console->app.Terminated());
}

TEST_F(ConsoleTest, StartUpLayoutAndMenu) {
  Start();
  EXPECT_EQ(main().Width(), 327);
  EXPECT_EQ(main().Height(), 180);
  EXPECT_TRUE(main().StayOnTop());
  EXPECT_TRUE(world.widgets.Topmost(main()));
  EXPECT_FALSE(main().Commandes1->Visible());
  EXPECT_EQ(main().SRCMIC1->Caption(), "Mic");
  EXPECT_EQ(main().panel.ComboBox1.Text(), "Jours");
  EXPECT_EQ(main().Dboguage1->Caption(), "D\xE9" "boguage");
  for (kit::Timer* t : {&console->monitor.Timer2, &main().Timer3, &main().Timer6, &console->notifier.Timer7, &console->discovery.Timer9})
    EXPECT_TRUE(t->Enabled()) << t->Name();
  EXPECT_FALSE(main().autoKick->Timer5.Enabled());
  EXPECT_FALSE(console->hotkeySounds.Timer8.Enabled());
  EXPECT_EQ(console->monitor.Timer2.Interval(), 2000);
  EXPECT_EQ(main().users.Timer4.Interval(), 750);
}

// A start-up step that fails (here a sound driver that throws on every volume
// read) is dropped as a handler's error is: the console still shows, asks the
// room for its rights and runs, instead of ending without a word.
TEST_F(ConsoleTest, FailingStartUpStepsDoNotEndTheConsole) {
  struct FailingVolume : sim::SimVolume {
    bool GetVolume(VolumeDeviceClass, unsigned, std::uint32_t&) override { throw std::runtime_error("driver fault"); }
  } volume;
  volume.AddDevice(VolumeDeviceClass::kWaveOut, volume_caps::kWaveVolume);
  auto& salon = world.open_room("le_salon_bleu");
  const Platform& sim = world.platform();
  Platform platform{sim.windowing, sim.clock,  sim.dialogs, sim.widgets, sim.exe_dir, sim.mixer,
                    sim.hotkeys,   sim.sound,  volume,      sim.metrics, sim.popups,  sim.collation,
                    sim.memory};
  Console c(platform);
  EXPECT_GE(c.app.DroppedErrors(), 1u);
  EXPECT_TRUE(c.Form1->Visible());
  world.advance(2000ms);
  EXPECT_EQ(salon.SubmittedLines(), Lines{"/setopt"});
  EXPECT_FALSE(c.app.Terminated());
}

// Another program may have taken the top since: each switch-on asks the system
// again, even when the window is already marked topmost.
TEST_F(ConsoleTest, KeepOnTopIsAskedAgainEachTime) {
  Start();
  const int before = world.widgets.TopmostRequests(main());
  main().KTop1->SetKTop(true);
  main().KTop1->SetKTop(true);
  EXPECT_EQ(world.widgets.TopmostRequests(main()), before + 2);
  EXPECT_TRUE(world.widgets.Topmost(main()));
}

TEST_F(ConsoleTest, HungClientNeverFreezesTheConsole) {
  auto& salon = world.open_room("le_salon_bleu");
  Start();
  world.advance(200ms);
  salon.SetHung(true);
  // Reads yield nothing, a write counts as no room window.
  EXPECT_EQ(console->controls.GetOtherWindowMemoText(room().RoomWindowTitle, "RichEdit20A", 0), "");
  EXPECT_FALSE(console->controls.send_to_camfrog("/kick bob"));
  EXPECT_EQ(room().RoomName, "- INACTIF -");
  salon.SetHung(false);
  world.advance(100ms);
  EXPECT_EQ(room().RoomName, "le_salon_bleu");

  // The client took the abandoned line when it woke: it is ours, not typing, and
  // the next command replaces it instead of being dropped for ever.
  salon.Type("/kick bob");
  EXPECT_TRUE(console->controls.send_to_camfrog("/topic x"));
  EXPECT_EQ(salon.SubmittedLines().back(), "/topic x");
  // The moderator's own typing still holds commands back.
  salon.Type("/kick bob");
  EXPECT_FALSE(console->controls.send_to_camfrog("/notopic"));
  EXPECT_EQ(salon.InputText(), "/kick bob");
}

}  // namespace tavlen::testing
