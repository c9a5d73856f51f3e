#include "platform/win32/Win32Windowing.h"

#include "platform/win32/WinApi.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tavlen {
namespace {

HWND ToHwnd(Hwnd window) { return reinterpret_cast<HWND>(window); }
Hwnd FromHwnd(HWND window) { return reinterpret_cast<Hwnd>(window); }

// Sends with the timeout; false when the window is gone, hung or too slow.
bool SendWithTimeout(Hwnd window, UINT msg, WPARAM wparam, LPARAM lparam, DWORD_PTR& result) {
  result = 0;
  if (window == kNoWindow) return false;
  return SendMessageTimeoutA(ToHwnd(window), msg, wparam, lparam, SMTO_ABORTIFHUNG,
                             Win32Windowing::kSendTimeoutMs, &result) != 0;
}

std::string Terminated(std::string_view text) { return std::string(text); }

}  // namespace

Hwnd Win32Windowing::FindWindow(std::string_view class_name, std::string_view title) {
  const std::string cls = Terminated(class_name);
  const std::string caption = Terminated(title);
  return FromHwnd(FindWindowA(cls.empty() ? nullptr : cls.c_str(),
                              caption.empty() ? nullptr : caption.c_str()));
}

Hwnd Win32Windowing::GetWindow(Hwnd window, GetWindowCmd cmd) {
  if (window == kNoWindow) return kNoWindow;
  return FromHwnd(::GetWindow(ToHwnd(window), static_cast<UINT>(cmd)));
}

bool Win32Windowing::IsWindow(Hwnd window) {
  return window != kNoWindow && ::IsWindow(ToHwnd(window)) != FALSE;
}

std::string Win32Windowing::GetClassName(Hwnd window, int max_chars) {
  if (window == kNoWindow || max_chars <= 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(max_chars) + 1);
  const int copied = GetClassNameA(ToHwnd(window), buffer.data(), static_cast<int>(buffer.size()));
  return copied > 0 ? std::string(buffer.data(), static_cast<std::size_t>(copied)) : std::string();
}

std::string Win32Windowing::GetWindowText(Hwnd window, int max_chars) {
  if (window == kNoWindow || max_chars <= 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(max_chars) + 1);
  const int copied = GetWindowTextA(ToHwnd(window), buffer.data(), static_cast<int>(buffer.size()));
  return copied > 0 ? std::string(buffer.data(), static_cast<std::size_t>(copied)) : std::string();
}

std::string Win32Windowing::SendGetText(Hwnd window, std::size_t limit) {
  if (limit == 0) return {};
  std::vector<char> buffer(limit, '\0');
  DWORD_PTR copied = 0;
  if (!SendWithTimeout(window, WM_GETTEXT, limit, reinterpret_cast<LPARAM>(buffer.data()), copied))
    return {};
  // Trust neither the count nor the terminator of a foreign control blindly.
  const std::size_t bounded = std::min<std::size_t>(copied, limit - 1);
  return std::string(buffer.data(), bounded);
}

bool Win32Windowing::SendGetTextLength(Hwnd window, std::size_t& length) {
  DWORD_PTR result = 0;
  if (!SendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0, result)) return false;
  length = static_cast<std::size_t>(result);
  return true;
}

bool Win32Windowing::SendSetText(Hwnd window, std::string_view text) {
  const std::string terminated = Terminated(text);
  DWORD_PTR result = 0;
  return SendWithTimeout(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(terminated.c_str()), result);
}

bool Win32Windowing::Send(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam,
                          std::intptr_t* result) {
  DWORD_PTR answer = 0;
  const bool ok = SendWithTimeout(window, msg, wparam, lparam, answer);
  if (result) *result = ok ? static_cast<std::intptr_t>(answer) : 0;
  return ok;
}

bool Win32Windowing::Post(Hwnd window, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
  if (window == kNoWindow) return false;
  return PostMessageA(ToHwnd(window), msg, wparam, lparam) != FALSE;
}

Hwnd Win32Windowing::GetForegroundWindow() { return FromHwnd(::GetForegroundWindow()); }

bool Win32Windowing::SetForegroundWindow(Hwnd window) {
  return window != kNoWindow && ::SetForegroundWindow(ToHwnd(window)) != FALSE;
}

Rect Win32Windowing::GetWindowRect(Hwnd window) {
  RECT r{};
  if (window == kNoWindow || !::GetWindowRect(ToHwnd(window), &r)) return {};
  return Rect{r.left, r.top, r.right, r.bottom};
}

int Win32Windowing::VirtualScreenWidth() { return GetSystemMetrics(SM_CXVIRTUALSCREEN); }
int Win32Windowing::VirtualScreenHeight() { return GetSystemMetrics(SM_CYVIRTUALSCREEN); }

Rect Win32Windowing::WorkArea() {
  RECT r{};
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0)) return {};
  return Rect{r.left, r.top, r.right, r.bottom};
}

Point Win32Windowing::CursorPos() {
  POINT p{};
  if (!GetCursorPos(&p)) return {};
  return Point{p.x, p.y};
}

std::uint32_t Win32Windowing::WindowProcessId(Hwnd window) {
  if (window == kNoWindow) return 0;
  DWORD pid = 0;
  GetWindowThreadProcessId(ToHwnd(window), &pid);
  return pid;
}

}  // namespace tavlen
