// The about window: name, version and edition.
#pragma once

#include <string>

#include "kit/Widgets.h"

namespace tavlen {

class TForm3 : public kit::Form {
 public:
  TForm3(kit::Application& app, const std::string& version_text);
  kit::Label Label1;  // product name
  kit::Label Label2;  // VersionText
  kit::Label Label3;  // edition
  kit::Button Button1;
};

}  // namespace tavlen
