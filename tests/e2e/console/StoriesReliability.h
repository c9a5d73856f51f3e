// Reliability under Wine: a settings save the system refuses, a chat client that
// dies or stops answering in the middle of what the console does with it, and
// one that lies.
#pragma once

#include "tests/e2e/console/Session.h"

namespace e2e {

// hotkeys.ini made read-only: "Valider" leaves the file as it was and the window
// open; once the file is writable again the same click saves.
void ReadOnlySettingsStory(const Setup& setup);
// The console in folders named with accents and in Cyrillic: the hotkeys.ini
// beside it is read, a save lands there, and a restart reads it again.
void InstallFolderStory(const Setup& setup);
// The stand-in killed in the middle of a user tree read, of a submission and of a
// talk loop, and a stand-in that stops handling messages: the console keeps
// answering within 2 s, goes inactive, and takes the room again when a client
// comes back.
void ClientFaultsStory(const Setup& setup);
// A minute beside a stand-in that tells every lie (standin/RoomLies.h): the
// console keeps running and answering, its private bytes stay under 20 MB, and
// once the liar is closed it adopts an honest room and works with it.
void LyingRoomStory(const Setup& setup);

}  // namespace e2e
