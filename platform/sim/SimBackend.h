// The sim widget backend: forms that are shown appear as top-level windows of the
// console's process on the simulated desktop (so the foreground and Z order see
// them); popup menus opened and titles set are recorded.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "kit/Backend.h"
#include "platform/sim/SimDesktop.h"

namespace tavlen::sim {

class SimBackend : public kit::Backend {
 public:
  explicit SimBackend(SimDesktop& desktop);

  void ShowForm(kit::Form& form, bool modal) override;
  void HideForm(kit::Form& form) override;
  void Changed(kit::Control& control, kit::Prop prop) override;
  void MenuChanged(kit::MenuItem& item) override {}
  void OpenPopup(kit::PopupMenu& menu, Point screen) override;
  void SetApplicationTitle(std::string_view title) override { titles_.emplace_back(title); }
  void SetTopmost(kit::Form& form, bool topmost) override {
    topmost_[&form] = topmost;
    ++topmost_requests_[&form];
  }
  void Destroyed(kit::Control& control) override;

  std::uint32_t Process() const { return process_; }
  Hwnd WindowOf(const kit::Form& form) const;
  bool Topmost(const kit::Form& form) const;
  // How often the form was made topmost or not (SetWindowPos on Windows).
  int TopmostRequests(const kit::Form& form) const {
    const auto found = topmost_requests_.find(&form);
    return found == topmost_requests_.end() ? 0 : found->second;
  }
  const std::vector<std::string>& Titles() const { return titles_; }
  kit::PopupMenu* LastPopup() const { return last_popup_; }
  Point LastPopupPoint() const { return last_point_; }
  void ForgetPopup() { last_popup_ = nullptr; }

 private:
  SimDesktop& desktop_;
  std::uint32_t process_;
  std::map<const kit::Form*, Hwnd> windows_;
  std::map<const kit::Form*, bool> topmost_;
  std::map<const kit::Form*, int> topmost_requests_;
  std::vector<std::string> titles_;
  kit::PopupMenu* last_popup_ = nullptr;
  Point last_point_;
};

}  // namespace tavlen::sim
