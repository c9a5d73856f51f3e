// What a widget backend does with the headless widget model: the Win32 backend
// realizes forms as native windows and mirrors every change; the sim backend
// records what a person would see (popup menus opened, forms shown).
#pragma once

#include <string_view>

#include "platform/Types.h"

namespace tavlen::kit {

class Control;
class Form;
class MenuItem;
class PopupMenu;

// Which property of a control changed.
enum class Prop { kText, kVisible, kEnabled, kBounds, kColor, kFont, kItems, kItemIndex, kChecked,
                  kPosition, kRange, kHint, kAppend, kSelection, kStyle };

class Backend {
 public:
  virtual ~Backend() = default;
  virtual void ShowForm(Form& form, bool modal) = 0;
  virtual void HideForm(Form& form) = 0;
  virtual void Changed(Control& control, Prop prop) = 0;
  virtual void MenuChanged(MenuItem& item) = 0;
  virtual void OpenPopup(PopupMenu& menu, Point screen) = 0;
  virtual void SetApplicationTitle(std::string_view title) = 0;
  virtual void SetTopmost(Form& form, bool topmost) = 0;
  // The form will be shown later: a backend may build its native counterpart
  // meanwhile, while the program is idle, so that the first showing does not
  // hold the user. The sim has nothing to build.
  virtual void Prepare(Form& form) {}
  // Refreshes the model's copy of state the user can change natively (text,
  // caret) before a handler reads it. The sim keeps the model as the truth.
  virtual void Pull(Control& control) {}
  // Where the control is on the screen, in the model's units. The sim's screen is
  // the model's own: the form's position plus the offsets down to the control.
  virtual Rect ScreenBounds(Control& control);
  // A control is being destroyed: forget its native counterpart.
  virtual void Destroyed(Control& control) {}
  virtual void MenuDestroyed(MenuItem& item) {}
};

}  // namespace tavlen::kit
