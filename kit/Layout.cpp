#include "kit/Layout.h"

namespace tavlen::kit {

void Lay(std::initializer_list<Placement> table) {
  for (const Placement& p : table) {
    p.control.SetBounds(p.left, p.top, p.width, p.height);
    if (!p.caption.empty()) p.control.SetText(p.caption);
    if (p.hint.empty()) continue;
    p.control.SetHint(p.hint);
    p.control.ShowHint = true;
  }
}

}  // namespace tavlen::kit
