#include "platform/sim/SimPopupWindow.h"

namespace tavlen::sim {

void RecordingCanvas::FillRect(const Rect& rect, Rgb color) {
  PaintOp op;
  op.kind = PaintOp::Kind::kFill;
  op.rect = rect;
  op.color = color;
  ops.push_back(op);
}

void RecordingCanvas::PaintText(const Rect& rect, std::string_view text, const FontDescription& font,
                               Rgb color) {
  PaintOp op;
  op.kind = PaintOp::Kind::kText;
  op.rect = rect;
  op.text = std::string(text);
  op.font = font;
  op.color = color;
  ops.push_back(op);
}

void RecordingCanvas::Line(Point from, Point to, Rgb color) {
  PaintOp op;
  op.kind = PaintOp::Kind::kLine;
  op.from = from;
  op.to = to;
  op.color = color;
  ops.push_back(op);
}

void SimPopupWindow::Hide() {
  visible_ = false;
  focused_ = false;
  ++hides_;
}

void SimPopupWindow::ReturnFocusToOwner(bool owner_to_front) {
  focused_ = false;
  ++focus_returns_;
  if (owner_to_front) ++owner_fronts_;
}

std::vector<PaintOp> SimPopupWindow::Paint() {
  RecordingCanvas canvas(scheme_);
  if (events_.paint) events_.paint(canvas);
  return canvas.ops;
}

PopupCursor SimPopupWindow::MoveMouse(Point client) {
  cursor_ = events_.mouse_move ? events_.mouse_move(client) : PopupCursor::kArrow;
  return cursor_;
}

void SimPopupWindow::Click(Point client) {
  if (!visible_) return;
  MoveMouse(client);
  if (events_.click) events_.click(client);
}

void SimPopupWindow::LeaveMouse() {
  if (events_.mouse_leave) events_.mouse_leave();
}

std::unique_ptr<PopupWindow> SimPopupHost::CreatePopupWindow(Hwnd owner, PopupWindowEvents events) {
  auto window = std::make_unique<SimPopupWindow>(owner, std::move(events), scheme);
  windows_.push_back(window.get());
  return window;
}

}  // namespace tavlen::sim
