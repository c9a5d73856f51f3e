#include "moderation/AutoKick.h"

#include <limits>
#include <stdexcept>

#include "base/Text.h"

namespace tavlen {

namespace {
// The timer counts milliseconds in a 32-bit signed integer.
constexpr long long kMaxSeconds = std::numeric_limits<std::int32_t>::max() / 1000;
}  // namespace

std::optional<long long> ParseKickSeconds(std::string_view answer) {
  const std::string text = TrimBlanks(answer);
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) throw std::invalid_argument("'" + text + "' is not a valid integer value");
  long long value = 0;
  bool too_large = false;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') throw std::invalid_argument("'" + text + "' is not a valid integer value");
    if (!too_large) value = value * 10 + (text[i] - '0');
    if (value > kMaxSeconds) too_large = true;
  }
  if (negative) return too_large ? std::numeric_limits<long long>::min() : -value;
  if (too_large) return std::nullopt;
  return value;
}

AutoKick::AutoKick(kit::Application& app, ModerationContext& ctx, ActionPanel& panel, kit::MenuItem& Activer1,
                   kit::MenuItem& Desactiver1)
    : Timer5(app, "Timer5", 30000, false), ctx_(ctx), panel_(panel), activer_(Activer1), desactiver_(Desactiver1) {
  Timer5.OnTimer = [this] { Timer5Timer(); };
}

void AutoKick::Activer1Click() {
  if (panel_.TargetNickBox().Text().empty()) {
    ctx_.dialogs.ShowMessage(kNickMissing, {}, MessageIcon::kWarning);
    return;
  }
  long long seconds = 0;
  for (;;) {
    const std::string answer = ctx_.dialogs.InputBox(
        ansi("Délai entre les KICKS"), "Indiquez le nombre de SECONDES entre chaque KICK (minimum: 10)", "");
    if (answer.empty()) return;
    // A count the timer cannot hold is asked again, like one below the minimum.
    const std::optional<long long> parsed = ParseKickSeconds(answer);
    if (parsed && *parsed >= kMinSeconds) {
      seconds = *parsed;
      break;
    }
  }
  const std::string reason =
      ctx_.dialogs.InputBox("Message de KICK", "Rentrer maintenant la raison du KICK AUTOMATIQUE", "");
  // A running automatic kick keeps its reason when this activation is abandoned.
  if (reason.empty()) return;
  AutoKickReason = reason;
  AutoKickNick = panel_.TargetNickBox().Text();
  // Off first so that the count restarts even when the period is unchanged.
  Timer5.SetEnabled(false);
  Timer5.SetInterval(static_cast<int>(seconds * 1000));
  Timer5.SetEnabled(true);
  activer_.SetChecked(true);
  desactiver_.SetChecked(false);
  ctx_.line.send_to_camfrog(KickLine());
}

void AutoKick::Desactiver1Click() {
  activer_.SetChecked(false);
  desactiver_.SetChecked(true);
  Timer5.SetEnabled(false);
}

void AutoKick::Timer5Timer() { ctx_.line.send_to_camfrog(KickLine()); }

}  // namespace tavlen
