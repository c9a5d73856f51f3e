// The desktop as the console sees it: top-level windows in Z order, their direct
// children, texts, messages to other programs' controls, and desktop geometry.
// Every send to another program's window carries a timeout: a hung client makes
// the call fail instead of freezing the console.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Types.h"

namespace tavlen {

class Windowing {
 public:
  virtual ~Windowing() = default;

  // FindWindow: an empty class or title matches any. With both empty, the first
  // top-level window.
  virtual Hwnd FindWindow(std::string_view class_name, std::string_view title) = 0;
  virtual Hwnd GetWindow(Hwnd window, GetWindowCmd cmd) = 0;
  virtual bool IsWindow(Hwnd window) = 0;
  // At most max_chars characters (class names and captions).
  virtual std::string GetClassName(Hwnd window, int max_chars) = 0;
  virtual std::string GetWindowText(Hwnd window, int max_chars) = 0;
  // The same reads into a caller's buffer, whose storage is reused: the polling
  // ticks read the same windows a hundred times a second. `out` is left empty
  // where the allocating forms return an empty string.
  virtual void ReadClassName(Hwnd window, int max_chars, std::string& out) { out = GetClassName(window, max_chars); }
  virtual void ReadWindowText(Hwnd window, int max_chars, std::string& out) { out = GetWindowText(window, max_chars); }

  // WM_GETTEXT with a buffer of `limit` characters including the terminating zero.
  // Empty when the window is gone or does not answer in time.
  virtual std::string SendGetText(Hwnd window, std::size_t limit) = 0;
  // WM_GETTEXT into a caller's buffer (see ReadWindowText).
  virtual void SendGetTextInto(Hwnd window, std::size_t limit, std::string& out) { out = SendGetText(window, limit); }
  // WM_GETTEXTLENGTH; false when the window is gone or does not answer.
  virtual bool SendGetTextLength(Hwnd window, std::size_t& length) = 0;
  // WM_SETTEXT; false when the window is gone or does not answer.
  virtual bool SendSetText(Hwnd window, std::string_view text) = 0;
  // Any other message with integer arguments; false on failure or timeout.
  virtual bool Send(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam,
                    std::intptr_t* result = nullptr) = 0;
  virtual bool Post(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) = 0;

  virtual Hwnd GetForegroundWindow() = 0;
  virtual bool SetForegroundWindow(Hwnd window) = 0;
  virtual Rect GetWindowRect(Hwnd window) = 0;
  // SM_CXVIRTUALSCREEN / SM_CYVIRTUALSCREEN.
  virtual int VirtualScreenWidth() = 0;
  virtual int VirtualScreenHeight() = 0;
  // SPI_GETWORKAREA.
  virtual Rect WorkArea() = 0;
  virtual Point CursorPos() = 0;
  virtual std::uint32_t WindowProcessId(Hwnd window) = 0;
};

}  // namespace tavlen
