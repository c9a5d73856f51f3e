// The console's lists of nicks present in the room: `UserList` on the main
// window and its exact copy in the nick chooser, brought up to date from the
// room's user tree.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "kit/Widgets.h"
#include "platform/ProcessMemory.h"
#include "platform/Windowing.h"

namespace tavlen {

// Texts of the client's tree that are never nicks.
bool IsTreePlaceholder(std::string_view text);

// Adds every nick of `texts` (placeholders and empty texts are none) missing
// from `user_list` at its sorted place in both lists (letter case and accents
// ignored, so one nick is listed once), then deletes from both lists the
// entries no longer among `texts`. Index i names the same nick in both lists.
void MergeUserList(const std::vector<std::string>& texts, kit::ItemList& user_list, kit::ItemList* chooser_list);

// Reads the tree and merges what it holds. Returns the texts read (`TreeItemTexts`).
std::vector<std::string> ReadTreeView(Windowing& windowing, ProcessMemory* memory, Hwnd tree,
                                      kit::ItemList& user_list, kit::ItemList* chooser_list);

}  // namespace tavlen
