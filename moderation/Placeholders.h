// The placeholders of catalogue messages: "$room" (the room name) and "$nick"
// (the target nick), replaced at sending time, never in the store.
#pragma once

#include <string>
#include <string_view>

namespace tavlen {

enum class PlaceholderOrder {
  kRoomOnly,      // public messages: "$nick" is sent as written
  kRoomThenNick,  // the panel's personal messages and sanctions
  kNickThenRoom,  // the quick menu
};

// Replaces every occurrence, left to right, continuing after each inserted value;
// the second replacement also acts on what the first one inserted.
std::string ExpandPlaceholders(std::string_view text, PlaceholderOrder order, std::string_view nick,
                               std::string_view room);

// Every occurrence of `from` in text replaced by `to` (case-sensitive).
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace tavlen
