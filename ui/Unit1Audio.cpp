// The recording-source switch of the main window.
#include "ports/Clock.h"
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
  HTMLPopup2.SetText({});
  SRCMIC1->SetCaption(mic ? "Mic" : "Mix");
  RedrawMenuBar();
  HTMLPopup2.PopupWidth = 250;
  HTMLPopup2.SetText({mic ? "<P align=\"center\"><font size=+4>SRC : MICROPHONE</font></P>"
                          : "<P align=\"center\"><font size=+4>SRC : MUSIQUE</font></P>"});
  HTMLPopup2.SlideIn();
  platform.clock.Sleep(1000);
  HTMLPopup2.SlideOut();
  HTMLPopup2.PopupWidth = 100;
}

// The caption names the source selected last; a click selects the other one.
void TForm1::SRCMIC1Click() {
  SelectRecordingSource(SRCMIC1->Caption() == "Mix" ? RecordingSource::kMic : RecordingSource::kMix);
}

// The window shows the state it was left in.
void TForm1::ConfigurationAudio1Click() {
  if (forms.Form12 == nullptr) return;
  forms.Form12->SettingsChosen = true;
  forms.Form12->ShowModal();
}

}  // namespace tavlen
