// THTMLPopupWindow: the popup's platform window together with the copies of the
// settings it was last shown with. It paints the background, the frame and the
// text, hit-tests anchors, and reports anchor clicks.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "notify/Markup.h"
#include "notify/MarkupColor.h"
#include "platform/PopupSurface.h"

namespace tavlen {

enum TShadeDirection { sdHorizontal, sdVertical };

struct TFont {
  std::string Name = "MS Sans Serif";
  int Size = 8;  // points
  TColor Color = clWindowText;
  bool Bold = false;
  bool Underline = false;
};

// How the window looks; copied from the component at each showing.
struct PopupLook {
  bool AutoHide = false;
  int BorderSize = 0;
  TColor Color = clInfoBk;
  TFont Font;
  bool Hover = false;
  bool ShadeEnable = false;
  TColor ShadeStartColor = clSilver;
  TColor ShadeEndColor = clGray;
  int ShadeSteps = 40;
  TShadeDirection ShadeDirection = sdHorizontal;
};

class THTMLPopupWindow {
 public:
  THTMLPopupWindow(PopupHost& host, Hwnd owner, TextMetrics& metrics);

  PopupWindow& Window() { return *window_; }
  const std::string& Text() const { return text_; }
  // Replaces the text and repaints at once.
  void SetText(std::string text);
  void SetLook(const PopupLook& look);
  std::function<void(const std::string& anchor)> OnAnchorClick;

  // Client coordinates of the text area for the window's current size.
  Rect TextArea();
  MarkupLayout Layout();
  // Sizes the window to its text, keeping its top-left corner.
  void FitToText();
  void Paint(Canvas& canvas);

 private:
  PopupCursor MouseMove(Point point);
  void Click(Point point);
  void MouseLeave();
  void PaintBackground(Canvas& canvas, const Rect& client);

  TextMetrics& metrics_;
  std::unique_ptr<PopupWindow> window_;
  std::string text_;
  PopupLook look_;
  int hovered_anchor_ = -1;
};

}  // namespace tavlen
