// The main window's hotkeys, talk control, sound shortcuts and wave volume.
#include "base/Text.h"
#include "ports/Dialogs.h"
#include "ui/Unit1.h"
#include "ui/Unit7.h"
#include "ui/Unit8.h"
#include "ui/Unit9.h"

namespace tavlen {

void TForm1::SetupHotkeys() {
  // Nothing may escape the hidden window's procedure: presses go through the error guard.
  HotKeyManager1.OnHotKeyPressed = [this](HotKeyValue HotKey, std::uint16_t Index) {
    App().Dispatch([&] { HotKeyManager1HotKeyPressed(HotKey, Index); });
  };
  talk.PressMode = [this](Hwnd talk_switch) { return talkControl.Press(talk_switch); };
  hotkeyDispatch.SelectRecordingSource = [this](bool microphone) {
    SelectRecordingSource(microphone ? RecordingSource::kMic : RecordingSource::kMix);
  };
  Timer8.OnTimer = [this] { Timer8Timer(); };
  RaccourcisClavier1->OnClick = [this] { RaccourcisClavier1Click(); };
  Raccourcisdesons1->OnClick = [this] { Raccourcisdesons1Click(); };
  Reglageduvolume1->OnClick = [this] { Reglageduvolume1Click(); };
}

void TForm1::HotKeyManager1HotKeyPressed(HotKeyValue HotKey, std::uint16_t /*Index*/) {
  hotkeyDispatch.HotKeyPressed(HotKey);
}

void TForm1::Timer8Timer() { hotkeySounds.Timer8Timer(); }

void TForm1::AddHotKey(HotKeyValue value) {
  tavlen::AddHotKey(HotKeyManager1, HotKeyNames, value,
                    [this](const std::string& text) { platform.dialogs.ShowMessage(text, "Avertissement", MessageIcon::kWarning); });
}

std::string TForm1::HotkeysPath() const { return platform.exe_dir + "hotkeys.ini"; }

void TForm1::loadhotkeys() {
  HotKeyManager1.UnregisterAll();
  tavlen::loadhotkeys(hotkeyTable, HotkeysPath());
}

void TForm1::RegisterAllHotkeys() {
  tavlen::RegisterAllHotkeys(
      hotkeyTable, HotKeyNames, [this](HotKeyValue value) { AddHotKey(value); },
      [this](const std::string& text) { platform.dialogs.ShowMessage(text, "Avertissement", MessageIcon::kWarning); });
}

void TForm1::savehotkeys() {
  tavlen::savehotkeys(
      hotkeyTable, HotKeyManager1, HotKeyNames, HotkeysPath(), [this](HotKeyValue value) { AddHotKey(value); },
      [this](const std::string& text) { platform.dialogs.ShowMessage(text, "Avertissement", MessageIcon::kWarning); });
}

void TForm1::RaccourcisClavier1Click() {
  if (!forms.Form7) return;
  TForm7& f = *forms.Form7;
  f.Edit1.SetText(hotkeyTable.Slot(1).KeyText);
  f.Edit2.SetText(hotkeyTable.Slot(2).KeyText);
  f.Edit3.SetText(hotkeyTable.Slot(3).KeyText);
  f.Edit4.SetText(hotkeyTable.Slot(4).KeyText);
  f.ShowModal();
}

void TForm1::Raccourcisdesons1Click() {
  if (!forms.Form8) return;
  TForm8& f = *forms.Form8;
  f.ListBox1.Clear();
  f.GetPotentialKeys2();
  f.ListBox2.Clear();
  for (int n = kFirstSoundSlot; n <= tavlen::HotkeyTable::kSlots; ++n)
    if (!hotkeyTable.Slot(n).Free()) f.ListBox2.Add(hotkeyTable.Slot(n).KeyText);
  f.ShowModal();
}

void TForm1::Reglageduvolume1Click() {
  if (!forms.Form9) return;
  // Runs the slider's change handler when the position moves.
  forms.Form9->ScrollBar1.SetPosition(VolumeControl1.WaveVolume());
  forms.Form9->ShowModal();
}

}  // namespace tavlen
