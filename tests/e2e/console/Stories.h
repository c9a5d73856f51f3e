// The console's stories under Wine, each with its own console and rooms.
#pragma once

#include "tests/e2e/console/Session.h"

namespace e2e {

// Start-up in the default room, the rights read back, typing and clicking in
// the console, the talk and block hotkeys, refused close requests, the end of
// the Windows session.
void DefaultRoomStory(const Setup& setup);
// No room, a room adopted, the room closed, "Quitter".
void DiscoveryStory(const Setup& setup);

// The demo: the room with users and chat, the console beside it, left running.
bool DemoStart(const Setup& setup);
// The main window, a notification, the chooser and the editor at the desktop's
// scale (the harness runs it at 96, 144 and 192 DPI).
void ScalesStory(const Setup& setup);
// A benchmark, run only when asked for: how long the console takes to act beside
// a room of 500 users saying a line a second (plus the room variant of
// Setup::room_args): a submission's Enter key-downs, KICKER, PUNIR, a hotkey, a
// notification's click, start-up. One "-- latency: ACTION median=… max=…
// window_max=… n=…" line per action; no time fails it.
void LatencyStory(const Setup& setup);
// Ends what DemoStart left running.
bool DemoStop();

}  // namespace e2e
