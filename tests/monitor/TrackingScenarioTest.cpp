// The monitor tick over a live room: song requests, kicks, and what a batch may
// and may not do.
#include <algorithm>
#include <stdexcept>

#include "MonitorFixture.h"
#include "bridge/TranscriptTail.h"

namespace tavlen::testing {

namespace {
const std::string kAnswer = "[[ Actuellement sur Le Phare ]] : ";
}

TEST_F(MonitorTest, SongRequestAnsweredWhileHoldingTheMicrophone) {
  world.open_player("12. Artist - Song - Winamp");
  StartInRoom();
  model().SetTalker("modo");
  model().Say("alice", "!titre");
  Tick();
  EXPECT_EQ(Answers(), Lines{kAnswer + "Artist - Song"});
  // The answer went into the room like any line of the moderator's.
  EXPECT_EQ(model().TranscriptLines().back(), "modo : " + kAnswer + "Artist - Song");

  // Somebody else at the microphone: no answer.
  model().SetTalker("alice");
  model().Say("bob", "!titre");
  Tick();
  model().SetTalker("");
  model().Say("bob", "!titre");
  Tick();
  // Not at the start of the message.
  model().SetTalker("modo");
  model().Say("bob", "please !titre");
  model().Say("bob", " !titre");
  Tick();
  EXPECT_EQ(Answers().size(), 1u);
  // The moderator typing: the answer is dropped, not typed over the draft.
  salon->Type("brouillon");
  model().Say("carl", "!TITRE");
  Tick();
  EXPECT_EQ(Answers().size(), 1u);
  EXPECT_EQ(salon->InputText(), "brouillon");
}

TEST_F(MonitorTest, SongRequestWithoutPlayerSendsAnEmptyTitle) {
  StartInRoom();
  model().SetTalker("MODO");
  model().Say("alice", "!titre");
  Tick();
  EXPECT_EQ(Answers(), Lines{kAnswer});
  // A player that shows no playlist numbers keeps the whole artist name.
  world.open_player("Artist Name - Song - Winamp");
  model().Say("alice", "!titre");
  Tick();
  EXPECT_EQ(Answers(), (Lines{kAnswer, kAnswer + "Artist Name - Song"}));
}

TEST_F(MonitorTest, KicksAreCounted) {
  StartInRoom();
  ASSERT_TRUE(console->controls.send_to_camfrog("/kick carl flood"));  // the moderator's own kick
  model().AppendRaw("bob kicked dan from the room");
  model().AppendRaw("Bob Kicked eve");
  model().AppendRaw("bob : kicked");
  Tick();
  EXPECT_EQ(room().KicksTotal, 2);
  EXPECT_EQ(room().KicksByOwnNick, 1);
  model().AppendRaw("MODO kicked fred");
  Tick();
  EXPECT_EQ(room().KicksTotal, 3);
  EXPECT_EQ(room().KicksByOwnNick, 2);
  Tick();
  EXPECT_EQ(room().KicksTotal, 3);
}

TEST_F(MonitorTest, BurstOf350CharactersOnlyTeachesRights) {
  world.write_file("highlight.ini", "salut\r\n");
  StartInRoom();
  model().SetTalker("modo");
  const std::string pad(80, '.');
  model().Say("alice", "salut " + pad);
  model().AppendRaw("bob kicked dan " + pad + pad);
  model().Say("carl", "!titre " + pad + pad);
  ASSERT_GE(model().TranscriptText().size() - console->monitor.tracker.PreviousSnapshot().size(), 300u);
  Tick();
  EXPECT_FALSE(Notified());
  EXPECT_EQ(room().KicksTotal, 0);
  EXPECT_TRUE(Answers().empty());
  // The next small batch is followed again.
  model().AppendRaw("bob kicked dan");
  model().Say("alice", "salut");
  Tick();
  EXPECT_EQ(room().KicksTotal, 1);
  EXPECT_EQ(PopupText(), NotificationMarkup("alice", "salut"));
}

TEST_F(MonitorTest, ClearedTranscriptIsNotReplayed) {
  StartInRoom();
  for (int i = 0; i < 10; ++i) model().Say("alice", "ligne de conversation numero " + std::to_string(i));
  Tick();
  // The client empties its transcript and a kick arrives before the next tick: the
  // anchor is gone, so the text only teaches rights.
  // Long enough for lines to lie past the first 299 characters.
  model().ClearTranscript();
  for (int i = 0; i < 10; ++i) model().Say("carl", "apres le nettoyage, ligne " + std::to_string(i));
  model().AppendRaw("bob kicked dan");
  ASSERT_GT(model().TranscriptText().size(), 330u);
  ASSERT_LT(model().TranscriptText().size(), 590u);
  Tick();
  EXPECT_EQ(room().KicksTotal, 0);
  model().AppendRaw("bob kicked eve");
  Tick();
  EXPECT_EQ(room().KicksTotal, 1);
  // Emptied and read empty: what comes next is new.
  model().ClearTranscript();
  Tick();
  model().AppendRaw("bob kicked fred");
  Tick();
  EXPECT_EQ(room().KicksTotal, 2);
}

TEST_F(MonitorTest, AnotherRoomsHistoryIsNotReplayed) {
  world.write_file("highlight.ini", "salut\r\n");
  StartInRoom();
  for (int i = 0; i < 8; ++i) model().Say("alice", "on se retrouve dans l'autre salon " + std::to_string(i));
  Tick();
  standin::RoomConfig other;
  other.own_nick = "modo";
  auto& jazz = world.open_room("jazz", other);  // opened last: on top
  for (int i = 0; i < 8; ++i) jazz.Model().Say("dan", "conversation plus ancienne, ligne " + std::to_string(i));
  jazz.Model().Say("alice", "salut tout le monde");
  jazz.Model().AppendRaw("bob kicked dan");
  jazz.Model().SetTalker("modo");
  jazz.Model().Say("carl", "!titre");
  ASSERT_GT(jazz.Model().TranscriptText().size(), 400u);
  ASSERT_LT(jazz.Model().TranscriptText().size(), 590u);
  Tick();
  ASSERT_EQ(room().RoomName, "jazz");
  EXPECT_EQ(room().KicksTotal, 0);
  EXPECT_FALSE(Notified());
  const Lines sent = jazz.SubmittedLines();
  EXPECT_TRUE(std::none_of(sent.begin(), sent.end(), [](const std::string& l) { return l.starts_with(kAnswer); }));
  jazz.Model().AppendRaw("bob kicked eve");
  jazz.Model().Say("alice", "re salut");
  Tick();
  EXPECT_EQ(room().KicksTotal, 1);
  EXPECT_EQ(PopupText(), NotificationMarkup("alice", "salut"));
}

TEST_F(MonitorTest, ClientWithoutFinalLineBreak) {
  world.write_file("highlight.ini", "salut\r\n");
  world.write_file("sounds.ini", "C:\\ding.wav\r\n");
  standin::RoomConfig bare;
  bare.crlf_after_last = false;
  StartInRoom(bare);
  EXPECT_EQ(room().Level, "OPPLUS.");
  model().AppendRaw("bob kicked dan");
  model().Say("alice", "salut");
  for (int i = 0; i < 5; ++i) {
    Tick();
    console->notifier.abfThreadComponent1.WaitIdle();
  }
  EXPECT_EQ(room().KicksTotal, 1);
  EXPECT_EQ(world.sound.PlaySoundCalls().size(), 1u);
  model().AppendRaw("bob kicked eve");
  Tick();
  EXPECT_EQ(room().KicksTotal, 2);
}

TEST_F(MonitorTest, FailureWhileInterpretingDoesNotReplayTheBatch) {
  StartInRoom();
  model().SetTalker("modo");
  // The client fails once while the answer is being submitted.
  bool fail = true;
  salon->OnKeyDown = [&] {
    if (!fail) return;
    fail = false;
    salon->Type("");
    throw std::runtime_error("client gone astray");
  };
  model().Say("alice", "!titre");
  model().AppendRaw("bob kicked dan");
  const auto dropped = console->app.DroppedErrors();
  Tick();
  EXPECT_GT(console->app.DroppedErrors(), dropped);
  Tick();
  Tick();
  // Neither the request nor the line after it comes back.
  EXPECT_TRUE(Answers().empty());
  EXPECT_EQ(room().KicksTotal, 0);
  // The ticks after it run as usual.
  model().AppendRaw("bob kicked eve");
  model().Say("alice", "!titre");
  Tick();
  EXPECT_EQ(room().KicksTotal, 1);
  EXPECT_EQ(Answers(), Lines{kAnswer});
}

TEST_F(MonitorTest, TickNestedInASubmissionDoesNothing) {
  StartInRoom();
  model().SetTalker("modo");
  bool nested = false;
  salon->OnKeyDown = [&] {
    if (nested) return;
    nested = true;
    // Another request arrives while the answer is typed, and a tick runs inside
    // the submission's event handling.
    model().Say("carl", "!titre");
    console->monitor.Timer2Timer();
  };
  model().Say("alice", "!titre");
  Tick();
  EXPECT_TRUE(nested);
  EXPECT_EQ(Answers().size(), 1u);
  // Carl's request is seen by the next tick, not swallowed by the nested one.
  Tick();
  EXPECT_EQ(Answers().size(), 2u);
}

TEST_F(MonitorTest, LongSessionKeepsNotifying) {
  world.write_file("highlight.ini", "salut\r\n");
  StartInRoom();
  // Chat keeps coming in bursts until the transcript passes 60,000 characters.
  int n = 0;
  while (model().TranscriptText().size() < 62000) {
    for (int i = 0; i < 40; ++i, ++n)
      model().Say("user" + std::to_string(n % 7), "bavardage sans importance numero " + std::to_string(n));
    Tick();
  }
  model().AppendRaw("bob kicked dan");
  model().Say("alice", "salut la compagnie");
  Tick();
  EXPECT_EQ(room().KicksTotal, 1);
  EXPECT_EQ(PopupText(), NotificationMarkup("alice", "salut"));
  model().AppendRaw("bob kicked eve");
  Tick();
  EXPECT_EQ(room().KicksTotal, 2);

  // Past the ceiling only the transcript's last part is read, from its first
  // whole line, and the anchor rule goes on over that part.
  const std::string filler(4000, 'x');
  for (std::size_t said = 0; said < kTranscriptCeiling + 100000; said += filler.size())
    model().Say("bavard", filler + std::to_string(n++));
  Tick();  // a burst: rights only
  EXPECT_EQ(room().KicksTotal, 2);
  const std::string& seen = console->monitor.tracker.PreviousSnapshot();
  EXPECT_LE(seen.size(), kTranscriptCeiling);
  EXPECT_GT(seen.size(), kTranscriptCeiling - 2 * filler.size());
  EXPECT_TRUE(seen.starts_with("bavard : x"));
  EXPECT_TRUE(model().TranscriptText().ends_with(seen));
  model().AppendRaw("bob kicked fred");
  Tick();
  EXPECT_EQ(room().KicksTotal, 3);
  model().Say("bavard", "court " + std::to_string(n++));
  model().AppendRaw("bob kicked gus");
  Tick();
  EXPECT_EQ(room().KicksTotal, 4);
}

}  // namespace tavlen::testing
