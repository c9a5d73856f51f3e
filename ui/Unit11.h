// The quick help window: a short French guide.
#pragma once

#include "kit/Widgets.h"

namespace tavlen {

class TForm11 : public kit::Form {
 public:
  explicit TForm11(kit::Application& app);
  kit::Memo Memo1;
  kit::Button Button1;
};

}  // namespace tavlen
