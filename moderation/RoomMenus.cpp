#include "moderation/RoomMenus.h"

namespace tavlen {

RoomMenus::RoomMenus(ModerationContext& ctx, ActionPanel& panel, kit::PopupMenu& msggroupePopupMenu2,
                     kit::PopupMenu& camPopupMenu1)
    : ctx_(ctx), panel_(panel), group_menu_(msggroupePopupMenu2), cam_menu_(camPopupMenu1) {
  kit::MenuItem& group = group_menu_.root;
  Amis1 = &group.Add("Amis1", "Amis");
  OP1 = &group.Add("OP1", "OP");
  ADMINS1 = &group.Add("ADMINS1", "ADMINS");
  group.AddSeparator();
  OPAdmins1 = &group.Add("OPAdmins1", "OP && ADMINS");
  AmisOPAdmins1 = &group.Add("AmisOPAdmins1", "Amis,OP,ADMINS");
  Amis1->OnClick = [this] { Amis1Click(); };
  OP1->OnClick = [this] { OP1Click(); };
  ADMINS1->OnClick = [this] { ADMINS1Click(); };
  OPAdmins1->OnClick = [this] { OPAdmins1Click(); };
  AmisOPAdmins1->OnClick = [this] { AmisOPAdmins1Click(); };

  Regardequi1 = &cam_menu_.root.Add("Regardequi1", "Regarde qui ?");
  Vuparqui1 = &cam_menu_.root.Add("Vuparqui1", "Vu par qui ?");
  Regardequi1->OnClick = [this] { Regardequi1Click(); };
  Vuparqui1->OnClick = [this] { Vuparqui1Click(); };

  panel.spSkinSpeedButton2.OnMouseDown = [this](kit::MouseButton mouse, int, int) {
    spSkinSpeedButton2MouseDown(mouse);
  };
  panel.spSkinSpeedButton2.OnClick = [this] { spSkinSpeedButton2Click(); };
  panel.spSkinSpeedButton12.OnMouseDown = [this](kit::MouseButton mouse, int, int) {
    spSkinSpeedButton12MouseDown(mouse);
  };
}

void RoomMenus::spSkinSpeedButton2MouseDown(kit::MouseButton) {
  panel_.Fold();
  const kit::Button& b = panel_.spSkinSpeedButton2;
  group_menu_.Popup(ctx_.form.Left() + b.Left() - 31, ctx_.form.Top() + b.Top() + 57);
}

void RoomMenus::spSkinSpeedButton12MouseDown(kit::MouseButton) {
  panel_.Fold();
  const kit::Button& b = panel_.spSkinSpeedButton12;
  cam_menu_.Popup(ctx_.form.Left() + b.Left(), ctx_.form.Top() + b.Top() + 60);
}

void RoomMenus::GroupMessage(std::string_view group_caption, std::string_view prefix) {
  const std::string caption = "Envoyer un messages aux " + std::string(group_caption) + " de " + ctx_.room.RoomName;
  const std::string answer = ctx_.dialogs.InputBox(caption, "Ecrivez votre message :", "");
  if (answer.empty()) return;
  ctx_.line.send_to_camfrog(std::string(prefix) + answer);
}

void RoomMenus::Amis1Click() { GroupMessage("AMIS", "/msg 'f' (y) AUX AMIS (y) >> "); }
void RoomMenus::OP1Click() { GroupMessage("OP", "/msg 'op' (y) AUX OP (y) >> "); }
void RoomMenus::ADMINS1Click() { GroupMessage("ADMINS", "/msg 'w' (y) AUX ADMINS (y) >> "); }
void RoomMenus::OPAdmins1Click() { GroupMessage("OP,ADMINS", "/msg 'opw' (y) AUX OP,ADMINS (y) >> "); }
void RoomMenus::AmisOPAdmins1Click() {
  GroupMessage("AMIS,OP,ADMINS", "/msg 'opfw' (y) AUX AMIS,OP,ADMINS (y) >> ");
}

void RoomMenus::Regardequi1Click() { ctx_.line.send_to_camfrog("/watchlist " + Nick()); }
void RoomMenus::Vuparqui1Click() { ctx_.line.send_to_camfrog("/whowatching " + Nick()); }

void RoomMenus::StatusLine(std::string_view prefix, std::string_view suffix) {
  const std::string nick = Nick();
  if (nick.empty()) {
    ctx_.dialogs.ShowMessage(kNickMissing, {}, MessageIcon::kWarning);
    return;
  }
  ctx_.line.send_to_camfrog(std::string(prefix) + nick + std::string(suffix));
}

void RoomMenus::Ajouter1Click() { StatusLine("/addfriend ", ""); }
void RoomMenus::AjouterOP1Click() { StatusLine("/oplist add ", ""); }
void RoomMenus::AjouterOPPLUS1Click() { StatusLine("/oplist add ", " +"); }
void RoomMenus::RetirerAMISOPOP1Click() { StatusLine("/oplist remove ", ""); }

void RoomMenus::N30sec1Click() { ctx_.line.send_to_camfrog("/setopt talk_time 30"); }
void RoomMenus::N60sec1Click() { ctx_.line.send_to_camfrog("/setopt talk_time 60"); }
void RoomMenus::N120sec1Click() { ctx_.line.send_to_camfrog("/setopt talk_time 120"); }
void RoomMenus::Illimit1Click() { ctx_.line.send_to_camfrog("/setopt talk_time 0"); }
void RoomMenus::Activer2Click() { ctx_.line.send_to_camfrog("/moderator 1"); }
void RoomMenus::Desactiver2Click() { ctx_.line.send_to_camfrog("/moderator 0"); }

void RoomMenus::CahngerleTopic1Click() {
  const std::string topic = ctx_.dialogs.InputBox("Changement de topic", "Rentrez le topic", "");
  // Clearing the topic is "Effacer le topic"'s job: no answer, no line.
  if (topic.empty()) return;
  ctx_.line.send_to_camfrog("/topic " + topic);
}

void RoomMenus::Effacerletopic1Click() { ctx_.line.send_to_camfrog("/notopic"); }

}  // namespace tavlen
