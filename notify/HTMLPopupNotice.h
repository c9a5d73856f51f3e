// What a keyword notification puts into its popup, and where the popup goes.
#pragma once

#include <string>
#include <string_view>

#include "platform/Types.h"

namespace tavlen {

// One line of markup: an empty line, then centred the speaker in bold blue 15-point
// type, the connecting words, and the word in bold red, all one anchor "activate".
// Speaker and word are escaped, so they show as typed.
std::string NotificationMarkup(std::string_view speaker, std::string_view word);

// Centred on the whole desktop, above a horizontal taskbar (wherever it is docked)
// or at the desktop's bottom otherwise.
Point NotificationPosition(int desktop_width, int desktop_height, const Rect& taskbar,
                           int popup_width, int popup_height);

}  // namespace tavlen
