#include "userlist/UserListSync.h"

#include <algorithm>
#include <array>

#include "base/Text.h"
#include "userlist/TreeViewReader.h"

namespace tavlen {

namespace {
constexpr std::array<std::string_view, 4> kPlaceholders = {"Visible Users", "Hidden Users", " Click name to view",
                                                           "No users are visible"};

// First index whose entry does not sort before `text`; the list is kept sorted
// in its own order.
// `hint` is tried first: the tree gives the nicks in the list's own order, so in
// a steady room each one's place follows the previous one's.
int LowerBound(const kit::ItemList& list, std::string_view text, int hint) {
  const int n = list.Count();
  const auto less = [&list](std::string_view a, std::string_view b) { return list.Compare(a, b) < 0; };
  if (hint >= 0 && hint <= n && (hint == 0 || less(list.Item(hint - 1), text)) &&
      (hint == n || !less(list.Item(hint), text)))
    return hint;
  int lo = 0;
  int hi = n;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (less(list.Item(mid), text)) lo = mid + 1;
    else hi = mid;
  }
  return lo;
}

// Entries the collation puts level with `text`, from its lower bound on; among
// them the one that is the same nick (a locale may also level texts that differ,
// a soft hyphen say, and two such nicks are two users).
template <typename Visit>
void ForEachLevel(const kit::ItemList& list, std::string_view text, int from, Visit visit) {
  for (int at = from; at < list.Count() && list.Compare(list.Item(at), text) == 0; ++at)
    if (SameTextAnsi(list.Item(at), text)) visit(at);
}

}  // namespace

bool IsTreePlaceholder(std::string_view text) {
  for (std::string_view p : kPlaceholders)
    if (text == p) return true;
  return false;
}

void MergeUserList(const std::vector<std::string>& texts, kit::ItemList& user_list, kit::ItemList* chooser_list) {
  int hint = 0;
  for (const std::string& text : texts) {
    // An item whose text never came (a control that answered without writing
    // it) is nobody.
    if (text.empty() || IsTreePlaceholder(text)) continue;
    const int at = LowerBound(user_list, text, hint);
    hint = at + 1;
    bool known = false;
    ForEachLevel(user_list, text, at, [&known](int) { known = true; });
    if (known) continue;
    user_list.Insert(at, text);
    if (chooser_list) chooser_list->Insert(at, text);
  }
  // The list is sorted (only this function fills it), so the entries equal to
  // a text lie from its lower bound on.
  std::vector<char> present(static_cast<std::size_t>(user_list.Count()), 0);
  hint = 0;
  for (const std::string& text : texts) {
    int at = LowerBound(user_list, text, hint);
    hint = at + 1;
    ForEachLevel(user_list, text, at, [&present](int same) { present[static_cast<std::size_t>(same)] = 1; });
  }
  for (int i = user_list.Count() - 1; i >= 0; --i) {
    if (present[i]) continue;
    user_list.Delete(i);
    if (chooser_list) chooser_list->Delete(i);
  }
}

std::vector<std::string> ReadTreeView(Windowing& windowing, ProcessMemory* memory, Hwnd tree,
                                      kit::ItemList& user_list, kit::ItemList* chooser_list) {
  std::vector<std::string> texts = ReadTreeItemTexts(windowing, memory, tree);
  MergeUserList(texts, user_list, chooser_list);
  return texts;
}

}  // namespace tavlen
