// The end of a transcript too long to read whole. WM_GETTEXT only reads from the
// start, so the last part is asked for with EM_GETTEXTRANGE through a block in
// the client's process.
#pragma once

#include <cstddef>
#include <string>

#include "platform/ProcessMemory.h"
#include "platform/Windowing.h"

namespace tavlen {

// The most of a transcript the console holds: about 50,000 lines of 80
// characters, a whole evening at one line a second and more. A read past it
// takes the last part only, so a control that claims a huge length costs at most
// this much.
inline constexpr std::size_t kTranscriptCeiling = 4u << 20;

// The text of rich edit `edit` from about `length` - `span` characters on,
// `length` being what WM_GETTEXTLENGTH said, with each paragraph ending in CR LF
// as WM_GETTEXT gives it and the first, cut, line left out. False when the client
// cannot be reached that way; `out` is then empty.
bool ReadRichEditTail(Windowing& w, ProcessMemory* memory, Hwnd edit, std::size_t length, std::size_t span,
                      std::string& out);

}  // namespace tavlen
