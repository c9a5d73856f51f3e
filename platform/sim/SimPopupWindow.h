// A popup window on the simulated desktop: records its bounds, visibility and what
// it paints; tests move the mouse over it, click it and leave it.
#pragma once

#include <map>
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
  FontDescription font;
  Rgb color = 0;
};

// The user's colour scheme as GetSysColor gives it, by system index: Windows'
// default scheme unless a test sets another (high contrast, say).
struct SystemColors {
  std::map<int, Rgb> colors{{8, 0x000000},    // COLOR_WINDOWTEXT
                            {15, 0xF0F0F0},   // COLOR_BTNFACE
                            {21, 0x696969},   // COLOR_3DDKSHADOW
                            {22, 0xE3E3E3},   // COLOR_3DLIGHT
                            {23, 0x000000},   // COLOR_INFOTEXT
                            {24, 0xE1FFFF}};  // COLOR_INFOBK
  Rgb Get(int index) const {
    const auto found = colors.find(index);
    return found == colors.end() ? 0 : found->second;
  }
};

class RecordingCanvas : public Canvas {
 public:
  explicit RecordingCanvas(const SystemColors& scheme = {}) : scheme_(scheme) {}
  void FillRect(const Rect& rect, Rgb color) override;
  void PaintText(const Rect& rect, std::string_view text, const FontDescription& font, Rgb color) override;
  void Line(Point from, Point to, Rgb color) override;
  Rgb SystemColor(int index) override { return scheme_.Get(index); }

  std::vector<PaintOp> ops;

 private:
  SystemColors scheme_;
};

class SimPopupWindow : public PopupWindow {
 public:
  SimPopupWindow(Hwnd owner, PopupWindowEvents events, const SystemColors& scheme)
      : owner_(owner), events_(std::move(events)), scheme_(scheme) {}

  void SetTopmost(bool topmost) override { topmost_ = topmost; }
  void SetBounds(const Rect& bounds) override { bounds_ = bounds; }
  Rect Bounds() override { return bounds_; }
  void ShowNoActivate() override { visible_ = true; }
  void Hide() override;
  bool Visible() override { return visible_; }
  void Invalidate() override { ++invalidations_; }
  void ReturnFocusToOwner(bool owner_to_front) override;

  // Paints the window as it looks now.
  std::vector<PaintOp> Paint();
  // Mouse over the client point; returns the cursor the window chose.
  PopupCursor MoveMouse(Point client);
  // Click at the client point; the window is not activated by it.
  void Click(Point client);
  void LeaveMouse();

  Hwnd owner() const { return owner_; }
  bool topmost() const { return topmost_; }
  bool has_focus() const { return focused_; }
  int focus_returns() const { return focus_returns_; }
  // How many of them brought the owner to the front.
  int owner_fronts() const { return owner_fronts_; }
  int invalidations() const { return invalidations_; }
  int hides() const { return hides_; }
  PopupCursor cursor() const { return cursor_; }

 private:
  Hwnd owner_;
  PopupWindowEvents events_;
  const SystemColors& scheme_;  // the host's
  Rect bounds_;
  bool topmost_ = false;
  bool visible_ = false;
  bool focused_ = false;
  int focus_returns_ = 0;
  int owner_fronts_ = 0;
  int invalidations_ = 0;
  int hides_ = 0;
  PopupCursor cursor_ = PopupCursor::kArrow;
};

// Creates SimPopupWindows and keeps track of them for the tests.
class SimPopupHost : public PopupHost {
 public:
  std::unique_ptr<PopupWindow> CreatePopupWindow(Hwnd owner, PopupWindowEvents events) override;

  int created() const { return static_cast<int>(windows_.size()); }
  // The scheme every popup of this host paints with.
  SystemColors scheme;
  // The most recently created window (the host does not own it).
  SimPopupWindow* last() const { return windows_.empty() ? nullptr : windows_.back(); }

 private:
  std::vector<SimPopupWindow*> windows_;
};

}  // namespace tavlen::sim
