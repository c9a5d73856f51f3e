// The popup's markup: layout, hit-testing and painting of any text in a window of
// any size and look, as the popup window runs them; and text escaped for the popup
// shows exactly as typed.
#include <algorithm>

#include "FuzzSupport.h"
#include "notify/HTMLPopupWindow.h"
#include "notify/Markup.h"
#include "platform/sim/SimPopupWindow.h"
#include "platform/sim/SimTextMetrics.h"

using namespace tavlen;

namespace {

void CheckLayout(const MarkupLayout& layout) {
  int previous_bottom = layout.area.top;
  for (const MarkupLine& line : layout.lines) {
    FUZZ_CHECK(line.top == previous_bottom);
    FUZZ_CHECK(line.height >= 0);
    previous_bottom = line.top + line.height;
    for (const MarkupPiece& piece : line.pieces) {
      FUZZ_CHECK(piece.anchor >= -1 && piece.anchor < static_cast<int>(layout.anchors.size()));
      FUZZ_CHECK(piece.rect.bottom == line.top + line.height);
      FUZZ_CHECK(piece.clip_right <= layout.area.right && piece.clip_right <= piece.rect.right);
      // Inside an anchor's hit area, some anchor answers.
      if (piece.anchor >= 0 && piece.rect.left < piece.clip_right && piece.hit_top < piece.rect.bottom) {
        const Point inside{piece.rect.left, piece.rect.bottom - 1};
        FUZZ_CHECK(AnchorAt(layout, inside) >= 0);
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static sim::SimTextMetrics metrics;
  fuzz::Input in(fuzz::AsText(data, size));
  const int width = in.Byte() * 2;
  const int height = in.Byte() * 2;
  const std::uint8_t flags = in.Byte();
  const int font_points = 1 + in.Byte() % 40;
  const int border = in.Byte() % 8;
  const int px = in.Int16(), py = in.Int16();
  const std::string markup(in.Rest());

  // The layout functions on their own.
  MarkupStyle style;
  style.font.points = font_points;
  style.font.bold = flags & 1;
  style.hover = flags & 2;
  style.hovered_anchor = (flags & 4) ? 0 : -1;
  const Rect area{6, 2, 6 + width, 2 + height};
  const MarkupLayout layout = LayoutMarkup(markup, area, style, metrics);
  CheckLayout(layout);
  const int hit = AnchorAt(layout, {px, py});
  FUZZ_CHECK(hit >= -1 && hit < static_cast<int>(layout.anchors.size()));
  sim::RecordingCanvas canvas;
  PaintMarkup(canvas, layout);
  for (const sim::PaintOp& op : canvas.ops)
    if (op.kind == sim::PaintOp::Kind::kText) FUZZ_CHECK(op.rect.left < op.rect.right);

  // In the popup window, with its frame, shading, hover and clicks.
  sim::SimPopupHost host;
  THTMLPopupWindow window(host, kNoWindow, metrics);
  PopupLook look;
  look.BorderSize = border;
  look.Font.Size = font_points;
  look.Hover = flags & 2;
  look.AutoHide = flags & 8;
  look.ShadeEnable = flags & 16;
  look.ShadeSteps = flags >> 3;
  look.ShadeDirection = (flags & 32) ? sdVertical : sdHorizontal;
  window.SetLook(look);
  window.SetText(markup);
  window.Window().SetBounds({0, 0, width, height});
  window.Window().ShowNoActivate();
  int clicks = 0;
  window.OnAnchorClick = [&](const std::string&) { ++clicks; };
  auto& sim_window = static_cast<sim::SimPopupWindow&>(window.Window());
  (void)sim_window.Paint();
  (void)sim_window.MoveMouse({px, py});
  (void)sim_window.Paint();
  sim_window.Click({px, py});
  FUZZ_CHECK(clicks == (AnchorAt(window.Layout(), {px, py}) >= 0 ? 1 : 0));
  sim_window.LeaveMouse();
  if (flags & 64) {
    window.FitToText();
    (void)sim_window.Paint();
  }

  // Escaped text: no anchors, no tags, every character drawn as typed.
  const MarkupLayout plain = LayoutMarkup(EscapeMarkup(markup), {0, 0, 300, 1 << 24}, MarkupStyle{}, metrics);
  FUZZ_CHECK(plain.anchors.empty());
  std::string shown;
  for (const MarkupLine& line : plain.lines)
    for (const MarkupPiece& piece : line.pieces) shown += MnemonicVisible(piece.text);
  std::string typed;
  for (char c : markup)
    if (c != '\r' && c != '\n') typed += c;
  FUZZ_CHECK(shown == typed);
  return 0;
}
