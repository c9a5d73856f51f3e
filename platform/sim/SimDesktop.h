// The simulated desktop: top-level windows in Z order, their children, texts,
// owning processes, a per-window message handler, the foreground window and the
// desktop geometry. Sends to a window marked hung fail as a timed-out send does.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Windowing.h"

namespace tavlen::sim {

struct SimMessage {
  unsigned msg = 0;
  std::uintptr_t wparam = 0;
  std::intptr_t lparam = 0;
  std::string text;        // WM_SETTEXT: the text sent; WM_GETTEXT: filled by the handler
  std::intptr_t result = 0;
};

struct SimWindow {
  Hwnd handle = kNoWindow;
  std::string class_name;
  std::string text;
  Hwnd parent = kNoWindow;  // kNoWindow for top-level windows
  std::vector<Hwnd> children;
  std::uint32_t process = 0;
  Rect rect;
  bool visible = true;
  bool hung = false;
  // Handles a message; returns false to fall back to the default handling
  // (texts for WM_GETTEXT/WM_SETTEXT/WM_GETTEXTLENGTH, 0 for the rest).
  std::function<bool(SimWindow&, SimMessage&)> handler;
};

class SimDesktop : public Windowing {
 public:
  SimDesktop();

  // ---- building the desktop (tests, stand-ins) ----
  std::uint32_t NewProcess();
  // A new top-level window, placed at the top of the Z order.
  Hwnd CreateTopLevel(std::string class_name, std::string text, std::uint32_t process, Rect rect = {});
  Hwnd CreateChild(Hwnd parent, std::string class_name, std::string text);
  void Destroy(Hwnd window);
  void KillProcess(std::uint32_t process);
  SimWindow* Find(Hwnd window);
  SimWindow& At(Hwnd window);
  void BringToTop(Hwnd window);
  void SendToBottom(Hwnd window);
  // Makes the window the foreground window and raises it.
  void Activate(Hwnd window);
  void SetForeground(Hwnd window) { foreground_ = window; }
  void SetScreen(int width, int height) { screen_w_ = width; screen_h_ = height; }
  void SetWorkArea(Rect r) { work_area_ = r; }
  void SetCursor(Point p) { cursor_ = p; }
  // The taskbar window "Shell_TrayWnd" with the given rectangle.
  Hwnd CreateTaskbar(Rect rect);
  const std::vector<Hwnd>& ZOrder() const { return z_order_; }
  std::uint64_t SendCount() const { return sends_; }
  // The largest buffer a WM_GETTEXT was sent with (the caller holds one that size).
  std::size_t LargestTextBuffer() const { return largest_text_buffer_; }
  // Called on every posted message, after the default handling.
  std::vector<SimMessage> PostedTo(Hwnd window) const;

  // ---- Windowing ----
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
  Hwnd GetForegroundWindow() override { return IsWindow(foreground_) ? foreground_ : kNoWindow; }
  bool SetForegroundWindow(Hwnd window) override;
  Rect GetWindowRect(Hwnd window) override;
  int VirtualScreenWidth() override { return screen_w_; }
  int VirtualScreenHeight() override { return screen_h_; }
  Rect WorkArea() override { return work_area_; }
  Point CursorPos() override { return cursor_; }
  std::uint32_t WindowProcessId(Hwnd window) override;

 private:
  // Delivers a message; false when the window is gone or hung.
  bool Deliver(Hwnd window, SimMessage& m);
  // A window under the next free handle, in no list yet.
  SimWindow& NewWindow(std::string class_name, std::string text, std::uint32_t process);

  std::map<Hwnd, SimWindow> windows_;
  std::vector<Hwnd> z_order_;  // top first
  std::vector<std::pair<Hwnd, SimMessage>> posted_;
  Hwnd next_handle_ = 0x10010;
  std::uint32_t next_process_ = 1000;
  Hwnd foreground_ = kNoWindow;
  int screen_w_ = 1920;
  int screen_h_ = 1080;
  Rect work_area_{0, 0, 1920, 1040};
  Point cursor_{0, 0};
  std::uint64_t sends_ = 0;
  std::size_t largest_text_buffer_ = 0;
};

}  // namespace tavlen::sim
