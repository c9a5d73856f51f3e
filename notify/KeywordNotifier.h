// Keyword notifications: a watched word said in the room shows a popup by the
// taskbar for seven seconds, with the notification sound when it is switched on;
// a click on the popup's link brings the room window to the front.
#pragma once

#include <string>

#include "core/RoomState.h"
#include "kit/Widgets.h"
#include "monitor/RuleTargets.h"
#include "notify/HTMLPopup.h"
#include "notify/NotificationSettings.h"
#include "notify/SoundWorker.h"
#include "platform/Platform.h"

namespace tavlen {

class KeywordNotifier final : public KeywordWatch {
 public:
  KeywordNotifier(kit::Application& app, const Platform& platform, const RoomState& room);

  NotificationSettings notification;
  THTMLPopup HTMLPopup1;
  // Hides the popup seven seconds after the latest notification.
  kit::Timer Timer7;

  // Sound, popup near the bottom centre of the desktop, and its seven seconds.
  void NotifyKeyword(const std::string& speaker, const std::string& word) override;
  const std::deque<std::string>& WatchedWords() const override { return notification.NotificationWords; }
  void Timer7Timer();
  void HTMLPopup1AnchorClick(THTMLPopup& Sender, const std::string& Anchor);

 private:
  void abfThreadComponent1Execute(const std::string& sound_file);

  const Platform& platform_;
  const RoomState& room_;

 public:
  // Starts the notification sound off the UI thread. Declared last, so it is gone
  // before anything its thread uses.
  SoundWorker abfThreadComponent1;
};

}  // namespace tavlen
