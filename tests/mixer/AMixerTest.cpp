#include "mixer/AMixer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimMixer.h"

namespace tavlen {
namespace {

using Control = SimMixer::Control;
using Line = SimMixer::Line;
using Destination = SimMixer::Destination;

// A sound card as the console meets it: a playback destination whose lines all
// have volume and mute, and a recording destination choosing its source in a MUX.
struct Card {
  SimMixer sim;
  SimMixer::Device& device = sim.AddDevice("Sim Audio");

  Destination& play = sim.AddDestination(device, "Haut-parleurs", 2);
  Control& play_volume = sim.AddControl(play, mixer::kControlTypeVolume);
  Control& play_mute = sim.AddControl(play, mixer::kControlTypeMute, mixer::kControlUniform);
  Line& wave = sim.AddSource(play, "Wave", 2);
  Control& wave_volume = sim.AddControl(wave, mixer::kControlTypeVolume);
  Control& wave_mute = sim.AddControl(wave, mixer::kControlTypeMute, mixer::kControlUniform);

  Destination& rec = sim.AddDestination(device, "Enregistrement", 2);
  Control& rec_volume = sim.AddControl(rec, mixer::kControlTypeVolume);
  Line& mic = sim.AddSource(rec, "Microphone", 1);
  Control& mic_volume = sim.AddControl(mic, mixer::kControlTypeVolume);
  Line& stereo_mix = sim.AddSource(rec, "Stereo Mix", 2);
  Control& stereo_mix_volume = sim.AddControl(stereo_mix, mixer::kControlTypeVolume);
  Line& line_in = sim.AddSource(rec, "Line In", 2);
  Control& line_in_volume = sim.AddControl(line_in, mixer::kControlTypeVolume);
  Control& line_in_mute = sim.AddControl(line_in, mixer::kControlTypeMute, mixer::kControlUniform);
  Control& rec_mux = sim.AddSelector(rec, mixer::kControlTypeMux, {&mic, &stereo_mix, &line_in});

  Card() { rec_mux.Value(0, 1) = 1; }  // "Stereo Mix" recorded at first
};

std::vector<std::int32_t> Items(Control& c) { return {c.values.begin(), c.values.begin() + c.items}; }

TEST(AudioMixer, OpensDeviceZeroAndPublishesItsCaps) {
  SimMixer sim;
  auto& first = sim.AddDevice("Carte son", 1, 104, 0x0501);
  sim.AddDestination(first, "Haut-parleurs", 2);
  sim.AddDestination(first, "Enregistrement", 2);
  sim.AddDevice("USB Audio", 4660, 7, 0x0100);
  {
    TAudioMixer mixer(sim);
    EXPECT_EQ(mixer.DeviceCount(), 2);
    EXPECT_EQ(mixer.MixerId(), 0);
    EXPECT_EQ(mixer.Manufacturer(), "Microsoft");
    EXPECT_EQ(mixer.ProductName(), "Carte son");
    EXPECT_EQ(mixer.ProductId(), 104);
    EXPECT_EQ(mixer.DriverVersion(), 0x0501u);
    EXPECT_EQ(mixer.NumberOfLine(), 2);
    ASSERT_NE(mixer.DestinationList(), nullptr);
    EXPECT_EQ(mixer.DestinationList()->Count(), 2);
    EXPECT_TRUE(sim.IsNotifyWindow(mixer.NotifyWindow()));

    // Writing MixerId closes the open device before opening the other one.
    mixer.SetMixerId(1);
    EXPECT_EQ(mixer.MixerId(), 1);
    EXPECT_EQ(sim.OpenHandles(), 1u);
    EXPECT_EQ(mixer.Manufacturer(), "4660 = Unknown");
    EXPECT_EQ(mixer.ProductName(), "USB Audio");
    EXPECT_EQ(mixer.NumberOfLine(), 0);
    EXPECT_EQ(mixer.DestinationList()->Count(), 0);

    // Numbers outside the device list change nothing.
    const int opens = sim.calls().open;
    mixer.SetMixerId(2);
    mixer.SetMixerId(-1);
    EXPECT_EQ(mixer.MixerId(), 1);
    EXPECT_EQ(sim.calls().open, opens);
    EXPECT_EQ(sim.OpenHandles(), 1u);

    mixer.CloseDevice();
    EXPECT_EQ(mixer.MixerId(), -1);
    EXPECT_EQ(mixer.DestinationList(), nullptr);
    EXPECT_EQ(sim.OpenHandles(), 0u);
    TLineState state;
    EXPECT_FALSE(mixer.GetLineState(0, -1, state));
    EXPECT_FALSE(mixer.SetLineState(0, -1, 1, 1, 1));

    mixer.SetMixerId(0);
    EXPECT_EQ(mixer.MixerId(), 0);
    EXPECT_EQ(sim.OpenHandles(), 1u);
  }
  // Destruction closes the device and releases the notification window.
  EXPECT_EQ(sim.OpenHandles(), 0u);
  EXPECT_EQ(sim.calls().close, sim.calls().open);
}

TEST(AudioMixer, BuildsTheLineTreeInDriverOrder) {
  Card card;
  TAudioMixer mixer(card.sim);
  const TMixerDestinations& list = *mixer.DestinationList();
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Item(0)->LineInfo.szName, "Haut-parleurs");
  EXPECT_EQ(list.Item(0)->ControlList.Count(), 2);
  const TMixerDestination& rec = *list.Item(1);
  EXPECT_EQ(rec.LineInfo.szName, "Enregistrement");
  ASSERT_EQ(rec.ConnectionList.Count(), 3);
  EXPECT_EQ(rec.ConnectionList.Item(0)->LineInfo.szName, "Microphone");
  EXPECT_EQ(rec.ConnectionList.Item(2)->LineInfo.szName, "Line In");
  EXPECT_EQ(rec.ConnectionList.Item(2)->ControlList.Count(), 2);
  EXPECT_EQ(rec.ControlList.Item(1)->dwControlType, mixer::kControlTypeMux);
  EXPECT_EQ(rec.ControlList.Item(1)->cMultipleItems, 3u);
  EXPECT_EQ(list.Item(2), nullptr);
  EXPECT_EQ(list.Item(-1), nullptr);
  EXPECT_EQ(rec.ConnectionList.Item(3), nullptr);
  EXPECT_EQ(rec.ControlList.Item(2), nullptr);
}

TEST(AudioMixer, ConnectionMinusOneIsTheDestinationLine) {
  Card card;
  card.play_volume.Value(0) = 30000;
  card.play_volume.Value(1) = 20000;
  card.play_mute.Value(0) = card.play_mute.Value(1) = 1;
  card.wave_volume.Value(0) = 5;
  TAudioMixer mixer(card.sim);

  TLineState state;
  ASSERT_TRUE(mixer.GetLineState(0, -1, state));
  EXPECT_EQ(state.Left, 30000);
  EXPECT_EQ(state.Right, 20000);
  EXPECT_TRUE(state.Stereo);
  EXPECT_EQ(state.Mute, 1);
  EXPECT_FALSE(state.VolDisabled);
  EXPECT_FALSE(state.MuteDisabled);
  EXPECT_FALSE(state.IsSelect);

  EXPECT_TRUE(mixer.SetLineState(0, -1, 1000, 2000, 0));
  EXPECT_EQ(card.play_volume.values, (std::vector<std::int32_t>{1000, 2000}));
  EXPECT_EQ(card.play_mute.values, (std::vector<std::int32_t>{0, 0}));
  EXPECT_EQ(card.wave_volume.Value(0), 5);

  // Right -1 is Left; Mute -1 leaves the switch alone.
  EXPECT_TRUE(mixer.SetLineState(0, -1, 4000, -1, -1));
  EXPECT_EQ(card.play_volume.values, (std::vector<std::int32_t>{4000, 4000}));
  EXPECT_EQ(card.play_mute.values, (std::vector<std::int32_t>{0, 0}));
  // Left -1 leaves the volume alone.
  EXPECT_TRUE(mixer.SetLineState(0, -1, -1, -1, 1));
  EXPECT_EQ(card.play_volume.values, (std::vector<std::int32_t>{4000, 4000}));
  EXPECT_EQ(card.play_mute.Value(0), 1);

  // A destination without a mute switch never reaches for a selector.
  const auto writes = card.sim.writes().size();
  EXPECT_TRUE(mixer.SetLineState(1, -1, 700, 700, 1));
  ASSERT_EQ(card.sim.writes().size(), writes + 1);
  EXPECT_EQ(card.sim.writes().back().control_id, card.rec_volume.info.dwControlID);
  EXPECT_EQ(Items(card.rec_mux), (std::vector<std::int32_t>{0, 1, 0}));
}

TEST(AudioMixer, MonoAndUniformLinesReadAndWriteOneValue) {
  SimMixer sim;
  auto& device = sim.AddDevice("Sim");
  auto& dest = sim.AddDestination(device, "Out", 2);
  auto& mono = sim.AddSource(dest, "Mono", 1);
  auto& mono_volume = sim.AddControl(mono, mixer::kControlTypeVolume);
  auto& stereo = sim.AddSource(dest, "Uniform", 2);
  auto& uniform_volume = sim.AddControl(stereo, mixer::kControlTypeVolume,
                                        mixer::kControlUniform | mixer::kControlDisabled);
  mono_volume.Value(0) = 1234;
  uniform_volume.Value(0) = uniform_volume.Value(1) = 777;
  TAudioMixer mixer(sim);

  TLineState state;
  ASSERT_TRUE(mixer.GetLineState(0, 0, state));
  EXPECT_EQ(state.Left, 1234);
  EXPECT_EQ(state.Right, 1234);
  EXPECT_FALSE(state.Stereo);
  EXPECT_EQ(state.Mute, -1);  // no mute switch, no selector
  EXPECT_TRUE(state.MuteDisabled);
  EXPECT_FALSE(state.IsSelect);

  ASSERT_TRUE(mixer.GetLineState(0, 1, state));
  EXPECT_EQ(state.Left, 777);
  EXPECT_EQ(state.Right, 777);
  EXPECT_FALSE(state.Stereo);
  EXPECT_TRUE(state.VolDisabled);

  EXPECT_TRUE(mixer.SetLineState(0, 0, 100, 900, -1));
  ASSERT_FALSE(sim.writes().empty());
  EXPECT_EQ(sim.writes().back().values, (std::vector<std::int32_t>{100}));
  EXPECT_EQ(mono_volume.Value(0), 100);

  EXPECT_TRUE(mixer.SetLineState(0, 1, 300, 900, -1));
  EXPECT_EQ(sim.writes().back().values, (std::vector<std::int32_t>{300}));
  EXPECT_EQ(uniform_volume.values, (std::vector<std::int32_t>{300, 300}));
}

TEST(AudioMixer, SelectingASourceWithoutMuteSwitch) {
  // MUX: the source becomes the only selected one; its volume is set as asked.
  {
    Card card;
    TAudioMixer mixer(card.sim);
    EXPECT_TRUE(mixer.SetLineState(1, 0, 40000, 40000, 1));
    EXPECT_EQ(Items(card.rec_mux), (std::vector<std::int32_t>{1, 0, 0}));
    EXPECT_EQ(card.mic_volume.Value(0), 40000);

    TLineState state;
    ASSERT_TRUE(mixer.GetLineState(1, 0, state));
    EXPECT_TRUE(state.IsSelect);
    EXPECT_EQ(state.Mute, 1);
    EXPECT_FALSE(state.MuteDisabled);
    ASSERT_TRUE(mixer.GetLineState(1, 1, state));
    EXPECT_TRUE(state.IsSelect);
    EXPECT_EQ(state.Mute, 0);

    // Left -1 and Mute 1: only the selector changes.
    const auto writes = card.sim.writes().size();
    EXPECT_TRUE(mixer.SetLineState(1, 1, -1, -1, 1));
    ASSERT_EQ(card.sim.writes().size(), writes + 1);
    EXPECT_EQ(card.sim.writes().back().control_id, card.rec_mux.info.dwControlID);
    EXPECT_EQ(Items(card.rec_mux), (std::vector<std::int32_t>{0, 1, 0}));
    EXPECT_EQ(card.stereo_mix_volume.Value(0), 0);
  }
  // MIXER: the source is added to the selected ones; Mute 0 takes it away again.
  {
    SimMixer sim;
    auto& device = sim.AddDevice("Sim");
    auto& rec = sim.AddDestination(device, "Rec", 2);
    auto& mic = sim.AddSource(rec, "Mic", 1);
    auto& cd = sim.AddSource(rec, "CD", 2);
    auto& selector = sim.AddSelector(rec, mixer::kControlTypeMixer, {&mic, &cd});
    selector.Value(0, 1) = 1;
    TAudioMixer mixer(sim);
    EXPECT_TRUE(mixer.SetLineState(0, 0, -1, -1, 1));
    EXPECT_EQ(Items(selector), (std::vector<std::int32_t>{1, 1}));
    EXPECT_TRUE(mixer.SetLineState(0, 1, -1, -1, 0));
    EXPECT_EQ(Items(selector), (std::vector<std::int32_t>{1, 0}));
  }
}

TEST(AudioMixer, SourceWithOwnMuteSwitchLeavesTheSelectorAlone) {
  Card card;
  TAudioMixer mixer(card.sim);
  EXPECT_TRUE(mixer.SetLineState(1, 2, -1, -1, 1));
  EXPECT_EQ(card.line_in_mute.values, (std::vector<std::int32_t>{1, 1}));
  EXPECT_EQ(Items(card.rec_mux), (std::vector<std::int32_t>{0, 1, 0}));
  for (const auto& write : card.sim.writes()) EXPECT_NE(write.control_id, card.rec_mux.info.dwControlID);

  TLineState state;
  ASSERT_TRUE(mixer.GetLineState(1, 2, state));
  EXPECT_EQ(state.Mute, 1);
  EXPECT_FALSE(state.IsSelect);
}

TEST(AudioMixer, SourceAbsentFromTheFirstSelector) {
  SimMixer sim;
  auto& device = sim.AddDevice("Sim");
  auto& rec = sim.AddDestination(device, "Rec", 1);
  auto& mic = sim.AddSource(rec, "Mic", 1);
  auto& cd = sim.AddSource(rec, "CD", 1);
  auto& mux = sim.AddSelector(rec, mixer::kControlTypeMux, {&cd});
  sim.AddControl(rec, mixer::kControlTypeVolume);
  auto& mixer_selector = sim.AddSelector(rec, mixer::kControlTypeMixer, {&cd, &mic});
  mixer_selector.info.fdwControl |= mixer::kControlDisabled;
  mux.Value(0) = 1;
  mixer_selector.Value(0, 1) = 7;
  TAudioMixer mixer(sim);

  // Set: only the first selector is looked at, and the source is not in it.
  EXPECT_TRUE(mixer.SetLineState(0, 0, -1, -1, 1));
  EXPECT_TRUE(sim.writes().empty());
  EXPECT_EQ(mux.Value(0), 1);
  EXPECT_EQ(mixer_selector.Value(0, 1), 7);

  // Get: the search goes on in the further list controls; the value is as read.
  TLineState state;
  ASSERT_TRUE(mixer.GetLineState(0, 0, state));
  EXPECT_TRUE(state.IsSelect);
  EXPECT_EQ(state.Mute, 7);
  EXPECT_TRUE(state.MuteDisabled);
}

TEST(AudioMixer, RefusedLinesAndFailingDriverCalls) {
  Card card;
  card.mic.refused = true;                 // the model's connection 0 is the driver's source 1
  card.play.refused = true;                // the model's destination 0 is the driver's destination 1
  card.line_in.refuse_controls = true;
  TAudioMixer mixer(card.sim);
  ASSERT_EQ(mixer.DestinationList()->Count(), 1);
  const TMixerDestination& rec = *mixer.DestinationList()->Item(0);
  EXPECT_EQ(rec.LineInfo.szName, "Enregistrement");
  ASSERT_EQ(rec.ConnectionList.Count(), 2);
  EXPECT_EQ(rec.ConnectionList.Item(0)->LineInfo.szName, "Stereo Mix");
  EXPECT_EQ(rec.ConnectionList.Item(1)->ControlList.Count(), 0);

  EXPECT_TRUE(mixer.SetLineState(0, 0, 9000, 8000, 1));
  EXPECT_EQ(card.stereo_mix_volume.values, (std::vector<std::int32_t>{9000, 8000}));
  EXPECT_EQ(Items(card.rec_mux), (std::vector<std::int32_t>{0, 1, 0}));
  EXPECT_EQ(card.mic_volume.Value(0), 0);
  EXPECT_FALSE(mixer.SetLineState(0, 2, 1, 1, 1));

  // A line whose controls could not be listed: found, but nothing known.
  TLineState state;
  ASSERT_TRUE(mixer.GetLineState(0, 1, state));
  EXPECT_EQ(state.Left, -1);
  EXPECT_TRUE(state.VolDisabled);
  // Its mute switch is out of sight, so its entry in the MUX stands in for it.
  EXPECT_TRUE(state.IsSelect);
  EXPECT_EQ(state.Mute, 0);
}

TEST(AudioMixer, UnreadableControlsArePassedOver) {
  SimMixer sim;
  auto& device = sim.AddDevice("Sim");
  auto& rec = sim.AddDestination(device, "Rec", 1);
  auto& mic = sim.AddSource(rec, "Mic", 1);
  auto& broken_volume = sim.AddControl(mic, mixer::kControlTypeVolume);
  auto& volume = sim.AddControl(mic, mixer::kControlTypeVolume);
  auto& unnamed_mux = sim.AddSelector(rec, mixer::kControlTypeMux, {&mic});
  auto& mixer_selector = sim.AddSelector(rec, mixer::kControlTypeMixer, {&mic});
  broken_volume.fail_reads = true;
  broken_volume.Value(0) = 11;
  volume.Value(0) = 22;
  unnamed_mux.fail_list_text = true;
  unnamed_mux.Value(0) = 1;
  mixer_selector.Value(0) = 1;
  TAudioMixer mixer(sim);

  TLineState state;
  ASSERT_TRUE(mixer.GetLineState(0, 0, state));
  EXPECT_EQ(state.Left, 22);
  EXPECT_TRUE(state.IsSelect);
  EXPECT_EQ(state.Mute, 1);

  // The first selector's names cannot be read: it is left as it was.
  EXPECT_TRUE(mixer.SetLineState(0, 0, -1, -1, 0));
  EXPECT_EQ(unnamed_mux.Value(0), 1);
  EXPECT_EQ(mixer_selector.Value(0), 1);
  EXPECT_TRUE(sim.writes().empty());
  unnamed_mux.fail_list_text = false;
  unnamed_mux.fail_reads = true;
  EXPECT_TRUE(mixer.SetLineState(0, 0, -1, -1, 0));
  EXPECT_TRUE(sim.writes().empty());
}

TEST(AudioMixer, NoDeviceAndIndexesNamingNoLine) {
  {
    SimMixer sim;
    TAudioMixer mixer(sim);
    EXPECT_EQ(mixer.DeviceCount(), 0);
    EXPECT_EQ(mixer.MixerId(), -1);
    ASSERT_NE(mixer.DestinationList(), nullptr);
    EXPECT_EQ(mixer.DestinationList()->Count(), 0);
    TLineState state;
    EXPECT_FALSE(mixer.GetLineState(0, -1, state));
    EXPECT_FALSE(mixer.SetLineState(0, -1, 100, 100, 1));
    EXPECT_FALSE(mixer.SetLineState(0, 0, 100, 100, 1));
    mixer.SetMixerId(0);
    EXPECT_EQ(mixer.MixerId(), -1);
    EXPECT_EQ(sim.calls().Total(), 0);
  }
  Card card;
  TAudioMixer mixer(card.sim);
  const int calls = card.sim.calls().Total();
  TLineState state;
  state.Left = 55;
  EXPECT_FALSE(mixer.GetLineState(2, -1, state));
  EXPECT_FALSE(mixer.GetLineState(-1, -1, state));
  EXPECT_FALSE(mixer.GetLineState(1, 3, state));
  EXPECT_FALSE(mixer.GetLineState(1, -2, state));
  EXPECT_EQ(state.Left, -1);  // reset before the line turned out missing
  EXPECT_FALSE(mixer.SetLineState(2, -1, 1, 1, 1));
  EXPECT_FALSE(mixer.SetLineState(-1, 0, 1, 1, 1));
  EXPECT_FALSE(mixer.SetLineState(1, 3, 1, 1, 1));
  EXPECT_EQ(card.sim.calls().Total(), calls);

  // Without any model the outputs are left as they were.
  mixer.CloseDevice();
  state.Left = 55;
  EXPECT_FALSE(mixer.GetLineState(0, -1, state));
  EXPECT_EQ(state.Left, 55);
}

TEST(AudioMixer, OpenRetriesThenGivesUp) {
  // Twice refused: the third open goes without notifications.
  {
    Card card;
    card.device.open_failures = 2;
    TAudioMixer mixer(card.sim);
    const auto& opens = card.sim.open_calls();
    ASSERT_EQ(opens.size(), 3u);
    EXPECT_EQ(opens[0].flags, mixer::kCallbackWindow);
    EXPECT_EQ(opens[0].callback, mixer.NotifyWindow());
    EXPECT_EQ(opens[1].flags, mixer::kCallbackWindow);
    EXPECT_EQ(opens[1].callback, mixer.NotifyWindow());
    EXPECT_EQ(opens[2].flags, mixer::kCallbackNull);
    EXPECT_EQ(opens[2].callback, kNoWindow);
    EXPECT_EQ(mixer.MixerId(), 0);
    EXPECT_EQ(mixer.DestinationList()->Count(), 2);
    EXPECT_EQ(card.sim.FireLineChange(card.device, card.mic.info.dwLineID), 0);
  }
  // Refused once: the second try still asks for notifications.
  {
    Card card;
    card.device.open_failures = 1;
    TAudioMixer mixer(card.sim);
    EXPECT_EQ(card.sim.open_calls().size(), 2u);
    EXPECT_EQ(mixer.MixerId(), 0);
    EXPECT_EQ(card.sim.FireLineChange(card.device, card.mic.info.dwLineID), 1);
  }
  // Three times: no device, an empty model, no message.
  {
    Card card;
    card.device.open_failures = 3;
    TAudioMixer mixer(card.sim);
    EXPECT_EQ(card.sim.open_calls().size(), 3u);
    EXPECT_EQ(mixer.MixerId(), -1);
    ASSERT_NE(mixer.DestinationList(), nullptr);
    EXPECT_EQ(mixer.DestinationList()->Count(), 0);
    TLineState state;
    EXPECT_FALSE(mixer.GetLineState(0, -1, state));
    EXPECT_EQ(card.sim.OpenHandles(), 0u);
    EXPECT_EQ(card.sim.calls().get_dev_caps, 0);
  }
}

TEST(AudioMixer, ChangeNotificationsRaiseTheEvents) {
  Card card;
  TAudioMixer mixer(card.sim);
  // Not subscribed: the notification is taken and dropped.
  EXPECT_EQ(card.sim.FireControlChange(card.device, card.rec_mux.info.dwControlID), 1);

  std::vector<std::string> seen;
  auto record = [&](const char* kind) {
    return [&, kind](TAudioMixer& sender, std::int32_t handle, std::int32_t id) {
      EXPECT_EQ(&sender, &mixer);
      EXPECT_EQ(handle, static_cast<std::int32_t>(mixer.DeviceHandle()));
      seen.push_back(std::string(kind) + " " + std::to_string(static_cast<std::uint32_t>(id)));
    };
  };
  mixer.OnLineChange = record("line");
  mixer.OnControlChange = record("control");
  card.sim.FireLineChange(card.device, card.play.info.dwLineID);
  card.sim.FireControlChange(card.device, card.rec_mux.info.dwControlID);
  EXPECT_EQ(seen, (std::vector<std::string>{"line " + std::to_string(card.play.info.dwLineID),
                                            "control " + std::to_string(card.rec_mux.info.dwControlID)}));
  // Other messages are not the mixer's.
  EXPECT_FALSE(card.sim.SendToNotifyWindow(mixer.NotifyWindow(), 0x0400, 0, 0));
  EXPECT_EQ(seen.size(), 2u);
}

TEST(AudioMixer, LargeListControlsAreNeverCutShort) {
  // 120 sources in one UNIFORM MUX, and a two-channel MIXER of 60 items: more
  // values than a 101-value buffer holds.
  SimMixer sim;
  auto& device = sim.AddDevice("Sim");
  auto& rec = sim.AddDestination(device, "Rec", 2);
  std::vector<const Line*> lines;
  for (int i = 0; i < 120; ++i) lines.push_back(&sim.AddSource(rec, "Source " + std::to_string(i), 1));
  auto& mux = sim.AddSelector(rec, mixer::kControlTypeMux, lines);
  auto& other = sim.AddDestination(device, "Rec 2", 2);
  std::vector<const Line*> other_lines;
  for (int i = 0; i < 60; ++i) other_lines.push_back(&sim.AddSource(other, "Other " + std::to_string(i), 1));
  auto& wide = sim.AddSelector(other, mixer::kControlTypeMixer, other_lines, /*uniform=*/false);
  mux.Value(0, 3) = 1;
  TAudioMixer mixer(sim);

  EXPECT_TRUE(mixer.SetLineState(0, 110, -1, -1, 1));
  ASSERT_EQ(sim.writes().size(), 1u);
  EXPECT_EQ(sim.writes().back().values.size(), 120u);
  EXPECT_EQ(mux.Value(0, 110), 1);
  EXPECT_EQ(mux.Value(0, 3), 0);
  TLineState state;
  ASSERT_TRUE(mixer.GetLineState(0, 110, state));
  EXPECT_TRUE(state.IsSelect);
  EXPECT_EQ(state.Mute, 1);
  ASSERT_TRUE(mixer.GetLineState(0, 119, state));
  EXPECT_TRUE(state.IsSelect);
  EXPECT_EQ(state.Mute, 0);

  // Two channels: entries are looked up at positions 1, 3, 5 ... below the item count.
  EXPECT_TRUE(mixer.SetLineState(1, 51, -1, -1, 1));
  ASSERT_EQ(sim.writes().size(), 2u);
  EXPECT_EQ(sim.writes().back().values.size(), 120u);
  EXPECT_EQ(wide.Value(0, 51), 1);
  ASSERT_TRUE(mixer.GetLineState(1, 51, state));
  EXPECT_EQ(state.Mute, 1);
  EXPECT_TRUE(state.IsSelect);
  // An even position is never looked at: the line counts as not listed.
  EXPECT_TRUE(mixer.SetLineState(1, 50, -1, -1, 1));
  EXPECT_EQ(sim.writes().size(), 2u);
  ASSERT_TRUE(mixer.GetLineState(1, 50, state));
  EXPECT_FALSE(state.IsSelect);
  EXPECT_EQ(state.Mute, -1);
}

}  // namespace
}  // namespace tavlen
