#include "ui/Unit1.h"

#include "base/Text.h"
#include "ui/Console.h"
#include "ui/MenuIds.h"

namespace tavlen {

TForm1::TForm1(Console& c)
    : kit::Form(c.app, "TForm1", "Tavlen"),
      Timer3(c.app, "Timer3", 10, true),
      Timer6(c.app, "Timer6", 10, true),
      MainMenu1(c.app),
      moderation{*this,
                 c.room,
                 c.platform.dialogs,
                 c.platform.clock,
                 c.controls,
                 c.catalogue},
      panel(moderation),
      spSkinPopupMenu1(c.app, "spSkinPopupMenu1"),
      msggroupePopupMenu2(c.app, "msggroupePopupMenu2"),
      camPopupMenu1(c.app, "camPopupMenu1"),
      quickMenu(moderation, panel, spSkinPopupMenu1),
      roomMenus(moderation, panel, msggroupePopupMenu2, camPopupMenu1),
      users(*this, c.ctx, c.controls, c.platform.memory, c.platform.background, panel.Edit2, c.platform.collation),
      completion(c.ctx, c.controls, users.ListBox1, panel.Edit2),
      c_(c) {
  Menu = &MainMenu1;
  BuildMenu();
  autoKick = std::make_unique<AutoKick>(c.app, moderation, panel, *Activer1, *Desactiver1);
  WireMenu();
  c_.monitor.interpreter.SetOwnerCommands(this);
  WireUserList();
  Border = kit::BorderStyle::kSingle;
  SetBounds(8, 8, 327, 180);
  SetStayOnTop(true);

  OnShow = [this] { FormShow(); };
  // The console ends through "Quitter" only.
  OnCloseQuery = [](bool& can_close) { can_close = false; };
  Timer3.OnTimer = [this] {
    RefreshCaption();
    completion.Tick();
  };
  Timer6.OnTimer = [this] {
    c_.discovery.AdoptForegroundTitle();
    users.LeaveRule();
    c_.discovery.SampleForeground();
  };
  c.discovery.OnCaption = [this](const std::string& caption) { SetText(caption); };
  // A component, there whatever FormCreate does.
  KTop1 = std::make_unique<TKTop>(*this);
  // Guarded as every handler is: a failure here must not end the program.
  App().Dispatch([this] { FormCreate(); });
}

TForm1::~TForm1() {
  c_.monitor.interpreter.SetOwnerCommands(nullptr);
  c_.recordingSource.OnSelected = nullptr;
}

void TForm1::BuildMenu() {
  using namespace menu_id;
  kit::MenuItem& root = MainMenu1.root;
  General1 = &root.Add("General1", "General");
  Quitter1 = &General1->Add("Quitter1", "Quitter", kQuitter);

  Config1 = &root.Add("Config1", "Config.");
  Editerlesmessages1 = &Config1->Add("Editerlesmessages1", "Editer les messages", kEditerLesMessages);
  ConfigurerlesHighlights1 =
      &Config1->Add("ConfigurerlesHighlights1", "Configurer les notifications", kConfigurerLesNotifications);
  RaccourcisClavier1 = &Config1->Add("RaccourcisClavier1", "Raccourcis Clavier", kRaccourcisClavier);
  ConfigurationAudio1 = &Config1->Add("ConfigurationAudio1", "Configuration Audio", kConfigurationAudio);
  Dboguage1 = &Config1->Add("Dboguage1", ansi("Déboguage"), kDeboguage);

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

  Aide1 = &root.Add("Aide1", "?");
  Aide2 = &Aide1->Add("Aide2", "Aide", kAide);
  Apropos1 = &Aide1->Add("Apropos1", ansi("à propos"), kAPropos);
}

void TForm1::WireMenu() {
  Quitter1->OnClick = [this] { App().Terminate(); };
  Editerlesmessages1->OnClick = [this] {
    panel.Fold();
    forms.Form2->OpenEditor();
  };
  ConfigurerlesHighlights1->OnClick = [this] { forms.Form5->ShowModal(); };
  RaccourcisClavier1->OnClick = [this] { forms.Form7->OpenFromTable(); };
  // The window shows the state it was left in.
  ConfigurationAudio1->OnClick = [this] {
    c_.recordingSource.SettingsChosen = true;
    forms.Form12->ShowModal();
  };
  Dboguage1->OnClick = [this] { forms.Form10->Show(); };

  Ajouter1->OnClick = [this] { roomMenus.Ajouter1Click(); };
  AjouterOP1->OnClick = [this] { roomMenus.AjouterOP1Click(); };
  AjouterOPPLUS1->OnClick = [this] { roomMenus.AjouterOPPLUS1Click(); };
  RetirerAMISOPOP1->OnClick = [this] { roomMenus.RetirerAMISOPOP1Click(); };
  N30sec1->OnClick = [this] { roomMenus.N30sec1Click(); };
  N60sec1->OnClick = [this] { roomMenus.N60sec1Click(); };
  N120sec1->OnClick = [this] { roomMenus.N120sec1Click(); };
  Illimit1->OnClick = [this] { roomMenus.Illimit1Click(); };
  Activer1->OnClick = [this] { autoKick->Activer1Click(); };
  Desactiver1->OnClick = [this] { autoKick->Desactiver1Click(); };
  Activer2->OnClick = [this] { roomMenus.Activer2Click(); };
  Desactiver2->OnClick = [this] { roomMenus.Desactiver2Click(); };
  CahngerleTopic1->OnClick = [this] { roomMenus.CahngerleTopic1Click(); };
  Effacerletopic1->OnClick = [this] { roomMenus.Effacerletopic1Click(); };
  Raccourcisdesons1->OnClick = [this] { forms.Form8->OpenFromTable(); };
  Reglageduvolume1->OnClick = [this] { forms.Form9->OpenAtDeviceLevel(); };

  // The caption names the source selected last; a click selects the other one.
  using Source = RecordingSourceSwitch::Source;
  SRCMIC1->OnClick = [this] { c_.recordingSource.Select(SRCMIC1->Caption() == "Mix" ? Source::kMic : Source::kMix); };
  c_.recordingSource.OnSelected = [this](Source source) {
    SRCMIC1->SetCaption(source == Source::kMic ? "Mic" : "Mix");
    RedrawMenuBar();
  };
  Aide2->OnClick = [this] { forms.Form11->ShowModal(); };
  Apropos1->OnClick = [this] { forms.Form3->ShowModal(); };
}

void TForm1::ShowCommandes() { Commandes1->SetVisible(true); }
void TForm1::UnlockRestricted() { panel.UnlockRestricted(); }
void TForm1::RedrawMenu() { RedrawMenuBar(); }

void TForm1::WireUserList() {
  users.KeepOnTop = [this] {
    if (KTop1) KTop1->SetKTop(true);
  };
  panel.Edit2.OnClick = [this] { users.Edit2Click(); };
  panel.Edit2.OnDblClick = [this] { users.Edit2DblClick(); };
  // The chooser closes whenever the main window takes the mouse or the focus.
  panel.Label9.OnMouseMove = [this](int, int) { users.CloseChooser(); };
  OnActivate = [this] { users.CloseChooser(); };
  OnMouseMove = [this](int, int) { users.CloseChooser(); };
  OnFrameMouseMove = [this] { users.CloseChooser(); };
}

void TForm1::FormCreate() {
  c_.levels.saved = c_.VolumeControl1.WaveVolume();
  c_.hotkeys.loadhotkeys();
  RoomState& room = c_.room;
  room.VersionText = "Ver 1.0.1";
  room.RoomName = kDefaultRoom;
  room.RoomWindowTitle = room.RoomName + kRoomTitleSuffix;
  SetBounds(Left(), Top(), 327, ActionPanel::kCompactHeight);
  KTop1->SetKTop(true);
  panel.ComboBox1.SetItemIndex(2);  // "Jours"
}

void TForm1::FormShow() {
  if (forms.Form5) forms.Form5->LoadAtStartUp();
  c_.catalogue.LoadMessageCatalogue();
  RoomState& room = c_.room;
  if (!room.RightsKnown && !room.SetoptSent) {
    // Counted as asked while the submission runs: a user list tick run from its
    // message handling must not ask a second time.
    users.NoteSetopt(true);
    users.NoteSetopt(c_.controls.send_to_camfrog("/setopt"));
    room.SetoptSent = true;
  }
  c_.hotkeys.RegisterAllHotkeys();
}

void TForm1::RefreshCaption() {
  // Every 10 ms: the caption is built only when it is not already the right one.
  constexpr std::string_view kPrefix = "Tavlen - ";
  const std::string_view caption = Text();
  const std::string& name = c_.room.RoomName;
  if (caption.size() == kPrefix.size() + name.size() && caption.starts_with(kPrefix) && caption.ends_with(name))
    return;
  SetText(std::string(kPrefix) + name);
}

}  // namespace tavlen
