#include <set>

#include "AudioFixture.h"

namespace tavlen::testing {
namespace {

using Values = std::vector<std::int32_t>;

// Microphone and Stereo Mix of the card's "Recording Control" destination.
constexpr std::string_view kConfig = "MIC= 0 1 1 30000\r\nMIX= 0 1 3 52000\r\n";

class RecordingSourceTest : public AudioConsoleTest {
 protected:
  sim::SimSoundCard& card() { return *world.sound_card; }
  void StartWithConfig() {
    world.write_file("config.ini", std::string(kConfig));
    Start();
  }
};

TEST_F(RecordingSourceTest, StartUpAppliesTheStoredMicrophoneSetting) {
  StartWithConfig();
  EXPECT_EQ(sources().MicSetting, (MixerSourceSetting{0, 1, 1, 30000}));
  EXPECT_EQ(sources().MixSetting, (MixerSourceSetting{0, 1, 3, 52000}));
  // The mixer reads back the microphone level, and the microphone stays the recorded source.
  EXPECT_EQ(card().microphone_volume.values, Values{30000});
  EXPECT_EQ(card().SelectedRecordingSource(), 0);
  TLineState state;
  ASSERT_TRUE(sources().Mixer.GetLineState(1, 0, state));
  EXPECT_EQ(state.Left, 30000);
  EXPECT_TRUE(state.IsSelect);
  EXPECT_EQ(state.Mute, 1);
  // Only the microphone's own controls were written.
  const std::set<std::uint32_t> allowed{card().microphone_volume.info.dwControlID,
                                        card().recording_mux.info.dwControlID};
  for (const auto& write : world.mixer.writes()) EXPECT_TRUE(allowed.count(write.control_id)) << write.control_id;
  EXPECT_EQ(card().stereo_mix_volume.values, (Values{49152, 49152}));

  // The window shows the microphone selection.
  EXPECT_TRUE(audio().RadioButton1.Checked());
  EXPECT_EQ(audio().ComboBox3.Text(), "Mixer 0");
  EXPECT_EQ(audio().ComboBox1.Text(), "Recording Control");
  ASSERT_EQ(audio().ComboBox2.Count(), 4);
  EXPECT_EQ(audio().ComboBox2.Item(0), "Recording Control");
  EXPECT_EQ(audio().ComboBox2.Item(3), "Stereo Mix");
  EXPECT_EQ(audio().ComboBox2.Text(), "Microphone");
  EXPECT_EQ(audio().TrackBar.Position(), 30000);
  EXPECT_TRUE(audio().CheckBox.Checked());
  EXPECT_EQ(src().Caption(), "Mic");
  EXPECT_TRUE(world.dialogs.Boxes().empty());
}

TEST_F(RecordingSourceTest, WithoutConfigTheSwitchWritesNothingUntilTheWindowWasSeen) {
  Start();
  EXPECT_EQ(sources().MicSetting, MixerSourceSetting{});
  EXPECT_EQ(sources().MixSetting, MixerSourceSetting{});
  EXPECT_TRUE(world.mixer.writes().empty());
  EXPECT_EQ(audio().ComboBox1.Text(), "Master Volume");
  EXPECT_EQ(audio().ComboBox2.Text(), "Master Volume");
  EXPECT_EQ(audio().TrackBar.Position(), 0);
  EXPECT_TRUE(world.dialogs.Boxes().empty());

  // Zero settings name no chosen line: the switch changes the caption and shows its
  // popup, but must not silence the first destination (the speakers).
  src().Click();
  EXPECT_EQ(src().Caption(), "Mix");
  EXPECT_TRUE(world.mixer.writes().empty());
  EXPECT_EQ(card().playback_mute.Value(), 0);

  // Once the moderator has seen the window, its selections are the chosen ones,
  // even when left at the first line.
  main().ConfigurationAudio1->Click();
  audio().Close();
  src().Click();
  EXPECT_EQ(src().Caption(), "Mic");
  EXPECT_EQ(card().playback_volume.values, (Values{0, 0}));
  EXPECT_EQ(card().playback_mute.Value(), 1);
  EXPECT_EQ(card().SelectedRecordingSource(), 0);
}

TEST_F(RecordingSourceTest, MenuItemTogglesBetweenMicAndMixWithStatusPopups) {
  StartWithConfig();
  const Rect work = world.desktop.WorkArea();

  std::int64_t before = now();
  src().Click();
  EXPECT_EQ(src().Caption(), "Mix");
  EXPECT_EQ(card().SelectedRecordingSource(), 2);
  EXPECT_EQ(card().stereo_mix_volume.values, (Values{52000, 52000}));
  EXPECT_EQ(card().microphone_volume.values, Values{30000});
  // Up from below the work area in 20, 20 and 10 pixels, a second in place, then down and out.
  EXPECT_EQ(trace->VisibleTops(),
            (std::vector<int>{work.bottom, work.bottom - 20, work.bottom - 40, work.bottom - 50, work.bottom - 30,
                              work.bottom - 10}));
  const auto standing = trace->At(work.bottom - 50);
  ASSERT_FALSE(standing.empty());
  EXPECT_TRUE(trace->SleptAt(work.bottom - 50, 1000));
  EXPECT_EQ(standing.front().text, Lines{kMixPopup});
  EXPECT_EQ(standing.front().bounds.left, work.right - 250 - 20);
  EXPECT_EQ(standing.front().bounds.right - standing.front().bounds.left, 250);
  EXPECT_EQ(standing.front().bounds.bottom - standing.front().bounds.top, 50);
  EXPECT_FALSE(console->HTMLPopup2.Window()->Window().Visible());
  EXPECT_EQ(console->HTMLPopup2.PopupWidth, 100);
  EXPECT_EQ(now() - before, 1300);

  // Meanwhile something else turned the microphone down; the next click brings it back.
  card().microphone_volume.Value() = 1000;
  trace->samples.clear();
  before = now();
  src().Click();
  EXPECT_EQ(src().Caption(), "Mic");
  EXPECT_EQ(card().SelectedRecordingSource(), 0);
  EXPECT_EQ(card().microphone_volume.values, Values{30000});
  EXPECT_EQ(trace->Arrivals(work.bottom), 1);
  EXPECT_TRUE(trace->SleptAt(work.bottom - 50, 1000));
  ASSERT_FALSE(trace->At(work.bottom - 50).empty());
  EXPECT_EQ(trace->At(work.bottom - 50).front().text, Lines{kMicPopup});
  EXPECT_FALSE(console->HTMLPopup2.Window()->Window().Visible());
  EXPECT_EQ(now() - before, 1300);
}

TEST_F(RecordingSourceTest, SourceSwitchAppliedTwiceShowsTheSameSourceTwice) {
  StartWithConfig();
  sources().Select(RecordingSourceSwitch::Source::kMix);
  EXPECT_EQ(src().Caption(), "Mix");
  EXPECT_EQ(card().SelectedRecordingSource(), 2);

  // Someone records the microphone again and lowers the music behind the console's back.
  card().recording_mux.Value(0, 2) = 0;
  card().recording_mux.Value(0, 0) = 1;
  card().stereo_mix_volume.values = {1000, 1000};
  sources().Select(RecordingSourceSwitch::Source::kMix);
  EXPECT_EQ(src().Caption(), "Mix");  // no toggle
  EXPECT_EQ(card().SelectedRecordingSource(), 2);
  EXPECT_EQ(card().stereo_mix_volume.values, (Values{52000, 52000}));
  EXPECT_EQ(trace->Arrivals(world.desktop.WorkArea().bottom - 50), 2);
  for (const auto& s : trace->samples)
    if (s.visible) EXPECT_EQ(s.text, Lines{kMixPopup});
}

TEST_F(RecordingSourceTest, ConfigLineWithoutBlankAfterEqualsEndsTheReading) {
  // "MIC=0" is one word: the values read are 1, 2, 3 and a missing fourth.
  world.write_file("config.ini", "MIC=0 1 2 3\r\nMIX= 0 1 3 52000\r\n");
  Start();
  EXPECT_EQ(sources().MicSetting, (MixerSourceSetting{1, 2, 3, 0}));
  EXPECT_EQ(sources().MixSetting, MixerSourceSetting{});  // the line after it is never read
  // Nothing was applied: the window shows its start-up state and the mixer was not written.
  EXPECT_TRUE(world.mixer.writes().empty());
  EXPECT_EQ(audio().ComboBox3.ItemIndex(), 0);
  EXPECT_EQ(audio().ComboBox1.ItemIndex(), 0);
  EXPECT_EQ(audio().ComboBox2.ItemIndex(), 0);
  EXPECT_EQ(audio().TrackBar.Position(), 0);
  EXPECT_TRUE(world.dialogs.Boxes().empty());
}

TEST_F(RecordingSourceTest, SaveWritesTheStoredSelectionsNotTheShownPositions) {
  auto& usb = world.mixer.AddDevice("USB Headset", 1133, 2563);
  auto& usb_speaker = world.mixer.AddDestination(usb, "Speaker", 2);
  auto& usb_speaker_volume = world.mixer.AddControl(usb_speaker, mixer::kControlTypeVolume);
  auto& usb_capture = world.mixer.AddDestination(usb, "Capture", 1);
  world.mixer.AddControl(usb_capture, mixer::kControlTypeVolume);
  StartWithConfig();
  ASSERT_EQ(audio().ComboBox3.Count(), 2);
  EXPECT_EQ(audio().ComboBox3.Item(1), "Mixer 1");

  main().ConfigurationAudio1->Click();
  ASSERT_TRUE(audio().Visible());
  audio().ComboBox3.Select(1);
  EXPECT_EQ(sources().Mixer.MixerId(), 1);
  EXPECT_EQ(audio().ComboBox1.Text(), "Speaker");
  EXPECT_EQ(audio().ComboBox2.Text(), "Speaker");
  // Only the picked device is stored; destination and line keep their old positions.
  EXPECT_EQ(sources().MicSetting, (MixerSourceSetting{1, 1, 1, 30000}));

  audio().TrackBar.Slide(40000);
  EXPECT_EQ(usb_speaker_volume.values, (Values{40000, 40000}));
  EXPECT_EQ(sources().MicSetting.Volume, 40000);

  // Closed by its frame: nothing written; shown again, it is as it was left.
  audio().RequestClose();
  EXPECT_FALSE(audio().Visible());
  EXPECT_EQ(world.read_file("config.ini"), kConfig);
  main().ConfigurationAudio1->Click();
  EXPECT_EQ(audio().ComboBox3.ItemIndex(), 1);
  EXPECT_EQ(audio().TrackBar.Position(), 40000);

  audio().Button1.Click();
  EXPECT_EQ(world.read_file("config.ini"), "MIC= 1 1 1 40000\r\nMIX= 0 1 3 52000\r\n");
  EXPECT_FALSE(audio().Visible());

  // The switch acts on the device the window opened last: the headset has no
  // third source to record, so the card is left alone.
  const auto card_writes = world.mixer.writes().size();
  sources().Select(RecordingSourceSwitch::Source::kMix);
  EXPECT_EQ(world.mixer.writes().size(), card_writes);
  EXPECT_EQ(card().SelectedRecordingSource(), 0);
}

TEST_F(RecordingSourceTest, WindowEditsTheCheckedSettingAndTriesItOutLive) {
  StartWithConfig();
  main().ConfigurationAudio1->Click();

  // "Musique": the shown microphone state is kept, the music selection shown and its level written.
  audio().RadioButton2.Click();
  EXPECT_EQ(sources().MicSetting, (MixerSourceSetting{0, 1, 1, 30000}));
  EXPECT_EQ(audio().ComboBox2.Text(), "Stereo Mix");
  EXPECT_EQ(audio().TrackBar.Position(), 52000);
  EXPECT_EQ(card().stereo_mix_volume.values, (Values{52000, 52000}));
  EXPECT_FALSE(audio().CheckBox.Checked());  // not the recorded source
  EXPECT_EQ(card().SelectedRecordingSource(), 0);

  // Picking a line shows its state without writing anything.
  const auto writes = world.mixer.writes().size();
  audio().ComboBox2.Select(1);  // Microphone, the recorded source
  EXPECT_TRUE(audio().CheckBox.Checked());
  audio().ComboBox2.Select(2);  // Line In
  EXPECT_FALSE(audio().CheckBox.Checked());
  EXPECT_EQ(world.mixer.writes().size(), writes);
  EXPECT_EQ(sources().MixSetting, (MixerSourceSetting{0, 1, 2, 52000}));

  // Moving the slider sets that line's level at once; the recorded source stays.
  audio().TrackBar.Slide(20000);
  EXPECT_EQ(card().line_in_volume.values, (Values{20000, 20000}));
  EXPECT_EQ(card().SelectedRecordingSource(), 0);
  EXPECT_EQ(sources().MixSetting, (MixerSourceSetting{0, 1, 2, 20000}));

  // Back to "Microphone": the music state is kept as shown, the microphone applied.
  card().microphone_volume.Value() = 5;
  audio().RadioButton1.Click();
  EXPECT_EQ(sources().MixSetting, (MixerSourceSetting{0, 1, 2, 20000}));
  EXPECT_EQ(audio().ComboBox2.Text(), "Microphone");
  EXPECT_EQ(card().microphone_volume.values, Values{30000});
  // The checked button clicked again does nothing.
  const auto after = world.mixer.writes().size();
  audio().RadioButton1.Click();
  EXPECT_EQ(world.mixer.writes().size(), after);

  // The switch uses what the window edited, saved or not.
  sources().Select(RecordingSourceSwitch::Source::kMix);
  EXPECT_EQ(card().SelectedRecordingSource(), 1);
  EXPECT_EQ(card().line_in_volume.values, (Values{20000, 20000}));
}

TEST_F(RecordingSourceTest, StoredIndexOutsideTheListsWritesNothing) {
  world.write_file("config.ini", "MIC= 0 7 1 30000\r\nMIX= 0 1 9 52000\r\n");
  Start();
  EXPECT_EQ(audio().ComboBox1.ItemIndex(), -1);
  EXPECT_EQ(audio().ComboBox2.Count(), 0);
  EXPECT_FALSE(audio().TrackBar.Visible());
  EXPECT_TRUE(world.mixer.writes().empty());
  sources().Select(RecordingSourceSwitch::Source::kMic);
  sources().Select(RecordingSourceSwitch::Source::kMix);
  EXPECT_TRUE(world.mixer.writes().empty());
  EXPECT_EQ(src().Caption(), "Mix");

  // Hand-edited to the ends of the number range: still nothing written, no overflow.
  world.write_file("config.ini", "MIC= 0 0 -2147483648 -2147483648\r\nMIX= 2147483647 0 2147483647 2147483647\r\n");
  console.reset();
  Start();
  sources().Select(RecordingSourceSwitch::Source::kMic);
  sources().Select(RecordingSourceSwitch::Source::kMix);
  EXPECT_TRUE(world.mixer.writes().empty());
}

class NoMixerTest : public AudioConsoleTest {
 protected:
  NoMixerTest() : AudioConsoleTest(false) {}
};

TEST_F(NoMixerTest, StartUpReportsTheMissingMixerAndTheSwitchStillShowsItself) {
  Start();
  EXPECT_EQ(world.dialogs.BoxTexts(), Lines{"No mixer present in the system !"});
  EXPECT_EQ(audio().ComboBox3.Count(), 0);
  EXPECT_EQ(audio().ComboBox1.Count(), 0);
  EXPECT_EQ(sources().Mixer.MixerId(), -1);

  src().Click();
  EXPECT_EQ(src().Caption(), "Mix");
  const Rect work = world.desktop.WorkArea();
  EXPECT_EQ(trace->Arrivals(work.bottom - 50), 1);
  ASSERT_FALSE(trace->At(work.bottom - 50).empty());
  EXPECT_EQ(trace->At(work.bottom - 50).front().text, Lines{kMixPopup});
  src().Click();
  EXPECT_EQ(src().Caption(), "Mic");
  EXPECT_EQ(trace->Arrivals(work.bottom - 50), 2);
  EXPECT_EQ(trace->At(work.bottom - 50).back().text, Lines{kMicPopup});
  EXPECT_EQ(world.mixer.calls().set_details, 0);
}

TEST_F(NoMixerTest, WithConfigTheBoxComesTwice) {
  world.write_file("config.ini", std::string(kConfig));
  Start();
  EXPECT_EQ(world.dialogs.BoxTexts(), (Lines{"No mixer present in the system !", "No mixer present in the system !"}));
  EXPECT_EQ(sources().MicSetting, (MixerSourceSetting{0, 1, 1, 30000}));
  // The slider no longer reaches the setting.
  audio().TrackBar.SetPosition(100);
  EXPECT_EQ(sources().MicSetting.Volume, 30000);
}

}  // namespace
}  // namespace tavlen::testing
