#include <gtest/gtest.h>

#include "mixer/AMixer.h"
#include "standin/sim/SimSoundCard.h"

namespace tavlen {
namespace {

TEST(SingleChoiceSelector, KeepsOneRecordedSource) {
  SimMixer sim;
  sim::SimSoundCard card(sim);
  TAudioMixer mixer(sim);
  const auto mux_writes = [&] {
    int n = 0;
    for (const auto& w : sim.writes()) n += w.control_id == card.recording_mux.info.dwControlID;
    return n;
  };

  // Level with the "not selected" state of a source that is not recorded: the
  // recorded one stays, and the selector is not even written.
  EXPECT_TRUE(mixer.SetLineState(1, 2, 7000, 7000, 0));  // Stereo Mix
  EXPECT_EQ(card.stereo_mix_volume.values, (std::vector<std::int32_t>{7000, 7000}));
  EXPECT_EQ(card.SelectedRecordingSource(), 0);
  EXPECT_EQ(mux_writes(), 0);
  // Nor can the recorded source itself be cleared to leave none.
  EXPECT_TRUE(mixer.SetLineState(1, 0, -1, -1, 0));
  EXPECT_EQ(card.SelectedRecordingSource(), 0);

  // Selecting another one replaces it.
  EXPECT_TRUE(mixer.SetLineState(1, 1, -1, -1, 1));  // Line In
  EXPECT_EQ(card.SelectedRecordingSource(), 1);
  EXPECT_EQ(card.recording_mux.values[0] + card.recording_mux.values[1] + card.recording_mux.values[2], 1);
  EXPECT_EQ(mux_writes(), 1);

  TLineState state;
  ASSERT_TRUE(mixer.GetLineState(1, 1, state));
  EXPECT_TRUE(state.IsSelect);
  EXPECT_EQ(state.Mute, 1);
  ASSERT_TRUE(mixer.GetLineState(1, 0, state));
  EXPECT_EQ(state.Mute, 0);
  EXPECT_FALSE(state.Stereo);  // the microphone is mono
}

}  // namespace
}  // namespace tavlen
