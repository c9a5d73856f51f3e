#include "standin/sim/SimSoundCard.h"

namespace tavlen::sim {

SimSoundCard::SimSoundCard(SimMixer& m)
    : mixer(m),
      device(m.AddDevice("Realtek HD Audio")),
      playback(m.AddDestination(device, "Master Volume", 2)),
      playback_volume(m.AddControl(playback, mixer::kControlTypeVolume)),
      playback_mute(m.AddControl(playback, mixer::kControlTypeMute, mixer::kControlUniform)),
      wave(m.AddSource(playback, "Wave", 2)),
      wave_volume(m.AddControl(wave, mixer::kControlTypeVolume)),
      wave_mute(m.AddControl(wave, mixer::kControlTypeMute, mixer::kControlUniform)),
      recording(m.AddDestination(device, "Recording Control", 2)),
      recording_volume(m.AddControl(recording, mixer::kControlTypeVolume)),
      microphone(m.AddSource(recording, "Microphone", 1)),
      microphone_volume(m.AddControl(microphone, mixer::kControlTypeVolume)),
      line_in(m.AddSource(recording, "Line In", 2)),
      line_in_volume(m.AddControl(line_in, mixer::kControlTypeVolume)),
      stereo_mix(m.AddSource(recording, "Stereo Mix", 2)),
      stereo_mix_volume(m.AddControl(stereo_mix, mixer::kControlTypeVolume)),
      recording_mux(m.AddSelector(recording, mixer::kControlTypeMux, {&microphone, &line_in, &stereo_mix})) {
  // Levels as a fresh installation leaves them; the microphone is recorded.
  for (SimMixer::Control* c : {&playback_volume, &wave_volume, &recording_volume, &microphone_volume,
                               &line_in_volume, &stereo_mix_volume})
    for (auto& v : c->values) v = 49152;
  recording_mux.Value(0, 0) = 1;
}

int SimSoundCard::SelectedRecordingSource() const {
  for (std::uint32_t i = 0; i < recording_mux.items; ++i)
    if (recording_mux.values.at(i) != 0) return static_cast<int>(i);
  return -1;
}

}  // namespace tavlen::sim
