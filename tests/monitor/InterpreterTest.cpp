#include <gtest/gtest.h>

#include "monitor/LineInterpreter.h"
#include "tests/support/FakeRoomLine.h"
#include "tests/support/FakeRuleTargets.h"

namespace tavlen {
namespace {

using Lines = std::vector<std::string>;

// The interpreter with recording targets.
struct Rig : testing::FakeRuleTargets {
  RoomState room;
  testing::FakeRoomLine line;
  std::vector<std::string>& sent = line.sent;
  LineInterpreter interpreter{room, line, *this, *this, *this};

  Rig() {
    room.RoomWindowTitle = "salon : Video Chat Room";
    room.ForegroundTitle = "Tavlen - salon";
    interpreter.SetOwnerCommands(this);
  }
  void First(const std::string& line) { interpreter.FirstPass({line}); }
  void Second(const std::string& line) { interpreter.SecondPass({line}); }
};

TEST(RightsRules, EchoNamesTheModerator) {
  Rig r;
  r.First("Bob : /setopt");
  EXPECT_EQ(r.room.OwnNick, "Bob");
  r.First("bob : /SETOPT");
  EXPECT_EQ(r.room.OwnNick, "bob");
  EXPECT_EQ(r.calls, (Lines{"check_right Bob", "check_right bob"}));
  EXPECT_FALSE(r.room.RightsKnown);
  // The third word decides, not where "/setopt" appears.
  r.First("carl : dit /setopt");
  r.First("/setopt");
  EXPECT_EQ(r.room.OwnNick, "bob");
  // An echo with a blank-only nick still reaches check_right.
  r.First("\t : /setopt");
  EXPECT_EQ(r.room.OwnNick, "\t");
  EXPECT_EQ(r.calls.back(), "check_right \t");
}

TEST(RightsRules, RefusalGivesTheLevel) {
  Rig r;
  r.First("operation failed! Your current level is: OPPLUS.");  // not the client's text
  EXPECT_FALSE(r.room.RightsKnown);
  r.First("Operation failed! Your current level is: OPPLUS.");
  EXPECT_EQ(r.room.Level, "OPPLUS.");
  EXPECT_TRUE(r.room.RightsKnown);
  EXPECT_EQ(r.calls, Lines{"buttons"});  // "Commandes" stays hidden

  Rig op;
  op.First("Operation failed! Your current level is: OP.");
  EXPECT_EQ(op.room.Level, "OP.");
  EXPECT_TRUE(op.room.RightsKnown);
  EXPECT_TRUE(op.calls.empty());
  Rig case_differs;
  case_differs.First("Operation failed! Your current level is: opplus.");
  EXPECT_TRUE(case_differs.calls.empty());
}

TEST(RightsRules, OwnerHelpAndTheOwnerNick) {
  Rig owner;
  owner.First("/setopt ARGUMENTS: talk_time <seconds>");
  EXPECT_EQ(owner.room.Level, "OWNER.");
  EXPECT_TRUE(owner.room.RightsKnown);
  EXPECT_EQ(owner.calls, (Lines{"Commandes", "buttons", "redraw"}));
  Rig not_first;
  not_first.First("bob : /SETOPT arguments:");
  EXPECT_FALSE(not_first.room.RightsKnown);

  Rig kel;
  kel.First("KelVorn : /setopt");
  EXPECT_EQ(kel.calls, (Lines{"check_right KelVorn", "Commandes", "buttons", "redraw"}));
  EXPECT_FALSE(kel.room.RightsKnown);
  Rig lower;
  lower.First("kelvorn : /setopt");
  EXPECT_EQ(lower.calls, Lines{"check_right kelvorn"});
}

TEST(RightsRules, NothingChangesOnceRightsAreKnown) {
  Rig r;
  r.interpreter.FirstPass({"modo : /setopt", "Operation failed! Your current level is: OP."});
  r.calls.clear();
  r.interpreter.FirstPass({"KelVorn : /setopt", "Operation failed! Your current level is: OPPLUS.",
                           "/SETOPT arguments: x"});
  r.interpreter.SecondPass({"other : /setopt"});
  EXPECT_EQ(r.room.OwnNick, "modo");
  EXPECT_EQ(r.room.Level, "OP.");
  EXPECT_TRUE(r.calls.empty());
}

TEST(KeywordRule, MatchConditions) {
  Rig r;
  r.room.OwnNick = "modo";
  r.words = {"salut"};
  r.Second("Alice : Salut tout le monde");
  EXPECT_EQ(r.notified, (std::vector<std::pair<std::string, std::string>>{{"Alice", "salut"}}));
  r.notified.clear();

  r.Second("Salut : x");           // before the colon only
  r.Second("modo : salut");        // the moderator's own line
  r.Second("MODO : salut");
  r.Second("Join: Salut_le_retour");
  r.Second("quit: salut");
  r.Second("alice : bonjour");     // no match
  EXPECT_TRUE(r.notified.empty());
  // No colon: anywhere but the very first character.
  r.Second("salut les amis");
  r.Second("ah salut");
  EXPECT_EQ(r.notified.size(), 1u);
  EXPECT_EQ(r.notified[0].first, "ah");
  r.notified.clear();

  // After the first colon, even when it also occurs before it.
  r.words = {"bob"};
  r.Second("bobby : hi bob");
  r.Second("bobby : hi");
  EXPECT_EQ(r.notified, (std::vector<std::pair<std::string, std::string>>{{"bobby", "bob"}}));
  r.notified.clear();

  // The room window in front (letter case aside): no notification.
  r.words = {"salut"};
  r.room.ForegroundTitle = "SALON : video chat room";
  r.Second("Alice : salut");
  EXPECT_TRUE(r.notified.empty());
}

TEST(KeywordRule, EveryMatchingEntryInListOrder) {
  Rig r;
  r.words = {"cam", "", "  ", "MUSIQUE", " le "};
  // Before the own nick is learnt, own lines are not excluded.
  r.Second("modo : la cam et la musique, le  son");
  EXPECT_EQ(r.notified, (std::vector<std::pair<std::string, std::string>>{
                            {"modo", "cam"}, {"modo", "  "}, {"modo", "MUSIQUE"}, {"modo", " le "}}));
  // The list is read afresh for each line.
  r.notified.clear();
  r.words = {"son"};
  r.Second("modo : la cam et la musique, le  son");
  EXPECT_EQ(r.notified.size(), 1u);
}

TEST(SongRequestRule, AnsweredOnlyWithTheMicrophone) {
  Rig r;
  r.room.OwnNick = "modo";
  r.talker = "MODO";
  r.Second("Alice : !titre");
  r.Second("modo : !TITRE s'il te plait");
  EXPECT_EQ(r.sent, (Lines{"[[ Actuellement sur Le Phare ]] : Artist - Song",
                           "[[ Actuellement sur Le Phare ]] : Artist - Song"}));
  r.sent.clear();
  r.Second("Alice :  !titre");        // two blanks
  r.Second("Alice : please !titre");
  r.Second("Join: !titre");
  r.Second("Quit: !titre");
  r.Second("Alice : titre");
  EXPECT_TRUE(r.sent.empty());
  // The microphone is only looked at when a request is seen.
  EXPECT_EQ(r.talker_reads, 2);
  r.Second(" !titre");                // no colon: at position 2
  EXPECT_EQ(r.sent.size(), 1u);
  r.sent.clear();

  r.talker = "alice";
  r.Second("Alice : !titre");
  EXPECT_TRUE(r.sent.empty());

  // Own nick unknown and nobody talking: answered; no player, nothing after "]] : ".
  Rig fresh;
  fresh.song.clear();
  fresh.Second("Alice : !titre");
  EXPECT_EQ(fresh.sent, Lines{"[[ Actuellement sur Le Phare ]] : "});
}

TEST(KickRule, CountsKicksAndOwnKicks) {
  Rig r;
  r.room.OwnNick = "bob";
  r.Second("Bob kicked Carl from the room");
  r.Second("dan kicked eve");
  r.Second("Bob Kicked Carl");
  r.Second("bob : kicked");
  EXPECT_EQ(r.room.KicksTotal, 2);
  EXPECT_EQ(r.room.KicksByOwnNick, 1);
  // The first pass never counts.
  r.First("bob kicked carl");
  EXPECT_EQ(r.room.KicksTotal, 2);
}

TEST(SecondPass, EchoReappliesTheOwnNickInBatchOrder) {
  Rig r;
  r.words = {"salut"};
  r.talker = "zoe";
  // The echo of "zoe" sits between two lines: the first still counts as someone
  // else's, the second is the moderator's own.
  r.interpreter.SecondPass({"zoe : salut", "zoe : /setopt", "zoe : salut", "Zoe kicked x", "a : !titre"});
  EXPECT_EQ(r.notified.size(), 1u);
  EXPECT_EQ(r.room.OwnNick, "zoe");
  EXPECT_EQ(r.room.KicksByOwnNick, 1);
  EXPECT_EQ(r.sent.size(), 1u);
  EXPECT_EQ(r.calls, Lines{"check_right zoe"});
}

}  // namespace
}  // namespace tavlen
