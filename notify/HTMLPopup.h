// THTMLPopup: a popup component that shows a short marked-up text near the edge of
// the screen and reports clicks on its anchors. Settings reach the window only at
// the next showing, except the text, which a visible popup shows at once.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "notify/HTMLPopupWindow.h"
#include "notify/MarkupColor.h"
#include "platform/Clock.h"
#include "platform/PopupSurface.h"
#include "platform/TextMetrics.h"
#include "platform/Windowing.h"

namespace tavlen {

class THTMLPopup {
 public:
  using TAnchorClickEvent = std::function<void(THTMLPopup& Sender, const std::string& Anchor)>;

  // `owner` is the window that owns the popup and gets the focus back after a click.
  THTMLPopup(PopupHost& host, TextMetrics& metrics, Windowing& windowing, Clock& clock,
             Hwnd owner = kNoWindow);

  bool AlwaysOnTop = false;
  bool AutoHide = false;
  bool AutoSize = false;
  int BorderSize = 0;
  TColor Color = clInfoBk;
  TFont Font;
  bool Hover = false;
  int PopupLeft = 0;
  int PopupTop = 0;
  bool ShadeEnable = false;
  TColor ShadeStartColor = clSilver;
  TColor ShadeEndColor = clGray;
  int ShadeSteps = 40;
  TShadeDirection ShadeDirection = sdHorizontal;
  int PopupWidth = 200;
  int PopupHeight = 200;
  TAnchorClickEvent OnAnchorClick;

  // The markup, as lines shown joined with nothing between them.
  const std::vector<std::string>& Text() const { return text_; }
  void SetText(std::vector<std::string> lines);

  void ApplySettings();
  void ShowPopup();
  void HidePopup();
  // Slides up from below the work area's bottom right corner, or down out of it,
  // handling pending events between the steps.
  void SlideIn();
  void SlideOut();

  // None until the first showing.
  THTMLPopupWindow* Window() { return window_.get(); }

 private:
  std::string JoinedText() const;
  void MoveTop(int top);

  PopupHost& host_;
  TextMetrics& metrics_;
  Windowing& windowing_;
  Clock& clock_;
  Hwnd owner_;
  std::vector<std::string> text_;
  std::unique_ptr<THTMLPopupWindow> window_;
};

}  // namespace tavlen
