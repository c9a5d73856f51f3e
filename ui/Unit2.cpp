#include "ui/Unit2.h"

#include "core/Text.h"

namespace tavlen {

TForm2::TForm2(kit::Application& app) : kit::Form(app, "TForm2", ansi("Gestion des messages")) {
  SetClientSize(506, 476);
  Position = kit::FormPosition::kOwnerFormCenter;
}

}  // namespace tavlen
