// The markup's colour values, and colours resolved against the user's scheme.
#pragma once

#include <optional>
#include <string_view>

#include "base/Colors.h"
#include "platform/PopupSurface.h"

namespace tavlen {

// System colours in the user's scheme, which the canvas knows; plain colours unchanged.
Rgb ResolveColor(TColor color, Canvas& canvas);

// "#RRGGBB" or a colour name such as "clNavy" (any case); nothing for an empty value.
// An unknown name or malformed number gives black.
std::optional<TColor> ParseMarkupColor(std::string_view value);

}  // namespace tavlen
