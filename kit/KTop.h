// Keep-on-top component: makes its owner window topmost while switched on.
#pragma once

namespace tavlen::kit {
class Form;
}

namespace tavlen {

class TKTop {
 public:
  // Switches its window on when created and off when destroyed.
  explicit TKTop(kit::Form& owner);
  ~TKTop();
  TKTop(const TKTop&) = delete;
  TKTop& operator=(const TKTop&) = delete;
  void SetKTop(bool on);

 private:
  kit::Form& owner_;
};

}  // namespace tavlen
