// What the console learns from the client's answers to "/setopt".
#include "MonitorFixture.h"

namespace tavlen::testing {

TEST_F(MonitorTest, OpplusRefusalUnlocksTheButtonsOnly) {
  salon = &world.open_room("le_salon_bleu");
  Start();
  EXPECT_FALSE(AnyRestrictedEnabled());
  EXPECT_EQ(room().OwnNick, "");
  Tick();
  EXPECT_EQ(room().OwnNick, "modo");
  EXPECT_EQ(room().Level, "OPPLUS.");
  EXPECT_TRUE(room().RightsKnown);
  EXPECT_TRUE(RestrictedEnabled());
  EXPECT_FALSE(main().Commandes1->Visible());
  EXPECT_TRUE(world.dialogs.Boxes().empty());
  EXPECT_FALSE(console->app.Terminated());
}

TEST_F(MonitorTest, PlainOperatorUnlocksNothing) {
  standin::RoomConfig op;
  op.level = "OP.";
  StartInRoom(op);
  EXPECT_EQ(room().Level, "OP.");
  EXPECT_TRUE(room().RightsKnown);
  EXPECT_FALSE(AnyRestrictedEnabled());
  EXPECT_FALSE(main().Commandes1->Visible());
}

TEST_F(MonitorTest, OwnersHelpShowsCommandes) {
  standin::RoomConfig owner;
  owner.owner = true;
  StartInRoom(owner);
  EXPECT_EQ(room().Level, "OWNER.");
  EXPECT_TRUE(room().RightsKnown);
  EXPECT_TRUE(main().Commandes1->Visible());
  EXPECT_TRUE(main().Commandes1->Reachable());
  EXPECT_TRUE(RestrictedEnabled());
}

TEST_F(MonitorTest, NothingChangesOnceRightsAreKnown) {
  standin::RoomConfig op;
  op.level = "OP.";
  StartInRoom(op);
  model().Say("intrus", "/setopt");
  model().AppendRaw("Operation failed! Your current level is: OPPLUS.");
  model().AppendRaw("/SETOPT arguments: talk_time <seconds>");
  model().Say("KelVorn", "/setopt");
  Tick();
  EXPECT_EQ(room().OwnNick, "modo");
  EXPECT_EQ(room().Level, "OP.");
  EXPECT_FALSE(AnyRestrictedEnabled());
  EXPECT_FALSE(main().Commandes1->Visible());
}

TEST_F(MonitorTest, OwnerNickShowsCommandesAtItsEcho) {
  standin::RoomConfig kel;
  kel.own_nick = "KelVorn";
  kel.level = "OP.";
  StartInRoom(kel);
  EXPECT_EQ(room().OwnNick, "KelVorn");
  EXPECT_EQ(room().Level, "OP.");
  EXPECT_TRUE(main().Commandes1->Visible());
  EXPECT_TRUE(RestrictedEnabled());
}

TEST_F(MonitorTest, OwnerNickInOtherLettersIsNobody) {
  standin::RoomConfig kel;
  kel.own_nick = "kelvorn";
  kel.level = "OP.";
  StartInRoom(kel);
  EXPECT_EQ(room().OwnNick, "kelvorn");
  EXPECT_FALSE(main().Commandes1->Visible());
  EXPECT_FALSE(AnyRestrictedEnabled());
}

TEST_F(MonitorTest, UnreadableOwnNickEndsTheProgram) {
  standin::RoomConfig blank;
  blank.own_nick = "\t";
  StartInRoom(blank);
  EXPECT_EQ(world.dialogs.BoxTexts(), Lines{ansi("Problème de récupération du pseudo !")});
  EXPECT_TRUE(console->app.Terminated());
}

}  // namespace tavlen::testing
