// A console watching the stand-in room "le_salon_bleu", the default room, so the
// start-up "/setopt" reaches it.
#pragma once

#include "base/Text.h"
#include "ConsoleFixture.h"
#include "monitor/LineInterpreter.h"
#include "notify/HTMLPopupNotice.h"

namespace tavlen::testing {

class MonitorTest : public ConsoleTest {
 protected:
  sim::SimRoom* salon = nullptr;

  // Opens the room, starts the console and lets the first monitor tick read the
  // client's answer to "/setopt".
  sim::SimRoom& StartInRoom(standin::RoomConfig config = {}) {
    salon = &world.open_room("le_salon_bleu", std::move(config));
    Start();
    Tick();
    return *salon;
  }
  standin::RoomModel& model() { return salon->Model(); }
  // Exactly one monitor tick.
  void Tick() { world.advance(2000ms); }
  bool RestrictedEnabled() {
    return main().panel.spSkinSpeedButton5.Enabled() && main().panel.spSkinSpeedButton9.Enabled() &&
           main().panel.spSkinSpeedButton11.Enabled();
  }
  bool AnyRestrictedEnabled() {
    return main().panel.spSkinSpeedButton5.Enabled() || main().panel.spSkinSpeedButton9.Enabled() ||
           main().panel.spSkinSpeedButton11.Enabled();
  }
  // The song answers the room received.
  Lines Answers() {
    Lines answers;
    for (const auto& line : salon->SubmittedLines())
      if (line.starts_with(LineInterpreter::kSongAnnouncement)) answers.push_back(line);
    return answers;
  }
  // A notification replaces the popup's text: clearing it shows whether one came.
  void ForgetPopupText() { console->notifier.HTMLPopup1.SetText({}); }
  bool Notified() { return !console->notifier.HTMLPopup1.Text().empty(); }
  std::string PopupText() { return Notified() ? console->notifier.HTMLPopup1.Text().front() : std::string(); }
};

}  // namespace tavlen::testing
