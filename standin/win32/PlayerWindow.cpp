#include "standin/win32/PlayerWindow.h"

#include "standin/RoomControl.h"

namespace tavlen::standin::win32 {

bool PlayerWindow::Create() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kPlayerClass;
  if (!RegisterClassExA(&wc)) return false;
  // The classic main window's size.
  const int left = options_.left >= 0 ? options_.left : 0;
  const int top = options_.top >= 0 ? options_.top : 880;
  window_ = CreateWindowExA(0, kPlayerClass, options_.player_title.c_str(), WS_POPUP | WS_BORDER | WS_CAPTION, left,
                            top, 275, 116, nullptr, nullptr, instance, this);
  if (!window_) return false;
  ShowWindow(window_, SW_SHOWNOACTIVATE);
  UpdateWindow(window_);
  return true;
}

LRESULT CALLBACK PlayerWindow::WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<PlayerWindow*>(GetWindowLongPtrA(w, GWLP_USERDATA));
  if (self && self->window_ == w) return self->Handle(msg, wp, lp);
  return DefWindowProcA(w, msg, wp, lp);
}

LRESULT PlayerWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
      if (!data || data->dwData != kControlDataId) return FALSE;
      return Control(static_cast<const char*>(data->lpData), data->cbData) ? TRUE : FALSE;
    }
    case WM_PAINT:
      Paint();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window_, msg, wp, lp);
}

bool PlayerWindow::Control(const char* data, std::size_t size) {
  if (!data) return false;
  std::string line(data, size);
  if (const std::size_t zero = line.find('\0'); zero != std::string::npos) line.resize(zero);
  const ControlCommand c = SplitControl(line);
  if (c.verb == "title") {
    SetWindowTextA(window_, c.rest.c_str());
    InvalidateRect(window_, nullptr, TRUE);
    return true;
  }
  if (c.verb == "close" && c.rest.empty()) {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    return true;
  }
  return false;
}

void PlayerWindow::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  char title[256] = {};
  GetWindowTextA(window_, title, sizeof title);
  RECT r;
  GetClientRect(window_, &r);
  InflateRect(&r, -8, -8);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 230, 0));
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  DrawTextA(dc, title, -1, &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  EndPaint(window_, &ps);
}

}  // namespace tavlen::standin::win32
