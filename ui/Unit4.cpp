#include "ui/Unit4.h"

#include "core/Text.h"

namespace tavlen {

TForm4::TForm4(kit::Application& app) : kit::Form(app, "TForm4", ansi("Choix du pseudo")) {
  SetClientSize(153, 380);
  Position = kit::FormPosition::kOwnerFormCenter;
}

}  // namespace tavlen
