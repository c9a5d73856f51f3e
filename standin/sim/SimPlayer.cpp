#include "standin/sim/SimPlayer.h"

namespace tavlen::sim {

SimPlayer::SimPlayer(SimDesktop& desktop, std::string title)
    : desktop_(desktop),
      window_(desktop.CreateTopLevel(kClassName, std::move(title), desktop.NewProcess(), Rect{0, 0, 275, 116})) {}

SimPlayer::~SimPlayer() { Close(); }

void SimPlayer::SetTitle(std::string title) {
  if (SimWindow* w = desktop_.Find(window_)) w->text = std::move(title);
}

void SimPlayer::Close() {
  if (desktop_.IsWindow(window_)) desktop_.Destroy(window_);
}

}  // namespace tavlen::sim
