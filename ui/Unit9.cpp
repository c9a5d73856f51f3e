#include "ui/Unit9.h"

#include "core/Text.h"

namespace tavlen {

TForm9::TForm9(kit::Application& app) : kit::Form(app, "TForm9", ansi("Reglage volume WAVE")) {
  SetClientSize(327, 80);
  Position = kit::FormPosition::kOwnerFormCenter;
}

}  // namespace tavlen
