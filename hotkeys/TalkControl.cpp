#include "hotkeys/TalkControl.h"

#include <algorithm>

#include "base/Text.h"
#include "hotkeys/SoundShortcut.h"

namespace tavlen {

namespace {
constexpr int kStatusShownMs = 1000;
// Shown instead of "MIC ON" / "MIC OFF" when the switch did not answer, in a
// popup as wide as the source switch's: at 14 points it wraps in 100 pixels.
constexpr const char* kSwitchStuck = "MIC BLOQUÉ";
constexpr int kSwitchStuckWidth = 250;
}  // namespace

std::string StatusLine(std::string_view text) {
  return "<P align=\"center\"><font size=+4>" + std::string(text) + "</font></P>";
}

TalkControl::TalkControl(TalkSwitch& talk, ControlAccess& controls, const RoomState& room, DebugLog& log,
                         THTMLPopup& status_popup, Clock& clock, TVolumeControl& volume,
                         const WaveLevels& levels)
    : talk_(talk),
      controls_(controls),
      room_(room),
      log_(log),
      popup_(status_popup),
      clock_(clock),
      volume_(volume),
      levels_(levels) {}

bool TalkControl::ClickWhile(Hwnd talk_switch, const std::function<bool(const std::string& talker)>& again) {
  const std::int64_t start = clock_.NowMs();
  for (int clicks = 0;; ++clicks) {
    if (!again(talk_.CurrentTalker())) return true;
    if (clicks >= kMaxClicks || clock_.NowMs() - start >= kMaxLoopMs) {
      log_.debog("-> routine TALK : le switch ne repond pas");
      return false;
    }
    talk_.ClickTalkSwitch(talk_switch);
  }
}

void TalkControl::ShowStatus(std::string_view text) {
  popup_.SetText({});
  popup_.SetText({StatusLine(text)});
  popup_.SlideIn();
  clock_.Sleep(kStatusShownMs);
  popup_.SlideOut();
}

void TalkControl::ShowStuck() {
  const int width = popup_.PopupWidth;
  const int widened = std::max(width, kSwitchStuckWidth);
  popup_.PopupWidth = widened;
  ShowStatus(ansi(kSwitchStuck));
  // Given back unless a source switch shown meanwhile set a width of its own.
  if (popup_.PopupWidth == widened) popup_.PopupWidth = width;
}

bool TalkControl::Press(Hwnd talk_switch) {
  const std::string talker = talk_.CurrentTalker();
  const std::string& own = room_.OwnNick;
  const auto is_own = [&own](const std::string& nick) { return !own.empty() && EqualsIgnoreCase(nick, own); };

  if (talker.empty()) {
    log_.debog("-> routine ACTIVATION TALK");
    const bool taken = ClickWhile(talk_switch, [](const std::string& t) { return t.empty(); });
    if (taken) ShowStatus("MIC ON");
    else ShowStuck();
  } else if (is_own(talker)) {
    log_.debog("-> routine DESACTIVATION TALK");
    const bool released = ClickWhile(talk_switch, is_own);
    controls_.SetOtherWindowMemoText(room_.RoomWindowTitle, "", true, false);
    if (released) ShowStatus("MIC OFF");
    else ShowStuck();
    // Undoes a level left by a sound shortcut played while talking.
    volume_.SetWaveVolume(WaveLevel(levels_.saved));
  }
  // Someone else holds the microphone: nothing to do.
  return false;
}

}  // namespace tavlen
