// Finding a top-level window by its title, walking the desktop in Z order.
#pragma once

#include <string>
#include <string_view>

#include "platform/Windowing.h"

namespace tavlen {

// The first top-level window, from the top, whose title (read up to
// kSearchTitleLimit characters) equals `title` ignoring case, or with `partial`
// contains it case-sensitively. An empty title never matches.
Hwnd GetWindowHandle(Windowing& windowing, std::string_view title, bool partial);

// Every title is read up to this many characters, for the search as for the
// room's adopted title: with two limits a title longer than the smaller one (a
// room with a long topic) was adopted in a form the search never found.
inline constexpr int kSearchTitleLimit = 499;

// Direct children of a room window visited by one walk over them. A room has a
// few dozen (its talker indicator is the 26th); a window claiming thousands would
// otherwise cost thousands of calls to the system at every 10 ms tick. Under
// Wine each step to the next child is a round trip to the server, so a window
// of 5,000 children held the console's own window for tens of milliseconds at
// every walk with 256.
inline constexpr int kRoomChildCeiling = 128;

// The room window of an adopted title. A title at the read limit was cut, and
// the system's exact lookup cannot find it: the search compares it cut as well.
Hwnd FindRoomWindow(Windowing& windowing, std::string_view title);

// The room name carried by a room window title: the text before the first comma
// when there is one, else before the first blank.
std::string RoomNameFromTitle(const std::string& title);

// The window of the room that `title` named, now under another title: the client
// retitles its room window whenever the topic is set or cleared. The first window
// from the top whose title carries a room marker and the same room name.
Hwnd FindRetitledRoom(Windowing& windowing, const std::string& title);

// Whether a window whose title read `text` is the one GetWindowHandle looks for.
bool TitleMatches(std::string_view text, std::string_view title, bool partial);

}  // namespace tavlen
