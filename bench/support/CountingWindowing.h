// The Windowing port with a count of the calls made through it: the calls that
// reach the window system (under Wine each one is a round trip to the server)
// and, among them, the messages sent to another program's windows.
#pragma once

#include <cstdint>

#include "platform/Windowing.h"

namespace tavlen::bench {

class CountingWindowing final : public Windowing {
 public:
  explicit CountingWindowing(Windowing& inner) : w_(inner) {}

  std::uint64_t Calls() const { return calls_; }
  std::uint64_t Sends() const { return sends_; }
  // Walks over the top-level windows: each starts with a search naming nothing.
  std::uint64_t DesktopWalks() const { return walks_; }

  Hwnd FindWindow(std::string_view class_name, std::string_view title) override {
    if (class_name.empty() && title.empty()) ++walks_;
    return ++calls_, w_.FindWindow(class_name, title);
  }
  Hwnd GetWindow(Hwnd window, GetWindowCmd cmd) override { return ++calls_, w_.GetWindow(window, cmd); }
  bool IsWindow(Hwnd window) override { return ++calls_, w_.IsWindow(window); }
  std::string GetClassName(Hwnd window, int max_chars) override {
    return ++calls_, w_.GetClassName(window, max_chars);
  }
  std::string GetWindowText(Hwnd window, int max_chars) override {
    return ++calls_, w_.GetWindowText(window, max_chars);
  }
  void ReadClassName(Hwnd window, int max_chars, std::string& out) override {
    ++calls_;
    w_.ReadClassName(window, max_chars, out);
  }
  void ReadWindowText(Hwnd window, int max_chars, std::string& out) override {
    ++calls_;
    w_.ReadWindowText(window, max_chars, out);
  }
  std::string SendGetText(Hwnd window, std::size_t limit) override {
    return Sent(), w_.SendGetText(window, limit);
  }
  void SendGetTextInto(Hwnd window, std::size_t limit, std::string& out) override {
    Sent();
    w_.SendGetTextInto(window, limit, out);
  }
  bool SendGetTextLength(Hwnd window, std::size_t& length) override {
    return Sent(), w_.SendGetTextLength(window, length);
  }
  bool SendSetText(Hwnd window, std::string_view text) override { return Sent(), w_.SendSetText(window, text); }
  bool Send(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam,
            std::intptr_t* result = nullptr) override {
    return Sent(), w_.Send(window, msg, wparam, lparam, result);
  }
  bool Post(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) override {
    return ++calls_, w_.Post(window, msg, wparam, lparam);
  }
  Hwnd GetForegroundWindow() override { return ++calls_, w_.GetForegroundWindow(); }
  bool SetForegroundWindow(Hwnd window) override { return ++calls_, w_.SetForegroundWindow(window); }
  Rect GetWindowRect(Hwnd window) override { return ++calls_, w_.GetWindowRect(window); }
  int VirtualScreenWidth() override { return w_.VirtualScreenWidth(); }
  int VirtualScreenHeight() override { return w_.VirtualScreenHeight(); }
  Rect WorkArea() override { return w_.WorkArea(); }
  Point CursorPos() override { return ++calls_, w_.CursorPos(); }
  std::uint32_t WindowProcessId(Hwnd window) override { return ++calls_, w_.WindowProcessId(window); }

 private:
  void Sent() {
    ++calls_;
    ++sends_;
  }
  Windowing& w_;
  std::uint64_t calls_ = 0;
  std::uint64_t sends_ = 0;
  std::uint64_t walks_ = 0;
};

}  // namespace tavlen::bench
