#include "notify/HTMLPopupWindow.h"

#include <algorithm>
#include <cmath>

namespace tavlen {
namespace {

constexpr Rgb kWhite = 0xFFFFFF;
constexpr Rgb kGray = 0x808080;

// Left and top in one colour, right and bottom in the other (drawn last).
void Edge(Canvas& canvas, const Rect& r, Rgb top_left, Rgb bottom_right) {
  canvas.Line({r.left, r.top}, {r.right - 1, r.top}, top_left);
  canvas.Line({r.left, r.top}, {r.left, r.bottom - 1}, top_left);
  canvas.Line({r.right - 1, r.top}, {r.right - 1, r.bottom}, bottom_right);
  canvas.Line({r.left, r.bottom - 1}, {r.right, r.bottom - 1}, bottom_right);
}

int Channel(Rgb color, int shift) { return static_cast<int>((color >> shift) & 0xFF); }

}  // namespace

THTMLPopupWindow::THTMLPopupWindow(PopupHost& host, Hwnd owner, TextMetrics& metrics)
    : metrics_(metrics) {
  PopupWindowEvents events;
  events.paint = [this](Canvas& canvas) { Paint(canvas); };
  events.mouse_move = [this](Point point) { return MouseMove(point); };
  events.click = [this](Point point) { Click(point); };
  events.mouse_leave = [this] { MouseLeave(); };
  window_ = host.CreatePopupWindow(owner, std::move(events));
}

void THTMLPopupWindow::SetText(std::string text) {
  text_ = std::move(text);
  window_->Invalidate();
}

void THTMLPopupWindow::SetLook(const PopupLook& look) {
  look_ = look;
  hovered_anchor_ = -1;
  window_->Invalidate();
}

Rect THTMLPopupWindow::TextArea() {
  const Rect bounds = window_->Bounds();
  Rect content{0, 0, bounds.Width(), bounds.Height()};
  if (look_.BorderSize > 0) {
    const int b = look_.BorderSize;
    content = {content.left + b, content.top + b, content.right - b, content.bottom - b};
  }
  return {content.left + 6, content.top + 2, content.right - 4, content.bottom - 8};
}

MarkupLayout THTMLPopupWindow::Layout() {
  MarkupStyle style;
  style.font = {look_.Font.Name, look_.Font.Size, look_.Font.Bold, look_.Font.Underline};
  style.color = look_.Font.Color;
  style.hover = look_.Hover;
  style.hovered_anchor = hovered_anchor_;
  return LayoutMarkup(text_, TextArea(), style, metrics_);
}

void THTMLPopupWindow::FitToText() {
  const MarkupLayout layout = Layout();
  const Rect bounds = window_->Bounds();
  const int frame = 2 * look_.BorderSize + 16;
  window_->SetBounds({bounds.left, bounds.top, bounds.left + layout.TextWidth() + frame,
                      bounds.top + layout.TextHeight() + frame});
}

void THTMLPopupWindow::PaintBackground(Canvas& canvas, const Rect& client) {
  if (!look_.ShadeEnable) {
    canvas.FillRect(client, ResolveColor(look_.Color, canvas));
    return;
  }
  const int steps = std::max(1, look_.ShadeSteps);
  const Rgb start = ResolveColor(look_.ShadeStartColor, canvas);
  const Rgb end = ResolveColor(look_.ShadeEndColor, canvas);
  const bool horizontal = look_.ShadeDirection == sdHorizontal;
  const int extent = horizontal ? client.Width() : client.Height();
  auto at = [&](int k) { return static_cast<int>(std::lround(double(k) * extent / steps)); };
  for (int k = 0; k < steps; ++k) {
    Rgb color = 0;
    for (int shift : {0, 8, 16}) {
      const int s = Channel(start, shift);
      const int e = Channel(end, shift);
      const int c = s + static_cast<int>(std::lround(double(k) * (e - s) / steps));
      color |= static_cast<Rgb>(std::clamp(c, 0, 255)) << shift;
    }
    // Band edges are placed by rounding from the start, so the last band ends at
    // the far edge however the division falls; one pixel of overlap hides seams.
    const int from = at(k);
    const int to = std::min(extent, at(k + 1) + 1);
    if (horizontal)
      canvas.FillRect({client.left + from, client.top, client.left + to, client.bottom}, color);
    else
      canvas.FillRect({client.left, client.top + from, client.right, client.top + to}, color);
  }
}

void THTMLPopupWindow::Paint(Canvas& canvas) {
  const Rect bounds = window_->Bounds();
  const Rect client{0, 0, bounds.Width(), bounds.Height()};
  PaintBackground(canvas, client);
  const int b = look_.BorderSize;
  if (b > 0) {
    const Rgb face = ResolveColor(clBtnFace, canvas);
    canvas.FillRect({0, 0, client.right, b}, face);
    canvas.FillRect({0, client.bottom - b, client.right, client.bottom}, face);
    canvas.FillRect({0, 0, b, client.bottom}, face);
    canvas.FillRect({client.right - b, 0, client.right, client.bottom}, face);
    Edge(canvas, client, kWhite, kGray);
    Edge(canvas, {b, b, client.right - b, client.bottom - b}, kGray, kWhite);
  } else {
    Edge(canvas, client, ResolveColor(cl3DLight, canvas), ResolveColor(cl3DDkShadow, canvas));
  }
  PaintMarkup(canvas, Layout());
}

PopupCursor THTMLPopupWindow::MouseMove(Point point) {
  const int anchor = AnchorAt(Layout(), point);
  if (anchor != hovered_anchor_) {
    hovered_anchor_ = anchor;
    if (look_.Hover) window_->Invalidate();
  }
  return anchor >= 0 ? PopupCursor::kHand : PopupCursor::kArrow;
}

void THTMLPopupWindow::Click(Point point) {
  const MarkupLayout layout = Layout();
  const int anchor = AnchorAt(layout, point);
  const bool handled = anchor >= 0 && OnAnchorClick;
  // The focus goes back to the owner before the anchor's handler runs, and the
  // owner comes to the front only when no handler decides what does: a handler
  // that brings another program's window forward keeps it there (the owner
  // brought forward just before could take the front back).
  window_->ReturnFocusToOwner(!handled);
  if (handled) OnAnchorClick(layout.anchors[anchor]);
}

void THTMLPopupWindow::MouseLeave() {
  if (hovered_anchor_ >= 0) {
    hovered_anchor_ = -1;
    if (look_.Hover) window_->Invalidate();
  }
  if (look_.AutoHide) window_->Hide();
}

}  // namespace tavlen
