#include "HotkeyFixture.h"

namespace tavlen::testing {

class TalkHotkeyTest : public HotkeyConsoleTest {
 protected:
  sim::SimRoom* salon = nullptr;

  void OpenRoomAndStart(standin::RoomConfig config = {}) {
    salon = &world.open_room("le_salon_bleu", config);
    WriteHotkeys({"Ctrl+Alt+T\xA4TALK", "Ctrl+Alt+B\xA4" "BLOCKMIC"});
    StartWatching();
    room().OwnNick = "modo";
  }
  void PressTalk() { Press(kCtrlAlt, 'T'); }
};

TEST_F(TalkHotkeyTest, TakesTheMicrophoneWhenNobodyTalks) {
  OpenRoomAndStart();
  OtherProgramSetsWave(90);
  PressTalk();
  EXPECT_EQ(salon->Model().Talker(), "modo");
  EXPECT_EQ(salon->Clicks(), 1);
  EXPECT_EQ(shown, Lines{Status("MIC ON")});
  EXPECT_FALSE(console->HTMLPopup2.Window()->Window().Visible());
  EXPECT_TRUE(Logged(ansi("-> Entrée routine hotkey")));
  EXPECT_TRUE(Logged(ansi("-> Entrée routine hotkey>Talk/relache talk")));
  EXPECT_TRUE(Logged("-> routine ACTIVATION TALK"));
  EXPECT_FALSE(Logged("-> routine DESACTIVATION TALK"));
  // Taking the microphone leaves the wave volume alone.
  EXPECT_EQ(WaveLevel(), 90);
  EXPECT_TRUE(world.dialogs.Boxes().empty());

  // The same key releases it: the console remembers nothing, it reads the indicator.
  PressTalk();
  EXPECT_EQ(salon->Model().Talker(), "");
  EXPECT_EQ(salon->Clicks(), 2);
  EXPECT_EQ(shown, (Lines{Status("MIC ON"), Status("MIC OFF")}));
}

TEST_F(TalkHotkeyTest, TakesTheMicrophoneBeforeTheOwnNickIsKnown) {
  OpenRoomAndStart();
  room().OwnNick.clear();
  PressTalk();
  EXPECT_EQ(salon->Model().Talker(), "modo");
  EXPECT_EQ(shown, Lines{Status("MIC ON")});
}

TEST_F(TalkHotkeyTest, ReleasesWhenTheOwnNickTalksInOtherLetters) {
  OpenRoomAndStart();
  salon->Model().SetTalker("MODO");
  ASSERT_EQ(console->levels.saved, 200);
  OtherProgramSetsWave(40);  // as a sound shortcut played while talking leaves it
  const int focus_before = salon->FocusRequests();
  PressTalk();
  EXPECT_EQ(salon->Model().Talker(), "");
  EXPECT_EQ(salon->Clicks(), 1);
  EXPECT_GT(salon->FocusRequests(), focus_before);  // back to the room's input box
  EXPECT_EQ(salon->InputText(), "");                // focus only, nothing typed
  EXPECT_EQ(shown, Lines{Status("MIC OFF")});
  EXPECT_EQ(WaveLevel(), 200);
  EXPECT_TRUE(Logged("-> routine DESACTIVATION TALK"));
  EXPECT_FALSE(Logged("-> routine ACTIVATION TALK"));
}

TEST_F(TalkHotkeyTest, LeavesAnotherNicksMicrophoneAlone) {
  OpenRoomAndStart();
  salon->Model().SetTalker("Alice");
  OtherProgramSetsWave(40);
  PressTalk();
  EXPECT_EQ(salon->Model().Talker(), "Alice");
  EXPECT_EQ(salon->Clicks(), 0);
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(WaveLevel(), 40);
  EXPECT_TRUE(Logged("-> routine Detection STATUT DU SWITCH TALK"));
  EXPECT_FALSE(Logged("-> routine ACTIVATION TALK"));
  EXPECT_FALSE(Logged("-> routine DESACTIVATION TALK"));
}

TEST_F(TalkHotkeyTest, WithoutARoomNothingIsPressed) {
  OpenRoomAndStart();
  salon->Close();
  world.advance(200ms);  // discovery goes inactive
  PressTalk();
  EXPECT_EQ(salon->Clicks(), 0);
  EXPECT_TRUE(shown.empty());
  EXPECT_TRUE(Logged(ansi("-> Entrée routine hotkey>Talk/relache talk")));
}

TEST_F(TalkHotkeyTest, ARoomRefusingTheTalkStopsTheClicksAndSaysSo) {
  standin::RoomConfig refusing;
  refusing.refuse_talk = true;
  OpenRoomAndStart(refusing);
  PressTalk();
  EXPECT_EQ(salon->Clicks(), TalkControl::kMaxClicks);
  EXPECT_EQ(salon->Model().Talker(), "");
  EXPECT_EQ(shown, Lines{Status(ansi("MIC BLOQUÉ"))});
  // Wide enough for the text at 14 points on one line; the width is given back.
  EXPECT_EQ(shown_widths, std::vector<int>{250});
  EXPECT_EQ(console->HTMLPopup2.PopupWidth, 100);

  // Stuck while the own nick talks: the same bound, and the rest of a release runs.
  salon->Model().SetTalker("modo");
  OtherProgramSetsWave(40);
  PressTalk();
  EXPECT_EQ(salon->Clicks(), 2 * TalkControl::kMaxClicks);
  EXPECT_EQ(salon->Model().Talker(), "modo");
  EXPECT_EQ(shown, (Lines{Status(ansi("MIC BLOQUÉ")), Status(ansi("MIC BLOQUÉ"))}));
  EXPECT_EQ(WaveLevel(), 200);

  // The console is not held: the next hotkey works.
  salon->Model().SetTalker("Alice");
  Press(kCtrlAlt, 'B');
  EXPECT_EQ(salon->SubmittedLines().back(), "/blockmic Alice");
}

TEST_F(TalkHotkeyTest, ASlowClientStopsTheClicksAfterTwoSeconds) {
  standin::RoomConfig refusing;
  refusing.refuse_talk = true;
  OpenRoomAndStart(refusing);
  // Each click keeps the client busy for 300 ms before it returns.
  auto& handler = world.desktop.At(salon->TalkSwitch()).handler;
  handler = [this, inner = handler](sim::SimWindow& w, sim::SimMessage& m) {
    if (m.msg == wm::kLButtonUp) world.clock.Sleep(300);
    return inner(w, m);
  };
  const std::int64_t before = world.clock.NowMs();
  ASSERT_TRUE(world.hotkeys.Press(kCtrlAlt, 'T'));
  world.advance(1ms);
  // 7 clicks take 2100 ms; the bound is checked before each click.
  EXPECT_EQ(salon->Clicks(), 7);
  EXPECT_EQ(shown, Lines{Status(ansi("MIC BLOQUÉ"))});
  EXPECT_LT(world.clock.NowMs() - before, 2100 + 1500);
}

TEST_F(TalkHotkeyTest, BlockmicNamesTheTalkerOrDoesNothing) {
  OpenRoomAndStart();
  const std::size_t submitted = salon->SubmittedLines().size();
  Press(kCtrlAlt, 'B');  // nobody talks
  EXPECT_EQ(salon->SubmittedLines().size(), submitted);
  EXPECT_TRUE(Logged(ansi("-> Entrée routine hotkey>BlockMic")));
  EXPECT_FALSE(Logged(ansi("-> Entrée routine hotkey>BlockMic>Verif presence nick")));

  salon->Model().SetTalker("  Alice ");
  Press(kCtrlAlt, 'B');
  EXPECT_EQ(salon->SubmittedLines().back(), "/blockmic Alice");
  EXPECT_EQ(salon->SubmittedLines().size(), submitted + 1);
  EXPECT_TRUE(Logged(ansi("-> Entrée routine hotkey>BlockMic>Verif presence nick")));
  EXPECT_TRUE(shown.empty());

  // The talker stops as the key goes down: the indicator names her at the first
  // read and nobody after it. The line names her, never nobody.
  world.desktop.At(salon->TalkerIndicator()).handler = [&](sim::SimWindow& w, sim::SimMessage& m) {
    if (m.msg != wm::kGetText) return false;
    m.text = w.text;
    m.result = static_cast<std::intptr_t>(m.text.size());
    salon->Model().SetTalker("");
    return true;
  };
  salon->Model().SetTalker("Bea");
  Press(kCtrlAlt, 'B');
  EXPECT_EQ(salon->SubmittedLines().back(), "/blockmic Bea");
}

}  // namespace tavlen::testing
