#include "HotkeyFixture.h"
#include "ui/Unit9.h"

namespace tavlen::testing {

class SoundHotkeyTest : public HotkeyConsoleTest {
 protected:
  const std::string jingle = "C:\\sons\\jingle.wav";
  const std::string applause = "C:\\sons\\applause.mp3";
  sim::SimRoom* salon = nullptr;

  void SetUp() override {
    HotkeyConsoleTest::SetUp();
    world.sound.AddFile(jingle, 3000);
    world.sound.AddFile(applause, 2000);
    WriteHotkeys({"Ctrl+Alt+T\xA4TALK", "Ctrl+Alt+J\xA4" + jingle, "Ctrl+Alt+K\xA4" + applause,
                  "Ctrl+Alt+M\xA4" "C:\\sons\\absent.wav"});
    salon = &world.open_room("le_salon_bleu");
    StartWatching();
  }

  // The moderator fixes the music level with the volume window, then puts the
  // wave level back where it was.
  void FixMusicVolume(int music) {
    const int before = WaveLevel();
    main().Commandes1->SetVisible(true);  // revealed once the rights are known
    main().Reglageduvolume1->Click();
    TForm9& f = *console->Form9;
    f.ScrollBar1.Slide(music);
    f.Button2.Click();
    f.ScrollBar1.Slide(before);
    f.Button1.Click();
  }
};

TEST_F(SoundHotkeyTest, TheWaveVolumeDropsToTheMusicLevelWhileTheSoundPlays) {
  FixMusicVolume(60);
  ASSERT_EQ(console->levels.music, 60);
  ASSERT_EQ(WaveLevel(), 200);

  Press(kCtrlAlt, 'J', 1ms);
  EXPECT_EQ(world.sound.Playing(), Lines{jingle});
  EXPECT_EQ(WaveLevel(), 60);
  EXPECT_EQ(console->levels.saved, 200);
  EXPECT_TRUE(console->hotkeySounds.Timer8.Enabled());
  EXPECT_TRUE(Logged(ansi("-> Entrée routine hotkey>OTHER")));
  EXPECT_TRUE(Logged(ansi("-> Entrée routine hotkey>OTHER>Changevolume")));

  world.advance(2950ms);
  EXPECT_EQ(WaveLevel(), 60);
  world.advance(100ms);
  EXPECT_EQ(WaveLevel(), 200);
  EXPECT_FALSE(console->hotkeySounds.Timer8.Enabled());
  EXPECT_TRUE(shown.empty());
}

TEST_F(SoundHotkeyTest, ASecondShortcutReplacesTheFirstAndTheLevelStillComesBack) {
  FixMusicVolume(60);
  Press(kCtrlAlt, 'J', 1000ms);
  Press(kCtrlAlt, 'K', 1ms);
  EXPECT_EQ(world.sound.Playing(), Lines{applause});
  EXPECT_EQ(WaveLevel(), 60);
  // The level to come back to is the one from before the first sound, not the
  // music level the first sound had set.
  EXPECT_EQ(console->levels.saved, 200);
  world.advance(1500ms);  // past the first sound's end: the second still plays
  EXPECT_EQ(WaveLevel(), 60);
  world.advance(600ms);
  EXPECT_EQ(WaveLevel(), 200);
  EXPECT_FALSE(console->hotkeySounds.Timer8.Enabled());
}

TEST_F(SoundHotkeyTest, AFileThatDoesNotOpenChangesNothing) {
  FixMusicVolume(60);
  Press(kCtrlAlt, 'M', 100ms);
  EXPECT_TRUE(world.sound.Playing().empty());
  EXPECT_EQ(WaveLevel(), 200);
  EXPECT_FALSE(console->hotkeySounds.Timer8.Enabled());
  EXPECT_FALSE(Logged(ansi("-> Entrée routine hotkey>OTHER>Changevolume")));
  EXPECT_TRUE(world.dialogs.Boxes().empty());
  // The console goes on.
  Press(kCtrlAlt, 'J', 1ms);
  EXPECT_EQ(WaveLevel(), 60);
}

TEST_F(SoundHotkeyTest, MusicLevelIsZeroUntilFixed) {
  Press(kCtrlAlt, 'J', 1ms);
  EXPECT_EQ(WaveLevel(), 0);
  world.advance(3100ms);
  EXPECT_EQ(WaveLevel(), 200);
}

TEST_F(SoundHotkeyTest, ReleasingTheTalkDuringASoundRestoresTheLevelAtOnce) {
  room().OwnNick = "modo";
  salon->Model().SetTalker("modo");
  FixMusicVolume(60);
  Press(kCtrlAlt, 'J', 1ms);
  ASSERT_EQ(WaveLevel(), 60);
  Press(kCtrlAlt, 'T', 1500ms);  // the release takes about 1.3 s of popup
  EXPECT_EQ(salon->Model().Talker(), "");
  EXPECT_EQ(WaveLevel(), 200);
  EXPECT_TRUE(console->hotkeySounds.Timer8.Enabled());  // the sound still plays
  world.advance(2000ms);
  EXPECT_EQ(WaveLevel(), 200);
  EXPECT_FALSE(console->hotkeySounds.Timer8.Enabled());
}

}  // namespace tavlen::testing
