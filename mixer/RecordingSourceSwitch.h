// The sound card's recording source, switched between the two stored selections
// (microphone and music) through the mixer, with a second of status popup.
#pragma once

#include <functional>

#include "mixer/AMixer.h"
#include "mixer/MixerSourceSetting.h"
#include "notify/HTMLPopup.h"
#include "platform/Clock.h"
#include "platform/MixerApi.h"

namespace tavlen {

class RecordingSourceSwitch {
 public:
  enum class Source { kMic, kMix };

  RecordingSourceSwitch(MixerApi& mixer_api, THTMLPopup& status, Clock& clock);

  TAudioMixer Mixer;
  MixerSourceSetting MicSetting;
  MixerSourceSetting MixSetting;
  // The selections came from config.ini or the moderator has seen the audio window:
  // until then the zero selections name no chosen line, and the switch must not
  // write them (they would silence the first destination, usually the speakers).
  bool SettingsChosen = false;

  // Told the source just selected, before the status shows (the menu's caption).
  std::function<void(Source)> OnSelected;

  // Writes the stored selection to the mixer once chosen, and shows the source.
  void Select(Source source);

 private:
  THTMLPopup& status_;
  Clock& clock_;
};

}  // namespace tavlen
