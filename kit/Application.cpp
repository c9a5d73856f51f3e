#include "kit/Application.h"

#include <exception>

namespace tavlen::kit {

void Application::Dispatch(const std::function<void()>& handler) noexcept {
  try {
    if (handler) handler();
  } catch (const std::exception& e) {
    ++dropped_;
    if (OnException) {
      try {
        OnException(e.what());
      } catch (...) {
      }
    }
  } catch (...) {
    ++dropped_;
    if (OnException) {
      try {
        OnException("unknown error");
      } catch (...) {
      }
    }
  }
}

void Application::SetTitle(std::string title) {
  if (title == title_) return;
  title_ = std::move(title);
  backend_.SetApplicationTitle(title_);
}

}  // namespace tavlen::kit
