#include <filesystem>

#include "HotkeyFixture.h"
#include "ui/Unit7.h"
#include "ui/Unit8.h"
#include "ui/Unit9.h"

namespace tavlen::testing {

using HotkeyWindowsTest = HotkeyConsoleTest;

TEST_F(HotkeyWindowsTest, ValiderStoresTheFixedKeysWritesTheFileAndRegistersAgain) {
  WriteHotkeys({"Ctrl+Alt+T\xA4TALK", "Ctrl+Alt+B\xA4" "BLOCKMIC", "F9\xA4" "C:\\sons\\a.wav"});
  Start();
  TForm7& f = *console->Form7;
  EXPECT_EQ(f.Text(), "Raccourcis Clavier");
  EXPECT_EQ(f.Label1.Text(), "Prise de talk :");
  EXPECT_EQ(f.Label4.Text(), "Source Musique :");
  EXPECT_EQ(f.Button1.Text(), "Valider");
  ASSERT_GT(f.ListBox1.Count(), 100);
  EXPECT_EQ(f.ListBox1.ItemIndex(), 0);
  EXPECT_EQ(f.ListBox1.Item(0), "Backspace");
  EXPECT_EQ(f.ListBox1.Data(0), 8);

  main().RaccourcisClavier1->Click();
  EXPECT_TRUE(f.Modal());
  EXPECT_EQ(f.Edit1.Text(), "Ctrl+Alt+T");
  EXPECT_EQ(f.Edit2.Text(), "Ctrl+Alt+B");
  EXPECT_EQ(f.Edit3.Text(), "");

  f.Edit1.Type("Ctrl+F5");
  f.Edit2.Type("");  // left empty: neither registered nor written
  f.Edit3.Type("ctrl+shift+m");
  f.Edit4.Type("Ctrl+Bogus");
  f.Button1.Click();

  EXPECT_FALSE(f.Visible());
  EXPECT_EQ(world.read_file("hotkeys.ini"),
            JoinLines({"Ctrl+F5\xA4TALK", "ctrl+shift+m\xA4SRCMIC", "Ctrl+Bogus\xA4SRCMIX", "F9\xA4" "C:\\sons\\a.wav"}));
  EXPECT_EQ(world.dialogs.BoxTexts(), Lines{"Ctrl+Bogus doesn't appear to be a hotkey."});
  EXPECT_FALSE(world.hotkeys.HeldByThisProgram(kCtrlAlt, 'T'));
  EXPECT_FALSE(world.hotkeys.HeldByThisProgram(kCtrlAlt, 'B'));
  EXPECT_TRUE(world.hotkeys.HeldByThisProgram(hotkey_mod::kControl, 0x74));
  EXPECT_TRUE(world.hotkeys.HeldByThisProgram(hotkey_mod::kControl | hotkey_mod::kShift, 'M'));
  EXPECT_TRUE(world.hotkeys.HeldByThisProgram(0, 0x78));
  EXPECT_EQ(world.hotkeys.RegistrationCount(), 3u);
  EXPECT_EQ(console->hotkeyTable.Slot(2).Action, "BLOCKMIC");

  // The next start reads the file back into the same slots.
  EXPECT_EQ(console->hotkeyTable.Slot(4).KeyText, "Ctrl+Bogus");
}

TEST_F(HotkeyWindowsTest, ValiderThatCannotWriteLeavesTheWindowOpen) {
  Start();
  std::filesystem::create_directory(world.file_path("hotkeys.ini"));  // a folder in the file's place
  TForm7& f = *console->Form7;
  main().RaccourcisClavier1->Click();
  f.Edit1.Type("Ctrl+F5");
  f.Button1.Click();
  EXPECT_TRUE(f.Visible());
  EXPECT_TRUE(world.hotkeys.HeldByThisProgram(hotkey_mod::kControl, 0x74));
  EXPECT_TRUE(world.dialogs.Boxes().empty());
}

TEST_F(HotkeyWindowsTest, SoundShortcutWindowAddsTriesRemovesAndSaves) {
  const std::string jingle = "C:\\sons\\jingle.wav";
  world.sound.AddFile(jingle, 3000);
  WriteHotkeys({"Ctrl+Alt+T\xA4TALK", "F9\xA4" "C:\\sons\\a.wav", "F10\xA4" "C:\\sons\\b.wav"});
  Start();
  TForm8& f = *console->Form8;
  EXPECT_EQ(f.Text(), "Raccourics Sons");
  EXPECT_EQ(f.Button5.Text(), "Sopper le son");
  EXPECT_EQ(f.Button6.Text(), "ENREGITRER ET SORTIR");
  EXPECT_EQ(f.CheckBox1.Text(), "Jouer automatique le son");
  EXPECT_FALSE(f.CheckBox1.Checked());

  main().Commandes1->SetVisible(true);  // revealed once the rights are known
  main().Raccourcisdesons1->Click();
  main().Raccourcisdesons1->Click();  // each key is listed once however often it opens
  EXPECT_EQ(f.ListBox1.Count(), console->Form7->ListBox1.Count());
  EXPECT_EQ(f.ListBox2.Count(), 2);
  EXPECT_EQ(f.ListBox2.Item(0), "F9");

  world.dialogs.ChooseFile(jingle);
  f.Button2.Click();
  EXPECT_EQ(world.dialogs.FileFilters(), Lines{"wav|*.wav;*.mp3"});
  EXPECT_EQ(f.Edit2.Text(), jingle);
  f.Edit1.Type("Ctrl+Alt+J");
  f.Button1.Click();
  EXPECT_EQ(f.ListBox2.Count(), 3);
  EXPECT_EQ(f.Edit1.Text(), "");
  EXPECT_EQ(f.Edit2.Text(), "");
  EXPECT_EQ(console->hotkeyTable.Slot(7).KeyText, "Ctrl+Alt+J");
  EXPECT_FALSE(world.hotkeys.HeldByThisProgram(kCtrlAlt, 'J'));  // not before the save

  // Trying it out plays through the window's own player; the wave level stays.
  f.Button4.Click();  // nothing selected: nothing plays
  EXPECT_TRUE(world.sound.Playing().empty());
  f.ListBox2.Select(2);
  EXPECT_TRUE(world.sound.Playing().empty());  // automatic play is off
  f.CheckBox1.Click();
  f.ListBox2.Select(2);
  EXPECT_EQ(world.sound.Playing(), Lines{jingle});
  EXPECT_EQ(WaveLevel(), 200);
  f.Button5.Click();
  EXPECT_TRUE(world.sound.Playing().empty());

  f.ListBox2.Select(0);  // "F9": slot 5 is emptied
  EXPECT_EQ(world.dialogs.BoxTexts(), Lines{});
  f.Button3.Click();
  EXPECT_EQ(f.ListBox2.Count(), 2);
  EXPECT_TRUE(console->hotkeyTable.Slot(5).Free());

  f.Button6.Click();
  EXPECT_FALSE(f.Visible());
  EXPECT_EQ(world.read_file("hotkeys.ini"),
            JoinLines({"Ctrl+Alt+T\xA4TALK", "F10\xA4" "C:\\sons\\b.wav", "Ctrl+Alt+J\xA4" + jingle}));
  EXPECT_TRUE(world.hotkeys.HeldByThisProgram(kCtrlAlt, 'J'));
  EXPECT_FALSE(world.hotkeys.HeldByThisProgram(0, 0x78));

  // The new shortcut plays when pressed.
  world.advance(100ms);
  Press(kCtrlAlt, 'J', 1ms);
  EXPECT_EQ(world.sound.Playing(), Lines{jingle});
}

TEST_F(HotkeyWindowsTest, VolumeWindowShowsAndSetsTheWaveLevel) {
  Start();
  TForm9& f = *console->Form9;
  EXPECT_EQ(f.Text(), "Reglage volume WAVE");
  EXPECT_EQ(f.Button2.Text(), "FIXER LE VOLUME DE LA MUSIQUE");
  EXPECT_EQ(f.Label1.Text(), "200");
  EXPECT_EQ(f.ScrollBar1.Max(), 255);

  main().Commandes1->SetVisible(true);
  main().Reglageduvolume1->Click();
  EXPECT_EQ(f.ScrollBar1.Position(), 200);
  f.ScrollBar1.Slide(128);
  EXPECT_EQ(WaveLevel(), 128);
  EXPECT_EQ(f.Label1.Text(), "128");
  EXPECT_EQ(console->levels.music, 0);
  f.Button2.Click();
  EXPECT_EQ(console->levels.music, 128);
  f.Button1.Click();
  EXPECT_FALSE(f.Visible());

  // Fixing without moving takes the level in force then.
  OtherProgramSetsWave(77);
  main().Reglageduvolume1->Click();
  f.Button2.Click();
  EXPECT_EQ(console->levels.music, 77);
}

TEST(HotkeyWindowsWithoutWaveDevice, LabelReadsZeroAndTheSliderDoesNothing) {
  sim::SimWorld world;
  Console console(world.platform());
  TForm9& f = *console.Form9;
  EXPECT_EQ(f.Label1.Text(), "0");
  f.ScrollBar1.Slide(100);
  EXPECT_EQ(f.Label1.Text(), "0");
  EXPECT_EQ(console.levels.saved, 0);
}

}  // namespace tavlen::testing
