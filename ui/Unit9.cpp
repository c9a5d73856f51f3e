#include "ui/Unit9.h"

#include <string>

#include "hotkeys/SoundShortcut.h"
#include "kit/Layout.h"

namespace tavlen {

TForm9::TForm9(kit::Application& app, TVolumeControl& volume, WaveLevels& levels)
    : kit::Form(app, "TForm9", "Reglage volume WAVE"),
      Label1(this, "Label1"),
      ScrollBar1(this, "ScrollBar1"),
      Button2(this, "Button2"),
      Button1(this, "Button1"),
      volume_(volume),
      levels_(levels) {
  SetClientSize(327, 80);
  Position = kit::FormPosition::kOwnerFormCenter;
  Border = kit::BorderStyle::kToolWindow;
  kit::Lay({
      {Label1, 8, 4, 311, 14},
      {ScrollBar1, 8, 20, 311, 18},
      {Button2, 8, 42, 240, 30, "FIXER LE VOLUME DE LA MUSIQUE"},
      {Button1, 252, 42, 67, 30, "OK"},
  });
  Label1.SetAlignment(kit::Alignment::kCenter);
  ScrollBar1.SetRange(0, 255);
  ScrollBar1.PageSize = 0;
  ScrollBar1.OnChange = [this] { ScrollBar1Change(); };
  Button2.OnClick = [this] { Button2Click(); };
  Button1.OnClick = [this] { Button1Click(); };
  // Guarded as every handler is: a failure here must not end the program.
  App().Dispatch([this] { FormCreate(); });
}

void TForm9::OpenAtDeviceLevel() {
  // Runs the slider's change handler when the position moves.
  ScrollBar1.SetPosition(volume_.WaveVolume());
  ShowModal();
}

void TForm9::FormCreate() { Label1.SetText(std::to_string(volume_.WaveVolume())); }

void TForm9::ScrollBar1Change() {
  volume_.SetWaveVolume(WaveLevel(ScrollBar1.Position()));
  Label1.SetText(std::to_string(volume_.WaveVolume()));
}

void TForm9::Button2Click() { levels_.music = volume_.WaveVolume(); }

void TForm9::Button1Click() { Close(); }

}  // namespace tavlen
