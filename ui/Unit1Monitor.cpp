// The main window's room monitor and keyword notifications: the 2-second
// transcript tick, the rules' actions, the notification popup and its settings.
#include "bridge/WindowSearch.h"
#include "base/Text.h"
#include "notify/HTMLPopupNotice.h"
#include "ports/Dialogs.h"
#include "ports/SoundApi.h"
#include "ui/Unit1.h"
#include "ui/Unit5.h"

namespace tavlen {

namespace {
const std::deque<std::string> kNoWords;
constexpr const char* kTaskbarClass = "Shell_TrayWnd";
constexpr const char* kActivateAnchor = "activate";
}  // namespace

void TForm1::SetupMonitor() {
  LineInterpreter::Actions actions;
  actions.check_right = [this](const std::string& nick) { check_right(nick); };
  actions.show_commandes = [this] { Commandes1->SetVisible(true); };
  actions.unlock_restricted = [this] { panel.UnlockRestricted(); };
  actions.redraw_menu_bar = [this] { RedrawMenuBar(); };
  actions.notification_words = [this]() -> const std::deque<std::string>& {
    return forms.Form5 ? forms.Form5->NotificationWords() : kNoWords;
  };
  actions.notify_keyword = [this](const std::string& speaker, const std::string& word) {
    NotifyKeyword(speaker, word);
  };
  actions.current_talker = [this] { return talk.CurrentTalker(); };
  actions.now_playing_title = [this] { return WinampControl1.NowPlayingTitle(); };
  actions.send_to_camfrog = [this](std::string_view line) { return send_to_camfrog(line); };
  interpreter.SetActions(std::move(actions));

  Timer7.OnTimer = [this] { Timer7Timer(); };
  // The popup window reports clicks from its own procedure: through the error guard.
  HTMLPopup1.OnAnchorClick = [this](THTMLPopup& Sender, const std::string& Anchor) {
    App().Dispatch([&] { HTMLPopup1AnchorClick(Sender, Anchor); });
  };
  ConfigurerlesHighlights1->OnClick = [this] { ConfigurerlesHighlights1Click(); };
}

void TForm1::Timer2Timer() {
  // A tick arriving while a submission of this one handles pending events would
  // interleave its lines with the batch still being interpreted.
  if (timer2_running_) return;
  timer2_running_ = true;
  struct Reset {
    bool& running;
    ~Reset() { running = false; }
  } reset{timer2_running_};

  controls.ReadOtherWindowMemoText(room.RoomWindowTitle, "RichEdit20A", 0, tracker.NextReading());
  const TranscriptBatch batch = tracker.TrackNextReading();
  interpreter.FirstPass(batch.lines);
  if (batch.all_rules) interpreter.SecondPass(batch.lines);
}

void TForm1::check_right(const std::string& nick) {
  if (!TrimBlanks(nick).empty()) return;
  platform.dialogs.ShowMessage(ansi("Problème de récupération du pseudo !"), {}, MessageIcon::kError);
  App().Terminate();
}

void TForm1::NotifyKeyword(const std::string& speaker, const std::string& word) {
  if (forms.Form5 && forms.Form5->NotificationSoundEnabled()) abfThreadComponent1.Start(notification.NotificationSoundFile);

  Windowing& w = platform.windowing;
  const Hwnd taskbar = w.FindWindow(kTaskbarClass, {});
  const Rect taskbar_rect = taskbar != kNoWindow ? w.GetWindowRect(taskbar) : Rect{};
  HTMLPopup1.SetText({NotificationMarkup(speaker, word)});
  const Point at = NotificationPosition(w.VirtualScreenWidth(), w.VirtualScreenHeight(), taskbar_rect,
                                        HTMLPopup1.PopupWidth, HTMLPopup1.PopupHeight);
  HTMLPopup1.PopupLeft = at.x;
  HTMLPopup1.PopupTop = at.y;
  HTMLPopup1.ShowPopup();
  // Seven seconds from the latest notification.
  Timer7.SetEnabled(false);
  Timer7.SetEnabled(true);
}

void TForm1::abfThreadComponent1Execute(const std::string& sound_file) {
  if (!sound_file.empty()) platform.sound.PlaySound(sound_file, true);
}

void TForm1::Timer7Timer() {
  HTMLPopup1.HidePopup();
  Timer7.SetEnabled(false);
}

void TForm1::HTMLPopup1AnchorClick(THTMLPopup& Sender, const std::string& Anchor) {
  Windowing& w = platform.windowing;
  if (Anchor == kActivateAnchor) w.SetForegroundWindow(GetWindowHandle(w, room.RoomWindowTitle, true));
  // A minimised room window comes back too.
  const Hwnd exact = GetWindowHandle(w, room.RoomWindowTitle, false);
  if (exact != kNoWindow) w.Post(exact, wm::kSysCommand, wm::kScRestore, 0);
}

void TForm1::LoadNotificationSettings() {
  if (!forms.Form5) return;
  if (forms.Form5->LoadSoundFile()) forms.Form5->CheckBox1.SetChecked(true);
  forms.Form5->LoadWords();
}

void TForm1::ConfigurerlesHighlights1Click() {
  if (forms.Form5) forms.Form5->ShowModal();
}

}  // namespace tavlen
