// The popup surface and the text metrics on Win32: tooltip-style window, no
// activation on show, client hit-test, cursor and focus hand-back, GDI painting;
// then the notification popup itself under the real pointer.
#include "platform/win32/WinApi.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string>

#include "notify/HTMLPopupWindow.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Popup.h"
#include "platform/win32/Win32TextMetrics.h"
#include "tests/e2e/backend/BackendCheck.h"

namespace check {
namespace {

using tavlen::Hwnd;

constexpr COLORREF kFill = RGB(10, 120, 200);
constexpr COLORREF kLine = RGB(250, 250, 0);

HWND OwnerWindow() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TCheckPopupOwner";
  RegisterClassExA(&wc);
  return CreateWindowExA(0, "TCheckPopupOwner", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 500, 200, 100,
                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF color = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return color;
}

void Metrics() {
  tavlen::Win32TextMetrics metrics;
  tavlen::FontDescription font;
  const tavlen::Extent ab = metrics.TextExtent(font, "ab");
  CHECK(ab.width > 0 && ab.height > 0, "a text has an extent");
  CHECK(metrics.TextExtent(font, "a&b") == ab, "a single & is not drawn");
  const int amp = metrics.TextExtent(font, "&&").width;
  CHECK(amp > 0, "&& draws one &");
  CHECK_EQ(metrics.TextExtent(font, "&&&&").width, 2 * amp, "&&&& draws two");
  CHECK_EQ(metrics.TextExtent(font, "&").width, 0, "a lone & at the end draws nothing");
  CHECK_EQ(metrics.TextExtent(font, "").height, ab.height, "an empty text has the font's height");
  tavlen::FontDescription bold = font;
  bold.bold = true;
  CHECK(metrics.TextExtent(bold, "MICROPHONE").width >= metrics.TextExtent(font, "MICROPHONE").width,
        "bold is not narrower");
  tavlen::FontDescription big = font;
  big.points = 14;
  CHECK(metrics.TextExtent(big, "gh").height > metrics.TextExtent(font, "gh").height, "14 points is taller than 8");
  tavlen::FontDescription underline = font;
  underline.underline = true;
  CHECK(metrics.TextExtent(underline, "ab") == ab, "underline does not change the extent");
}

// Pixels in screen rectangle `r` that differ from `background`.
int Ink(const RECT& r, COLORREF background) {
  HDC screen = GetDC(nullptr);
  int ink = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) ink += GetPixel(screen, x, y) != background;
  ReleaseDC(nullptr, screen);
  return ink;
}

// Moves the pointer as the mouse would: through the input queue, so the window
// under it gets WM_SETCURSOR and WM_MOUSEMOVE and a tracked leave.
void PointerTo(int x, int y) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((x * 65535LL + width / 2) / std::max(width - 1, 1));
  input.mi.dy = static_cast<LONG>((y * 65535LL + height / 2) / std::max(height - 1, 1));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(INPUT));
}

// Activations of one window, seen by a thread hook.
HWND g_watched = nullptr;
int g_activations = 0;
LRESULT CALLBACK CountActivations(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE && reinterpret_cast<HWND>(wparam) == g_watched) ++g_activations;
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

// Pumps messages until `done` holds, at most five seconds.
template <typename Done>
bool PumpUntil(tavlen::Win32Clock& clock, Done done) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    clock.ProcessMessages();
    Sleep(10);
  }
  return true;
}

// The notification popup's own window: a single "&" underlines the letter after
// it, an anchor is underlined while the real pointer is over it, and AutoHide
// hides the popup once the pointer leaves.
void NotificationUnderThePointer(tavlen::Win32Clock& clock, HWND owner) {
  tavlen::Win32PopupHost host;
  tavlen::Win32TextMetrics metrics;
  tavlen::THTMLPopupWindow popup(host, reinterpret_cast<Hwnd>(owner), metrics);
  tavlen::PopupLook look;
  look.Color = tavlen::clWhite;
  look.Font.Color = tavlen::clBlack;
  look.Font.Size = 14;  // large letters, so the underline is clear of the glyphs
  look.Hover = true;
  look.AutoHide = true;
  popup.SetLook(look);
  const tavlen::Rect at{300, 200, 560, 280};
  popup.Window().SetBounds(at);
  popup.Window().ShowNoActivate();
  HWND window = FindWindowA(tavlen::Win32PopupHost::kClassName, nullptr);
  const COLORREF white = RGB(255, 255, 255);
  const auto shown = [&](const std::string& text) {
    popup.SetText(text);
    UpdateWindow(window);
    clock.ProcessMessages();
    return popup.Layout();
  };
  // Screen rectangle of [left, left + width) of the first piece of `layout`.
  const auto cell = [&](const tavlen::MarkupLayout& layout, int left, int width) {
    const tavlen::Rect r = layout.lines.at(0).pieces.at(0).rect;
    return RECT{at.left + r.left + left, at.top + r.top, at.left + r.left + left + width, at.top + r.bottom + 2};
  };

  const tavlen::FontDescription font{look.Font.Name, look.Font.Size, false, false};
  const int s_width = metrics.TextExtent(font, "S").width;
  const int rest_width = metrics.TextExtent(font, "alut").width;
  auto layout = shown("Salut");
  const int plain_s = Ink(cell(layout, 0, s_width), white);
  const int plain_rest = Ink(cell(layout, s_width, rest_width), white);
  layout = shown("&Salut");
  CHECK(plain_s > 0, "the S is drawn");
  CHECK(Ink(cell(layout, 0, s_width), white) >= plain_s + s_width - 2, "a single & underlines the next letter");
  CHECK_EQ(Ink(cell(layout, s_width, rest_width), white), plain_rest, "and only that letter");

  layout = shown("<a href=\"x\">lien</a>");
  const tavlen::Rect anchor = layout.lines.at(0).pieces.at(0).rect;
  const RECT word = cell(layout, 0, anchor.Width());
  const int idle = Ink(word, white);
  PointerTo(at.left + anchor.left + anchor.Width() / 2, at.top + (anchor.top + anchor.bottom) / 2);
  CHECK(PumpUntil(clock, [&] { return Ink(word, white) >= idle + anchor.Width() - 2; }),
        "the anchor is underlined under the pointer");
  // A real click there: the anchor is reported and the popup never takes the
  // activation, which under Wine would move the X focus after whatever window
  // the click's handler brings forward.
  SetForegroundWindow(owner);
  clock.ProcessMessages();
  std::string clicked;
  popup.OnAnchorClick = [&](const std::string& name) { clicked = name; };
  g_watched = window;
  g_activations = 0;
  HHOOK hook = SetWindowsHookExA(WH_CBT, CountActivations, nullptr, GetCurrentThreadId());
  INPUT press[2]{};
  press[0].type = press[1].type = INPUT_MOUSE;
  press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, press, sizeof(INPUT));
  CHECK(PumpUntil(clock, [&] { return !clicked.empty(); }), "a click on the anchor reported");
  if (hook) UnhookWindowsHookEx(hook);
  CHECK_TEXT(clicked, "x", "the anchor clicked");
  CHECK(hook && g_activations == 0, "the click did not activate the popup: " + std::to_string(g_activations) +
                                        " activations");
  CHECK(GetForegroundWindow() == owner, "the owner still in front after the click");
  PointerTo(at.left - 100, at.bottom + 100);
  CHECK(PumpUntil(clock, [&] { return !popup.Window().Visible(); }), "AutoHide hides the popup once the pointer leaves");
}

}  // namespace

void PopupCheck() {
  Metrics();
  tavlen::Win32Clock clock;
  tavlen::Win32PopupHost host;
  HWND owner = OwnerWindow();
  SetForegroundWindow(owner);
  SetFocus(owner);
  clock.ProcessMessages();

  int paints = 0, leaves = 0, guarded = 0;
  std::string failing;
  tavlen::Point focused{-1, -1};
  tavlen::Point moved{-1, -1};
  tavlen::Rgb info_bk = 0xFFFFFFFF;  // the scheme's colour as the canvas gave it
  std::unique_ptr<tavlen::PopupWindow> popup;
  tavlen::PopupWindowEvents events;
  events.paint = [&](tavlen::Canvas& canvas) {
    ++paints;
    info_bk = canvas.SystemColor(COLOR_INFOBK);
    canvas.FillRect({0, 0, 120, 60}, kFill);
    canvas.Line({0, 30}, {120, 30}, kLine);
    canvas.PaintText({4, 4, 100, 20}, "&Salut", tavlen::FontDescription{}, 0);
    if (failing == "paint") throw std::runtime_error("paint fails");
  };
  events.mouse_move = [&](tavlen::Point p) {
    moved = p;
    return p.x < 60 ? tavlen::PopupCursor::kHand : tavlen::PopupCursor::kArrow;
  };
  events.click = [&](tavlen::Point p) {
    focused = p;
    popup->ReturnFocusToOwner(true);
  };
  events.mouse_leave = [&] { ++leaves; };
  host.Guard = [&](const std::function<void()>& work) {
    try {
      work();
    } catch (...) {
      ++guarded;
    }
  };
  popup = host.CreatePopupWindow(reinterpret_cast<Hwnd>(owner), events);
  HWND window = FindWindowA(tavlen::Win32PopupHost::kClassName, nullptr);
  CHECK(window != nullptr, "popup window class");
  CHECK(GetWindow(window, GW_OWNER) == owner, "owned by its owner");
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  const LONG ex_style = GetWindowLongA(window, GWL_EXSTYLE);
  CHECK((style & WS_POPUP) && !(style & WS_BORDER) && !(style & WS_CAPTION), "borderless popup");
  CHECK((ex_style & WS_EX_TOOLWINDOW) != 0, "tool window: no taskbar button");
  CHECK((GetClassLongA(window, GCL_STYLE) & CS_SAVEBITS) != 0, "saves the pixels beneath");
  CHECK(!popup->Visible(), "created hidden");

  popup->SetBounds({300, 200, 420, 260});
  CHECK(popup->Bounds() == (tavlen::Rect{300, 200, 420, 260}), "bounds");
  popup->SetTopmost(true);
  window = FindWindowA(tavlen::Win32PopupHost::kClassName, nullptr);
  CHECK((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "topmost");
  CHECK(popup->Bounds() == (tavlen::Rect{300, 200, 420, 260}), "bounds kept");
  popup->SetTopmost(false);
  window = FindWindowA(tavlen::Win32PopupHost::kClassName, nullptr);
  CHECK((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0, "not topmost");
  CHECK(GetWindow(window, GW_OWNER) == owner, "still owned by its owner");

  // A high-contrast scheme for the first paint: the canvas gives its colours.
  const int scheme_index = COLOR_INFOBK;
  const COLORREF previous_info_bk = GetSysColor(scheme_index);
  const COLORREF contrast = RGB(0, 0, 0);
  SetSysColors(1, &scheme_index, &contrast);
  popup->ShowNoActivate();
  clock.ProcessMessages();
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  CHECK_EQ(static_cast<int>(info_bk), static_cast<int>(contrast), "the canvas gives the user's scheme's colours");
  SetSysColors(1, &scheme_index, &previous_info_bk);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  CHECK(popup->Visible(), "shown");
  CHECK(GetForegroundWindow() == owner && GetFocus() == owner, "showing takes neither activation nor focus");
  CHECK(paints >= 1, "painted");
  CHECK_EQ(static_cast<int>(ScreenPixel(300 + 110, 200 + 50)), static_cast<int>(kFill), "filled");
  CHECK_EQ(static_cast<int>(ScreenPixel(300 + 110, 200 + 30)), static_cast<int>(kLine), "line");
  CHECK_EQ(static_cast<int>(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(310, 210))), HTCLIENT,
           "every point is client area");

  SetCursorPos(300 + 20, 200 + 10);
  SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  CHECK(moved == (tavlen::Point{20, 10}), "the content is asked about the client point");
  CHECK(GetCursor() == LoadCursorA(nullptr, IDC_HAND), "hand cursor over an anchor");
  SetCursorPos(300 + 90, 200 + 10);
  SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  CHECK(GetCursor() == LoadCursorA(nullptr, IDC_ARROW), "arrow elsewhere");

  // The focus given to the popup other than by a click: the content sees the
  // point and the focus goes back to the owner.
  SetCursorPos(300 + 30, 200 + 15);
  SetActiveWindow(window);
  SetFocus(window);
  clock.ProcessMessages();
  CHECK(focused == (tavlen::Point{30, 15}), "focus reported at the mouse point");
  CHECK(GetFocus() == owner, "focus back to the owner");

  SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(30, 15));
  SendMessageA(window, WM_MOUSELEAVE, 0, 0);
  CHECK_EQ(leaves, 1, "mouse leave reported");
  // A leave of an earlier showing, reported once the popup shows again, is not
  // this showing's: a status popup following another under a resting pointer
  // vanished at once.
  SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(30, 15));
  popup->Hide();
  popup->ShowNoActivate();
  SendMessageA(window, WM_MOUSELEAVE, 0, 0);
  CHECK_EQ(leaves, 1, "a leave from before the popup was hidden is not reported");

  failing = "paint";
  popup->Invalidate();
  UpdateWindow(window);
  CHECK_EQ(guarded, 1, "a failing paint goes to the guard");
  failing.clear();

  popup->Hide();
  CHECK(!popup->Visible(), "hidden");
  popup.reset();
  CHECK(!IsWindow(window), "destroyed with its component");

  NotificationUnderThePointer(clock, owner);
  DestroyWindow(owner);
}

}  // namespace check
