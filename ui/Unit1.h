// The main console window: its menu, the action panel and user list laid out in
// it, its two 10 ms ticks, and the wiring of its widgets to the features.
#pragma once

#include <memory>

#include "kit/KTop.h"
#include "kit/Widgets.h"
#include "mixer/RecordingSourceSwitch.h"
#include "monitor/RuleTargets.h"
#include "moderation/ActionPanel.h"
#include "moderation/AutoKick.h"
#include "moderation/ModerationContext.h"
#include "moderation/QuickMenu.h"
#include "moderation/RoomMenus.h"
#include "userlist/NickCompletion.h"
#include "userlist/UserListPanel.h"

namespace tavlen {

class Console;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm7;
class TForm8;
class TForm9;
class TForm10;
class TForm11;
class TForm12;

// The secondary windows, created after the main window.
struct SecondaryForms {
  TForm2* Form2 = nullptr;
  TForm3* Form3 = nullptr;
  TForm4* Form4 = nullptr;
  TForm5* Form5 = nullptr;
  TForm7* Form7 = nullptr;
  TForm8* Form8 = nullptr;
  TForm9* Form9 = nullptr;
  TForm10* Form10 = nullptr;
  TForm11* Form11 = nullptr;
  TForm12* Form12 = nullptr;
};

class TForm1 : public kit::Form, private OwnerCommands {
 public:
  explicit TForm1(Console& console);
  ~TForm1() override;

  SecondaryForms forms;

  // Keeps the caption on the room's name and completes nicks in the room (10 ms).
  kit::Timer Timer3;
  // Follows the foreground window and closes the chooser the mouse has left (10 ms).
  kit::Timer Timer6;

  // Main menu.
  kit::MainMenu MainMenu1;
  kit::MenuItem* General1;
  kit::MenuItem* Quitter1;
  kit::MenuItem* Config1;
  kit::MenuItem* Editerlesmessages1;
  kit::MenuItem* ConfigurerlesHighlights1;
  kit::MenuItem* RaccourcisClavier1;
  kit::MenuItem* ConfigurationAudio1;
  kit::MenuItem* Dboguage1;
  kit::MenuItem* Commandes1;
  kit::MenuItem* Ajouter1;
  kit::MenuItem* AjouterOP1;
  kit::MenuItem* AjouterOPPLUS1;
  kit::MenuItem* RetirerAMISOPOP1;
  kit::MenuItem* N30sec1;
  kit::MenuItem* N60sec1;
  kit::MenuItem* N120sec1;
  kit::MenuItem* Illimit1;
  kit::MenuItem* Activer1;
  kit::MenuItem* Desactiver1;
  kit::MenuItem* Activer2;
  kit::MenuItem* Desactiver2;
  kit::MenuItem* CahngerleTopic1;
  kit::MenuItem* Effacerletopic1;
  kit::MenuItem* Raccourcisdesons1;
  kit::MenuItem* Reglageduvolume1;
  kit::MenuItem* SRCMIC1;
  kit::MenuItem* Aide1;
  kit::MenuItem* Aide2;
  kit::MenuItem* Apropos1;

  std::unique_ptr<TKTop> KTop1;

  // Moderation: the action panel, the quick reasons menu, the group and cam list
  // menus, the automatic kick (its nick and reason live in autoKick).
  ModerationContext moderation;
  ActionPanel panel;
  kit::PopupMenu spSkinPopupMenu1;
  kit::PopupMenu msggroupePopupMenu2;
  kit::PopupMenu camPopupMenu1;
  QuickMenu quickMenu;
  RoomMenus roomMenus;
  std::unique_ptr<AutoKick> autoKick;

  // The user list (ListBox1) with its count and kick labels, the nick chooser's
  // placement, and nick completion in the room's input box.
  UserListPanel users;
  NickCompletion completion;

  void FormCreate();
  void FormShow();
  // "Tavlen - " followed by the room name.
  void RefreshCaption();

 private:
  void BuildMenu();
  void WireMenu();
  void WireUserList();

  // What the rights rules unlock here: the owner's menu and buttons.
  void ShowCommandes() override;
  void UnlockRestricted() override;
  void RedrawMenu() override;

  Console& c_;
};

}  // namespace tavlen
