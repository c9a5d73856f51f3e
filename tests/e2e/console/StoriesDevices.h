// The console's stories with the machine's own devices under Wine: the sound
// mixer, global hotkeys pressed on the X display, sound shortcuts, and the
// room's user tree read in the room's memory.
#pragma once

#include "tests/e2e/console/Session.h"

namespace e2e {

// No sound device: the missing-mixer box at start-up, dismissed; the console
// goes on and the "Mic"/"Mix" item still switches and slides the status popup.
void NoMixerStory(const Setup& setup);
// PulseAudio: the audio window lists Wine's mixers, its slider sets the chosen
// line's volume (read back through the mixer), "ENREGISTRER" writes config.ini
// and a console started on that file applies the stored level.
void MixerStory(const Setup& setup);

// hotkeys.ini registered with the system; TALK pressed on the keyboard takes
// and gives back the microphone with "MIC ON" / "MIC OFF"; BLOCKMIC blocks the
// talker; a combination another program holds is warned about.
void HotkeysStory(const Setup& setup);
// PulseAudio: a sound shortcut plays through MCI and its end is seen.
void SoundShortcutStory(const Setup& setup);

// A room of 500 users read across processes: the count label, the nick
// chooser, completion in the room's input box, the read's cost per item.
void UserTreeStory(const Setup& setup);

}  // namespace e2e
