#include "ui/Unit8.h"

#include "core/Text.h"

namespace tavlen {

TForm8::TForm8(kit::Application& app) : kit::Form(app, "TForm8", ansi("Raccourics Sons")) {
  SetClientSize(460, 360);
  Position = kit::FormPosition::kOwnerFormCenter;
}

}  // namespace tavlen
