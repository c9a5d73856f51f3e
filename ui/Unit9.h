// The wave volume window.
#pragma once

#include "kit/Widgets.h"

namespace tavlen {

class TForm9 : public kit::Form {
 public:
  explicit TForm9(kit::Application& app);
};

}  // namespace tavlen
