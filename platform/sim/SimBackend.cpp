#include "platform/sim/SimBackend.h"

#include "kit/Widgets.h"

namespace tavlen::sim {

SimBackend::SimBackend(SimDesktop& desktop) : desktop_(desktop), process_(desktop.NewProcess()) {}

void SimBackend::ShowForm(kit::Form& form, bool modal) {
  auto it = windows_.find(&form);
  const Rect rect{form.Left(), form.Top(), form.Left() + form.Width(), form.Top() + form.Height()};
  if (it == windows_.end() || !desktop_.IsWindow(it->second)) {
    windows_[&form] = desktop_.CreateTopLevel(form.Name(), form.Text(), process_, rect);
  } else {
    desktop_.At(it->second).visible = true;
    desktop_.At(it->second).rect = rect;
    desktop_.BringToTop(it->second);
  }
}

void SimBackend::HideForm(kit::Form& form) {
  auto it = windows_.find(&form);
  if (it != windows_.end()) desktop_.Destroy(it->second);
  windows_.erase(&form);
}

void SimBackend::Changed(kit::Control& control, kit::Prop prop) {
  auto* form = dynamic_cast<kit::Form*>(&control);
  if (!form) return;
  auto it = windows_.find(form);
  if (it == windows_.end()) return;
  if (SimWindow* w = desktop_.Find(it->second)) {
    if (prop == kit::Prop::kText) w->text = form->Text();
    if (prop == kit::Prop::kBounds)
      w->rect = Rect{form->Left(), form->Top(), form->Left() + form->Width(), form->Top() + form->Height()};
  }
}

void SimBackend::OpenPopup(kit::PopupMenu& menu, Point screen) {
  last_popup_ = &menu;
  last_point_ = screen;
}

void SimBackend::Destroyed(kit::Control& control) {
  auto* form = dynamic_cast<kit::Form*>(&control);
  if (!form) return;
  auto it = windows_.find(form);
  if (it != windows_.end()) {
    desktop_.Destroy(it->second);
    windows_.erase(it);
  }
}

Hwnd SimBackend::WindowOf(const kit::Form& form) const {
  auto it = windows_.find(&form);
  return it == windows_.end() ? kNoWindow : it->second;
}

bool SimBackend::Topmost(const kit::Form& form) const {
  auto it = topmost_.find(&form);
  return it != topmost_.end() && it->second;
}

}  // namespace tavlen::sim
