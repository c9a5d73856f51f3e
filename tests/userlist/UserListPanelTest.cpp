// The user list tick, the rights request after a room change, the nick chooser
// and the clicks in the user list, on the whole console.
#include <deque>

#include "base/Text.h"
#include "ConsoleFixture.h"
#include "platform/Background.h"
#include "tests/support/SlowInputBox.h"

namespace tavlen::testing {

namespace {
Lines Items(const kit::ItemList& list) {
  Lines out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.Item(i));
  return out;
}
}  // namespace

class UserListTest : public ConsoleTest {
 protected:
  UserListPanel& users() { return main().users; }
  TForm4& chooser() { return *console->Form4; }
  kit::Edit& nick_box() { return main().panel.Edit2; }
  int setopts(sim::SimRoom& r) {
    int n = 0;
    for (const auto& line : r.SubmittedLines()) n += line == "/setopt";
    return n;
  }
};

TEST_F(UserListTest, TickShowsCountsAndTitle) {
  standin::RoomConfig cfg;
  cfg.users = {"carl", "Bob"};
  auto& salon = world.open_room("le_salon_bleu", cfg);
  Start();
  EXPECT_EQ(users().Label1.Text(), "NB utilisateurs");
  EXPECT_EQ(users().Label2.Text(), "NB Kick :");
  room().KicksTotal = 5;
  room().KicksByOwnNick = 2;
  world.advance(750ms);
  EXPECT_EQ(Items(users().ListBox1), (Lines{"Bob", "carl", "modo"}));
  EXPECT_EQ(Items(chooser().ListBox1), Items(users().ListBox1));
  EXPECT_EQ(users().Label1.Text(), "3 utilisateurs");
  EXPECT_EQ(users().Label2.Text(), "NB kick : 2/5");
  EXPECT_EQ(title(), "Tavlen - [3]");

  // Someone leaves, someone arrives in the hidden group (collapsed: not listed).
  salon.Model().Quit("carl");
  salon.Model().Join("zoe", true);
  world.advance(750ms);
  EXPECT_EQ(Items(users().ListBox1), (Lines{"Bob", "modo"}));
  EXPECT_EQ(title(), "Tavlen - [2]");
}

// With a runner, the tree is read off the user-interface thread: the lists change
// when a read completes, a tick starts no read while one runs, and a read that
// completes once the room is gone, or the console, changes nothing.
TEST_F(UserListTest, BackgroundReadsShowWhenDoneOneAtATime) {
  struct QueuedRuns : Background {
    std::deque<std::pair<std::function<void()>, std::function<void()>>> jobs;
    void Run(std::function<void()> work, std::function<void()> done) override {
      jobs.emplace_back(std::move(work), std::move(done));
    }
    void Complete() {
      auto [work, done] = std::move(jobs.front());
      jobs.pop_front();
      work();
      done();
    }
  } runs;
  standin::RoomConfig cfg;
  cfg.users = {"carl", "Bob"};
  auto& salon = world.open_room("le_salon_bleu", cfg);
  Platform platform = world.platform();
  platform.background = &runs;
  console = std::make_unique<Console>(platform);
  world.advance(750ms);
  ASSERT_EQ(runs.jobs.size(), 1u);
  EXPECT_EQ(users().ListBox1.Count(), 0);
  world.advance(1500ms);
  EXPECT_EQ(runs.jobs.size(), 1u);
  runs.Complete();
  EXPECT_EQ(Items(users().ListBox1), (Lines{"Bob", "carl", "modo"}));
  EXPECT_EQ(title(), "Tavlen - [3]");

  // The room closes while a read runs: the console goes inactive and stays so.
  world.advance(750ms);
  ASSERT_EQ(runs.jobs.size(), 1u);
  salon.Close();
  world.advance(200ms);
  EXPECT_EQ(title(), kInactiveTitle);
  runs.Complete();
  EXPECT_EQ(title(), kInactiveTitle);
  EXPECT_EQ(Items(users().ListBox1), (Lines{"Bob", "carl", "modo"}));

  // A room again, and the console gone before its read completes.
  world.open_room("le_salon_bleu", cfg);
  world.advance(1000ms);  // found by discovery, then a tick
  ASSERT_FALSE(runs.jobs.empty());
  console.reset();
  while (!runs.jobs.empty()) runs.Complete();
}

// Nicks sort as the platform's lists sort them for a French user: accented
// names among their letter, not after «zoe»; the chooser keeps the same order.
TEST_F(UserListTest, NicksSortInTheUsersCollation) {
  standin::RoomConfig cfg;
  cfg.users = {"zoe", ansi("Élodie"), "bob", "Eve", ansi("émile"), "Emile"};
  world.open_room("le_salon_bleu", cfg);
  Start();
  world.advance(750ms);
  EXPECT_EQ(Items(users().ListBox1),
            (Lines{"bob", ansi("Élodie"), "Emile", ansi("émile"), "Eve", "modo", "zoe"}));
  EXPECT_EQ(Items(chooser().ListBox1), Items(users().ListBox1));
  // A tick over the same room keeps the list as it is.
  world.advance(750ms);
  EXPECT_EQ(users().ListBox1.Count(), 7);
}

TEST_F(UserListTest, EmptyListAfterARoomChangeSendsNoSetopt) {
  auto& salon = world.open_room("salon");
  salon.TreeView()->Clear();  // the client shows nobody yet
  Start();                    // the default room is not open: inactive until discovery
  world.advance(1000ms);
  ASSERT_EQ(room().RoomName, "salon");
  EXPECT_EQ(users().Label1.Text(), "0 utilisateurs");
  EXPECT_EQ(users().Label2.Text(), "NB kick : 0/0");
  EXPECT_EQ(title(), "Tavlen - [0]");
  EXPECT_TRUE(salon.SubmittedLines().empty());
  EXPECT_TRUE(room().RoomChanged);

  // The client fills its tree: the next tick asks for the rights, once.
  salon.Model().Join("Bob");
  world.advance(750ms);
  EXPECT_EQ(title(), "Tavlen - [2]");
  EXPECT_EQ(salon.SubmittedLines(), Lines{"/setopt"});
  EXPECT_FALSE(room().RoomChanged);
  world.advance(3000ms);
  EXPECT_EQ(setopts(salon), 1);
}

TEST_F(UserListTest, RoomChangeWhileTypingLosesTheRequestOnceRightsAreKnown) {
  auto& first = world.open_room("le_salon_bleu");
  Start();
  ASSERT_EQ(first.SubmittedLines(), Lines{"/setopt"});
  room().RightsKnown = true;  // the client's answer was understood

  auto& second = world.open_room("autre");  // on top: discovery adopts it
  second.Type("bonsoir tout le mo");
  world.advance(1000ms);
  ASSERT_EQ(room().RoomName, "autre");
  EXPECT_FALSE(room().RoomChanged);
  EXPECT_TRUE(second.SubmittedLines().empty());
  EXPECT_EQ(second.InputText(), "bonsoir tout le mo");
  // The moderator sends the line; no later tick asks again.
  second.Model().Submit();
  world.advance(3000ms);
  EXPECT_EQ(setopts(second), 0);

  // Another room change with an empty box: asked at the next tick.
  auto& third = world.open_room("troisieme");
  world.advance(1000ms);
  EXPECT_EQ(third.SubmittedLines(), Lines{"/setopt"});
}

TEST_F(UserListTest, UnansweredRightsAreAskedForAgainUntilTheRequestIsSubmitted) {
  auto& salon = world.open_room("le_salon_bleu");
  salon.Type("je tape");  // at start-up: the request cannot be typed
  Start();
  EXPECT_TRUE(salon.SubmittedLines().empty());
  world.advance(3000ms);
  EXPECT_TRUE(salon.SubmittedLines().empty());
  EXPECT_EQ(salon.InputText(), "je tape");
  EXPECT_FALSE(room().RightsKnown);

  salon.Type("");
  world.advance(750ms);
  EXPECT_EQ(salon.SubmittedLines(), Lines{"/setopt"});
  // Submitted once: not again, even before the answer is understood.
  room().RightsKnown = false;
  world.advance(3000ms);
  EXPECT_EQ(setopts(salon), 1);
}

TEST_F(UserListTest, FirstEntryWithABlankHoldsTheRequestBack) {
  standin::RoomConfig cfg;
  cfg.users = {" espace", "Bob"};
  auto& salon = world.open_room("salon", cfg);
  Start();
  world.advance(1000ms);
  ASSERT_EQ(users().ListBox1.Item(0), " espace");
  EXPECT_TRUE(salon.SubmittedLines().empty());
  EXPECT_TRUE(room().RoomChanged);
  salon.Model().Quit(" espace");
  world.advance(750ms);
  EXPECT_EQ(salon.SubmittedLines(), Lines{"/setopt"});
  EXPECT_FALSE(room().RoomChanged);
}

TEST_F(UserListTest, ChooserOpensBelowOrAboveTheBoxAndClosesWhenTheMouseLeaves) {
  standin::RoomConfig cfg;
  cfg.users = {"Bob", "carl"};
  world.open_room("le_salon_bleu", cfg);
  Start();
  world.advance(750ms);
  ASSERT_FALSE(chooser().Visible());
  EXPECT_EQ(chooser().Border, kit::BorderStyle::kNone);
  EXPECT_TRUE(chooser().StayOnTop());
  EXPECT_EQ(chooser().ClientSize(), (std::pair{153, 380}));
  EXPECT_EQ(chooser().ListBox1.ItemHeight, 16);

  // High on the screen (1080 pixels): below, 54 pixels under the box's top.
  main().SetBounds(100, 8, main().Width(), main().Height());
  world.desktop.SetCursor({100 + 136 + 20, 8 + 27 + 10});  // over the box
  nick_box().DblClick();
  ASSERT_TRUE(chooser().Visible());
  EXPECT_EQ(chooser().Left(), 100 + 136 + 7);
  EXPECT_EQ(chooser().Top(), 8 + 27 + 54);
  const int l = chooser().Left(), t = chooser().Top(), eh = nick_box().Height();
  // The pointer still where the double click was, above the band: it stays.
  world.advance(30ms);
  EXPECT_TRUE(chooser().Visible());
  // From the box down into the list: it stays.
  for (int y : {t - eh, t, t + 200, t + 380}) {
    world.desktop.SetCursor({l + 10, y});
    world.advance(10ms);
    EXPECT_TRUE(chooser().Visible()) << y;
  }
  // Out sideways: closed within 10 ms.
  world.desktop.SetCursor({l + 153 + 1, t + 100});
  world.advance(10ms);
  EXPECT_FALSE(chooser().Visible());
  // Above the box's reach: closed too.
  nick_box().DblClick();
  world.desktop.SetCursor({l + 10, t - eh - 1});
  world.advance(10ms);
  EXPECT_FALSE(chooser().Visible());

  // Within 485 pixels of the bottom: above, 350 pixels over the box's top.
  main().SetBounds(100, 600, main().Width(), main().Height());
  world.desktop.SetCursor({100 + 136 + 20, 600 + 27 + 10});
  nick_box().DblClick();
  world.advance(30ms);
  ASSERT_TRUE(chooser().Visible());
  EXPECT_EQ(chooser().Top(), 600 + 27 - 350);
  const int t2 = chooser().Top();
  for (int y : {t2, t2 + 380 + eh}) {
    world.desktop.SetCursor({l + 10, y});
    world.advance(10ms);
    EXPECT_TRUE(chooser().Visible()) << y;
  }
  world.desktop.SetCursor({l + 10, t2 - 1});
  world.advance(10ms);
  EXPECT_FALSE(chooser().Visible());
  world.desktop.SetCursor({l - 1, t2 + 10});
  nick_box().DblClick();
  world.advance(10ms);
  EXPECT_FALSE(chooser().Visible());
}

TEST_F(UserListTest, ChoosingANickFillsTheBoxAndClosingEventsCloseTheChooser) {
  standin::RoomConfig cfg;
  cfg.users = {"Bob", "carl"};
  world.open_room("le_salon_bleu", cfg);
  Start();
  world.advance(750ms);
  main().Timer6.SetEnabled(false);  // the mouse stays where it is: no leave rule here

  // Nothing selected: nothing changes.
  nick_box().SetText("typed");
  nick_box().DblClick();
  chooser().ListBox1.DoubleClickItem(-1);
  EXPECT_EQ(nick_box().Text(), "typed");
  EXPECT_TRUE(chooser().Visible());

  // Double click on a nick: in the box, a 100 ms pause, closed, keep-on-top on.
  main().KTop1->SetKTop(false);
  const auto slept = world.clock.SleptMs();
  chooser().ListBox1.DoubleClickItem(1);
  EXPECT_EQ(nick_box().Text(), "carl");
  EXPECT_EQ(world.clock.SleptMs() - slept, 100);
  EXPECT_FALSE(chooser().Visible());
  EXPECT_TRUE(main().StayOnTop());

  // Enter: the same without the pause; other keys do nothing.
  nick_box().DblClick();
  chooser().ListBox1.Select(0);
  chooser().ListBox1.KeyDown(40);
  EXPECT_TRUE(chooser().Visible());
  main().KTop1->SetKTop(false);
  const auto slept2 = world.clock.SleptMs();
  chooser().ListBox1.KeyDown(13);
  EXPECT_EQ(nick_box().Text(), "Bob");
  EXPECT_EQ(world.clock.SleptMs(), slept2);
  EXPECT_FALSE(chooser().Visible());
  EXPECT_TRUE(main().StayOnTop());

  // Closing without a choice.
  nick_box().DblClick();
  main().KTop1->SetKTop(false);
  nick_box().Click();
  EXPECT_FALSE(chooser().Visible());
  EXPECT_TRUE(main().StayOnTop());
  nick_box().DblClick();
  main().Activate();
  EXPECT_FALSE(chooser().Visible());
  nick_box().DblClick();
  main().MouseMove(5, 5);
  EXPECT_FALSE(chooser().Visible());
  nick_box().DblClick();
  main().panel.Label9.MouseMove(5, 5);
  EXPECT_FALSE(chooser().Visible());
  nick_box().DblClick();
  main().FrameMouseMove();  // the mouse over the window's frame
  EXPECT_FALSE(chooser().Visible());
  EXPECT_EQ(nick_box().Text(), "Bob");
}

TEST_F(UserListTest, ClickInTheUserListFillsTheBox) {
  standin::RoomConfig cfg;
  cfg.users = {"Bob", "carl"};
  world.open_room("le_salon_bleu", cfg);
  Start();
  world.advance(750ms);
  users().ListBox1.Select(1);
  EXPECT_EQ(nick_box().Text(), "carl");
  nick_box().SetText("x");
  users().ListBox1.SetItemIndex(-1);
  users().ListBox1.Select(-1);  // a click below the last nick
  EXPECT_EQ(nick_box().Text(), "x");
}

TEST_F(UserListTest, TicksDuringASlowSubmissionDoNotAskForTheRightsAgain) {
  standin::RoomConfig cfg;
  cfg.users = {"carl"};
  auto& salon = world.open_room("le_salon_bleu", cfg);
  // Each key-down into its second box takes 10 ms, so the user list tick
  // (750 ms) comes due while the start-up request is being submitted.
  AddSlowInputBox(world, salon, 10);
  Start();
  EXPECT_GE(world.clock.NowMs(), 1000);
  EXPECT_EQ(setopts(salon), 1);

  // The same at a room change: the request of the tick is not repeated by the
  // ticks run while it is submitted.
  auto& other = world.open_room("autre", cfg);
  AddSlowInputBox(world, other, 10);
  world.advance(2000ms);
  EXPECT_EQ(room().RoomName, "autre");
  EXPECT_EQ(setopts(other), 1);
}

}  // namespace tavlen::testing
