// The popup surface on Win32: a borderless tooltip-style window (tool window,
// saves the pixels beneath, never activated by showing) of class
// "THTMLPopupWindow", painted through a double-buffered GDI canvas. It claims
// every point as client area, picks the cursor its content asks for, reports the
// mouse leaving it, and after a click hands the focus back to its owner.
#pragma once

#include <functional>
#include <memory>

#include "platform/PopupSurface.h"

namespace tavlen {

class Win32PopupHost final : public PopupHost {
 public:
  Win32PopupHost();
  std::unique_ptr<PopupWindow> CreatePopupWindow(Hwnd owner, PopupWindowEvents events) override;

  // The owner of popups created without one (the main window), asked when the
  // window is created and again whenever the focus goes back.
  std::function<Hwnd()> DefaultOwner;
  // Runs what the content reports (paint, mouse, focus) through the program's
  // error guard; exceptions are dropped when unset.
  std::function<void(const std::function<void()>&)> Guard;

  static constexpr char kClassName[] = "THTMLPopupWindow";
};

}  // namespace tavlen
