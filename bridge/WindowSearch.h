// Finding a top-level window by its title, walking the desktop in Z order.
#pragma once

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

// The room window of an adopted title. A title at the read limit was cut, and
// the system's exact lookup cannot find it: the search compares it cut as well.
Hwnd FindRoomWindow(Windowing& windowing, std::string_view title);

// Whether a window whose title read `text` is the one GetWindowHandle looks for.
bool TitleMatches(std::string_view text, std::string_view title, bool partial);

}  // namespace tavlen
