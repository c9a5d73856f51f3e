// The nick chooser: a borderless list of the room's nicks next to the nick box.
#pragma once

#include "kit/Widgets.h"

namespace tavlen {

class TForm4 : public kit::Form {
 public:
  explicit TForm4(kit::Application& app);
};

}  // namespace tavlen
