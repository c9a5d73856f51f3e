// The audio configuration window: the two stored recording-source selections,
// the mixer they act through, and the lists and slider that choose them.
#pragma once

#include <string>

#include "kit/Widgets.h"
#include "mixer/AMixer.h"
#include "mixer/MixerSourceSetting.h"
#include "platform/Dialogs.h"
#include "platform/MixerApi.h"

namespace tavlen {

class TForm12 : public kit::Form {
 public:
  TForm12(kit::Application& app, MixerApi& mixer_api, Dialogs& dialogs, std::string exe_dir);

  TAudioMixer Mixer;
  MixerSourceSetting MicSetting;
  MixerSourceSetting MixSetting;

 private:
  Dialogs& dialogs_;
  std::string exe_dir_;
};

}  // namespace tavlen
