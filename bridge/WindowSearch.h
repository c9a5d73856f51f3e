// Finding a top-level window by its title, walking the desktop in Z order.
#pragma once

#include <string_view>

#include "platform/Windowing.h"

namespace tavlen {

// The first top-level window, from the top, whose title (read up to 254
// characters) equals `title` ignoring case, or with `partial` contains it
// case-sensitively. An empty title never matches.
Hwnd GetWindowHandle(Windowing& windowing, std::string_view title, bool partial);

// Titles are read up to this many characters for the search.
inline constexpr int kSearchTitleLimit = 254;

// Whether a window whose title read `text` is the one GetWindowHandle looks for.
bool TitleMatches(std::string_view text, std::string_view title, bool partial);

}  // namespace tavlen
