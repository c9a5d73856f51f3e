// Keyword notifications: when they come, what the popup shows and where, its
// seven seconds, the click on it, the sound, and the settings window.
#include <filesystem>

#include "MonitorFixture.h"
#include "ui/Unit5.h"

namespace tavlen::testing {

namespace {
Rect PopupBounds(Console& c) { return c.notifier.HTMLPopup1.Window()->Window().Bounds(); }
bool PopupVisible(Console& c) { return c.notifier.HTMLPopup1.Window() && c.notifier.HTMLPopup1.Window()->Window().Visible(); }
}  // namespace

TEST_F(MonitorTest, WatchedWordWrittenBySomebodyElse) {
  world.write_file("highlight.ini", "salut\r\n");
  StartInRoom();
  model().Say("Alice", "Salut tout le monde");
  Tick();
  EXPECT_EQ(PopupText(), NotificationMarkup("Alice", "salut"));
  EXPECT_TRUE(PopupVisible(*console));

  // Before the colon, by the moderator, or a join notice: nothing.
  for (const char* line : {"Salut : x", "modo : salut", "Join: Salut"}) {
    ForgetPopupText();
    model().AppendRaw(line);
    Tick();
    EXPECT_FALSE(Notified()) << line;
  }
  // After the first colon even where the nick holds it too.
  world.write_file("highlight.ini", "bob\r\n");
  main().forms.Form5->LoadWords();
  model().Say("bobby", "hi bob");
  Tick();
  EXPECT_EQ(PopupText(), NotificationMarkup("bobby", "bob"));

  // The room window in front: the moderator is reading it already.
  ForgetPopupText();
  world.desktop.Activate(salon->Window());
  world.advance(20ms);
  model().Say("Alice", "bob ?");
  Tick();
  EXPECT_FALSE(Notified());
}

TEST_F(MonitorTest, NickAndWordShowAsTyped) {
  world.write_file("highlight.ini", "<b>&\r\n");
  StartInRoom();
  model().Say("<i>Zed", "voila <b>& moi");
  Tick();
  ASSERT_TRUE(Notified());
  const MarkupLayout layout = console->notifier.HTMLPopup1.Window()->Layout();
  ASSERT_EQ(layout.lines.size(), 4u);
  EXPECT_EQ(MnemonicVisible(layout.lines[1].pieces[0].text), "<i>Zed");
  std::string word;
  for (const auto& piece : layout.lines[3].pieces) word += piece.text;
  EXPECT_EQ(MnemonicVisible(word), "<b>&");
}

TEST_F(MonitorTest, PopupSitsAboveTheTaskbar) {
  world.write_file("highlight.ini", "salut\r\n");
  world.desktop.CreateTaskbar({0, 1040, 1920, 1080});
  StartInRoom();
  model().Say("alice", "salut");
  Tick();
  EXPECT_EQ(PopupBounds(*console), (Rect{860, 950, 1060, 1040}));
  EXPECT_TRUE(console->notifier.HTMLPopup1.Window()->Window().Visible());
}

TEST_F(MonitorTest, PopupBesideALeftTaskbarSitsAtTheBottom) {
  world.write_file("highlight.ini", "salut\r\n");
  world.desktop.CreateTaskbar({0, 0, 60, 1080});
  StartInRoom();
  model().Say("alice", "salut");
  Tick();
  EXPECT_EQ(PopupBounds(*console), (Rect{860, 990, 1060, 1080}));
}

TEST_F(MonitorTest, PopupHidesSevenSecondsAfterTheLastNotification) {
  world.write_file("highlight.ini", "salut\r\n");
  StartInRoom();
  // Monitor ticks fall on every 2000 ms since start-up.
  auto advance_to = [&](std::int64_t t) { world.advance_ms(t - world.clock.NowMs()); };
  // The hide timer's first tick, at 7000 ms, finds nothing to hide and stops.
  advance_to(7100);
  EXPECT_FALSE(console->notifier.Timer7.Enabled());
  model().Say("alice", "salut");
  advance_to(8000);
  EXPECT_TRUE(PopupVisible(*console));
  EXPECT_TRUE(console->notifier.Timer7.Enabled());
  advance_to(11000);
  model().Say("bob", "salut");
  advance_to(12000);  // notifies again
  EXPECT_EQ(PopupText(), NotificationMarkup("bob", "salut"));
  advance_to(18999);  // seven seconds since 12000 not yet over
  EXPECT_TRUE(PopupVisible(*console));
  advance_to(19000);
  EXPECT_FALSE(PopupVisible(*console));
  EXPECT_FALSE(console->notifier.Timer7.Enabled());
}

TEST_F(MonitorTest, ClickOnThePopupBringsTheRoomForward) {
  world.write_file("highlight.ini", "salut\r\n");
  StartInRoom();
  // The moderator is busy in another program.
  const Hwnd other = world.desktop.CreateTopLevel("Notepad", "Bloc-notes", world.desktop.NewProcess());
  world.desktop.Activate(other);
  world.advance(20ms);
  model().Say("alice", "salut");
  Tick();
  ASSERT_TRUE(PopupVisible(*console));
  sim::SimPopupWindow& popup = *world.popups.last();
  // Beside the text: nothing happens.
  popup.Click({95, 8});
  EXPECT_EQ(world.desktop.GetForegroundWindow(), other);
  EXPECT_TRUE(world.desktop.PostedTo(salon->Window()).empty());
  popup.Click({95, 30});  // on the speaker
  EXPECT_EQ(world.desktop.GetForegroundWindow(), salon->Window());
  const auto posted = world.desktop.PostedTo(salon->Window());
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].msg, wm::kSysCommand);
  EXPECT_EQ(posted[0].wparam, wm::kScRestore);
  EXPECT_EQ(posted[0].lparam, 0);
  EXPECT_EQ(popup.focus_returns(), 2);
  // The click leaves the popup to its timer.
  EXPECT_TRUE(PopupVisible(*console));
}

TEST_F(MonitorTest, AnchorClickWithoutRoomWindowDoesNothing) {
  StartInRoom();
  room().RoomWindowTitle = "parti : Video Chat Room";
  const Hwnd before = world.desktop.GetForegroundWindow();
  console->notifier.HTMLPopup1AnchorClick(console->notifier.HTMLPopup1, "activate");
  EXPECT_EQ(world.desktop.GetForegroundWindow(), before);
  // Another anchor only restores the exact room window.
  room().RoomWindowTitle = salon->Model().Title();
  console->notifier.HTMLPopup1AnchorClick(console->notifier.HTMLPopup1, "autre");
  EXPECT_EQ(world.desktop.GetForegroundWindow(), before);
  EXPECT_EQ(world.desktop.PostedTo(salon->Window()).size(), 1u);
}

TEST_F(MonitorTest, NotificationSound) {
  world.write_file("highlight.ini", "salut\r\ncam\r\n");
  world.write_file("sounds.ini", "C:\\sons\\ding.wav\r\n");
  StartInRoom();
  TForm5& form5 = *main().forms.Form5;
  EXPECT_TRUE(form5.CheckBox1.Checked());
  model().Say("alice", "salut");
  Tick();
  console->notifier.abfThreadComponent1.WaitIdle();
  auto calls = world.sound.PlaySoundCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].path, "C:\\sons\\ding.wav");
  EXPECT_TRUE(calls[0].async);

  // Switched off: the popup still comes, silently.
  form5.CheckBox1.Click();
  ForgetPopupText();
  model().Say("alice", "salut");
  Tick();
  console->notifier.abfThreadComponent1.WaitIdle();
  EXPECT_TRUE(Notified());
  EXPECT_EQ(world.sound.PlaySoundCalls().size(), 1u);
}

TEST_F(MonitorTest, EmptySoundsFileSwitchesOnButPlaysNothing) {
  world.write_file("highlight.ini", "salut\r\n");
  world.write_file("sounds.ini", "");
  StartInRoom();
  EXPECT_TRUE(main().forms.Form5->CheckBox1.Checked());
  model().Say("alice", "salut");
  Tick();
  console->notifier.abfThreadComponent1.WaitIdle();
  EXPECT_TRUE(Notified());
  EXPECT_TRUE(world.sound.PlaySoundCalls().empty());
}

TEST_F(MonitorTest, NoSettingsFilesMeansNoWordsAndNoSound) {
  StartInRoom();
  TForm5& form5 = *main().forms.Form5;
  EXPECT_FALSE(form5.CheckBox1.Checked());
  EXPECT_TRUE(form5.Memo1.Lines().empty());
  EXPECT_EQ(form5.Edit1.Text(), "");
  EXPECT_TRUE(world.dialogs.Boxes().empty());
  model().Say("alice", "salut");
  Tick();
  EXPECT_FALSE(Notified());
}

TEST_F(MonitorTest, SettingsWindowRoundTrips) {
  world.write_file("highlight.ini", "salut\r\n deux mots \r\n");
  world.write_file("sounds.ini", "C:\\a.wav\r\n");
  StartInRoom();
  TForm5& form5 = *main().forms.Form5;
  EXPECT_EQ(form5.Memo1.Lines(), (std::deque<std::string>{"salut", " deux mots "}));
  EXPECT_EQ(form5.Edit1.Text(), "C:\\a.wav");

  main().ConfigurerlesHighlights1->Click();
  EXPECT_TRUE(form5.Visible());
  EXPECT_EQ(form5.Text(), "Notifications");
  EXPECT_EQ(form5.Width(), 232);
  EXPECT_EQ(form5.Height(), 409);

  // The word box is the live list: an edit counts before "Valider".
  form5.Memo1.Type("cam\r\n micro ");
  model().Say("alice", "la cam");
  Tick();
  EXPECT_EQ(PopupText(), NotificationMarkup("alice", "cam"));
  EXPECT_EQ(world.read_file("highlight.ini"), "salut\r\n deux mots \r\n");

  // Choosing a sound writes sounds.ini at once; a cancelled choice changes nothing.
  world.dialogs.ChooseFile("C:\\sons\\ding.wav");
  form5.SpeedButton1.Click();
  EXPECT_EQ(world.dialogs.FileFilters().back(), "Fichiers Wave|*.wav");
  EXPECT_EQ(world.read_file("sounds.ini"), "C:\\sons\\ding.wav\r\n");
  EXPECT_EQ(form5.Edit1.Text(), "C:\\sons\\ding.wav");
  EXPECT_EQ(console->notifier.notification.NotificationSoundFile, "C:\\sons\\ding.wav");
  world.dialogs.ChooseFile(std::nullopt);
  form5.SpeedButton1.Click();
  EXPECT_EQ(world.read_file("sounds.ini"), "C:\\sons\\ding.wav\r\n");
  // Typing a path by hand changes neither the file nor the sound played.
  form5.Edit1.Type("C:\\autre.wav");
  EXPECT_EQ(console->notifier.notification.NotificationSoundFile, "C:\\sons\\ding.wav");
  EXPECT_EQ(world.read_file("sounds.ini"), "C:\\sons\\ding.wav\r\n");

  form5.Button1.Click();
  EXPECT_FALSE(form5.Visible());
  EXPECT_EQ(world.read_file("highlight.ini"), "cam\r\n micro \r\n");

  // Showing the window again reloads both files over unsaved edits; the sound
  // switch keeps its state.
  main().ConfigurerlesHighlights1->Click();
  form5.Memo1.Type("brouillon");
  form5.CheckBox1.Click();
  const bool sound_on = form5.CheckBox1.Checked();
  form5.Close();
  world.write_file("sounds.ini", "C:\\b.wav\r\n");
  main().ConfigurerlesHighlights1->Click();
  EXPECT_EQ(form5.Memo1.Lines(), (std::deque<std::string>{"cam", " micro "}));
  EXPECT_EQ(form5.Edit1.Text(), "C:\\b.wav");
  EXPECT_EQ(console->notifier.notification.NotificationSoundFile, "C:\\b.wav");
  EXPECT_EQ(form5.CheckBox1.Checked(), sound_on);
}

TEST_F(MonitorTest, FailedSaveLeavesTheWordsFileWhole) {
  world.write_file("highlight.ini", "salut\r\n");
  StartInRoom();
  TForm5& form5 = *main().forms.Form5;
  main().ConfigurerlesHighlights1->Click();
  form5.Memo1.Type("cam");
  // The temporary file cannot be created: the save fails as a whole.
  std::filesystem::create_directory(world.file_path("highlight.ini.tmp"));
  form5.Button1.Click();
  EXPECT_EQ(world.read_file("highlight.ini"), "salut\r\n");
  EXPECT_TRUE(form5.Visible());
}

}  // namespace tavlen::testing
