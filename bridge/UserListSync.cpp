#include "bridge/UserListSync.h"

#include <array>
#include <set>

#include "bridge/TreeViewReader.h"
#include "core/Text.h"

namespace tavlen {

namespace {
constexpr std::array<std::string_view, 4> kPlaceholders = {"Visible Users", "Hidden Users", " Click name to view",
                                                           "No users are visible"};

struct AnsiLess {
  bool operator()(const std::string& a, const std::string& b) const { return CompareTextAnsi(a, b) < 0; }
};

// First index whose entry does not sort before `text`; the list is kept sorted.
int LowerBound(const kit::ItemList& list, std::string_view text) {
  int lo = 0;
  int hi = list.Count();
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (CompareTextAnsi(list.Item(mid), text) < 0) lo = mid + 1;
    else hi = mid;
  }
  return lo;
}
}  // namespace

bool IsTreePlaceholder(std::string_view text) {
  for (std::string_view p : kPlaceholders)
    if (text == p) return true;
  return false;
}

void MergeUserList(const std::vector<std::string>& texts, kit::ItemList& user_list, kit::ItemList* chooser_list) {
  for (const std::string& text : texts) {
    if (IsTreePlaceholder(text)) continue;
    const int at = LowerBound(user_list, text);
    if (at < user_list.Count() && SameTextAnsi(user_list.Item(at), text)) continue;
    user_list.Insert(at, text);
    if (chooser_list) chooser_list->Insert(at, text);
  }
  const std::set<std::string, AnsiLess> present(texts.begin(), texts.end());
  for (int i = user_list.Count() - 1; i >= 0; --i) {
    if (present.count(user_list.Item(i))) continue;
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
