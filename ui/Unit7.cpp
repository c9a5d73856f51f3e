#include "ui/Unit7.h"

#include "core/Text.h"

namespace tavlen {

TForm7::TForm7(kit::Application& app) : kit::Form(app, "TForm7", ansi("Raccourcis Clavier")) {
  SetClientSize(260, 300);
  Position = kit::FormPosition::kOwnerFormCenter;
}

}  // namespace tavlen
