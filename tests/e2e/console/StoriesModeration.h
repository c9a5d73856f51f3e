// The moderation stories under Wine: the action panel, the quick reasons menu
// and the message editor, driven in the console's real windows.
#pragma once

#include "tests/e2e/console/Session.h"

namespace e2e {

// A moderator's evening in a room where the rights are OPPLUS: a kick with a
// reason from the list, a punishment in two lines, a custom warning typed in
// the prompt, a warning from the quick menu, a new catalogue entry saved by the
// editor. "Commandes" stays hidden and its entries out of reach.
void ModerationStory(const Setup& setup);

}  // namespace e2e
