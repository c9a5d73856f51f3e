// The audio configuration window.
#pragma once

#include "kit/Widgets.h"

namespace tavlen {

class TForm12 : public kit::Form {
 public:
  explicit TForm12(kit::Application& app);
};

}  // namespace tavlen
