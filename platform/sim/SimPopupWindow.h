// A popup window on the simulated desktop: records its bounds, visibility and what
// it paints; tests move the mouse over it, click it and leave it.
#pragma once

#include <string>
#include <vector>

#include "platform/PopupSurface.h"

namespace tavlen::sim {

struct PaintOp {
  enum class Kind { kFill, kText, kLine };
  Kind kind = Kind::kFill;
  Rect rect;          // fill and text
  Point from, to;     // line
  std::string text;   // as handed over, mnemonic "&" included
  FontSpec font;
  Rgb color = 0;
};

class RecordingCanvas : public Canvas {
 public:
  void FillRect(const Rect& rect, Rgb color) override;
  void PaintText(const Rect& rect, std::string_view text, const FontSpec& font, Rgb color) override;
  void Line(Point from, Point to, Rgb color) override;

  std::vector<PaintOp> ops;
};

class SimPopupWindow : public PopupWindow {
 public:
  SimPopupWindow(Hwnd owner, PopupWindowEvents events) : owner_(owner), events_(std::move(events)) {}

  void SetTopmost(bool topmost) override { topmost_ = topmost; }
  void SetBounds(const Rect& bounds) override { bounds_ = bounds; }
  Rect Bounds() override { return bounds_; }
  void ShowNoActivate() override { visible_ = true; }
  void Hide() override;
  bool Visible() override { return visible_; }
  void Invalidate() override { ++invalidations_; }
  void ReturnFocusToOwner() override;

  // Paints the window as it looks now.
  std::vector<PaintOp> Paint();
  // Mouse over the client point; returns the cursor the window chose.
  PopupCursor MoveMouse(Point client);
  // Click at the client point: the window is activated and takes the focus.
  void Click(Point client);
  void LeaveMouse();

  Hwnd owner() const { return owner_; }
  bool topmost() const { return topmost_; }
  bool has_focus() const { return focused_; }
  int focus_returns() const { return focus_returns_; }
  int invalidations() const { return invalidations_; }
  int hides() const { return hides_; }
  PopupCursor cursor() const { return cursor_; }

 private:
  Hwnd owner_;
  PopupWindowEvents events_;
  Rect bounds_;
  bool topmost_ = false;
  bool visible_ = false;
  bool focused_ = false;
  int focus_returns_ = 0;
  int invalidations_ = 0;
  int hides_ = 0;
  PopupCursor cursor_ = PopupCursor::kArrow;
};

// Creates SimPopupWindows and keeps track of them for the tests.
class SimPopupHost : public PopupHost {
 public:
  std::unique_ptr<PopupWindow> CreatePopupWindow(Hwnd owner, PopupWindowEvents events) override;

  int created() const { return static_cast<int>(windows_.size()); }
  // The most recently created window (the host does not own it).
  SimPopupWindow* last() const { return windows_.empty() ? nullptr : windows_.back(); }

 private:
  std::vector<SimPopupWindow*> windows_;
};

}  // namespace tavlen::sim
