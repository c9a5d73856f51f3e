// The quick reasons menu: a mouse button other than the left one on "AVERTIR",
// "KICKER", "PUNIR" or "BANNIR" opens the catalogue's quick entries; choosing one
// submits that sanction at once for the target nick.
#pragma once

#include "kit/Widgets.h"
#include "moderation/ActionPanel.h"
#include "moderation/ModerationContext.h"

namespace tavlen {

class QuickMenu {
 public:
  // Binds the mouse-down of the four sanction buttons.
  QuickMenu(ModerationContext& ctx, ActionPanel& panel, kit::PopupMenu& spSkinPopupMenu1);

  // Opens the menu, rebuilt from the catalogue, for `button` pressed with `mouse`.
  void spSkinSpeedButton10MouseUp(kit::Button& button, kit::MouseButton mouse);
  void shortmenuClick(kit::MenuItem& item);

 private:
  ModerationContext& ctx_;
  ActionPanel& panel_;
  kit::PopupMenu& menu_;
};

}  // namespace tavlen
