// The sound shortcuts window.
#pragma once

#include "kit/Widgets.h"

namespace tavlen {

class TForm8 : public kit::Form {
 public:
  explicit TForm8(kit::Application& app);
};

}  // namespace tavlen
