// The sound card of the simulated desktop, laid out as a common on-board codec
// shows it through the mixer API: a playback destination with volume and mute on
// itself and its sources, and a recording destination without a mute switch that
// picks its one source (Microphone, Line In or Stereo Mix) in a MUX.
#pragma once

#include "platform/sim/SimMixer.h"

namespace tavlen::sim {

struct SimSoundCard {
  explicit SimSoundCard(SimMixer& mixer);

  SimMixer& mixer;
  SimMixer::Device& device;

  SimMixer::Destination& playback;  // "Master Volume"
  SimMixer::Control& playback_volume;
  SimMixer::Control& playback_mute;
  SimMixer::Line& wave;
  SimMixer::Control& wave_volume;
  SimMixer::Control& wave_mute;

  SimMixer::Destination& recording;  // "Recording Control"
  SimMixer::Control& recording_volume;
  SimMixer::Line& microphone;  // mono
  SimMixer::Control& microphone_volume;
  SimMixer::Line& line_in;
  SimMixer::Control& line_in_volume;
  SimMixer::Line& stereo_mix;
  SimMixer::Control& stereo_mix_volume;
  SimMixer::Control& recording_mux;  // items in the order above

  // The item of the MUX that is selected, -1 when none is.
  int SelectedRecordingSource() const;
};

}  // namespace tavlen::sim
