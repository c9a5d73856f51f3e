// The notification words and sound settings window.
#pragma once

#include "kit/Widgets.h"

namespace tavlen {

class TForm5 : public kit::Form {
 public:
  explicit TForm5(kit::Application& app);
};

}  // namespace tavlen
