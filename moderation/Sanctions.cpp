#include "moderation/Sanctions.h"

namespace tavlen {

std::optional<Sanction> SanctionNamed(std::string_view caption) {
  if (caption == "AVERTIR") return Sanction::kAvertir;
  if (caption == "KICKER") return Sanction::kKicker;
  if (caption == "PUNIR") return Sanction::kPunir;
  if (caption == "BANNIR") return Sanction::kBannir;
  return std::nullopt;
}

std::string WarnLine(std::string_view nick, std::string_view reason) {
  return "(ST) " + std::string(nick) + " (ST), " + std::string(reason);
}

std::string KickLine(std::string_view nick, std::string_view reason, std::string_view own_nick) {
  return "/kick " + std::string(nick) + " " + std::string(reason) + " (" + std::string(own_nick) + ")";
}

std::string PunishDuration(std::string_view amount, int unit) {
  const std::string a(amount);
  switch (unit) {
    case 0: return a + " minutes Puni{e} pour " + a + " minute{s}";
    case 1: return a + " hours Puni{e} pour " + a + " heure{s}";
    case 2: return a + " days Puni{e} pour " + a + " jour{s}";
    default: return {};
  }
}

void SubmitPair(ModerationContext& ctx, const std::string& first, const std::function<std::string()>& second) {
  ctx.line.send_to_camfrog(first);
  ctx.clock.Sleep(kPairPauseMs);
  ctx.line.send_to_camfrog(second());
}

void SubmitSanction(ModerationContext& ctx, Sanction sanction, const std::function<std::string()>& nick,
                    std::string_view reason, std::string_view duration) {
  const std::string why(reason);
  auto kick = [&] { return KickLine(nick(), why, ctx.room.OwnNick); };
  switch (sanction) {
    case Sanction::kAvertir:
      ctx.line.send_to_camfrog(WarnLine(nick(), why));
      break;
    case Sanction::kKicker:
      ctx.line.send_to_camfrog(kick());
      break;
    case Sanction::kPunir:
      SubmitPair(ctx, "/punish " + nick() + " " + std::string(duration), kick);
      break;
    case Sanction::kBannir:
      SubmitPair(ctx, "/ban " + nick(), kick);
      break;
  }
}

}  // namespace tavlen
