#include "platform/win32/Win32Popup.h"

#include <string>

#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Gdi.h"
#include "platform/win32/WinApi.h"
#include "platform/win32/WindowOwner.h"

namespace tavlen {
namespace {

// Carries the client point of a click (or of a focus gained some other way) to
// the content once the message that brought it is over.
constexpr UINT kClick = WM_APP + 0x210;

HWND ToHwnd(Hwnd window) { return reinterpret_cast<HWND>(window); }

class GdiCanvas final : public Canvas {
 public:
  explicit GdiCanvas(HDC dc) : dc_(dc) { SetBkMode(dc_, TRANSPARENT); }

  void FillRect(const Rect& rect, Rgb color) override {
    const RECT r{rect.left, rect.top, rect.right, rect.bottom};
    ::FillRect(dc_, &r, gdi::Brush(static_cast<COLORREF>(color)));
  }

  void PaintText(const Rect& rect, std::string_view text, const FontDescription& font, Rgb color) override {
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    const HGDIOBJ previous = SelectObject(dc_, gdi::Font(font.name, font.points, font.bold, font.underline, dpi::kBase));
    SetTextColor(dc_, static_cast<COLORREF>(color));
    // No DT_NOPREFIX: "&" underlines the next character, as the metrics assume.
    DrawTextA(dc_, text.data(), static_cast<int>(text.size()), &r, DT_LEFT | DT_TOP | DT_SINGLELINE);
    SelectObject(dc_, previous);
  }

  Rgb SystemColor(int index) override { return GetSysColor(index); }

  void Line(Point from, Point to, Rgb color) override {
    HPEN pen = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(color));
    const HGDIOBJ previous = SelectObject(dc_, pen);
    MoveToEx(dc_, from.x, from.y, nullptr);
    LineTo(dc_, to.x, to.y);
    SelectObject(dc_, previous);
    DeleteObject(pen);
  }

 private:
  HDC dc_;
};

class Win32PopupWindow final : public PopupWindow {
 public:
  Win32PopupWindow(Win32PopupHost& host, Hwnd owner, PopupWindowEvents events)
      : host_(host), owner_(owner), events_(std::move(events)) {
    Create();
  }

  ~Win32PopupWindow() override {
    if (window_) {
      win32::ForgetWindowOwner(window_);
      DestroyWindow(window_);
    }
  }

  // The extended style is fixed when the window is created (Wine ignores later
  // changes to a hidden window's): a change recreates the window in place.
  void SetTopmost(bool topmost) override {
    if (topmost == topmost_) return;
    topmost_ = topmost;
    const Rect bounds = Bounds();
    const bool visible = Visible();
    HWND old = window_;
    Create();
    SetBounds(bounds);
    if (visible) ShowNoActivate();
    win32::ForgetWindowOwner(old);
    DestroyWindow(old);
  }

  void SetBounds(const Rect& bounds) override {
    const int at = dpi::System();
    const int size = dpi::OfWindow(window_);
    SetWindowPos(window_, nullptr, dpi::Scale(bounds.left, at), dpi::Scale(bounds.top, at),
                 dpi::Scale(bounds.Width(), size), dpi::Scale(bounds.Height(), size), SWP_NOZORDER | SWP_NOACTIVATE);
  }

  Rect Bounds() override {
    RECT r{};
    GetWindowRect(window_, &r);
    const int at = dpi::System();
    const int size = dpi::OfWindow(window_);
    const int left = dpi::Unscale(r.left, at);
    const int top = dpi::Unscale(r.top, at);
    return {left, top, left + dpi::Unscale(r.right - r.left, size), top + dpi::Unscale(r.bottom - r.top, size)};
  }

  void ShowNoActivate() override {
    // A popup made before its owner had a window gets the owner now.
    if (!GetWindow(window_, GW_OWNER))
      if (HWND owner = ToHwnd(Owner()); owner && IsWindow(owner))
        SetWindowLongPtrA(window_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
  }

  void Hide() override {
    // A leave asked for during this showing must not reach the next one: the
    // system may report it after the popup is shown again, and AutoHide would
    // hide the new popup at once.
    if (tracking_) {
      TRACKMOUSEEVENT cancel{sizeof(cancel), TME_LEAVE | TME_CANCEL, window_, 0};
      TrackMouseEvent(&cancel);
    }
    tracking_ = false;
    ShowWindow(window_, SW_HIDE);
  }

  bool Visible() override { return IsWindowVisible(window_) != FALSE; }

  void Invalidate() override { InvalidateRect(window_, nullptr, FALSE); }

  void ReturnFocusToOwner(bool owner_to_front) override {
    HWND owner = ToHwnd(Owner());
    if (!owner || !IsWindow(owner)) return;
    // A click leaves the activation where it was: only a popup given the focus
    // some other way holds it, and hands it back.
    const HWND foreground = GetForegroundWindow();
    const bool holds_front = !foreground || foreground == window_;
    if (owner_to_front || holds_front) SetForegroundWindow(owner);
    if (owner_to_front || holds_front || GetFocus() == window_) {
      SetActiveWindow(owner);
      SetFocus(owner);
    }
  }

  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
      case WM_NCHITTEST:
        return HTCLIENT;
      case WM_SETCURSOR:
        if (LOWORD(lparam) == HTCLIENT) {
          PopupCursor cursor = PopupCursor::kArrow;
          if (events_.mouse_move) {
            const Point point = CursorClientPoint();
            Run([&] { cursor = events_.mouse_move(point); });
          }
          SetCursor(LoadCursorA(nullptr, cursor == PopupCursor::kHand ? IDC_HAND : IDC_ARROW));
          return TRUE;
        }
        break;
      case WM_MOUSEMOVE:
        if (!tracking_) {
          TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
          tracking_ = TrackMouseEvent(&track) != FALSE;
        }
        return 0;
      case WM_MOUSELEAVE:
        // Only the leave of a pointer seen over the popup in this showing.
        if (!tracking_) return 0;
        tracking_ = false;
        if (events_.mouse_leave) Run([&] { events_.mouse_leave(); });
        return 0;
      case WM_MOUSEACTIVATE:
        // A click does not activate the popup. Activated, it would take the X
        // focus under Wine, and the room a click on a speaker brings forward
        // could lose the front to that late focus change (about one click in
        // five); on Windows the console may bring a window forward all the same,
        // the click being its input.
        return MA_NOACTIVATE;
      case WM_LBUTTONDOWN: {
        const int dpi = dpi::OfWindow(window_);
        PostClick({dpi::Unscale(static_cast<short>(LOWORD(lparam)), dpi),
                   dpi::Unscale(static_cast<short>(HIWORD(lparam)), dpi)});
        return 0;
      }
      case WM_SETFOCUS:
        // Reported once the activation that brought the focus is over, so the
        // content may hand the focus back at once.
        PostClick(CursorClientPoint());
        return 0;
      case kClick:
        if (events_.click) {
          const Point point{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
          Run([&] { events_.click(point); });
        } else {
          ReturnFocusToOwner(true);
        }
        return 0;
      case WM_ERASEBKGND:
        return 1;  // painted whole in WM_PAINT
      case WM_PAINT:
        Paint();
        return 0;
    }
    return DefWindowProcA(window_, msg, wparam, lparam);
  }

  HWND Handle() const { return window_; }

 private:
  void Create() {
    tracking_ = false;
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW | (topmost_ ? WS_EX_TOPMOST : 0), Win32PopupHost::kClassName, "",
                              WS_POPUP, 0, 0, 0, 0, ToHwnd(Owner()), nullptr, GetModuleHandleA(nullptr), this);
  }

  Hwnd Owner() const {
    if (owner_ != kNoWindow) return owner_;
    return host_.DefaultOwner ? host_.DefaultOwner() : kNoWindow;
  }

  void PostClick(Point point) {
    PostMessageA(window_, kClick, 0, MAKELPARAM(static_cast<short>(point.x), static_cast<short>(point.y)));
  }

  Point CursorClientPoint() const {
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(window_, &p);
    const int dpi = dpi::OfWindow(window_);
    return {dpi::Unscale(p.x, dpi), dpi::Unscale(p.y, dpi)};
  }

  void Run(const std::function<void()>& work) {
    if (host_.Guard) {
      host_.Guard(work);
      return;
    }
    try {
      work();
    } catch (...) {
    }
  }

  // Double-buffered, so slides and hover repaints do not flicker.
  void Paint() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(window_, &ps);
    RECT client{};
    GetClientRect(window_, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width > 0 && height > 0) {
      HDC memory = CreateCompatibleDC(dc);
      HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
      const HGDIOBJ previous = SelectObject(memory, bitmap);
      ::FillRect(memory, &client, gdi::Brush(GetSysColor(COLOR_INFOBK)));
      dpi::MapUnitsToDevice(memory, dpi::OfWindow(window_));
      if (events_.paint) {
        GdiCanvas canvas(memory);
        Run([&] { events_.paint(canvas); });
      }
      SetMapMode(memory, MM_TEXT);  // the copy is pixel for pixel
      BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
      SelectObject(memory, previous);
      DeleteObject(bitmap);
      DeleteDC(memory);
    }
    EndPaint(window_, &ps);
  }

  Win32PopupHost& host_;
  Hwnd owner_;
  PopupWindowEvents events_;
  HWND window_ = nullptr;
  bool topmost_ = false;
  bool tracking_ = false;
};

LRESULT CALLBACK PopupProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* popup = win32::WindowOwner<Win32PopupWindow>(window, msg, lparam);
  if (popup && popup->Handle() == window) {
    try {
      return popup->Handle(msg, wparam, lparam);
    } catch (...) {
      return 0;  // never unwind through the system's frames
    }
  }
  return DefWindowProcA(window, msg, wparam, lparam);
}

}  // namespace

Win32PopupHost::Win32PopupHost() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  // The tooltip class style: the pixels beneath are saved and restored on hiding.
  wc.style = CS_SAVEBITS;
  wc.lpfnWndProc = PopupProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  RegisterClassExA(&wc);  // already registered by an earlier host: fine
}

std::unique_ptr<PopupWindow> Win32PopupHost::CreatePopupWindow(Hwnd owner, PopupWindowEvents events) {
  return std::make_unique<Win32PopupWindow>(*this, owner, std::move(events));
}

}  // namespace tavlen
