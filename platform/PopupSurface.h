// A borderless tooltip-style popup window and the drawing it is painted with.
// The window never takes the focus when shown; it reports what the mouse does
// and gives the focus back to its owner after a click.
#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "platform/TextMetrics.h"
#include "platform/Types.h"

namespace tavlen {

// Client coordinates, colours already resolved.
class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void FillRect(const Rect& rect, Rgb color) = 0;
  // Draws text transparently from the rect's top-left corner, clipped to the rect,
  // with the mnemonic rule (Win32 DrawText without DT_NOPREFIX). Named apart from
  // the <windows.h> macro.
  virtual void PaintText(const Rect& rect, std::string_view text, const FontDescription& font, Rgb color) = 0;
  // One-pixel line from `from` up to, not including, `to` (MoveTo/LineTo).
  virtual void Line(Point from, Point to, Rgb color) = 0;
  // A colour of the user's scheme by its system index (COLOR_INFOBK …), as the
  // other windows are painted with it: a high-contrast scheme reaches the popups.
  virtual Rgb SystemColor(int index) = 0;
};

enum class PopupCursor { kArrow, kHand };

// What the window reports to its content.
struct PopupWindowEvents {
  std::function<void(Canvas&)> paint;
  // The platform asks what lies under the mouse (client point); the answer picks
  // the cursor. The window always claims the point as client area.
  std::function<PopupCursor(Point)> mouse_move;
  // A click on the window, which does not activate it (or the focus given to it
  // some other way); the mouse position at that moment (client).
  std::function<void(Point)> click;
  std::function<void()> mouse_leave;
};

class PopupWindow {
 public:
  virtual ~PopupWindow() = default;
  virtual void SetTopmost(bool topmost) = 0;
  // Screen coordinates.
  virtual void SetBounds(const Rect& bounds) = 0;
  virtual Rect Bounds() = 0;
  virtual void ShowNoActivate() = 0;
  virtual void Hide() = 0;
  virtual bool Visible() = 0;
  virtual void Invalidate() = 0;
  // Hands the keyboard focus back to the owner window, and with owner_to_front
  // brings the owner to the front as well.
  virtual void ReturnFocusToOwner(bool owner_to_front) = 0;
};

class PopupHost {
 public:
  virtual ~PopupHost() = default;
  // Created hidden, owned by `owner`.
  virtual std::unique_ptr<PopupWindow> CreatePopupWindow(Hwnd owner, PopupWindowEvents events) = 0;
};

}  // namespace tavlen
