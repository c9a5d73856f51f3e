// Forms built ahead of their first showing. Under Wine each control's window
// costs a round trip or two to the server; built whole at the first click, a
// window of fifty controls kept the console from answering for 80-140 ms.
// Built a few controls per tick of a timer while the main loop waits, the same
// windows are ready when the moderator asks for them.
#include "platform/win32/WinApi.h"

#include <algorithm>
#include <chrono>

#include "platform/win32/Win32Backend.h"
#include "platform/win32/Win32BackendNative.h"
#include "platform/win32/Win32Clock.h"

namespace tavlen {

namespace {
// A slice ends once it has run this long: a click waits at most about this much.
constexpr auto kSlice = std::chrono::milliseconds(4);
// WM_TIMER comes only when no other message waits, so a tick never delays input.
constexpr int kTickMs = 10;
}  // namespace

void Win32Backend::Prepare(kit::Form& form) {
  if (auto found = forms_.find(&form); found != forms_.end() && found->second->complete) return;
  if (std::find(preparing_.begin(), preparing_.end(), &form) != preparing_.end()) return;
  if (!app_) app_ = &form.App();
  preparing_.push_back(&form);
  if (prepare_timer_ == 0) {
    prepare_timer_ = app_->NextTimerId();
    clock_.StartTimer(prepare_timer_, kTickMs, [this] { PrepareTick(); });
  }
}

kit::Control* Win32Backend::FirstUnrealized(kit::Container& container) {
  // The order of RealizeChildren, so the windows' Z order is the same either way.
  for (kit::Control* child : container.Children()) {
    if (!Find(*child)) return child;
    if (auto* inner = dynamic_cast<kit::Container*>(child))
      if (kit::Control* found = FirstUnrealized(*inner)) return found;
  }
  return nullptr;
}

void Win32Backend::PrepareTick() {
  // Not inside a handler's own pump (a submission's key-downs wait on it), and
  // not before the main window: it owns the others.
  const bool main_ready = app_ && app_->MainForm && forms_.count(app_->MainForm) != 0;
  if (clock_.InsidePump() || !main_ready) return;
  const auto end = std::chrono::steady_clock::now() + kSlice;
  while (!preparing_.empty() && std::chrono::steady_clock::now() < end) {
    kit::Form& form = *preparing_.front();
    NativeForm& nf = RealizeWindow(form);
    if (nf.complete) {
      preparing_.pop_front();
      continue;
    }
    kit::Control* next = FirstUnrealized(form);
    // A control whose window cannot be made is left to the first showing.
    if (next && RealizeControl(nf, *next)) continue;
    LowerPaintedControls(nf);
    nf.complete = next == nullptr;
    preparing_.pop_front();
  }
  if (preparing_.empty()) {
    clock_.StopTimer(prepare_timer_);
    prepare_timer_ = 0;
  }
}

}  // namespace tavlen
