// The message catalogue editor window.
#pragma once

#include "kit/Widgets.h"

namespace tavlen {

class TForm2 : public kit::Form {
 public:
  explicit TForm2(kit::Application& app);
};

}  // namespace tavlen
