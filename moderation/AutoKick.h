// The automatic kick: one nick kicked at once and then again at a fixed interval
// of at least 10 seconds, until the moderator switches it off.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "kit/Widgets.h"
#include "moderation/ActionPanel.h"
#include "moderation/ModerationContext.h"

namespace tavlen {

class AutoKick {
 public:
  static constexpr long long kMinSeconds = 10;

  // The two entries carry the check marks.
  AutoKick(kit::Application& app, ModerationContext& ctx, ActionPanel& panel, kit::MenuItem& Activer1,
           kit::MenuItem& Desactiver1);

  void Activer1Click();
  void Desactiver1Click();
  void Timer5Timer();

  std::string KickLine() const { return "/kick " + AutoKickNick + " " + AutoKickReason; }
  bool Running() const { return Timer5.Enabled(); }

  // Fires the repeated kick, at the interval the moderator gave.
  kit::Timer Timer5;

  std::string AutoKickNick;
  std::string AutoKickReason;

 private:
  ModerationContext& ctx_;
  ActionPanel& panel_;
  kit::MenuItem& activer_;
  kit::MenuItem& desactiver_;
};

// The seconds of an interval answer: a whole number, blanks around it allowed.
// Throws std::invalid_argument for anything else. Values too large for the
// timer come back as nothing.
std::optional<long long> ParseKickSeconds(std::string_view answer);

}  // namespace tavlen
