// Finding a top-level window by its title, walking the desktop in Z order.
#pragma once

#include <string_view>

#include "platform/Windowing.h"

namespace tavlen {

// The first top-level window, from the top, whose title (read up to 254
// characters) equals `title` ignoring case, or with `partial` contains it
// case-sensitively. An empty title never matches.
Hwnd GetWindowHandle(Windowing& windowing, std::string_view title, bool partial);

}  // namespace tavlen
