#include "ui/Unit12.h"

#include "core/Text.h"

namespace tavlen {

TForm12::TForm12(kit::Application& app, MixerApi& mixer_api, Dialogs& dialogs, std::string exe_dir)
    : kit::Form(app, "TForm12", ansi("Configuration Audio")),
      Mixer(mixer_api),
      dialogs_(dialogs),
      exe_dir_(std::move(exe_dir)) {
  SetClientSize(348, 263);
  Position = kit::FormPosition::kOwnerFormCenter;
}

}  // namespace tavlen
