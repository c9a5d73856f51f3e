// The room monitor's stories under Wine: what the console reads in the room's
// transcript and how it answers.
#pragma once

#include "tests/e2e/console/Session.h"

namespace e2e {

// An owner's room: its answer unlocks the "Commandes" menu, whose entries then
// reach the room; a watched word said while the room is not in front shows the
// notification, whose click brings the room to the front; "!titre" is answered
// with the player's song while the own nick holds the microphone.
void OwnerRoomMonitorStory(const Setup& setup);

}  // namespace e2e
