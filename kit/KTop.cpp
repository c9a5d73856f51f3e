#include "kit/KTop.h"

#include "kit/Widgets.h"

namespace tavlen {

TKTop::TKTop(kit::Form& owner) : owner_(owner) { SetKTop(true); }

TKTop::~TKTop() { SetKTop(false); }

void TKTop::SetKTop(bool on) { owner_.SetStayOnTop(on); }

}  // namespace tavlen
