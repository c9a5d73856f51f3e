#include "mixer/RecordingSourceSwitch.h"

#include <limits>

namespace tavlen {

RecordingSourceSwitch::RecordingSourceSwitch(MixerApi& mixer_api, THTMLPopup& status, Clock& clock)
    : Mixer(mixer_api), status_(status), clock_(clock) {}

void RecordingSourceSwitch::Select(Source source) {
  const bool mic = source == Source::kMic;
  if (SettingsChosen) {
    const MixerSourceSetting& s = mic ? MicSetting : MixSetting;
    // Mute 1 selects a recording source that has no mute switch of its own. A
    // hand-edited line number at the bottom of the range has no line before it.
    if (s.LineIndex > std::numeric_limits<std::int32_t>::min())
      Mixer.SetLineState(s.DestinationIndex, s.LineIndex - 1, s.Volume, s.Volume, 1);
  }
  status_.SetText({});
  if (OnSelected) OnSelected(source);
  status_.PopupWidth = 250;
  status_.SetText({mic ? "<P align=\"center\"><font size=+4>SRC : MICROPHONE</font></P>"
                       : "<P align=\"center\"><font size=+4>SRC : MUSIQUE</font></P>"});
  status_.SlideIn();
  clock_.Sleep(1000);
  status_.SlideOut();
  status_.PopupWidth = 100;
}

}  // namespace tavlen
