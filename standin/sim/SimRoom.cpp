#include "standin/sim/SimRoom.h"

#include <algorithm>
#include <cstring>

namespace tavlen::sim {

SimRoom::SimRoom(SimDesktop& desktop, standin::RoomConfig config, std::function<std::int64_t()> now,
                 SimProcessMemory* memory, int client_bits)
    : desktop_(desktop), memory_(memory), model_(std::move(config), std::move(now)), process_(desktop.NewProcess()) {
  const auto& cfg = model_.Config();
  window_ = desktop_.CreateTopLevel("CamfrogRoom", model_.Title(), process_, Rect{400, 0, 1200, 700});
  transcript_ = desktop_.CreateChild(window_, "RichEdit20A", "");
  input_ = desktop_.CreateChild(window_, "Edit", "");
  talk_switch_ = desktop_.CreateChild(window_, cfg.has_talk_switch ? "Button" : "Static", "Hands Free");
  tree_ = desktop_.CreateChild(window_, "SysTreeView32", "");
  for (int i = 0; i < cfg.filler_children; ++i)
    desktop_.CreateChild(window_, i % 2 ? "Static" : "Button", i % 2 ? "" : "Video " + std::to_string(i));
  indicator_ = desktop_.CreateChild(window_, "Button", "");

  desktop_.At(transcript_).handler = [this](SimWindow&, SimMessage& m) {
    if (m.msg == wm::kGetText) {
      m.text = model_.TranscriptText();
      m.result = static_cast<std::intptr_t>(m.text.size());
      return true;
    }
    if (m.msg == wm::kGetTextLength) {
      m.result = static_cast<std::intptr_t>(model_.TranscriptText().size());
      return true;
    }
    if (m.msg == wm::kEmGetTextRange) {
      m.result = AnswerTextRange(static_cast<RemoteAddress>(m.lparam));
      return true;
    }
    return false;
  };
  desktop_.At(input_).handler = [this](SimWindow& w, SimMessage& m) {
    switch (m.msg) {
      case wm::kKeyDown: {
        auto it = std::find_if(keydowns_.begin(), keydowns_.end(), [&](auto& p) { return p.first == w.handle; });
        if (it == keydowns_.end()) keydowns_.emplace_back(w.handle, 1);
        else ++it->second;
        if (OnKeyDown) OnKeyDown();
        if (m.wparam == wm::kVkReturn) model_.Submit();
        return true;
      }
      case wm::kGetText:
        m.text = model_.Input();
        m.result = static_cast<std::intptr_t>(m.text.size());
        return true;
      case wm::kGetTextLength:
        m.result = static_cast<std::intptr_t>(model_.Input().size());
        return true;
      case wm::kSetText:
        model_.SetInput(m.text);
        m.result = 1;
        return true;
      case wm::kEmSetSel:
        caret_ = static_cast<int>(m.wparam);
        return true;
      case wm::kSetFocus:
        ++focus_requests_;
        return true;
      default:
        return false;
    }
  };
  desktop_.At(talk_switch_).handler = [this](SimWindow&, SimMessage& m) {
    if (m.msg == wm::kLButtonDown) {
      button_down_ = true;
      return true;
    }
    if (m.msg == wm::kLButtonUp && button_down_) {
      button_down_ = false;
      ++clicks_;
      if (model_.Config().has_talk_switch) model_.ClickTalk();
      return true;
    }
    return false;
  };
  desktop_.At(window_).handler = [this](SimWindow&, SimMessage& m) {
    if (m.msg == wm::kSetFocus) ++focus_requests_;
    return false;
  };
  if (memory_) {
    memory_->AddProcess(process_, client_bits);
    tree_view_ = std::make_unique<SimTreeView>(desktop_, *memory_, tree_);
  }
  model_.OnChanged = [this] { Sync(); };
  Sync();
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
  part += '\0';
  if (!memory_->WriteOwn(process_, text_at, part.data(), part.size())) return 0;
  return last - first;
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
