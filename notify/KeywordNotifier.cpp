#include "notify/KeywordNotifier.h"

#include "bridge/WindowSearch.h"
#include "notify/HTMLPopupNotice.h"
#include "platform/SoundApi.h"

namespace tavlen {

namespace {
constexpr const char* kTaskbarClass = "Shell_TrayWnd";
constexpr const char* kActivateAnchor = "activate";
}  // namespace

KeywordNotifier::KeywordNotifier(kit::Application& app, const Platform& platform, const RoomState& room)
    : notification(platform.exe_dir),
      HTMLPopup1(platform.popups, platform.metrics, platform.windowing, platform.clock),
      Timer7(app, "Timer7", 7000, true),
      platform_(platform),
      room_(room),
      abfThreadComponent1([this](const std::string& sound_file) { abfThreadComponent1Execute(sound_file); }) {
  HTMLPopup1.PopupWidth = 200;
  HTMLPopup1.PopupHeight = 90;
  HTMLPopup1.AlwaysOnTop = true;
  HTMLPopup1.AutoHide = false;
  HTMLPopup1.BorderSize = 1;
  HTMLPopup1.Color = 16510681;  // light blue
  HTMLPopup1.PopupLeft = 0;
  HTMLPopup1.PopupTop = 500;
  Timer7.OnTimer = [this] { Timer7Timer(); };
  // The popup window reports clicks from its own procedure: through the error guard.
  HTMLPopup1.OnAnchorClick = [this, &app](THTMLPopup& Sender, const std::string& Anchor) {
    app.Dispatch([&] { HTMLPopup1AnchorClick(Sender, Anchor); });
  };
}

void KeywordNotifier::NotifyKeyword(const std::string& speaker, const std::string& word) {
  if (notification.NotificationSoundEnabled) abfThreadComponent1.Start(notification.NotificationSoundFile);

  Windowing& w = platform_.windowing;
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

void KeywordNotifier::abfThreadComponent1Execute(const std::string& sound_file) {
  if (!sound_file.empty()) platform_.sound.PlaySound(sound_file, true);
}

void KeywordNotifier::Timer7Timer() {
  HTMLPopup1.HidePopup();
  Timer7.SetEnabled(false);
}

void KeywordNotifier::HTMLPopup1AnchorClick(THTMLPopup&, const std::string& Anchor) {
  Windowing& w = platform_.windowing;
  if (Anchor == kActivateAnchor) w.SetForegroundWindow(GetWindowHandle(w, room_.RoomWindowTitle, true));
  // A minimised room window comes back too.
  const Hwnd exact = GetWindowHandle(w, room_.RoomWindowTitle, false);
  if (exact != kNoWindow) w.Post(exact, wm::kSysCommand, wm::kScRestore, 0);
}

}  // namespace tavlen
