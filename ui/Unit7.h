// The hotkey settings window.
#pragma once

#include "kit/Widgets.h"

namespace tavlen {

class TForm7 : public kit::Form {
 public:
  explicit TForm7(kit::Application& app);
};

}  // namespace tavlen
