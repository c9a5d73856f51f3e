// The Windowing port over the real Win32 calls (ANSI functions throughout).
// Sends carry SendMessageTimeout with SMTO_ABORTIFHUNG, so a hung or vanished
// client makes the call fail instead of freezing the console.
#pragma once

#include "platform/Windowing.h"

namespace tavlen {

class Win32Windowing final : public Windowing {
 public:
  // How long one send may wait for another program's window.
  static constexpr unsigned kSendTimeoutMs = 2000;

  Hwnd FindWindow(std::string_view class_name, std::string_view title) override;
  Hwnd GetWindow(Hwnd window, GetWindowCmd cmd) override;
  bool IsWindow(Hwnd window) override;
  std::string GetClassName(Hwnd window, int max_chars) override;
  std::string GetWindowText(Hwnd window, int max_chars) override;
  void ReadClassName(Hwnd window, int max_chars, std::string& out) override;
  void ReadWindowText(Hwnd window, int max_chars, std::string& out) override;

  std::string SendGetText(Hwnd window, std::size_t limit) override;
  void SendGetTextInto(Hwnd window, std::size_t limit, std::string& out) override;
  bool SendGetTextLength(Hwnd window, std::size_t& length) override;
  bool SendSetText(Hwnd window, std::string_view text) override;
  bool Send(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam,
            std::intptr_t* result = nullptr) override;
  bool Post(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) override;

  Hwnd GetForegroundWindow() override;
  bool SetForegroundWindow(Hwnd window) override;
  Rect GetWindowRect(Hwnd window) override;
  int VirtualScreenWidth() override;
  int VirtualScreenHeight() override;
  Rect WorkArea() override;
  Point CursorPos() override;
  std::uint32_t WindowProcessId(Hwnd window) override;
};

}  // namespace tavlen
