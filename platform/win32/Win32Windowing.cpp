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

// A zero-terminated copy of a short text on the stack, on the heap beyond that:
// the room title is looked up a hundred times a second.
class ZeroTerminated {
 public:
  explicit ZeroTerminated(std::string_view text) {
    if (text.size() < sizeof small_) {
      text.copy(small_, text.size());
      small_[text.size()] = '\0';
      chars_ = small_;
    } else {
      large_.assign(text);
      chars_ = large_.c_str();
    }
    empty_ = text.empty();
  }
  // Null for an empty text.
  const char* OrNull() const { return empty_ ? nullptr : chars_; }

 private:
  char small_[512];
  std::string large_;
  const char* chars_ = nullptr;
  bool empty_ = true;
};

// No class name is longer than 256 characters.
constexpr int kClassNameMax = 256;

}  // namespace

Hwnd Win32Windowing::FindWindow(std::string_view class_name, std::string_view title) {
  const ZeroTerminated cls(class_name);
  const ZeroTerminated caption(title);
  return FromHwnd(FindWindowA(cls.OrNull(), caption.OrNull()));
}

Hwnd Win32Windowing::GetWindow(Hwnd window, GetWindowCmd cmd) {
  if (window == kNoWindow) return kNoWindow;
  return FromHwnd(::GetWindow(ToHwnd(window), static_cast<UINT>(cmd)));
}

bool Win32Windowing::IsWindow(Hwnd window) {
  return window != kNoWindow && ::IsWindow(ToHwnd(window)) != FALSE;
}

std::string Win32Windowing::GetClassName(Hwnd window, int max_chars) {
  std::string name;
  ReadClassName(window, max_chars, name);
  return name;
}

void Win32Windowing::ReadClassName(Hwnd window, int max_chars, std::string& out) {
  out.clear();
  if (window == kNoWindow || max_chars <= 0) return;
  char buffer[kClassNameMax + 1];
  const int size = std::min(max_chars, kClassNameMax) + 1;
  const int copied = GetClassNameA(ToHwnd(window), buffer, size);
  if (copied > 0) out.assign(buffer, static_cast<std::size_t>(std::min(copied, size - 1)));
}

std::string Win32Windowing::GetWindowText(Hwnd window, int max_chars) {
  if (window == kNoWindow || max_chars <= 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(max_chars) + 1);
  const int copied = GetWindowTextA(ToHwnd(window), buffer.data(), static_cast<int>(buffer.size()));
  return copied > 0 ? std::string(buffer.data(), static_cast<std::size_t>(copied)) : std::string();
}

void Win32Windowing::ReadWindowText(Hwnd window, int max_chars, std::string& out) {
  out.clear();
  if (window == kNoWindow || max_chars <= 0) return;
  out.resize(static_cast<std::size_t>(max_chars) + 1);
  const int copied = GetWindowTextA(ToHwnd(window), out.data(), static_cast<int>(out.size()));
  out.resize(copied > 0 ? std::min(static_cast<std::size_t>(copied), out.size() - 1) : 0);
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

void Win32Windowing::SendGetTextInto(Hwnd window, std::size_t limit, std::string& out) {
  out.clear();
  if (limit == 0) return;
  out.resize(limit, '\0');
  DWORD_PTR copied = 0;
  if (!SendWithTimeout(window, WM_GETTEXT, limit, reinterpret_cast<LPARAM>(out.data()), copied)) return out.clear();
  out.resize(std::min<std::size_t>(copied, limit - 1));
  // A control that announced far more than it gave must not keep the storage.
  if (out.capacity() > 2 * out.size() + (1u << 16)) out.shrink_to_fit();
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
