// The audio configuration window: the lists and slider where the moderator chooses
// the switch's two recording-source selections (microphone and music) and tries
// them out live.
#pragma once

#include <string>

#include "kit/Widgets.h"
#include "mixer/AMixer.h"
#include "mixer/MixerSourceSetting.h"
#include "mixer/RecordingSourceSwitch.h"
#include "platform/Dialogs.h"

namespace tavlen {

class TForm12 : public kit::Form {
 public:
  // Builds the window and runs its start-up step (device list, config.ini).
  TForm12(kit::Application& app, RecordingSourceSwitch& sources, Dialogs& dialogs, std::string exe_dir);

  kit::GroupBox GroupBox1;
  kit::RadioButton RadioButton1;  // "Microphone"
  kit::RadioButton RadioButton2;  // "Musique"
  kit::Label Label1;
  kit::ComboBox ComboBox3;  // devices
  kit::Label Label2;
  kit::ComboBox ComboBox1;  // destinations of the open device
  kit::Label Label3;
  kit::ComboBox ComboBox2;  // the destination's own line, then its sources
  kit::Label Label4;
  kit::TrackBar TrackBar;
  kit::Button Button1;  // "ENREGISTRER"
  // Never seen: keeps the chosen line's mute or selection state so that every
  // volume change writes it back unchanged.
  kit::CheckBox CheckBox;

  // The setting the window edits: the one whose radio button is checked.
  MixerSourceSetting& ActiveSetting() { return RadioButton1.Checked() ? sources_.MicSetting : sources_.MixSetting; }

  // Handlers.
  void FormCreate();
  void ComboBox3Change();
  void ComboBox1Change();
  void ComboBox2Change();
  void TrackBarChange();
  void CheckBoxClick();
  void ComboBox3Click();
  void ComboBox1Click();
  void ComboBox2Click();
  void RadioButton2Click();
  void Button1Click();

  // Shows a stored setting in the window and writes its level to the mixer.
  void ApplySetting(const MixerSourceSetting& setting);

 private:
  void BuildLayout();
  void BindChangeHandlers();

  RecordingSourceSwitch& sources_;
  TAudioMixer& Mixer;
  Dialogs& dialogs_;
  std::string exe_dir_;
  // Set while the line step shows the line's state in the state box.
  bool showing_line_state_ = false;
};

}  // namespace tavlen
