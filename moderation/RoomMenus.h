// Fixed room commands: the "MSG GROUPE" menu (messages to the room's staff
// groups), the "LISTE CAM" menu (camera watch lists) and the owners' "Commandes"
// entries (statuses, talk time, moderated mode, topic).
#pragma once

#include <string>
#include <string_view>

#include "kit/Widgets.h"
#include "moderation/ActionPanel.h"
#include "moderation/ModerationContext.h"

namespace tavlen {

class RoomMenus {
 public:
  // Fills both popup menus and binds the mouse-down of their two buttons.
  RoomMenus(ModerationContext& ctx, ActionPanel& panel, kit::PopupMenu& msggroupePopupMenu2,
            kit::PopupMenu& camPopupMenu1);

  void spSkinSpeedButton2MouseDown(kit::MouseButton mouse);
  void spSkinSpeedButton12MouseDown(kit::MouseButton mouse);
  void spSkinSpeedButton2Click() {}

  // Group messages.
  void Amis1Click();
  void OP1Click();
  void ADMINS1Click();
  void OPAdmins1Click();
  void AmisOPAdmins1Click();
  // Cam lists.
  void Regardequi1Click();
  void Vuparqui1Click();
  // "Commandes".
  void Ajouter1Click();
  void AjouterOP1Click();
  void AjouterOPPLUS1Click();
  void RetirerAMISOPOP1Click();
  void N30sec1Click();
  void N60sec1Click();
  void N120sec1Click();
  void Illimit1Click();
  void Activer2Click();
  void Desactiver2Click();
  void CahngerleTopic1Click();
  void Effacerletopic1Click();

  kit::MenuItem* Amis1;
  kit::MenuItem* OP1;
  kit::MenuItem* ADMINS1;
  kit::MenuItem* OPAdmins1;
  kit::MenuItem* AmisOPAdmins1;
  kit::MenuItem* Regardequi1;
  kit::MenuItem* Vuparqui1;

 private:
  // Asks for the message (caption names the group and the room) and submits the
  // prefix and the answer; nothing for an empty answer.
  void GroupMessage(std::string_view group_caption, std::string_view prefix);
  // A status line for the target nick; refused without one.
  void StatusLine(std::string_view prefix, std::string_view suffix);
  std::string Nick() { return panel_.TargetNickBox().Text(); }

  ModerationContext& ctx_;
  ActionPanel& panel_;
  kit::PopupMenu& group_menu_;
  kit::PopupMenu& cam_menu_;
};

}  // namespace tavlen
