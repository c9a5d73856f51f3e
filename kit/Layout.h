// A window's layout as a table: each widget named once, with its bounds (96-DPI
// units, as every bound in the kit), and its caption and hint when it has them.
#pragma once

#include <initializer_list>
#include <string>

#include "kit/Widgets.h"

namespace tavlen::kit {

struct Placement {
  Control& control;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::string caption = {};  // empty: the widget keeps its text
  std::string hint = {};     // empty: no hint; otherwise shown on hover
};

// In table order: every widget's bounds, then its caption and hint when given.
void Lay(std::initializer_list<Placement> table);

}  // namespace tavlen::kit
