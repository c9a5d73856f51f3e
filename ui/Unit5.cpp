#include "ui/Unit5.h"

#include <vector>

#include "base/Text.h"
#include "kit/Layout.h"

namespace tavlen {

TForm5::TForm5(kit::Application& app, NotificationSettings& settings, Dialogs& dialogs)
    : kit::Form(app, "TForm5", "Notifications"),
      Label1(this, "Label1"),
      Label2(this, "Label2"),
      Memo1(this, "Memo1"),
      CheckBox1(this, "CheckBox1"),
      SpeedButton1(this, "SpeedButton1"),
      Edit1(this, "Edit1"),
      Button1(this, "Button1"),
      settings_(settings),
      dialogs_(dialogs) {
  SetBounds(Left(), Top(), 232, 409);
  Position = kit::FormPosition::kOwnerFormCenter;
  Border = kit::BorderStyle::kDialog;

  kit::Lay({
      {Label1, 8, 8, 208, 32, ansi("Indiquez les mots ou expressions devant être notifiés :")},
      {Label2, 8, 42, 208, 16, "( 1 mot/expression par ligne )"},
      {Memo1, 8, 62, 208, 220},
      {CheckBox1, 8, 290, 208, 17, "Activer le son"},
      {SpeedButton1, 8, 314, 25, 23, {}, "Choisir le son"},
      {Edit1, 38, 315, 178, 21},
      {Button1, 72, 346, 80, 25, "Valider"},
  });
  kit::Font bold;
  bold.bold = true;
  Label1.SetFont(bold);
  Label1.WordWrap = true;
  Memo1.ScrollBars = true;
  Memo1.WordWrap = false;
  Memo1.SetColor(clWindow);
  SpeedButton1.Glyph = kit::ButtonGlyph::kOpenFile;
  Edit1.SetColor(clWindow);

  Memo1.OnChange = [this] { settings_.NotificationWords = Memo1.Lines(); };
  CheckBox1.OnClick = [this] { settings_.NotificationSoundEnabled = CheckBox1.Checked(); };
  OnShow = [this] { FormShow(); };
  SpeedButton1.OnClick = [this] { SpeedButton1Click(); };
  Button1.OnClick = [this] { Button1Click(); };
}

bool TForm5::LoadSoundFile() {
  const std::optional<std::string> sound_file = ReadSoundsFile(settings_.SoundsPath());
  if (!sound_file) return false;
  settings_.NotificationSoundFile = *sound_file;
  Edit1.SetText(*sound_file);
  return true;
}

bool TForm5::LoadWords() {
  std::optional<std::vector<std::string>> words = ReadHighlightFile(settings_.HighlightPath());
  if (!words) return false;
  Memo1.SetLines(std::move(*words));
  return true;
}

void TForm5::LoadAtStartUp() {
  if (LoadSoundFile()) CheckBox1.SetChecked(true);
  LoadWords();
}

void TForm5::FormShow() {
  // The files win over unsaved edits; the sound switch keeps its state.
  LoadSoundFile();
  LoadWords();
}

void TForm5::SpeedButton1Click() {
  const std::optional<std::string> chosen = dialogs_.OpenFile("Fichiers Wave|*.wav");
  if (!chosen) return;
  WriteSoundsFile(settings_.SoundsPath(), *chosen);
  Edit1.SetText(*chosen);
  settings_.NotificationSoundFile = *chosen;
}

void TForm5::Button1Click() {
  const std::deque<std::string>& lines = NotificationWords();
  WriteHighlightFile(settings_.HighlightPath(), std::vector<std::string>(lines.begin(), lines.end()));
  Close();
}

}  // namespace tavlen
