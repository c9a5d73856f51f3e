#include "HotkeyFixture.h"

#include "bench/support/NamedKeyHotkeys.h"

namespace tavlen::testing {

using HotkeyRegistrationTest = HotkeyConsoleTest;

TEST_F(HotkeyRegistrationTest, HotkeysIniIsReadAtCreationAndRegisteredWhenShown) {
  WriteHotkeys({"Ctrl+Alt+T\xA4TALK", "Ctrl+F2\xA4SRCMIC", "Shift+F3\xA4SRCMIX", "F9\xA4" "C:\\sons\\a.wav"});
  Start();
  EXPECT_EQ(console->hotkeyTable.Slot(1).KeyText, "Ctrl+Alt+T");
  EXPECT_EQ(console->hotkeyTable.Slot(5).Action, "C:\\sons\\a.wav");
  EXPECT_TRUE(world.hotkeys.HeldByThisProgram(kCtrlAlt, 'T'));
  EXPECT_TRUE(world.hotkeys.HeldByThisProgram(hotkey_mod::kControl, 0x71));
  EXPECT_TRUE(world.hotkeys.HeldByThisProgram(hotkey_mod::kShift, 0x72));
  EXPECT_TRUE(world.hotkeys.HeldByThisProgram(0, 0x78));
  EXPECT_EQ(world.hotkeys.RegistrationCount(), 4u);
  EXPECT_TRUE(world.dialogs.Boxes().empty());
  EXPECT_EQ(console->levels.saved, 200);
}

TEST_F(HotkeyRegistrationTest, MissingFileRegistersNothingAndSaysNothing) {
  Start();
  EXPECT_EQ(world.hotkeys.RegistrationCount(), 0u);
  EXPECT_TRUE(world.dialogs.Boxes().empty());
}

TEST_F(HotkeyRegistrationTest, RefusalsAndBadTextsAreWarnedOnceEachInSlotOrder) {
  world.hotkeys.HoldByAnotherProgram(hotkey_mod::kControl, 0x70);  // Ctrl+F1
  WriteHotkeys({"Ctrl+Alt+T\xA4TALK", "Ctrl+Foo+B\xA4" "BLOCKMIC", "Ctrl+F1\xA4SRCMIC",
                "Ctrl+Alt+T\xA4" "C:\\sons\\a.wav"});
  Start();
  ASSERT_EQ(world.dialogs.Boxes().size(), 3u);
  EXPECT_EQ(world.dialogs.Boxes()[0].text, "Ctrl+Foo+B doesn't appear to be a hotkey.");
  EXPECT_EQ(world.dialogs.Boxes()[1].text, "Ctrl+F1 couldn't be assigned to a hotkey.");
  EXPECT_EQ(world.dialogs.Boxes()[2].text, "Ctrl+Alt+T couldn't be assigned to a hotkey.");
  for (const auto& box : world.dialogs.Boxes()) EXPECT_EQ(box.caption, "Avertissement");
  EXPECT_EQ(world.hotkeys.RegistrationCount(), 1u);
  // The bad text stays in the table, unregistered.
  EXPECT_EQ(console->hotkeyTable.Slot(2).KeyText, "Ctrl+Foo+B");
}

TEST_F(HotkeyRegistrationTest, AKeyTypedInOtherLettersOrOrderStillActs) {
  auto& salon = world.open_room("le_salon_bleu");
  // Behind it, a full table of named keys: a press asks the platform for no key
  // name, however long the table.
  Lines lines{"alt+CTRL+t\xA4TALK"};
  for (std::string& line : bench::NamedKeyHotkeyLines(world.hotkeys, HotkeyTable::kSlots - 1))
    lines.push_back(std::move(line));
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(HotkeyTable::kSlots));
  WriteHotkeys(lines);
  StartWatching();
  room().OwnNick = "modo";
  const int key_name_calls = world.hotkeys.KeyNameCalls();
  Press(kCtrlAlt, 'T');
  EXPECT_EQ(salon.Model().Talker(), "modo");
  EXPECT_FALSE(Logged(ansi("-> Entrée routine hotkey>OTHER")));
  EXPECT_EQ(world.hotkeys.KeyNameCalls(), key_name_calls);

  // The text changed and saved: the next press follows the new text.
  console->hotkeyTable.Slot(1).KeyText = "Ctrl+Alt+Y";
  console->hotkeys.savehotkeys();
  Press(kCtrlAlt, 'Y');
  EXPECT_EQ(salon.Model().Talker(), "");
}

TEST_F(HotkeyRegistrationTest, RecordingSourceKeysSelectTheirOwnSourceEveryTime) {
  world.open_room("le_salon_bleu");
  WriteHotkeys({"Ctrl+Alt+1\xA4SRCMIC", "Ctrl+Alt+2\xA4SRCMIX"});
  StartWatching();
  const std::string musique = "<P align=\"center\"><font size=+4>SRC : MUSIQUE</font></P>";
  Press(kCtrlAlt, '2');
  Press(kCtrlAlt, '2');
  EXPECT_EQ(shown, (Lines{musique, musique}));
  EXPECT_EQ(main().SRCMIC1->Caption(), "Mix");
  EXPECT_EQ(LoggedCount("-> SELECTION ENTREE MUSIQUE"), 2);
  EXPECT_FALSE(Logged("-> SELECTION ENTREE MICRO"));

  Press(kCtrlAlt, '1');
  EXPECT_EQ(main().SRCMIC1->Caption(), "Mic");
  EXPECT_EQ(shown.back(), "<P align=\"center\"><font size=+4>SRC : MICROPHONE</font></P>");
  EXPECT_TRUE(Logged("-> SELECTION ENTREE MICRO"));
}

}  // namespace tavlen::testing
