// The automatic kick: two prompts, a kick at once and one every period, the check
// marks, and the activations abandoned halfway.
#include "base/Text.h"
#include "ModerationFixture.h"

namespace tavlen::testing {
namespace {

class AutoKickTest : public ModerationTest {
 protected:
  void SetUp() override {
    StartInSalon();
    main().Commandes1->SetVisible(true);
    panel().Edit2.Type("bob");
  }
  void Activate() { main().Activer1->Click(); }
  int Kicks(const std::string& line) {
    int n = 0;
    for (const auto& s : SentSinceForget()) n += s == line;
    return n;
  }
};

TEST_F(AutoKickTest, KicksAtOnceThenEveryPeriodUntilSwitchedOff) {
  EXPECT_FALSE(main().Activer1->Checked());
  EXPECT_TRUE(main().Desactiver1->Checked());
  world.dialogs.Answer("5");   // below the minimum: asked again
  world.dialogs.Answer("15");
  world.dialogs.Answer("spam");
  Activate();
  ASSERT_EQ(world.dialogs.Prompts().size(), 3u);
  EXPECT_EQ(world.dialogs.Prompts()[0].caption, ansi("Délai entre les KICKS"));
  EXPECT_EQ(world.dialogs.Prompts()[0].prompt, "Indiquez le nombre de SECONDES entre chaque KICK (minimum: 10)");
  EXPECT_EQ(world.dialogs.Prompts()[1].caption, ansi("Délai entre les KICKS"));
  EXPECT_EQ(world.dialogs.Prompts()[2].caption, "Message de KICK");
  EXPECT_EQ(world.dialogs.Prompts()[2].prompt, "Rentrer maintenant la raison du KICK AUTOMATIQUE");
  EXPECT_TRUE(world.dialogs.Boxes().empty());
  EXPECT_EQ(SentSinceForget(), Lines{"/kick bob spam"});
  EXPECT_TRUE(main().Activer1->Checked());
  EXPECT_FALSE(main().Desactiver1->Checked());

  // The nick was copied: changing the box does not change who is kicked.
  panel().Edit2.Type("alice");
  world.advance(14'000ms);
  EXPECT_EQ(Kicks("/kick bob spam"), 1);
  world.advance(1'500ms);
  EXPECT_EQ(Kicks("/kick bob spam"), 2);
  world.advance(30'000ms);
  EXPECT_EQ(Kicks("/kick bob spam"), 4);

  main().Desactiver1->Click();
  EXPECT_FALSE(main().Activer1->Checked());
  EXPECT_TRUE(main().Desactiver1->Checked());
  world.advance(60'000ms);
  EXPECT_EQ(Kicks("/kick bob spam"), 4);
  EXPECT_EQ(main().autoKick->AutoKickNick, "bob");
  EXPECT_EQ(main().autoKick->AutoKickReason, "spam");

  // Activating again asks both prompts again.
  world.dialogs.Forget();
  world.dialogs.Answer("10");
  world.dialogs.Answer("flood");
  Activate();
  EXPECT_EQ(world.dialogs.Prompts().size(), 2u);
  EXPECT_EQ(SentSinceForget().back(), "/kick alice flood");
  world.advance(10'000ms);
  EXPECT_EQ(Kicks("/kick alice flood"), 2);
}

TEST_F(AutoKickTest, IntervalsAtTheLimits) {
  world.dialogs.Answer("9");
  world.dialogs.Answer("-30");
  world.dialogs.Answer("2147484");     // its milliseconds do not fit the timer
  world.dialogs.Answer("99999999999999999999");
  world.dialogs.Answer(" 10");
  world.dialogs.Answer("x");
  Activate();
  EXPECT_EQ(world.dialogs.Prompts().size(), 6u);
  EXPECT_EQ(main().autoKick->Timer5.Interval(), 10'000);
  EXPECT_TRUE(main().autoKick->Timer5.Enabled());

  // The largest count the timer holds is accepted.
  world.dialogs.Forget();
  world.dialogs.Answer("2147483");
  world.dialogs.Answer("x");
  Activate();
  EXPECT_EQ(main().autoKick->Timer5.Interval(), 2'147'483'000);

  // Not a number: the activation is dropped without a message, nothing changes.
  world.dialogs.Forget();
  const std::uint64_t dropped = console->app.DroppedErrors();
  world.dialogs.Answer("dix");
  world.dialogs.Answer("10");
  Activate();
  EXPECT_EQ(console->app.DroppedErrors(), dropped + 1);
  EXPECT_EQ(world.dialogs.Prompts().size(), 1u);
  EXPECT_TRUE(world.dialogs.Boxes().empty());
  EXPECT_EQ(main().autoKick->Timer5.Interval(), 2'147'483'000);
}

TEST_F(AutoKickTest, AbandonedActivationsChangeNothing) {
  // No nick: the message, no prompt.
  panel().Edit2.Type("");
  Activate();
  EXPECT_EQ(world.dialogs.BoxTexts(), Lines{"Vous choisir un nick ou le rentrer manuellement !"});
  EXPECT_TRUE(world.dialogs.Prompts().empty());

  panel().Edit2.Type("bob");
  Activate();  // cancel at the interval prompt
  EXPECT_FALSE(main().Activer1->Checked());
  EXPECT_TRUE(main().Desactiver1->Checked());
  EXPECT_FALSE(main().autoKick->Timer5.Enabled());
  EXPECT_TRUE(SentSinceForget().empty());

  world.dialogs.Answer("20");
  world.dialogs.Answer("spam");
  Activate();
  world.advance(5'000ms);

  // While it runs, a new activation cancelled at the reason prompt keeps the
  // running kick exactly as it was: nick, reason and period.
  panel().Edit2.Type("alice");
  world.dialogs.Answer("12");
  world.dialogs.Answer(std::nullopt);
  Activate();
  EXPECT_EQ(main().autoKick->AutoKickReason, "spam");
  EXPECT_EQ(main().autoKick->AutoKickNick, "bob");
  EXPECT_EQ(main().autoKick->Timer5.Interval(), 20'000);
  EXPECT_TRUE(main().Activer1->Checked());
  world.advance(15'000ms);
  EXPECT_EQ(SentSinceForget(), (Lines{"/kick bob spam", "/kick bob spam"}));

  // A completed activation mid-period, even with the same period, replaces the
  // nick and the reason, kicks at once and restarts the count.
  world.advance(5'000ms);
  world.dialogs.Answer("20");
  world.dialogs.Answer("spam");
  Activate();
  world.advance(15'000ms);
  EXPECT_EQ(SentSinceForget(), (Lines{"/kick bob spam", "/kick bob spam", "/kick alice spam"}));
  world.advance(5'000ms);
  EXPECT_EQ(Kicks("/kick alice spam"), 2);
  EXPECT_EQ(Kicks("/kick bob spam"), 2);
}

}  // namespace
}  // namespace tavlen::testing
