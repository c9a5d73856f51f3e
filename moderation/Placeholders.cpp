#include "moderation/Placeholders.h"

namespace tavlen {

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  std::size_t start = 0;
  for (std::size_t at = text.find(from); at != std::string_view::npos; at = text.find(from, start)) {
    out.append(text.substr(start, at - start));
    out.append(to);
    start = at + from.size();
  }
  out.append(text.substr(start));
  return out;
}

std::string ExpandPlaceholders(std::string_view text, PlaceholderOrder order, std::string_view nick,
                               std::string_view room) {
  switch (order) {
    case PlaceholderOrder::kRoomOnly:
      return ReplaceAll(text, "$room", room);
    case PlaceholderOrder::kRoomThenNick:
      return ReplaceAll(ReplaceAll(text, "$room", room), "$nick", nick);
    case PlaceholderOrder::kNickThenRoom:
      return ReplaceAll(ReplaceAll(text, "$nick", nick), "$room", room);
  }
  return std::string(text);
}

}  // namespace tavlen
