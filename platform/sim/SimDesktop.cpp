#include "platform/sim/SimDesktop.h"

#include <algorithm>
#include <stdexcept>

#include "base/Text.h"

namespace tavlen::sim {

SimDesktop::SimDesktop() = default;

std::uint32_t SimDesktop::NewProcess() { return ++next_process_; }

SimWindow& SimDesktop::NewWindow(std::string class_name, std::string text, std::uint32_t process) {
  const Hwnd h = next_handle_ += 4;
  SimWindow& w = windows_[h];
  w.handle = h;
  w.class_name = std::move(class_name);
  w.text = std::move(text);
  w.process = process;
  return w;
}

Hwnd SimDesktop::CreateTopLevel(std::string class_name, std::string text, std::uint32_t process, Rect rect) {
  SimWindow& w = NewWindow(std::move(class_name), std::move(text), process);
  w.rect = rect;
  z_order_.insert(z_order_.begin(), w.handle);
  return w.handle;
}

Hwnd SimDesktop::CreateChild(Hwnd parent, std::string class_name, std::string text) {
  SimWindow& p = At(parent);
  SimWindow& w = NewWindow(std::move(class_name), std::move(text), p.process);
  w.parent = parent;
  p.children.push_back(w.handle);
  return w.handle;
}

void SimDesktop::Destroy(Hwnd window) {
  auto it = windows_.find(window);
  if (it == windows_.end()) return;
  const std::vector<Hwnd> children = it->second.children;
  for (Hwnd c : children) Destroy(c);
  it = windows_.find(window);
  if (it->second.parent != kNoWindow) {
    auto& siblings = windows_[it->second.parent].children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
  }
  z_order_.erase(std::remove(z_order_.begin(), z_order_.end(), window), z_order_.end());
  if (foreground_ == window) foreground_ = kNoWindow;
  windows_.erase(window);
}

void SimDesktop::KillProcess(std::uint32_t process) {
  std::vector<Hwnd> doomed;
  for (Hwnd h : z_order_)
    if (windows_[h].process == process) doomed.push_back(h);
  for (Hwnd h : doomed) Destroy(h);
}

SimWindow* SimDesktop::Find(Hwnd window) {
  auto it = windows_.find(window);
  return it == windows_.end() ? nullptr : &it->second;
}

SimWindow& SimDesktop::At(Hwnd window) {
  SimWindow* w = Find(window);
  if (!w) throw std::invalid_argument("no such sim window");
  return *w;
}

void SimDesktop::BringToTop(Hwnd window) {
  auto it = std::find(z_order_.begin(), z_order_.end(), window);
  if (it == z_order_.end()) return;
  z_order_.erase(it);
  z_order_.insert(z_order_.begin(), window);
}

void SimDesktop::SendToBottom(Hwnd window) {
  auto it = std::find(z_order_.begin(), z_order_.end(), window);
  if (it == z_order_.end()) return;
  z_order_.erase(it);
  z_order_.push_back(window);
}

void SimDesktop::Activate(Hwnd window) {
  BringToTop(window);
  foreground_ = window;
}

Hwnd SimDesktop::CreateTaskbar(Rect rect) {
  const Hwnd h = CreateTopLevel("Shell_TrayWnd", "", NewProcess(), rect);
  SendToBottom(h);
  return h;
}

std::vector<SimMessage> SimDesktop::PostedTo(Hwnd window) const {
  std::vector<SimMessage> out;
  for (const auto& [h, m] : posted_)
    if (h == window) out.push_back(m);
  return out;
}

Hwnd SimDesktop::FindWindow(std::string_view class_name, std::string_view title) {
  for (Hwnd h : z_order_) {
    const SimWindow& w = windows_[h];
    if (!class_name.empty() && !EqualsIgnoreCase(w.class_name, class_name)) continue;
    if (!title.empty() && !EqualsIgnoreCase(w.text, title)) continue;
    return h;
  }
  return kNoWindow;
}

Hwnd SimDesktop::GetWindow(Hwnd window, GetWindowCmd cmd) {
  const SimWindow* w = Find(window);
  if (!w) return kNoWindow;
  switch (cmd) {
    case GetWindowCmd::kChild:
      return w->children.empty() ? kNoWindow : w->children.front();
    case GetWindowCmd::kHwndFirst:
      if (w->parent == kNoWindow) return z_order_.empty() ? kNoWindow : z_order_.front();
      return windows_[w->parent].children.front();
    case GetWindowCmd::kHwndNext: {
      const std::vector<Hwnd>& siblings = w->parent == kNoWindow ? z_order_ : windows_[w->parent].children;
      auto it = std::find(siblings.begin(), siblings.end(), window);
      if (it == siblings.end() || ++it == siblings.end()) return kNoWindow;
      return *it;
    }
  }
  return kNoWindow;
}

bool SimDesktop::IsWindow(Hwnd window) { return window != kNoWindow && windows_.count(window) != 0; }

std::string SimDesktop::GetClassName(Hwnd window, int max_chars) {
  const SimWindow* w = Find(window);
  if (!w || max_chars <= 0) return {};
  return w->class_name.substr(0, static_cast<std::size_t>(max_chars));
}

std::string SimDesktop::GetWindowText(Hwnd window, int max_chars) {
  const SimWindow* w = Find(window);
  if (!w || max_chars <= 0) return {};
  return w->text.substr(0, static_cast<std::size_t>(max_chars));
}

void SimDesktop::ReadClassName(Hwnd window, int max_chars, std::string& out) {
  const SimWindow* w = Find(window);
  if (!w || max_chars <= 0) return out.clear();
  out.assign(w->class_name, 0, static_cast<std::size_t>(max_chars));
}

void SimDesktop::ReadWindowText(Hwnd window, int max_chars, std::string& out) {
  const SimWindow* w = Find(window);
  if (!w || max_chars <= 0) return out.clear();
  out.assign(w->text, 0, static_cast<std::size_t>(max_chars));
}

bool SimDesktop::Deliver(Hwnd window, SimMessage& m) {
  ++sends_;
  SimWindow* w = Find(window);
  if (!w || w->hung) return false;
  // Copies: the handler may destroy windows, including this one.
  auto handler = w->handler;
  if (handler && handler(*w, m)) return true;
  w = Find(window);
  if (!w) return true;
  switch (m.msg) {
    case wm::kGetText:
      m.text = w->text;
      m.result = static_cast<std::intptr_t>(w->text.size());
      break;
    case wm::kGetTextLength:
      m.result = static_cast<std::intptr_t>(w->text.size());
      break;
    case wm::kSetText:
      w->text = m.text;
      m.result = 1;
      break;
    default:
      m.result = 0;
  }
  return true;
}

std::string SimDesktop::SendGetText(Hwnd window, std::size_t limit) {
  std::string text;
  SendGetTextInto(window, limit, text);
  return text;
}

void SimDesktop::SendGetTextInto(Hwnd window, std::size_t limit, std::string& out) {
  out.clear();
  if (limit == 0) return;
  largest_text_buffer_ = std::max(largest_text_buffer_, limit);
  // The handler fills the caller's buffer.
  SimMessage m{wm::kGetText, limit, 0, std::move(out), 0};
  const bool delivered = Deliver(window, m);
  out = std::move(m.text);
  if (!delivered) {
    out.clear();
    return;
  }
  if (out.size() > limit - 1) out.resize(limit - 1);
  // WM_GETTEXT copies up to the first zero.
  if (auto z = out.find('\0'); z != std::string::npos) out.resize(z);
}

bool SimDesktop::SendGetTextLength(Hwnd window, std::size_t& length) {
  SimMessage m{wm::kGetTextLength, 0, 0, {}, 0};
  if (!Deliver(window, m)) return false;
  length = static_cast<std::size_t>(m.result);
  return true;
}

bool SimDesktop::SendSetText(Hwnd window, std::string_view text) {
  SimMessage m{wm::kSetText, 0, 0, std::string(text), 0};
  return Deliver(window, m);
}

bool SimDesktop::Send(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam, std::intptr_t* result) {
  SimMessage m{msg, wparam, lparam, {}, 0};
  if (!Deliver(window, m)) return false;
  if (result) *result = m.result;
  return true;
}

bool SimDesktop::Post(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
  if (!IsWindow(window)) return false;
  SimMessage m{msg, wparam, lparam, {}, 0};
  posted_.emplace_back(window, m);
  SimWindow& w = windows_[window];
  if (w.handler && !w.hung) {
    auto handler = w.handler;
    handler(w, m);
  }
  return true;
}

bool SimDesktop::SetForegroundWindow(Hwnd window) {
  if (!IsWindow(window)) return false;
  Activate(window);
  return true;
}

Rect SimDesktop::GetWindowRect(Hwnd window) {
  const SimWindow* w = Find(window);
  return w ? w->rect : Rect{};
}

std::uint32_t SimDesktop::WindowProcessId(Hwnd window) {
  const SimWindow* w = Find(window);
  return w ? w->process : 0;
}

}  // namespace tavlen::sim
