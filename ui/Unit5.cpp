#include "ui/Unit5.h"

#include "core/Text.h"

namespace tavlen {

TForm5::TForm5(kit::Application& app) : kit::Form(app, "TForm5", ansi("Notifications")) {
  SetClientSize(232, 409);
  Position = kit::FormPosition::kOwnerFormCenter;
}

}  // namespace tavlen
