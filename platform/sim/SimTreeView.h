// A tree-view control of another program on the simulated desktop. It answers
// TVM_GETCOUNT, TVM_GETNEXTITEM (root, next visible: items of a collapsed group
// are skipped) and TVM_GETITEMA, whose request record and text buffer it reads
// and writes in its own process's simulated memory, in that process's layout.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimProcessMemory.h"

namespace tavlen::sim {

class SimTreeView {
 public:
  using Item = std::uint64_t;  // an item handle in the owning process; 0 = none

  // Answers the tree-view messages sent to `window`, an existing window whose
  // process is known to `memory`.
  SimTreeView(SimDesktop& desktop, SimProcessMemory& memory, Hwnd window);
  ~SimTreeView();
  SimTreeView(const SimTreeView&) = delete;
  SimTreeView& operator=(const SimTreeView&) = delete;

  // Adds an item under `parent` (0: a root item), after its last child.
  Item Add(Item parent, std::string text, bool expanded = true);
  void SetExpanded(Item item, bool expanded);
  void SetText(Item item, std::string text);
  void Remove(Item item);
  void Clear();
  int Count() const { return static_cast<int>(nodes_.size()); }
  // Texts of the visible items, in display order.
  std::vector<std::string> VisibleTexts() const;

  // Failure injection. The request for this item is answered FALSE.
  void FailRequest(Item item);
  // The control answers with a pointer to a copy of its own instead of filling
  // the caller's buffer; `readable` false leaves that pointer unreadable (a
  // transfer of the item's text that fails).
  void AnswerFromOwnStorage(Item item, bool readable);

  Hwnd Window() const { return window_; }
  std::uint64_t Messages() const { return messages_; }  // tree-view messages answered

  // Runs after each tree-view message is answered: the client changing its tree
  // between two messages of the reader, as it does when it handles its own input.
  std::function<void()> AfterMessage;
  // Requests naming an item the client has removed. A real control handed such
  // a handle reads, and may write, freed memory of its program.
  std::uint64_t StaleRequests() const { return stale_requests_; }

 private:
  struct Node {
    std::string text;
    Item parent = 0;
    std::vector<Item> children;
    bool expanded = true;
    bool fail_request = false;
    RemoteAddress own_text = 0;  // 0: copy into the caller's buffer
  };
  bool Handle(SimWindow& window, SimMessage& m);
  bool Answer(SimWindow& window, SimMessage& m);
  // A handle this control gave out at some time (handles are never reused).
  bool Issued(Item item) const;
  bool GetItem(std::uint32_t process, RemoteAddress record);
  void Visible(Item item, std::vector<Item>& out) const;
  const std::vector<Item>& VisibleOrder();
  void Changed() { visible_valid_ = false; }
  int Bits() const;

  SimDesktop& desktop_;
  SimProcessMemory& memory_;
  Hwnd window_;
  std::uint32_t process_;
  std::map<Item, Node> nodes_;
  std::vector<Item> roots_;
  Item next_item_;
  std::uint64_t messages_ = 0;
  static constexpr Item kItemStep = 0x40;
  Item first_item_;
  std::uint64_t stale_requests_ = 0;
  std::vector<Item> visible_;
  std::map<Item, std::size_t> visible_index_;
  bool visible_valid_ = false;
};

}  // namespace tavlen::sim
