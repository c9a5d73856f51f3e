// "MSG GROUPE", "LISTE CAM" and the owners' "Commandes" entries.
#include "base/Text.h"
#include "ModerationFixture.h"

namespace tavlen::testing {
namespace {

class RoomMenusTest : public ModerationTest {
 protected:
  void SetUp() override {
    StartInSalon();
    main().Commandes1->SetVisible(true);  // the moderator is an owner
  }
  kit::MenuItem& Group(const std::string& caption) { return *main().msggroupePopupMenu2.root.FindCaption(caption); }
};

TEST_F(RoomMenusTest, GroupMessagesAskThenSendToTheirGroup) {
  main().SetBounds(10, 20, main().Width(), ActionPanel::kExpandedHeight);
  panel().spSkinSpeedButton2.MouseDown(kit::MouseButton::kLeft);
  EXPECT_EQ(world.widgets.LastPopup(), &main().msggroupePopupMenu2);
  EXPECT_EQ(world.widgets.LastPopupPoint(), (Point{10 + 224 - 31, 20 + 56 + 57}));
  EXPECT_EQ(main().Height(), ActionPanel::kCompactHeight);

  Lines captions;
  for (const auto& item : main().msggroupePopupMenu2.root.Items()) captions.push_back(item->Caption());
  EXPECT_EQ(captions, (Lines{"Amis", "OP", "ADMINS", "-", "OP && ADMINS", "Amis,OP,ADMINS"}));

  const std::string answer = ansi("réunion à 21h");
  world.dialogs.Answer(answer);
  Group("OP").Click();
  ASSERT_EQ(world.dialogs.Prompts().size(), 1u);
  EXPECT_EQ(world.dialogs.Prompts()[0].caption, "Envoyer un messages aux OP de salon");
  EXPECT_EQ(world.dialogs.Prompts()[0].prompt, "Ecrivez votre message :");
  EXPECT_EQ(world.dialogs.Prompts()[0].initial, "");

  for (const char* caption : {"Amis", "ADMINS", "OP && ADMINS", "Amis,OP,ADMINS"}) {
    world.dialogs.Answer("bonsoir");
    Group(caption).Click();
  }
  EXPECT_EQ(SentSinceForget(), (Lines{"/msg 'op' (y) AUX OP (y) >> " + answer, "/msg 'f' (y) AUX AMIS (y) >> bonsoir",
                                      "/msg 'w' (y) AUX ADMINS (y) >> bonsoir",
                                      "/msg 'opw' (y) AUX OP,ADMINS (y) >> bonsoir",
                                      "/msg 'opfw' (y) AUX AMIS,OP,ADMINS (y) >> bonsoir"}));
  EXPECT_EQ(world.dialogs.Prompts()[4].caption, "Envoyer un messages aux AMIS,OP,ADMINS de salon");
  EXPECT_EQ(world.dialogs.Prompts()[3].caption, "Envoyer un messages aux OP,ADMINS de salon");

  // Cancelled or empty: nothing.
  Forget();
  Group("Amis").Click();
  world.dialogs.Answer("");
  Group("ADMINS").Click();
  EXPECT_EQ(world.dialogs.Prompts().size(), 2u);
  EXPECT_TRUE(SentSinceForget().empty());
}

TEST_F(RoomMenusTest, CamListOpensOnAnyButtonAndSendsEvenWithoutNick) {
  main().SetBounds(10, 20, main().Width(), ActionPanel::kExpandedHeight);
  panel().spSkinSpeedButton12.MouseDown(kit::MouseButton::kRight);
  EXPECT_EQ(world.widgets.LastPopup(), &main().camPopupMenu1);
  EXPECT_EQ(world.widgets.LastPopupPoint(), (Point{10 + 0, 20 + 120 + 60}));
  EXPECT_EQ(main().Height(), ActionPanel::kCompactHeight);

  main().camPopupMenu1.root.FindCaption("Vu par qui ?")->Click();
  panel().Edit2.Type("bob");
  main().camPopupMenu1.root.FindCaption("Regarde qui ?")->Click();
  EXPECT_EQ(SentSinceForget(), (Lines{"/whowatching ", "/watchlist bob"}));
  EXPECT_TRUE(world.dialogs.Boxes().empty());
}

TEST_F(RoomMenusTest, CommandesEntries) {
  main().AjouterOPPLUS1->Click();
  EXPECT_EQ(world.dialogs.BoxTexts(), Lines{"Vous choisir un nick ou le rentrer manuellement !"});
  EXPECT_TRUE(SentSinceForget().empty());

  panel().Edit2.Type("bob");
  for (kit::MenuItem* item : {main().Ajouter1, main().AjouterOP1, main().AjouterOPPLUS1, main().RetirerAMISOPOP1,
                              main().N30sec1, main().N60sec1, main().N120sec1, main().Illimit1, main().Activer2,
                              main().Desactiver2, main().Effacerletopic1})
    item->Click();
  EXPECT_EQ(SentSinceForget(), (Lines{"/addfriend bob", "/oplist add bob", "/oplist add bob +", "/oplist remove bob",
                                      "/setopt talk_time 30", "/setopt talk_time 60", "/setopt talk_time 120",
                                      "/setopt talk_time 0", "/moderator 1", "/moderator 0", "/notopic"}));
  EXPECT_FALSE(main().N30sec1->Checked());
  EXPECT_EQ(world.dialogs.Boxes().size(), 1u);
}

TEST_F(RoomMenusTest, TopicIsChangedOnlyWithAnAnswer) {
  world.dialogs.Answer(ansi("soirée jazz"));
  main().CahngerleTopic1->Click();
  ASSERT_EQ(world.dialogs.Prompts().size(), 1u);
  EXPECT_EQ(world.dialogs.Prompts()[0].caption, "Changement de topic");
  EXPECT_EQ(world.dialogs.Prompts()[0].prompt, "Rentrez le topic");
  EXPECT_EQ(SentSinceForget(), Lines{ansi("/topic soirée jazz")});
  EXPECT_EQ(salon->Model().Config().topic, ansi("soirée jazz"));

  // Cancel and an empty answer leave the topic alone.
  Forget();
  main().CahngerleTopic1->Click();
  world.dialogs.Answer("");
  main().CahngerleTopic1->Click();
  EXPECT_TRUE(SentSinceForget().empty());
}

TEST_F(RoomMenusTest, HiddenCommandesMenuDoesNothing) {
  main().Commandes1->SetVisible(false);
  panel().Edit2.Type("bob");
  main().Ajouter1->Click();
  main().Activer1->Click();
  EXPECT_TRUE(SentSinceForget().empty());
  EXPECT_TRUE(world.dialogs.Prompts().empty());
}

}  // namespace
}  // namespace tavlen::testing
