// The main console window: room state, timers, main menu, and the composition of
// the subsystems' panels and handlers.
#pragma once

#include <memory>

#include "bridge/ControlAccess.h"
#include "bridge/RoomContext.h"
#include "bridge/RoomDiscovery.h"
#include "bridge/TalkSwitch.h"
#include "state/DebugLog.h"
#include "kit/KTop.h"
#include "state/RoomState.h"
#include "hotkeys/HotKeyManager.h"
#include "hotkeys/HotkeyDispatch.h"
#include "hotkeys/HotkeyTable.h"
#include "hotkeys/SoundShortcut.h"
#include "hotkeys/TalkControl.h"
#include "hotkeys/Volumes.h"
#include "kit/Widgets.h"
#include "moderation/ActionPanel.h"
#include "moderation/AutoKick.h"
#include "moderation/MessageCatalogue.h"
#include "moderation/ModerationContext.h"
#include "moderation/QuickMenu.h"
#include "moderation/RoomMenus.h"
#include "monitor/LineInterpreter.h"
#include "userlist/NickCompletion.h"
#include "monitor/TranscriptTracker.h"
#include "userlist/UserListPanel.h"
#include "monitor/WinampControl.h"
#include "notify/HTMLPopup.h"
#include "notify/NotificationSettings.h"
#include "notify/SoundWorker.h"
#include "ports/Platform.h"

namespace tavlen {

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

class TForm1 : public kit::Form {
 public:
  TForm1(kit::Application& app, const Platform& platform, DebugLog& log);
  ~TForm1() override;

  const Platform& platform;
  DebugLog& log;
  SecondaryForms forms;
  RoomState room;

  // Timers of the main window.
  kit::Timer Timer2, Timer3, Timer4, Timer5, Timer6, Timer7, Timer8, Timer9;

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

  // Subsystems.
  RoomContext ctx;
  ControlAccess controls;
  TalkSwitch talk;
  RoomDiscovery discovery;
  ModerationContext moderation;
  ActionPanel panel;
  std::unique_ptr<TKTop> KTop1;
  // Keyword notifications and the short status messages.
  THTMLPopup HTMLPopup1;
  THTMLPopup HTMLPopup2;

  // Room monitor (transcript tracker, line interpreter) and keyword notifications.
  TranscriptTracker tracker;
  LineInterpreter interpreter;
  TWinampControl WinampControl1;
  NotificationSettings notification;  // NotificationSoundFile
  SoundWorker abfThreadComponent1;    // starts the notification sound off the UI thread

  // Hotkeys, talk control, sound shortcuts and the wave volume.
  KeyNames HotKeyNames;
  THotKeyManager HotKeyManager1;
  HotkeyTable hotkeyTable;
  TVolumeControl VolumeControl1;
  int SavedWaveVolume = 0;
  int MusicVolume = 0;  // not stored: 0 until fixed in the volume window
  std::unique_ptr<MediaPlayer> MediaPlayer1;  // plays the hotkey sounds
  SoundShortcutPlayback hotkeySounds;
  TalkControl talkControl;
  HotkeyDispatch hotkeyDispatch;

  // Moderation: the quick reasons menu, the group and cam list menus, the
  // automatic kick (its nick and reason live in autoKick).
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

  // Handlers.
  void FormCreate();
  void FormShow();
  void FormCloseQuery(bool& can_close);
  void Quitter1Click();
  void Dboguage1Click();
  void Timer2Timer();
  void Timer3Timer();
  void Timer4Timer();
  void Timer6Timer();
  void ListBox1Click();
  void Edit2Click();
  void Edit2DblClick();
  void FormActivate();
  void FormMouseMove(int x, int y);
  void Label9MouseMove(int x, int y);
  void spDynamicSkinForm1MouseMoveEvent();
  void Timer9Timer();
  void Timer7Timer();
  void ConfigurerlesHighlights1Click();
  void HTMLPopup1AnchorClick(THTMLPopup& Sender, const std::string& Anchor);
  void abfThreadComponent1Execute(const std::string& sound_file);
  void SRCMIC1Click();
  void ConfigurationAudio1Click();
  void HotKeyManager1HotKeyPressed(HotKeyValue HotKey, std::uint16_t Index);
  void Timer8Timer();
  void RaccourcisClavier1Click();
  void Raccourcisdesons1Click();
  void Reglageduvolume1Click();
  void Editerlesmessages1Click();
  void Timer5Timer();

  // Shared operations.
  void debog(std::string line) { log.debog(std::move(line)); }
  bool send_to_camfrog(std::string_view line) { return controls.send_to_camfrog(line); }
  // "Tavlen - " followed by the room name.
  void RefreshCaption();
  // Switches the sound card's recording source to the stored microphone or music
  // selection, with its menu caption and status popup.
  enum class RecordingSource { kMic, kMix };
  void SelectRecordingSource(RecordingSource source);
  // Ends the program (after a box) when the own nick just learnt is empty.
  void check_right(const std::string& nick);
  // Sound, popup near the bottom centre of the desktop, and its seven seconds.
  void NotifyKeyword(const std::string& speaker, const std::string& word);
  // sounds.ini and highlight.ini, at start-up.
  void LoadNotificationSettings();
  // Registers one hotkey; a refusal is warned about in a box.
  void AddHotKey(HotKeyValue value);
  // hotkeys.ini in ExeDir.
  std::string HotkeysPath() const;
  void loadhotkeys();
  void RegisterAllHotkeys();
  void savehotkeys();
  void PlaySoundShortcut(std::string_view action) { hotkeySounds.PlaySoundShortcut(action); }

 private:
  void BuildMenu();
  void SetupPopups();
  void SetupMonitor();
  bool timer2_running_ = false;
  void SetupHotkeys();
  void SetupModeration();
  void SetupUserList();
  // The catalogue store of the editor window, read in place.
  MessageCatalogue& Catalogue();
};

}  // namespace tavlen
