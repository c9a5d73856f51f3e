// Window search, control reads and the talk switch on hand-built windows, and
// the console beside a room that lies.
#include <algorithm>

#include "base/Text.h"
#include "bench/support/CountingWindowing.h"
#include "bridge/TranscriptTail.h"
#include "bridge/WindowSearch.h"
#include "ConsoleFixture.h"
#include "userlist/TreeViewReader.h"

namespace tavlen::testing {

TEST_F(ConsoleTest, WindowSearchPartialIsCaseSensitiveExactIsNot) {
  const auto p = world.desktop.NewProcess();
  world.desktop.CreateTopLevel("X", "x : video chat room", p);
  const Hwnd exact = world.desktop.CreateTopLevel("X", "x : Video Chat Room", p);
  world.desktop.SendToBottom(exact);
  Start();
  EXPECT_EQ(GetWindowHandle(world.desktop, "Video Chat Room", true), exact);
  EXPECT_NE(GetWindowHandle(world.desktop, "X : VIDEO CHAT ROOM", false), kNoWindow);
  EXPECT_EQ(GetWindowHandle(world.desktop, "Video Chat Room", false), kNoWindow);
  EXPECT_EQ(GetWindowHandle(world.desktop, "", true), kNoWindow);
}

TEST_F(ConsoleTest, ChildReadsCountReadablePositions) {
  standin::RoomConfig few;
  few.filler_children = 3;  // fewer than 26 children
  auto& small = world.open_room("petit", few);
  Start();
  world.advance(100ms);
  small.Model().SetTalker("Alice");
  EXPECT_EQ(console->talk.CurrentTalker(), "");

  small.Close();
  auto& salon = world.open_room("salon");
  world.advance(100ms);
  salon.Model().SetTalker("  Alice  ");
  EXPECT_EQ(console->talk.CurrentTalker(), "Alice");
  EXPECT_EQ(room().UserTreeWindow, salon.Tree());

  // The client puts a Static at position 26: empty, even though Buttons exist
  // elsewhere. (A window keeps its class for life: the client makes new ones.)
  world.desktop.Destroy(salon.TalkerIndicator());
  const Hwnd label = world.desktop.CreateChild(salon.Window(), "Static", "Alice");
  EXPECT_EQ(console->talk.CurrentTalker(), "");
  // A child without a readable class gets no position: the Button after it
  // is the 26th.
  world.desktop.Destroy(label);
  world.desktop.CreateChild(salon.Window(), "", "");
  world.desktop.CreateChild(salon.Window(), "Button", "  Bob ");
  EXPECT_EQ(console->talk.CurrentTalker(), "Bob");
}

// The client retitles its room window whenever a topic is set or cleared, and
// discovery adopts the new title only at its next tick: meanwhile the lines still
// reach that room, a draft there still holds them back, and no other room gets them.
TEST_F(ConsoleTest, ARetitledRoomStillTakesItsLinesBeforeDiscoveryAdoptsIt) {
  auto& salon = world.open_room("salon");
  Start();
  world.advance(100ms);
  ASSERT_EQ(room().RoomWindowTitle, "salon : Video Chat Room");

  salon.Model().SetTopic("quiz");  // no tick since: the console still holds the old title
  ASSERT_EQ(room().RoomWindowTitle, "salon : Video Chat Room");
  EXPECT_TRUE(console->controls.send_to_camfrog("/kick bob spam"));
  EXPECT_EQ(salon.SubmittedLines(), Lines{"/kick bob spam"});
  EXPECT_EQ(room().RoomName, "salon");  // not the inactive state

  salon.Model().SetTopic("");
  salon.Type("brouillon");
  EXPECT_FALSE(console->controls.send_to_camfrog("/kick bob spam"));
  EXPECT_EQ(salon.InputText(), "brouillon");

  // Another room is not the same room: the line is not sent, and the room is gone.
  salon.Close();
  auto& autre = world.open_room("autre");
  EXPECT_FALSE(console->controls.send_to_camfrog("/kick bob spam"));
  EXPECT_TRUE(autre.SubmittedLines().empty());
  EXPECT_EQ(room().RoomName, kInactiveRoomName);
}

TEST_F(ConsoleTest, PresenceCheckLooksAtDirectButtonsOnly) {
  const auto p = world.desktop.NewProcess();
  const Hwnd upper = world.desktop.CreateTopLevel("R", "a : Video Chat Room", p);
  world.desktop.CreateChild(upper, "Button", "HANDS FREE");
  const Hwnd nested = world.desktop.CreateTopLevel("R", "b : Video Chat Room", p);
  const Hwnd panel = world.desktop.CreateChild(nested, "Panel", "");
  world.desktop.CreateChild(panel, "Button", "Hands Free");
  const Hwnd stat = world.desktop.CreateTopLevel("R", "c : Video Chat Room", p);
  world.desktop.CreateChild(stat, "Static", "Hands Free");
  // Past the most children a walk visits.
  const Hwnd crowded = world.desktop.CreateTopLevel("R", "d : Video Chat Room", p);
  for (int i = 0; i < kRoomChildCeiling; ++i) world.desktop.CreateChild(crowded, "Button", "Cam");
  world.desktop.CreateChild(crowded, "Button", "Hands Free");
  Start();
  const std::uint64_t clicks_before = world.desktop.SendCount();
  EXPECT_TRUE(console->talk.FindButtonAndPressIt("a : Video Chat Room", "Hands Free", 1));
  EXPECT_FALSE(console->talk.FindButtonAndPressIt("b : Video Chat Room", "Hands Free", 1));
  EXPECT_FALSE(console->talk.FindButtonAndPressIt("c : Video Chat Room", "Hands Free", 1));
  EXPECT_FALSE(console->talk.FindButtonAndPressIt("d : Video Chat Room", "Hands Free", 1));
  EXPECT_FALSE(console->talk.FindButtonAndPressIt("nowhere", "Hands Free", 1));
  EXPECT_GT(world.desktop.SendCount(), clicks_before);  // reads only: nothing pressed
  EXPECT_EQ(console->log.Last(), "-> routine Detection STATUT DU SWITCH TALK");
}

TEST_F(ConsoleTest, ReadsTheLastMatchingChildAndLongTranscripts) {
  auto& salon = world.open_room("salon");
  const Hwnd second = world.desktop.CreateChild(salon.Window(), "Edit", "second box");
  Start();
  world.advance(100ms);
  EXPECT_EQ(console->controls.GetOtherWindowMemoText(room().RoomWindowTitle, "Edit", 0), "second box");
  (void)second;
  std::string long_line(4000, 'x');
  for (int i = 0; i < 20; ++i) salon.Model().Say("bob", long_line);
  const std::string transcript = console->controls.GetOtherWindowMemoText(room().RoomWindowTitle, "RichEdit20A", 0);
  EXPECT_EQ(transcript, salon.Model().TranscriptText());
  EXPECT_GT(transcript.size(), 60000u);
  // Other controls are read up to 5,000 characters; a long line is written whole.
  const std::string line(6000, 'y');
  EXPECT_TRUE(console->controls.SetOtherWindowMemoText(room().RoomWindowTitle, line, false, false));
  EXPECT_EQ(salon.InputText(), line);
  EXPECT_EQ(salon.Caret(), 6000);
  EXPECT_EQ(console->controls.GetOtherWindowMemoText(room().RoomWindowTitle, "Edit", 2).size(), 5000u);

  // A window with more children than any room: the walk ends at the ceiling,
  // and a box past it is neither read nor written.
  for (int i = 0; i < kRoomChildCeiling; ++i) world.desktop.CreateChild(salon.Window(), "Static", "");
  const Hwnd far = world.desktop.CreateChild(salon.Window(), "Edit", "far box");
  EXPECT_EQ(console->controls.GetOtherWindowMemoText(room().RoomWindowTitle, "Edit", 0), line.substr(0, 5000));
  EXPECT_TRUE(console->controls.SetOtherWindowMemoText(room().RoomWindowTitle, "abc", false, false));
  EXPECT_EQ(world.desktop.At(far).text, "far box");
}

TEST_F(ConsoleTest, ATranscriptThatLiesAboutItsLengthCostsAtMostTheCeiling) {
  auto& salon = world.open_room("salon");
  Start();
  world.advance(100ms);
  // A control that announces 2^40 characters, gives three, and claims a range
  // copy it never made.
  std::size_t largest_asked = 0;
  bool answers_ranges = true;
  world.desktop.At(salon.Transcript()).handler = [&](sim::SimWindow&, sim::SimMessage& m) {
    switch (m.msg) {
      case wm::kGetTextLength: m.result = std::intptr_t{1} << 40; return true;
      case wm::kGetText: largest_asked = std::max(largest_asked, std::size_t(m.wparam)); m.text = "abc"; m.result = 3; return true;
      case wm::kEmGetTextRange: m.result = answers_ranges ? std::intptr_t{1} << 40 : 0; return true;
      default: return false;
    }
  };
  std::string read = "old";
  console->controls.ReadOtherWindowMemoText(room().RoomWindowTitle, "RichEdit20A", 0, read);
  EXPECT_EQ(read, "");  // the block came back empty
  EXPECT_EQ(largest_asked, 0u);
  EXPECT_EQ(world.memory.OutsideAllocations(salon.Process()), 0);
  // No range answered: the start of the text, read with the plain limit (a
  // reading of megabytes at every tick would stall the console).
  answers_ranges = false;
  console->controls.ReadOtherWindowMemoText(room().RoomWindowTitle, "RichEdit20A", 0, read);
  EXPECT_EQ(read, "abc");
  EXPECT_EQ(largest_asked, 30000u);
  EXPECT_EQ(console->log.Last(), ansi("-> transcription : 1099511627776 caractères annoncés, lecture arrêtée à 29999"));
}

TEST_F(ConsoleTest, FocusModeWritesNothing) {
  auto& salon = world.open_room("salon");
  salon.Type("abc");
  Start();
  world.advance(100ms);
  EXPECT_FALSE(console->controls.SetOtherWindowMemoText(room().RoomWindowTitle, "ignored", true, false));
  EXPECT_EQ(salon.InputText(), "abc");
  EXPECT_EQ(salon.FocusRequests(), 2);  // the input box, then the room window
}

namespace {
// The most calls one 10 ms step may make beside a lying room: a few walks over
// the room's children at their ceiling (two ticks' reads, a submission's read
// and write, the ticks nested in it) and a submission's key-downs.
constexpr std::uint64_t kLyingRoomStepBudget = 6 * 2 * kRoomChildCeiling + 500;

// A console whose calls to the desktop and to other processes are counted.
struct Beside {
  sim::SimWorld world;
  bench::CountingWindowing counting{world.desktop};
  Platform platform{counting,     world.clock,  world.dialogs, world.widgets, world.exe_dir(),
                    world.mixer,  world.hotkeys, world.sound,  world.volume,  world.metrics,
                    world.popups, world.collation, &world.memory};
  std::unique_ptr<Console> console;

  std::uint64_t Calls() const { return counting.Calls() + world.memory.Operations(); }
  // Runs `ms` of virtual time in 10 ms steps (the shortest tick); the most
  // calls one step made.
  std::uint64_t Run(int ms) {
    std::uint64_t busiest = 0;
    for (int t = 0; t < ms; t += 10) {
      const std::uint64_t before = Calls();
      world.advance(10ms);
      busiest = std::max(busiest, Calls() - before);
    }
    return busiest;
  }
  Lines Users() const {
    Lines out;
    const kit::ListBox& list = console->Form1->users.ListBox1;
    for (int i = 0; i < list.Count(); ++i) out.push_back(list.Item(i));
    return out;
  }
};

}  // namespace

// A room that lies, one lie at a time and then all of them at once, beside the
// console for a few seconds: no step costs more calls than the reads' ceilings
// allow, no text buffer exceeds the transcript ceiling, and once the liar is
// closed the console takes the next, honest room and works with it.
TEST(LyingRoom, ConsoleStaysBoundedAndWorksWithTheNextRoom) {
  using standin::Lie;
  std::vector<standin::RoomLies> cases;
  standin::RoomLies all;
  for (unsigned i = 0; i < static_cast<unsigned>(Lie::kCount); ++i) {
    cases.emplace_back().Add(static_cast<Lie>(i));
    all.Add(static_cast<Lie>(i));
  }
  cases.push_back(all);
  for (const standin::RoomLies& lies : cases) {
    std::string name = lies == all ? "all" : "";
    for (unsigned i = 0; i < static_cast<unsigned>(Lie::kCount) && name.empty(); ++i)
      if (lies.Has(static_cast<Lie>(i))) name = standin::LieName(static_cast<Lie>(i));
    SCOPED_TRACE(name);
    Beside b;
    standin::RoomConfig liar_config;
    liar_config.users = {"ann", "bob"};
    liar_config.lies = lies;
    auto& liar = b.world.open_room("menteur", liar_config);
    b.console = std::make_unique<Console>(b.platform);
    std::uint64_t busiest = b.Run(4500);
    EXPECT_GT(liar.LiesTold(), 0u);
    EXPECT_EQ(b.console->room.RoomName, "menteur");

    liar.Close();
    standin::RoomConfig honest;
    honest.users = {"carl", "dan"};
    honest.own_nick = "chef";
    honest.owner = true;
    auto& salon = b.world.open_room("salon", honest);
    busiest = std::max(busiest, b.Run(2500));
    EXPECT_EQ(b.console->room.RoomName, "salon");
    EXPECT_EQ(b.Users(), (Lines{"carl", "chef", "dan"}));
    EXPECT_TRUE(b.console->controls.send_to_camfrog("/kick carl spam"));
    const int kicks = b.console->room.KicksTotal;
    busiest = std::max(busiest, b.Run(2100));
    EXPECT_EQ(b.console->room.KicksTotal, kicks + 1);
    EXPECT_EQ(b.Users(), (Lines{"chef", "dan"}));
    EXPECT_EQ(salon.SubmittedLines(), (Lines{"/setopt", "/kick carl spam"}));

    EXPECT_LE(busiest, kLyingRoomStepBudget);
    EXPECT_LE(b.world.desktop.LargestTextBuffer(), kTranscriptCeiling + 1);
  }
}

}  // namespace tavlen::testing
