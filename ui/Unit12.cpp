#include "ui/Unit12.h"

#include <algorithm>

#include "base/Text.h"
#include "kit/Layout.h"

namespace tavlen {

namespace {
constexpr int kVolumeMax = 65535;
}  // namespace

TForm12::TForm12(kit::Application& app, RecordingSourceSwitch& sources, Dialogs& dialogs, std::string exe_dir)
    : kit::Form(app, "TForm12", ansi("Configuration Audio")),
      GroupBox1(this, "GroupBox1"),
      RadioButton1(&GroupBox1, "RadioButton1"),
      RadioButton2(&GroupBox1, "RadioButton2"),
      Label1(&GroupBox1, "Label1"),
      ComboBox3(&GroupBox1, "ComboBox3"),
      Label2(&GroupBox1, "Label2"),
      ComboBox1(&GroupBox1, "ComboBox1"),
      Label3(&GroupBox1, "Label3"),
      ComboBox2(&GroupBox1, "ComboBox2"),
      Label4(&GroupBox1, "Label4"),
      TrackBar(&GroupBox1, "TrackBar"),
      Button1(&GroupBox1, "Button1"),
      CheckBox(&GroupBox1, "CheckBox"),
      sources_(sources),
      Mixer(sources.Mixer),
      dialogs_(dialogs),
      exe_dir_(std::move(exe_dir)) {
  BuildLayout();
  // Checked before the handlers are bound: the start-up state is no user choice.
  RadioButton1.SetChecked(true);
  RadioButton1.OnClick = [this] { RadioButton2Click(); };
  RadioButton2.OnClick = [this] { RadioButton2Click(); };
  ComboBox3.OnChange = [this] { ComboBox3Change(); };
  ComboBox3.OnClick = [this] { ComboBox3Click(); };
  ComboBox1.OnClick = [this] { ComboBox1Click(); };
  ComboBox2.OnClick = [this] { ComboBox2Click(); };
  BindChangeHandlers();
  Button1.OnClick = [this] { Button1Click(); };
  // Guarded as every handler is: a failure here must not end the program.
  App().Dispatch([this] { FormCreate(); });
}

void TForm12::BuildLayout() {
  Border = kit::BorderStyle::kSingle;
  Position = kit::FormPosition::kOwnerFormCenter;
  SetClientSize(348, 263);

  kit::Lay({
      {GroupBox1, 0, 0, 348, 263, ansi("Réglages audio")},
      {RadioButton1, 16, 20, 150, 28, "Microphone"},
      {RadioButton2, 190, 20, 140, 28, "Musique"},
      {Label1, 16, 64, 136, 13, ansi("Périphérique son :")},
      {ComboBox3, 160, 60, 172, 21},
      {Label2, 16, 96, 136, 13, "Lecture/Enregistrement :"},
      {ComboBox1, 160, 92, 172, 21},
      {Label3, 16, 128, 136, 13, "Canal :"},
      {ComboBox2, 160, 124, 172, 21},
      {Label4, 16, 164, 136, 13, "Volume :"},
      {TrackBar, 152, 156, 188, 33},
      {Button1, 124, 212, 100, 33, "ENREGISTRER"},
      // Below the group box's lower edge: inside the window's tree, never on screen.
      {CheckBox, 16, 300, 97, 17},
  });

  kit::Font large = RadioButton1.GetFont();
  large.size = 15;  // 20 pixels high at 96 dpi
  RadioButton1.SetFont(large);
  RadioButton2.SetFont(large);
  for (kit::ComboBox* list : {&ComboBox3, &ComboBox1, &ComboBox2})
    list->ComboStyle = kit::ComboBox::Style::kDropDownList;
  TrackBar.SetRange(0, kVolumeMax);
  TrackBar.PageSize = 4096;
}

void TForm12::BindChangeHandlers() {
  ComboBox1.OnChange = [this] { ComboBox1Change(); };
  ComboBox2.OnChange = [this] { ComboBox2Change(); };
  TrackBar.OnChange = [this] { TrackBarChange(); };
  CheckBox.OnClick = [this] { CheckBoxClick(); };
}

void TForm12::FormCreate() {
  for (int i = 0; i < Mixer.DeviceCount(); ++i) ComboBox3.Add("Mixer " + std::to_string(i));
  if (ComboBox3.Count() > 0) ComboBox3.SetItemIndex(0);
  ComboBox3Change();
  // A missing file leaves both settings at zero; a file whose reading stopped
  // early keeps what it read but is not shown.
  const MixerConfigReading reading =
      LoadMixerConfig(exe_dir_ + std::string(kMixerConfigFileName), sources_.MicSetting, sources_.MixSetting);
  sources_.SettingsChosen = reading != MixerConfigReading::kMissing;
  if (reading != MixerConfigReading::kComplete) return;
  ApplySetting(sources_.MicSetting);
}

void TForm12::ComboBox3Change() {
  const int device = ComboBox3.ItemIndex();
  if (device >= 0 && device < Mixer.DeviceCount()) Mixer.SetMixerId(device);
  ComboBox1.Clear();
  if (Mixer.DeviceCount() < 1) {
    ComboBox1.OnChange = nullptr;
    ComboBox2.OnChange = nullptr;
    TrackBar.OnChange = nullptr;
    CheckBox.OnClick = nullptr;
    dialogs_.ShowMessage("No mixer present in the system !", {}, MessageIcon::kError);
    return;
  }
  if (const TMixerDestinations* destinations = Mixer.DestinationList()) {
    for (int i = 0; i < destinations->Count(); ++i) ComboBox1.Add(destinations->Item(i)->LineInfo.szName);
  }
  if (ComboBox1.Count() > 0) {
    ComboBox1.SetItemIndex(0);
    ComboBox1Change();
  }
}

void TForm12::ComboBox1Change() {
  ComboBox2.Clear();
  const TMixerDestinations* destinations = Mixer.DestinationList();
  const TMixerDestination* destination = destinations ? destinations->Item(ComboBox1.ItemIndex()) : nullptr;
  if (destination != nullptr) {
    ComboBox2.Add(destination->LineInfo.szName);
    for (int i = 0; i < destination->ConnectionList.Count(); ++i)
      ComboBox2.Add(destination->ConnectionList.Item(i)->LineInfo.szName);
  }
  if (ComboBox2.Count() > 0) {
    ComboBox2.SetItemIndex(0);
    ComboBox2Change();
  }
}

void TForm12::ComboBox2Change() {
  TLineState state;
  Mixer.GetLineState(ComboBox1.ItemIndex(), ComboBox2.ItemIndex() - 1, state);
  // The slider keeps showing the stored level, not the line's current one.
  TrackBar.SetVisible(!state.VolDisabled);
  CheckBox.SetVisible(!state.MuteDisabled);
  if (CheckBox.Visible()) {
    showing_line_state_ = true;
    CheckBox.SetChecked(state.Mute != 0);
    showing_line_state_ = false;
  }
}

void TForm12::TrackBarChange() {
  const int volume = TrackBar.Position();
  Mixer.SetLineState(ComboBox1.ItemIndex(), ComboBox2.ItemIndex() - 1, volume, volume, CheckBox.Checked() ? 1 : 0);
  ActiveSetting().Volume = volume;
}

void TForm12::CheckBoxClick() {
  if (!showing_line_state_) TrackBarChange();
}

void TForm12::ComboBox3Click() { ActiveSetting().DeviceIndex = ComboBox3.ItemIndex(); }

void TForm12::ComboBox1Click() { ActiveSetting().DestinationIndex = ComboBox1.ItemIndex(); }

void TForm12::ComboBox2Click() { ActiveSetting().LineIndex = ComboBox2.ItemIndex(); }

void TForm12::RadioButton2Click() {
  // The window showed the other setting until now: keep what it shows there.
  const MixerSourceSetting shown{ComboBox3.ItemIndex(), ComboBox1.ItemIndex(), ComboBox2.ItemIndex(),
                                 TrackBar.Position()};
  if (RadioButton1.Checked()) {
    sources_.MixSetting = shown;
    ApplySetting(sources_.MicSetting);
  } else {
    sources_.MicSetting = shown;
    ApplySetting(sources_.MixSetting);
  }
}

void TForm12::ApplySetting(const MixerSourceSetting& setting) {
  // A copy: the steps below write into the active setting as they go.
  const MixerSourceSetting s = setting;
  ComboBox3.SetItemIndex(s.DeviceIndex);
  ComboBox3Change();
  ComboBox1.SetItemIndex(s.DestinationIndex);
  ComboBox1Change();
  ComboBox2.SetItemIndex(s.LineIndex);
  ComboBox2Change();
  TrackBar.SetPosition(std::clamp(s.Volume, 0, kVolumeMax));
}

void TForm12::Button1Click() {
  SaveMixerConfig(exe_dir_ + std::string(kMixerConfigFileName), sources_.MicSetting, sources_.MixSetting);
  Close();
}

}  // namespace tavlen
