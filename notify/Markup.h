// The popup's small HTML subset: preparation of the text (entities, line breaks,
// mnemonic "&"), the tags A, B, BR, FONT and P with their closing forms, line
// layout, hit-testing of anchors and drawing of the laid-out text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "notify/MarkupColor.h"
#include "platform/PopupSurface.h"
#include "platform/TextMetrics.h"

namespace tavlen {

enum class TextAlign { kLeft, kCenter, kRight };

struct MarkupPiece {
  std::string text;  // as drawn: a mnemonic "&" is still in it
  FontDescription font;
  TColor color = clBlack;
  TColor background = clNone;
  int anchor = -1;  // index into MarkupLayout::anchors, -1 outside anchors
  Rect rect;        // full extent, bottom-aligned in its line
  int clip_right = 0;  // right edge once cut at the text area's edge
  int hit_top = 0;     // anchors answer from here down to the line's bottom
};

struct MarkupLine {
  int top = 0;
  int height = 0;
  int left = 0;   // where the first piece starts
  int width = 0;  // without a blank at the end
  TextAlign align = TextAlign::kLeft;
  FontDescription start_font;
  TColor background = clNone;
  std::vector<MarkupPiece> pieces;
};

struct MarkupLayout {
  Rect area;
  std::vector<MarkupLine> lines;  // only those that are drawn
  std::vector<std::string> anchors;

  int TextWidth() const;
  int TextHeight() const;
};

struct MarkupStyle {
  FontDescription font;  // the popup font: the text starts in it and returns to it
  TColor color = clWindowText;
  bool hover = false;       // anchors underlined only while hovered
  int hovered_anchor = -1;
};

// Text shown as typed: "<", ">" and "&" can neither open tags nor act as mnemonics.
std::string EscapeMarkup(std::string_view text);

MarkupLayout LayoutMarkup(std::string_view markup, const Rect& area, const MarkupStyle& style,
                          TextMetrics& metrics);
// Index of the anchor under the point, or -1.
int AnchorAt(const MarkupLayout& layout, Point point);
// Draws the text transparently (backgrounds only where the markup asks for them).
void PaintMarkup(Canvas& canvas, const MarkupLayout& layout);

}  // namespace tavlen
