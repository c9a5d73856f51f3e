#include "ui/Unit12.h"

#include "core/Text.h"

namespace tavlen {

TForm12::TForm12(kit::Application& app) : kit::Form(app, "TForm12", ansi("Configuration Audio")) {
  SetClientSize(348, 263);
  Position = kit::FormPosition::kOwnerFormCenter;
}

}  // namespace tavlen
