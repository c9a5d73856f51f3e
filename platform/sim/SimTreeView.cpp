#include "platform/sim/SimTreeView.h"

#include <algorithm>
#include <array>

#include "platform/TreeViewItem.h"

namespace tavlen::sim {

SimTreeView::SimTreeView(SimDesktop& desktop, SimProcessMemory& memory, Hwnd window)
    : desktop_(desktop), memory_(memory), window_(window), process_(desktop.At(window).process) {
  // Handles look like the control's heap addresses: below 2 GiB in a 32-bit
  // process, above 4 GiB in a 64-bit one (a truncated handle then shows).
  next_item_ = first_item_ = Bits() == 32 ? 0x02A10000ull : 0x000001F4A0010000ull;
  desktop_.At(window_).handler = [this](SimWindow& w, SimMessage& m) { return Handle(w, m); };
}

SimTreeView::~SimTreeView() {
  if (SimWindow* w = desktop_.Find(window_)) w->handler = nullptr;
}

bool SimTreeView::Issued(Item item) const {
  return item > first_item_ && item <= next_item_ && (item - first_item_) % kItemStep == 0;
}

int SimTreeView::Bits() const { return memory_.ProcessBits(process_) == 32 ? 32 : 64; }

SimTreeView::Item SimTreeView::Add(Item parent, std::string text, bool expanded) {
  const Item item = next_item_ += kItemStep;
  Node& n = nodes_[item];
  n.text = std::move(text);
  n.parent = parent;
  n.expanded = expanded;
  if (parent) nodes_.at(parent).children.push_back(item);
  else roots_.push_back(item);
  Changed();
  return item;
}

void SimTreeView::SetExpanded(Item item, bool expanded) {
  nodes_.at(item).expanded = expanded;
  Changed();
}

void SimTreeView::SetText(Item item, std::string text) { nodes_.at(item).text = std::move(text); }

void SimTreeView::Remove(Item item) {
  const Node node = nodes_.at(item);
  for (Item child : node.children) Remove(child);
  auto& siblings = node.parent ? nodes_.at(node.parent).children : roots_;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), item), siblings.end());
  nodes_.erase(item);
  Changed();
}

void SimTreeView::Clear() {
  nodes_.clear();
  roots_.clear();
  Changed();
}

void SimTreeView::FailRequest(Item item) { nodes_.at(item).fail_request = true; }

void SimTreeView::AnswerFromOwnStorage(Item item, bool readable) {
  Node& n = nodes_.at(item);
  const std::string copy = n.text + '\0';
  n.own_text = memory_.AllocOwn(process_, copy.size(), mem::kReadWrite);
  memory_.WriteOwn(process_, n.own_text, copy.data(), copy.size());
  if (!readable) {
    // A pointer into a page nobody may read.
    n.own_text = memory_.AllocOwn(process_, copy.size(), mem::kNoAccess);
  }
}

void SimTreeView::Visible(Item item, std::vector<Item>& out) const {
  out.push_back(item);
  const Node& n = nodes_.at(item);
  if (!n.expanded) return;
  for (Item child : n.children) Visible(child, out);
}

const std::vector<SimTreeView::Item>& SimTreeView::VisibleOrder() {
  if (!visible_valid_) {
    visible_.clear();
    for (Item root : roots_) Visible(root, visible_);
    visible_index_.clear();
    for (std::size_t i = 0; i < visible_.size(); ++i) visible_index_[visible_[i]] = i;
    visible_valid_ = true;
  }
  return visible_;
}

std::vector<std::string> SimTreeView::VisibleTexts() const {
  std::vector<Item> items;
  for (Item root : roots_) Visible(root, items);
  std::vector<std::string> texts;
  for (Item i : items) texts.push_back(nodes_.at(i).text);
  return texts;
}

bool SimTreeView::Handle(SimWindow& window, SimMessage& m) {
  const bool handled = Answer(window, m);
  if (handled && AfterMessage) AfterMessage();
  return handled;
}

bool SimTreeView::Answer(SimWindow& window, SimMessage& m) {
  // A 32-bit control sees only the low half of what it is sent.
  const auto narrow = [&](std::uint64_t v) { return Bits() == 32 ? v & 0xFFFFFFFFull : v; };
  const auto lparam = narrow(static_cast<std::uint64_t>(m.lparam));
  switch (m.msg) {
    case wm::kTvmGetCount:
      ++messages_;
      m.result = static_cast<std::intptr_t>(nodes_.size());
      return true;
    case wm::kTvmGetNextItem: {
      ++messages_;
      m.result = 0;
      if (m.wparam == tv::kRoot) {
        if (!roots_.empty()) m.result = static_cast<std::intptr_t>(roots_.front());
      } else if (m.wparam == tv::kNextVisible) {
        const auto& order = VisibleOrder();
        auto it = visible_index_.find(lparam);
        if (it != visible_index_.end() && it->second + 1 < order.size())
          m.result = static_cast<std::intptr_t>(order[it->second + 1]);
      }
      return true;
    }
    case wm::kTvmGetItemA:
      ++messages_;
      m.result = GetItem(window.process, lparam) ? 1 : 0;
      return true;
    default:
      return false;
  }
}

bool SimTreeView::GetItem(std::uint32_t process, RemoteAddress record) {
  const tv::ItemLayout& l = tv::LayoutFor(Bits());
  std::array<std::uint8_t, tv::kItem64.size> storage{};
  const std::span<std::uint8_t> bytes(storage.data(), l.size);
  if (!memory_.ReadOwn(process, record, bytes.data(), bytes.size())) return false;
  const std::uint32_t mask = tv::Get32(bytes, l.mask);
  const Item item = tv::GetPointer(l, bytes, l.item);
  auto it = nodes_.find(item);
  if (it == nodes_.end() && Issued(item)) ++stale_requests_;
  if (it == nodes_.end() || it->second.fail_request) return false;
  const Node& n = it->second;
  if (mask & tv::kText) {
    if (n.own_text) {
      tv::PutPointer(l, bytes, l.text, n.own_text);
    } else {
      const auto capacity = static_cast<std::int32_t>(tv::Get32(bytes, l.text_max));
      if (capacity > 0) {
        std::string copy = n.text.substr(0, static_cast<std::size_t>(capacity - 1));
        copy += '\0';
        if (!memory_.WriteOwn(process, tv::GetPointer(l, bytes, l.text), copy.data(), copy.size())) return false;
      }
    }
  }
  if (mask & tv::kState)
    tv::Put32(bytes, l.state, n.expanded && !n.children.empty() ? tv::kStateExpanded : 0);
  if (mask & tv::kChildren) tv::Put32(bytes, l.children, n.children.empty() ? 0 : 1);
  if (mask & tv::kImage) tv::Put32(bytes, l.image, 0);
  if (mask & tv::kSelectedImage) tv::Put32(bytes, l.selected_image, 0);
  if (mask & tv::kParam) tv::PutPointer(l, bytes, l.param, it->first);
  return memory_.WriteOwn(process, record, bytes.data(), bytes.size());
}

}  // namespace tavlen::sim
