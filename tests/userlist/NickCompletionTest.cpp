// Star completion and nick capture in the room's input box, on the whole console.
#include "ConsoleFixture.h"

namespace tavlen::testing {

class CompletionTest : public ConsoleTest {
 protected:
  sim::SimRoom* salon = nullptr;
  void SetUp() override {
    standin::RoomConfig cfg;
    cfg.users = {"Bob", "bobby", "Carl"};
    salon = &world.open_room("le_salon_bleu", cfg);
    Start();
    world.advance(750ms);  // the user list is read
  }
  // The moderator's box holds `text`; one watch later, what it holds then.
  std::string After(const std::string& text) {
    salon->Type(text);
    world.advance(10ms);
    return salon->InputText();
  }
  kit::Edit& nick_box() { return main().panel.Edit2; }
};

TEST_F(CompletionTest, StarCompletesAndCyclesThroughTheNicks) {
  EXPECT_EQ(After("hi bo*"), "hi Bob");
  EXPECT_EQ(salon->Caret(), 6);  // the caret at the end
  EXPECT_EQ(After("hi Bob*"), "hi bobby");
  EXPECT_EQ(After("hi bobby*"), "hi Bob");
  EXPECT_EQ(main().completion.LastCompletion, "hi Bob*");
  // Someone joining during the cycle is not offered until a new search.
  salon->Model().Join("bobo");
  world.advance(750ms);
  EXPECT_EQ(After("hi Bob*"), "hi bobby");
  EXPECT_EQ(After("hi bobby*"), "hi Bob");
  // Any other edit starts a new search.
  EXPECT_EQ(After("hi Bob, bo*"), "hi Bob, Bob");
  EXPECT_EQ(After("hi Bob, Bob*"), "hi Bob, bobby");
  EXPECT_EQ(After("hi Bob, bobby*"), "hi Bob, bobo");
  EXPECT_EQ(After("CA*"), "Carl");
}

// The candidates come in the user list's order: «mélanie» between «ma» and «mz».
TEST_F(CompletionTest, CandidatesFollowTheUsersCollation) {
  for (const char* nick : {"mz", "m\xE9lanie", "ma"}) salon->Model().Join(nick);
  world.advance(750ms);
  EXPECT_EQ(After("m*"), "ma");
  EXPECT_EQ(After("ma*"), "m\xE9lanie");
  EXPECT_EQ(After("m\xE9lanie*"), "modo");
  EXPECT_EQ(After("modo*"), "mz");
}

TEST_F(CompletionTest, NoMatchErasesTheStarWord) {
  EXPECT_EQ(After("hi x*"), "hi ");
  world.advance(50ms);
  EXPECT_EQ(salon->InputText(), "hi ");
}

TEST_F(CompletionTest, StarWordsThatAreNotNickBeginningsAreLeftAlone) {
  for (const char* text : {"*", "a(*", ":*", "hi :b*", "hi (bo*", "hi bo* ", "bo* x"}) {
    EXPECT_EQ(After(text), text);
    world.advance(50ms);
    EXPECT_EQ(salon->InputText(), text) << "several ticks later";
  }
  EXPECT_TRUE(salon->SubmittedLines().size() == 1);  // only the start-up request
}

TEST_F(CompletionTest, NickWithCommaAppearingAtOnceBecomesTheTarget) {
  EXPECT_EQ(After("Carl, "), "");
  EXPECT_EQ(nick_box().Text(), "Carl");
  world.advance(20ms);
  EXPECT_EQ(After("Bob,x"), "");
  EXPECT_EQ(nick_box().Text(), "Bob");
  world.advance(20ms);
  EXPECT_EQ(After(" Carl, "), "");
  EXPECT_EQ(nick_box().Text(), " Carl");
  world.advance(20ms);
  // Not one word with its comma second to last: left alone.
  for (const char* text : {"Carl,", "Carl, x", "a,b, ", ","}) {
    salon->Type("");
    world.advance(20ms);
    nick_box().SetText("keep");
    EXPECT_EQ(After(text), text);
    EXPECT_EQ(nick_box().Text(), "keep");
  }
}

TEST_F(CompletionTest, NickWithCommaTypedKeyByKeyIsNotCaptured) {
  salon->Type("");
  world.advance(20ms);
  nick_box().SetText("keep");
  std::string typed;
  for (char c : std::string("Carl, ")) {
    typed += c;
    EXPECT_EQ(After(typed), typed);
  }
  EXPECT_EQ(nick_box().Text(), "keep");
}

}  // namespace tavlen::testing
