#include "standin/sim/SimRoom.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <span>

#include "platform/TreeViewItem.h"

namespace tavlen::sim {

SimRoom::SimRoom(SimDesktop& desktop, standin::RoomConfig config, std::function<std::int64_t()> now,
                 SimProcessMemory* memory, int client_bits)
    : desktop_(desktop), memory_(memory), model_(std::move(config), std::move(now)), process_(desktop.NewProcess()) {
  if (memory_) memory_->AddProcess(process_, client_bits);
  Build();
  model_.OnChanged = [this] { Sync(); };
}

void SimRoom::Build() {
  const auto& cfg = model_.Config();
  const standin::RoomLies& lies = cfg.lies;
  window_ = desktop_.CreateTopLevel("CamfrogRoom", model_.Title(), process_, Rect{400, 0, 1200, 700});
  transcript_ = desktop_.CreateChild(window_, "RichEdit20A", "");
  input_ = desktop_.CreateChild(window_, "Edit", "");
  talk_switch_ = desktop_.CreateChild(window_, cfg.has_talk_switch ? "Button" : "Static", "Hands Free");
  tree_ = desktop_.CreateChild(window_, "SysTreeView32", "");
  for (int i = 0; i < cfg.filler_children; ++i)
    desktop_.CreateChild(window_, i % 2 ? "Static" : "Button", i % 2 ? "" : "Video " + std::to_string(i));
  indicator_ = desktop_.CreateChild(window_, "Button", "");
  if (lies.Has(standin::Lie::kCrowd)) {
    for (int i = 0; i < standin::kCrowdChildren; ++i)
      desktop_.CreateChild(window_, i % 2 ? "Static" : "Button", i % 2 ? "" : "Cam " + std::to_string(i));
    ++lies_told_;
  }

  desktop_.At(transcript_).handler = [this](SimWindow&, SimMessage& m) {
    const standin::RoomLies& lies = model_.Config().lies;
    if (m.msg == wm::kGetText) {
      GiveText(m, model_.TranscriptText());
    } else if (m.msg == wm::kGetTextLength) {
      m.result = static_cast<std::intptr_t>(model_.TranscriptText().size());
      const bool huge = lies.Has(standin::Lie::kHugeLength);
      const bool negative = lies.Has(standin::Lie::kNegativeLength);
      // Both: one then the other.
      if (huge && (!negative || length_reads_ % 2 == 0)) m.result = static_cast<std::intptr_t>(standin::kLyingTextLength);
      else if (negative) m.result = -1;
      if (huge || negative) ++lies_told_;
      ++length_reads_;
    } else if (m.msg == wm::kEmGetTextRange) {
      m.result = AnswerTextRange(static_cast<RemoteAddress>(m.lparam));
    } else {
      return false;
    }
    Answered();
    return true;
  };
  desktop_.At(input_).handler = [this](SimWindow& w, SimMessage& m) {
    switch (m.msg) {
      case wm::kKeyDown: {
        auto it = std::find_if(keydowns_.begin(), keydowns_.end(), [&](auto& p) { return p.first == w.handle; });
        if (it == keydowns_.end()) keydowns_.emplace_back(w.handle, 1);
        else ++it->second;
        if (OnKeyDown) OnKeyDown();
        if (m.wparam == wm::kVkReturn) model_.Submit();
        break;
      }
      case wm::kGetText:
        GiveText(m, model_.Input());
        break;
      case wm::kGetTextLength:
        m.result = static_cast<std::intptr_t>(model_.Input().size());
        break;
      case wm::kSetText:
        model_.SetInput(m.text);
        m.result = 1;
        break;
      case wm::kEmSetSel:
        caret_ = static_cast<int>(m.wparam);
        break;
      case wm::kSetFocus:
        ++focus_requests_;
        break;
      default:
        return false;
    }
    Answered();
    return true;
  };
  desktop_.At(talk_switch_).handler = [this](SimWindow& w, SimMessage& m) {
    const standin::RoomLies& lies = model_.Config().lies;
    if (m.msg == wm::kLButtonDown) {
      button_down_ = true;
    } else if (m.msg == wm::kLButtonUp && button_down_) {
      button_down_ = false;
      ++clicks_;
      if (model_.Config().has_talk_switch) model_.ClickTalk();
    } else if (m.msg == wm::kGetText && lies.Has(standin::Lie::kRenamingSwitch)) {
      w.text = standin::SwitchCaption(lies, switch_reads_++);
      if (w.text != "Hands Free") ++lies_told_;
      m.text = w.text;
      m.result = static_cast<std::intptr_t>(m.text.size());
    } else {
      return false;
    }
    Answered();
    return true;
  };
  if (lies.Has(standin::Lie::kNoTerminator))
    desktop_.At(indicator_).handler = [this](SimWindow&, SimMessage& m) {
      if (m.msg != wm::kGetText) return false;
      GiveText(m, model_.Talker());
      Answered();
      return true;
    };
  desktop_.At(window_).handler = [this](SimWindow&, SimMessage& m) {
    if (m.msg == wm::kSetFocus) ++focus_requests_;
    return false;
  };
  if (memory_) {
    tree_view_ = std::make_unique<SimTreeView>(desktop_, *memory_, tree_);
    if (lies.Any()) {
      SimWindow& tree = desktop_.At(tree_);
      tree.handler = [this, honest = tree.handler](SimWindow& w, SimMessage& m) { return TreeAnswer(honest, w, m); };
    }
  }
  shown_tree_.clear();
  Sync();
}

void SimRoom::GiveText(SimMessage& m, const std::string& text) {
  if (model_.Config().lies.Has(standin::Lie::kNoTerminator) && m.wparam > 0) {
    ++lies_told_;
    m.text = standin::Unterminated(text, m.wparam);
    m.result = static_cast<std::intptr_t>(m.wparam + 1000);
  } else {
    m.text = text;
    m.result = static_cast<std::intptr_t>(m.text.size());
  }
}

bool SimRoom::TreeAnswer(const std::function<bool(SimWindow&, SimMessage&)>& honest, SimWindow& w,
                         SimMessage& m) {
  const standin::RoomLies& lies = model_.Config().lies;
  using standin::Lie;
  bool handled = true;
  if (m.msg == wm::kTvmGetItemA && item_requests_++ % 2 == 1 &&
      (lies.Has(Lie::kUnwrittenItem) || lies.Has(Lie::kWildText))) {
    // Every other request is lied about; with both lies, in turn.
    const bool unwritten = lies.Has(Lie::kUnwrittenItem) && (!lies.Has(Lie::kWildText) || item_requests_ % 4 == 2);
    ++lies_told_;
    if (unwritten) {
      m.result = 1;
    } else {
      handled = honest(w, m);
      if (m.result) PointTextOutside(static_cast<RemoteAddress>(m.lparam));
    }
  } else {
    handled = honest(w, m);
    if (m.msg == wm::kTvmGetCount && lies.Has(Lie::kHugeCount)) {
      m.result = static_cast<std::intptr_t>(standin::kLyingItemCount);
      ++lies_told_;
    }
    if (m.msg == wm::kTvmGetNextItem && m.wparam == tv::kNextVisible && m.result == 0 && lies.Has(Lie::kCycle)) {
      SimMessage root{wm::kTvmGetNextItem, tv::kRoot, 0, {}, 0};
      honest(w, root);
      m.result = root.result;
      ++lies_told_;
    }
    if (m.msg == wm::kTvmGetItemA && m.result && lies.Has(Lie::kNoTerminator))
      FillWithoutTerminator(static_cast<RemoteAddress>(m.lparam));
  }
  if (handled) Answered();
  return handled;
}

void SimRoom::FillWithoutTerminator(RemoteAddress record) {
  const tv::ItemLayout& l = tv::LayoutFor(memory_->ProcessBits(process_));
  std::array<std::uint8_t, tv::kItem64.size> bytes{};
  const std::span<std::uint8_t> r(bytes.data(), l.size);
  if (!memory_->ReadOwn(process_, record, r.data(), r.size())) return;
  const RemoteAddress at = tv::GetPointer(l, r, l.text);
  // The caller's capacity, as a control trusts it; no more than a page here.
  const auto capacity = std::min<std::uint32_t>(tv::Get32(r, l.text_max), 4096);
  std::string text(capacity, '\0');
  if (capacity == 0 || !memory_->ReadOwn(process_, at, text.data(), text.size())) return;
  text = standin::Unterminated(text.substr(0, text.find('\0')), capacity);
  memory_->WriteOwn(process_, at, text.data(), text.size());
  ++lies_told_;
}

void SimRoom::PointTextOutside(RemoteAddress record) {
  const tv::ItemLayout& l = tv::LayoutFor(memory_->ProcessBits(process_));
  std::array<std::uint8_t, tv::kItem64.size> bytes{};
  const std::span<std::uint8_t> r(bytes.data(), l.size);
  if (!memory_->ReadOwn(process_, record, r.data(), r.size())) return;
  // Nowhere, the program's own image (readable, not the caller's), its last
  // bytes (a read of a whole buffer runs off its end), and memory nobody mapped.
  constexpr RemoteAddress kWild[] = {0, 0x400000, 0x404FF0, 0xDEAD0000};
  tv::PutPointer(l, r, l.text, kWild[wild_answers_++ % std::size(kWild)]);
  memory_->WriteOwn(process_, record, r.data(), r.size());
}

void SimRoom::Answered() {
  if (!model_.Config().lies.Has(standin::Lie::kReborn) || rebuilding_) return;
  if (++messages_ % standin::kRebornEveryMessages == 0) Rebuild();
}

void SimRoom::Rebuild() {
  rebuilding_ = true;
  tree_view_.reset();
  desktop_.Destroy(window_);
  Build();
  ++lies_told_;
  rebuilding_ = false;
}

SimRoom::~SimRoom() { Close(); }

// As a rich edit answers: positions count a paragraph as one character, the text
// ends each paragraph with CR alone and is followed by a zero.
std::intptr_t SimRoom::AnswerTextRange(RemoteAddress range_at) {
  if (!memory_) return 0;
  const bool wide = memory_->ProcessBits(process_) == 64;
  std::uint8_t range[16] = {};
  if (!memory_->ReadOwn(process_, range_at, range, wide ? 16 : 12)) return 0;
  std::int32_t first = 0, last = 0;
  std::memcpy(&first, range, 4);
  std::memcpy(&last, range + 4, 4);
  RemoteAddress text_at = 0;
  std::memcpy(&text_at, range + 8, wide ? 8 : 4);
  std::string rich;
  for (const char c : model_.TranscriptText())
    if (c != '\n' || rich.empty() || rich.back() != '\r') rich += c;
  const auto size = static_cast<std::int32_t>(rich.size());
  if (last == -1 || last > size) last = size;
  if (first < 0 || first >= last) return 0;
  std::string part = rich.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(last - first));
  // A liar leaves out the terminator and counts more than it wrote.
  const bool unterminated = model_.Config().lies.Has(standin::Lie::kNoTerminator);
  if (!unterminated) part += '\0';
  if (!memory_->WriteOwn(process_, text_at, part.data(), part.size())) return 0;
  if (unterminated) ++lies_told_;
  return last - first + (unterminated ? 1000 : 0);
}

bool SimRoom::Open() const { return desktop_.IsWindow(window_); }

void SimRoom::Sync() {
  if (SimWindow* w = desktop_.Find(window_)) w->text = model_.Title();
  if (SimWindow* ind = desktop_.Find(indicator_)) ind->text = model_.Talker();
  SyncTree();
}

void SimRoom::SyncTree() {
  if (!tree_view_) return;
  std::vector<standin::TreeNode> tree = model_.UserTree();
  if (tree == shown_tree_) return;
  tree_view_->Clear();
  AddNodes(0, tree);
  shown_tree_ = std::move(tree);
}

void SimRoom::AddNodes(SimTreeView::Item parent, const std::vector<standin::TreeNode>& nodes) {
  for (const auto& node : nodes) AddNodes(tree_view_->Add(parent, node.text, node.expanded), node.children);
}

void SimRoom::Type(const std::string& text) {
  model_.SetInput(text);
}

std::string SimRoom::InputText() const { return model_.Input(); }

int SimRoom::KeyDownsTo(Hwnd control) const {
  for (const auto& [h, n] : keydowns_)
    if (h == control) return n;
  return 0;
}

void SimRoom::Close() {
  model_.OnChanged = nullptr;
  tree_view_.reset();
  desktop_.Destroy(window_);
  // The client's process ends with its window.
  if (memory_) memory_->KillProcess(process_);
}

void SimRoom::SetHung(bool hung) {
  if (SimWindow* w = desktop_.Find(window_)) w->hung = hung;
  if (SimWindow* w = desktop_.Find(window_))
    for (Hwnd c : w->children)
      if (SimWindow* child = desktop_.Find(c)) child->hung = hung;
}

}  // namespace tavlen::sim
