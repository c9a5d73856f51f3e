#include "ui/Unit1.h"

#include "base/Text.h"
#include "ui/MenuIds.h"
#include "ui/Unit10.h"

namespace tavlen {

TForm1::TForm1(kit::Application& app, const Platform& p, DebugLog& debug_log)
    : kit::Form(app, "TForm1", "Tavlen"),
      platform(p),
      log(debug_log),
      Timer2(app, "Timer2", 2000, true),
      Timer3(app, "Timer3", 10, true),
      Timer4(app, "Timer4", 750, true),
      Timer5(app, "Timer5", 30000, false),
      Timer6(app, "Timer6", 10, true),
      Timer7(app, "Timer7", 7000, true),
      Timer8(app, "Timer8", 1, false),
      Timer9(app, "Timer9", 100, true),
      MainMenu1(app),
      ctx{p.windowing, app, room, debug_log, Timer4},
      controls(ctx),
      talk(ctx, controls),
      discovery(ctx, talk, *this),
      moderation{*this, room, p.dialogs, p.clock, [this](std::string_view line) { return send_to_camfrog(line); },
                 [this]() -> MessageCatalogue& { return Catalogue(); }},
      panel(moderation),
      HTMLPopup1(p.popups, p.metrics, p.windowing, p.clock),
      HTMLPopup2(p.popups, p.metrics, p.windowing, p.clock),
      interpreter(room, {}),
      WinampControl1(p.windowing),
      notification(p.exe_dir),
      abfThreadComponent1([this](const std::string& sound_file) { abfThreadComponent1Execute(sound_file); }),
      HotKeyNames(p.hotkeys),
      HotKeyManager1(p.hotkeys),
      VolumeControl1(p.volume),
      MediaPlayer1(p.sound.CreateMediaPlayer()),
      hotkeySounds(debug_log, VolumeControl1, *MediaPlayer1, Timer8, SavedWaveVolume, MusicVolume),
      talkControl(talk, controls, room, debug_log, HTMLPopup2, p.clock, VolumeControl1, SavedWaveVolume),
      hotkeyDispatch(debug_log, hotkeyTable, HotKeyNames, room, talk, controls, hotkeySounds),
      spSkinPopupMenu1(app, "spSkinPopupMenu1"),
      msggroupePopupMenu2(app, "msggroupePopupMenu2"),
      camPopupMenu1(app, "camPopupMenu1"),
      quickMenu(moderation, panel, spSkinPopupMenu1),
      roomMenus(moderation, panel, msggroupePopupMenu2, camPopupMenu1),
      users(*this, ctx, controls, p.memory, panel.Edit2, p.collation),
      completion(ctx, controls, users.ListBox1, panel.Edit2) {
  Menu = &MainMenu1;
  SetupPopups();
  BuildMenu();
  SetupMonitor();
  SetupHotkeys();
  SetupModeration();
  SetupUserList();
  Border = kit::BorderStyle::kSingle;
  SetBounds(8, 8, 327, 180);
  SetStayOnTop(true);

  OnShow = [this] { FormShow(); };
  OnCloseQuery = [this](bool& can_close) { FormCloseQuery(can_close); };
  Timer2.OnTimer = [this] { Timer2Timer(); };
  Timer3.OnTimer = [this] { Timer3Timer(); };
  Timer4.OnTimer = [this] { Timer4Timer(); };
  Timer6.OnTimer = [this] { Timer6Timer(); };
  Timer9.OnTimer = [this] { Timer9Timer(); };
  // A component, there whatever FormCreate does.
  KTop1 = std::make_unique<TKTop>(*this);
  // Guarded as every handler is: a failure here must not end the program.
  App().Dispatch([this] { FormCreate(); });
}

TForm1::~TForm1() = default;

void TForm1::BuildMenu() {
  using namespace menu_id;
  kit::MenuItem& root = MainMenu1.root;
  General1 = &root.Add("General1", "General");
  Quitter1 = &General1->Add("Quitter1", "Quitter", kQuitter);
  Quitter1->OnClick = [this] { Quitter1Click(); };

  Config1 = &root.Add("Config1", "Config.");
  Editerlesmessages1 = &Config1->Add("Editerlesmessages1", "Editer les messages", kEditerLesMessages);
  ConfigurerlesHighlights1 =
      &Config1->Add("ConfigurerlesHighlights1", "Configurer les notifications", kConfigurerLesNotifications);
  RaccourcisClavier1 = &Config1->Add("RaccourcisClavier1", "Raccourcis Clavier", kRaccourcisClavier);
  ConfigurationAudio1 = &Config1->Add("ConfigurationAudio1", "Configuration Audio", kConfigurationAudio);
  ConfigurationAudio1->OnClick = [this] { ConfigurationAudio1Click(); };
  Dboguage1 = &Config1->Add("Dboguage1", ansi("Déboguage"), kDeboguage);
  Dboguage1->OnClick = [this] { Dboguage1Click(); };

  Commandes1 = &root.Add("Commandes1", "Commandes");
  Commandes1->SetVisible(false);
  kit::MenuItem& statuts = Commandes1->Add("Statuts1", "Statuts");
  Ajouter1 = &statuts.Add("Ajouter1", "Ajouter Ami", kAjouterAmi);
  AjouterOP1 = &statuts.Add("AjouterOP1", "Ajouter OP", kAjouterOP);
  AjouterOPPLUS1 = &statuts.Add("AjouterOPPLUS1", "Ajouter OP +", kAjouterOPPlus);
  statuts.AddSeparator();
  RetirerAMISOPOP1 = &statuts.Add("RetirerAMISOPOP1", "Retirer Ami/OP/OP +", kRetirer);
  kit::MenuItem& talk_time = Commandes1->Add("Tempsdeparole1", "Temps de parole");
  N30sec1 = &talk_time.Add("N30sec1", ansi("Définir à 30 sec."), kTalk30);
  N60sec1 = &talk_time.Add("N60sec1", ansi("Définir à 60 sec."), kTalk60);
  N120sec1 = &talk_time.Add("N120sec1", ansi("Définir à 120 sec."), kTalk120);
  talk_time.AddSeparator();
  Illimit1 = &talk_time.Add("Illimit1", ansi("Temps de parole illimité"), kTalkIllimite);
  kit::MenuItem& auto_kick = Commandes1->Add("KICKautomatique1", "KICK automatique");
  Activer1 = &auto_kick.Add("Activer1", "Activer", kAutoKickActiver);
  Desactiver1 = &auto_kick.Add("Desactiver1", "Desactiver", kAutoKickDesactiver);
  Desactiver1->SetChecked(true);
  kit::MenuItem& moderated = Commandes1->Add("Modemodr1", ansi("Mode modéré"));
  Activer2 = &moderated.Add("Activer2", "Activer", kModereActiver);
  Desactiver2 = &moderated.Add("Desactiver2", "Desactiver", kModereDesactiver);
  kit::MenuItem& topic = Commandes1->Add("Topic1", "Topic");
  CahngerleTopic1 = &topic.Add("CahngerleTopic1", "Changer le Topic", kChangerTopic);
  Effacerletopic1 = &topic.Add("Effacerletopic1", "Effacer le topic", kEffacerTopic);
  Commandes1->AddSeparator();
  Raccourcisdesons1 = &Commandes1->Add("Raccourcisdesons1", "Raccourcis de sons", kRaccourcisDeSons);
  Reglageduvolume1 = &Commandes1->Add("Reglageduvolume1", "Reglage du volume", kReglageDuVolume);

  SRCMIC1 = &root.Add("SRCMIC1", "Mic", kMic);
  SRCMIC1->OnClick = [this] { SRCMIC1Click(); };

  Aide1 = &root.Add("Aide1", "?");
  Aide2 = &Aide1->Add("Aide2", "Aide", kAide);
  Apropos1 = &Aide1->Add("Apropos1", ansi("à propos"), kAPropos);
}

void TForm1::SetupPopups() {
  HTMLPopup1.PopupWidth = 200;
  HTMLPopup1.PopupHeight = 90;
  HTMLPopup1.AlwaysOnTop = true;
  HTMLPopup1.AutoHide = false;
  HTMLPopup1.BorderSize = 1;
  HTMLPopup1.Color = 16510681;  // light blue
  HTMLPopup1.PopupLeft = 0;
  HTMLPopup1.PopupTop = 500;
  HTMLPopup2.PopupWidth = 100;
  HTMLPopup2.PopupHeight = 50;
  HTMLPopup2.AlwaysOnTop = false;
  HTMLPopup2.AutoHide = true;
  HTMLPopup2.BorderSize = 0;
  HTMLPopup2.Color = clInfoBk;
}

void TForm1::FormCreate() {
  SavedWaveVolume = VolumeControl1.WaveVolume();
  loadhotkeys();
  room.VersionText = "Ver 1.0.1";
  room.RoomName = kDefaultRoom;
  room.RoomWindowTitle = room.RoomName + kRoomTitleSuffix;
  SetBounds(Left(), Top(), 327, ActionPanel::kCompactHeight);
  KTop1->SetKTop(true);
  panel.ComboBox1.SetItemIndex(2);  // "Jours"
}

void TForm1::FormShow() {
  LoadNotificationSettings();
  if (forms.Form2) Catalogue().LoadMessageCatalogue();
  if (!room.RightsKnown && !room.SetoptSent) {
    // Counted as asked while the submission runs: a user list tick run from its
    // message handling must not ask a second time.
    users.NoteSetopt(true);
    users.NoteSetopt(send_to_camfrog("/setopt"));
    room.SetoptSent = true;
  }
  RegisterAllHotkeys();
}

void TForm1::FormCloseQuery(bool& can_close) { can_close = false; }

void TForm1::Quitter1Click() { App().Terminate(); }

void TForm1::Dboguage1Click() {
  if (forms.Form10) forms.Form10->Show();
}

void TForm1::RefreshCaption() {
  // Every 10 ms: the caption is built only when it is not already the right one.
  constexpr std::string_view kPrefix = "Tavlen - ";
  const std::string_view caption = Text();
  if (caption.size() == kPrefix.size() + room.RoomName.size() && caption.starts_with(kPrefix) &&
      caption.ends_with(room.RoomName))
    return;
  SetText(std::string(kPrefix) + room.RoomName);
}

void TForm1::Timer3Timer() {
  RefreshCaption();
  completion.Tick();
}

void TForm1::Timer6Timer() {
  discovery.AdoptForegroundTitle();
  users.LeaveRule();
  discovery.SampleForeground();
}

void TForm1::Timer9Timer() { discovery.Timer9Timer(); }

}  // namespace tavlen
