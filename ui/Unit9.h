// The wave volume window "Reglage volume WAVE": a slider that sets the wave
// output level and a button that keeps that level as the music level.
#pragma once

#include "hotkeys/Volumes.h"
#include "kit/Widgets.h"

namespace tavlen {

class TForm9 : public kit::Form {
 public:
  // "FIXER LE VOLUME DE LA MUSIQUE" sets `levels.music`.
  TForm9(kit::Application& app, TVolumeControl& volume, WaveLevels& levels);

  kit::Label Label1;         // the wave level in decimal
  kit::TrackBar ScrollBar1;  // 0-255
  kit::Button Button2;       // "FIXER LE VOLUME DE LA MUSIQUE"
  kit::Button Button1;       // "OK"

  // Shows the device's wave level on the slider, modally.
  void OpenAtDeviceLevel();
  void FormCreate();
  void ScrollBar1Change();
  void Button2Click();
  void Button1Click();

 private:
  TVolumeControl& volume_;
  WaveLevels& levels_;
};

}  // namespace tavlen
