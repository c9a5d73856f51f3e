// The lines of the four sanctions (warn, kick, punish, ban) and of the actions
// without a reason, shared by the action panel and the quick menu.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "moderation/ModerationContext.h"

namespace tavlen {

enum class Sanction { kAvertir, kKicker, kPunir, kBannir };

// "AVERTIR", "KICKER", "PUNIR", "BANNIR"; nothing for any other caption.
std::optional<Sanction> SanctionNamed(std::string_view caption);

std::string WarnLine(std::string_view nick, std::string_view reason);
std::string KickLine(std::string_view nick, std::string_view reason, std::string_view own_nick);
// The punishment's duration from the amount as typed and the unit index
// (0 minutes, 1 hours, 2 days; anything else: empty).
std::string PunishDuration(std::string_view amount, int unit);
inline constexpr const char* kQuickPunishDuration = "3 days Puni{e} pour 3 jour{s}";

// Submits the sanction's line or lines; between two lines the thread sleeps one
// second. The nick is read again for each line.
void SubmitSanction(ModerationContext& ctx, Sanction sanction, const std::function<std::string()>& nick,
                    std::string_view reason, std::string_view duration);

// Two lines one second apart (the sleep handles nothing). A dropped first line
// does not stop the second.
void SubmitPair(ModerationContext& ctx, const std::string& first, const std::function<std::string()>& second);

}  // namespace tavlen
