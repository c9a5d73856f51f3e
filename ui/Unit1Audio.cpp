// The recording-source switch of the main window.
#include "platform/Clock.h"
#include "ui/Console.h"
#include "ui/Unit1.h"
#include "ui/Unit12.h"

namespace tavlen {

void TForm1::SelectRecordingSource(RecordingSource source) {
  const bool mic = source == RecordingSource::kMic;
  if (forms.Form12 != nullptr && forms.Form12->SettingsChosen) {
    const MixerSourceSetting& s = mic ? forms.Form12->MicSetting : forms.Form12->MixSetting;
    // Mute 1 selects a recording source that has no mute switch of its own.
    forms.Form12->Mixer.SetLineState(s.DestinationIndex, s.LineIndex - 1, s.Volume, s.Volume, 1);
  }
  THTMLPopup& status = c_.HTMLPopup2;
  status.SetText({});
  SRCMIC1->SetCaption(mic ? "Mic" : "Mix");
  RedrawMenuBar();
  status.PopupWidth = 250;
  status.SetText({mic ? "<P align=\"center\"><font size=+4>SRC : MICROPHONE</font></P>"
                      : "<P align=\"center\"><font size=+4>SRC : MUSIQUE</font></P>"});
  status.SlideIn();
  c_.platform.clock.Sleep(1000);
  status.SlideOut();
  status.PopupWidth = 100;
}

}  // namespace tavlen
