#include <gtest/gtest.h>

#include "base/Text.h"
#include "notify/HTMLPopupNotice.h"
#include "notify/Markup.h"
#include "platform/sim/SimTextMetrics.h"
#include "PopupFixtures.h"

using namespace tavlen;
using namespace tavlen::test;

namespace {

// The notification popup's text area: 200 × 90 with a one-pixel frame.
const Rect kNoticeArea{7, 3, 195, 81};

MarkupLayout Lay(std::string_view markup, const Rect& area = {0, 0, 200, 100}) {
  static sim::SimTextMetrics metrics;
  MarkupStyle style;  // MS Sans Serif 8 points, clWindowText
  return LayoutMarkup(markup, area, style, metrics);
}

}  // namespace

TEST(MarkupLayout, KeywordNotificationInItsPopup) {
  sim::RecordingCanvas canvas;  // the default scheme
  const MarkupLayout layout = Lay(NotificationMarkup("Bob", "cam"), kNoticeArea);
  ASSERT_EQ(layout.lines.size(), 4u);
  EXPECT_EQ(layout.anchors, std::vector<std::string>{"activate"});

  // Heights: 8 points → 12, 15 points → 22; lines stacked from the area's top.
  const int heights[] = {12, 22, 12, 22};
  int top = 3;
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(layout.lines[i].top, top) << i;
    EXPECT_EQ(layout.lines[i].height, heights[i]) << i;
    top += heights[i];
  }
  EXPECT_TRUE(layout.lines[0].pieces.empty());
  EXPECT_EQ(layout.lines[0].align, TextAlign::kLeft);

  EXPECT_EQ(Shown(layout.lines[1]), "Bob");
  EXPECT_EQ(Shown(layout.lines[2]), ansi(" a utilisé le mot "));
  EXPECT_EQ(Shown(layout.lines[3]), "cam");
  for (int i = 1; i < 4; ++i) EXPECT_EQ(layout.lines[i].align, TextAlign::kCenter) << i;

  // Centred: left + 1 + (188 - 1 - width) / 2; bold 15 points is 8 pixels a
  // character, the connecting words 17 characters of 4 (the final blank ignored).
  EXPECT_EQ(layout.lines[1].width, 24);
  EXPECT_EQ(layout.lines[1].left, 8 + (187 - 24) / 2);
  EXPECT_EQ(layout.lines[2].width, 68);
  EXPECT_EQ(layout.lines[2].left, 8 + (187 - 68) / 2);
  EXPECT_EQ(layout.lines[3].left, 8 + (187 - 24) / 2);

  const MarkupPiece& speaker = layout.lines[1].pieces.at(0);
  EXPECT_EQ(speaker.font.points, 15);
  EXPECT_TRUE(speaker.font.bold);
  EXPECT_EQ(ResolveColor(speaker.color, canvas), 0xFF0000u);  // blue
  const MarkupPiece& word = layout.lines[3].pieces.at(0);
  EXPECT_EQ(word.font.points, 15);
  EXPECT_TRUE(word.font.bold);
  EXPECT_EQ(ResolveColor(word.color, canvas), 0x0000FFu);  // red
  for (const auto& piece : layout.lines[2].pieces) {
    EXPECT_EQ(piece.font.points, 8);
    EXPECT_FALSE(piece.font.bold);
    EXPECT_EQ(piece.color, clWindowText);
  }
  for (int i = 1; i < 4; ++i) {
    for (const auto& piece : layout.lines[i].pieces) {
      EXPECT_TRUE(piece.font.underline) << piece.text;
      EXPECT_EQ(piece.anchor, 0) << piece.text;
      // Bottom-aligned in the line.
      EXPECT_EQ(piece.rect.bottom, layout.lines[i].top + layout.lines[i].height);
    }
  }
  // The 8-point words of line 3 are cut after every blank.
  EXPECT_EQ(layout.lines[2].pieces.size(), 5u);
}

TEST(MarkupLayout, StatusLineCentredAtFourteenPoints) {
  sim::RecordingCanvas canvas;  // the default scheme
  // 250 × 50 without a frame: text area 240 × 40.
  const MarkupLayout layout =
      Lay("<P align=\"center\"><font size=+4>SRC : MICROPHONE</font></P>", {6, 2, 246, 42});
  ASSERT_EQ(layout.lines.size(), 1u);
  const MarkupLine& line = layout.lines[0];
  EXPECT_EQ(Shown(line), "SRC : MICROPHONE");
  EXPECT_EQ(line.height, 21);
  EXPECT_EQ(line.width, 16 * 7);
  EXPECT_EQ(line.left, 7 + (239 - 112) / 2);
  for (const auto& piece : line.pieces) {
    EXPECT_EQ(piece.font.points, 14);
    EXPECT_EQ(ResolveColor(piece.color, canvas), 0x000000u);
    EXPECT_FALSE(piece.font.underline);
    EXPECT_EQ(piece.anchor, -1);
  }
  EXPECT_TRUE(layout.anchors.empty());
}

TEST(MarkupLayout, WrapsAtBlanksCutsLongWordsAndStopsAtTheBottom) {
  // A speaker too wide at 15 points wraps after a blank; the word's line then no
  // longer fits the 78-pixel area and is not drawn.
  MarkupLayout layout = Lay(NotificationMarkup("Jean Pierre Marie Dupont", "cam"), kNoticeArea);
  ASSERT_EQ(layout.lines.size(), 4u);
  EXPECT_EQ(Shown(layout.lines[1]), "Jean Pierre Marie ");
  EXPECT_EQ(layout.lines[1].width, 17 * 8);
  EXPECT_EQ(Shown(layout.lines[2]), "Dupont");
  EXPECT_EQ(layout.lines[2].height, 22);
  EXPECT_EQ(Shown(layout.lines[3]), ansi(" a utilisé le mot "));
  EXPECT_EQ(layout.TextHeight(), 12 + 22 + 22 + 12);

  // A taller area shows the word again.
  layout = Lay(NotificationMarkup("Jean Pierre Marie Dupont", "cam"), {7, 3, 195, 111});
  ASSERT_EQ(layout.lines.size(), 5u);
  EXPECT_EQ(Shown(layout.lines[4]), "cam");

  // A single word wider than the area stays on its line and is cut at the edge;
  // the next line is unaffected.
  const std::string nick = "Abcdefghijklmnopqrstuvwxyz";  // 26 × 8 = 208 pixels
  layout = Lay(NotificationMarkup(nick, "cam"), kNoticeArea);
  ASSERT_EQ(layout.lines.size(), 4u);
  ASSERT_EQ(layout.lines[1].pieces.size(), 1u);
  const MarkupPiece& cut = layout.lines[1].pieces[0];
  EXPECT_EQ(cut.rect.left, 8);  // no free width: starts at the left position
  EXPECT_EQ(cut.rect.right, 8 + 208);
  EXPECT_EQ(cut.clip_right, 195);
  EXPECT_EQ(Shown(layout.lines[2]), ansi(" a utilisé le mot "));

  // Text that follows a piece without a blank and does not fit stays and is cut;
  // the piece after that starts a new line.
  layout = Lay("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa<b>bbbbbbbb</b> ccc", {0, 0, 200, 100});
  ASSERT_EQ(layout.lines.size(), 2u);
  EXPECT_EQ(layout.lines[0].pieces.size(), 2u);
  EXPECT_EQ(layout.lines[0].pieces[1].clip_right, 200);
  EXPECT_EQ(Shown(layout.lines[1]), " ccc");

  // Nothing after the first line whose successor would pass the bottom.
  layout = Lay("one<br>two<br>three<br>four", {0, 0, 200, 30});
  ASSERT_EQ(layout.lines.size(), 2u);  // 12 + 12, and 24 + 12 > 30
  EXPECT_EQ(Shown(layout.lines[1]), "two");
}

TEST(MarkupLayout, FitRuleAndAlignment) {
  // 4 pixels a character in a 40-pixel area: 9 characters fit, 10 do not.
  MarkupLayout layout = Lay("aaaa bbbb c", {0, 0, 40, 100});
  ASSERT_EQ(layout.lines.size(), 2u);
  EXPECT_EQ(Shown(layout.lines[0]), "aaaa ");
  EXPECT_EQ(Shown(layout.lines[1]), "bbbb c");
  layout = Lay("aaaa bbb", {0, 0, 40, 100});
  EXPECT_EQ(layout.lines.size(), 1u);  // 32 < 40

  // Left: one pixel in; right: right edge minus width, trailing blank ignored.
  layout = Lay("ab <P align=\"right\">cd <br>ef<P align=left>gh", {10, 0, 110, 100});
  ASSERT_EQ(layout.lines.size(), 2u);
  EXPECT_EQ(layout.lines[0].align, TextAlign::kRight);  // ALIGN counts for its own line
  EXPECT_EQ(layout.lines[0].width, 20);
  EXPECT_EQ(layout.lines[0].left, 110 - 20);
  EXPECT_EQ(layout.lines[1].left, 11);
  // A right-aligned line too wide for the area starts at the left position.
  layout = Lay("<p align=\"RIGHT\">abcdefghijklmnop</p>", {10, 0, 60, 100});
  EXPECT_EQ(layout.lines.at(0).left, 11);

  // Font, alignment and anchor carry over; /FONT leaves bold alone.
  layout = Lay("<a href=\"x\"><p align=\"center\"><b><font size=15>aaa<br>bbb</font>ccc</b></a>ddd",
               {0, 0, 300, 200});
  ASSERT_EQ(layout.lines.size(), 2u);
  const MarkupLine& second = layout.lines[1];
  EXPECT_EQ(second.start_font.points, 15);
  EXPECT_TRUE(second.start_font.bold);
  EXPECT_EQ(second.align, TextAlign::kCenter);
  ASSERT_EQ(second.pieces.size(), 3u);
  EXPECT_EQ(second.pieces[0].anchor, 0);
  EXPECT_EQ(second.pieces[1].font.points, 8);
  EXPECT_TRUE(second.pieces[1].font.bold);
  EXPECT_EQ(second.pieces[1].anchor, 0);
  EXPECT_EQ(second.pieces[2].anchor, -1);
  EXPECT_FALSE(second.pieces[2].font.underline);
  EXPECT_EQ(second.pieces[2].color, clWindowText);
}

TEST(MarkupLayout, FontSizesColoursAndFaces) {
  const MarkupLayout layout = Lay(
      "<font size=1>a</font><FONT SIZE=\"2\">a</FONT><font size=3>a</font><font size=+4>a</font>"
      "<font size=5>a</font><font size=15>a</font><font size=x>a</font>"
      "<font color=\"#123456\" face=\"Arial\">a</font><font color=\"clNavy\">a</font>"
      "<font color=\"unknown\">a</font><font bgcolor=\"#FFFFFF\">a</font>",
      {0, 0, 400, 100});
  ASSERT_EQ(layout.lines.size(), 1u);
  const auto& p = layout.lines[0].pieces;
  ASSERT_EQ(p.size(), 11u);
  const int points[] = {8, 10, 12, 14, 16, 15, 8};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(p[i].font.points, points[i]) << i;

  // A size from a hostile text neither overflows the layout nor gives a font
  // bigger than a popup could ever show.
  const MarkupLayout huge = Lay("<font size=1111111111>a</font><font size=2147483647>b</font>", {0, 0, 400, 100});
  ASSERT_EQ(huge.lines.size(), 1u);
  for (const auto& piece : huge.lines[0].pieces) EXPECT_EQ(piece.font.points, 500);
  EXPECT_EQ(p[7].color, 0x563412u);
  EXPECT_EQ(p[7].font.name, "Arial");
  EXPECT_EQ(p[8].color, clNavy);
  EXPECT_EQ(p[8].font.name, "MS Sans Serif");
  EXPECT_EQ(p[9].color, clBlack);
  EXPECT_EQ(p[10].background, clWhite);
  EXPECT_EQ(p[10].color, clWindowText);
}

TEST(MarkupPreparation, EntitiesBreaksTagsAndMnemonics) {
  MarkupLayout layout = Lay("a&amp;&amp;b &LT;i&gt; &quot;q&quot;&nbsp;x");
  ASSERT_EQ(layout.lines.size(), 1u);
  EXPECT_EQ(Shown(layout.lines[0]), "a&b <i> \"q\" x");

  // A single "&" is a mnemonic: not drawn, so not measured.
  layout = Lay("&Fichier");
  EXPECT_EQ(layout.lines.at(0).width, 7 * 4);
  EXPECT_EQ(layout.lines[0].pieces.at(0).text, "&Fichier");

  // CR breaks the line, LF is dropped.
  layout = Lay("one\r\ntwo\nthree");
  ASSERT_EQ(layout.lines.size(), 2u);
  EXPECT_EQ(Shown(layout.lines[1]), "twothree");

  // Unknown tags vanish; an unclosed tag drops the rest.
  layout = Lay("<i>x</i><img src=\"y\"><Hr>z<u>w</U>");
  ASSERT_EQ(layout.lines.size(), 1u);
  EXPECT_EQ(Shown(layout.lines[0]), "xzw");
  layout = Lay("abc<br>def<b ghi");
  ASSERT_EQ(layout.lines.size(), 2u);
  EXPECT_EQ(Shown(layout.lines[1]), "def");
  EXPECT_EQ(Shown(layout.lines[0]), "abc");

  // An empty text has no lines.
  EXPECT_TRUE(Lay("").lines.empty());
}

TEST(MarkupPreparation, HostileNickShowsAsTyped) {
  const std::string nick = "<b>x</a>&y<br>";
  const std::string word = "&lt;</P>";
  const MarkupLayout layout = Lay(NotificationMarkup(nick, word), {7, 3, 395, 181});
  ASSERT_EQ(layout.lines.size(), 4u);
  EXPECT_EQ(Shown(layout.lines[1]), nick);
  EXPECT_EQ(Shown(layout.lines[3]), word);
  EXPECT_EQ(layout.anchors.size(), 1u);
  for (int i = 1; i < 4; ++i)
    for (const auto& piece : layout.lines[i].pieces) {
      EXPECT_EQ(piece.anchor, 0);
      EXPECT_EQ(piece.font.bold, i != 2);
    }
  // The nick's characters are measured as shown: 14 bold characters of 8.
  EXPECT_EQ(layout.lines[1].width, 14 * 8);
}

TEST(MarkupHitTest, OnAndBesideTheAnchor) {
  MarkupLayout layout = Lay(NotificationMarkup("Bob", "cam"), kNoticeArea);
  const int speaker_left = 8 + (187 - 24) / 2;
  const int speaker_bottom = 3 + 12 + 22;
  EXPECT_EQ(AnchorAt(layout, {speaker_left, speaker_bottom - 1}), 0);
  EXPECT_EQ(AnchorAt(layout, {speaker_left + 23, speaker_bottom - 22}), 0);
  EXPECT_EQ(AnchorAt(layout, {speaker_left - 1, speaker_bottom - 5}), -1);
  EXPECT_EQ(AnchorAt(layout, {speaker_left + 24, speaker_bottom - 5}), -1);
  EXPECT_EQ(AnchorAt(layout, {100, 5}), -1);  // the empty first line
  EXPECT_EQ(AnchorAt(layout, {2, 40}), -1);   // the margin
  EXPECT_EQ(AnchorAt(layout, {100, 85}), -1);  // below the text

  // On a mixed line only the band one "gh" high of each piece's font answers.
  layout = Lay("<a href=\"x\">small<font size=15>BIG</font></a>", {0, 0, 300, 100});
  ASSERT_EQ(layout.lines.size(), 1u);
  const int bottom = layout.lines[0].height;  // 22
  EXPECT_EQ(AnchorAt(layout, {3, bottom - 12}), 0);
  EXPECT_EQ(AnchorAt(layout, {3, bottom - 13}), -1);
  EXPECT_EQ(AnchorAt(layout, {1 + 20 + 3, bottom - 22}), 0);
  EXPECT_EQ(layout.anchors, std::vector<std::string>{"x"});

  // A cut piece answers only up to the area's edge.
  layout = Lay(NotificationMarkup("Abcdefghijklmnopqrstuvwxyz", "cam"), kNoticeArea);
  EXPECT_EQ(AnchorAt(layout, {194, speaker_bottom - 1}), 0);
  EXPECT_EQ(AnchorAt(layout, {195, speaker_bottom - 1}), -1);
}

TEST(NotificationPlacement, CentredAboveHorizontalTaskbars) {
  EXPECT_EQ(NotificationPosition(1920, 1080, {0, 1040, 1920, 1080}, 200, 90), (Point{860, 950}));
  EXPECT_EQ(NotificationPosition(1920, 1080, {0, 0, 1920, 40}, 200, 90), (Point{860, 950}));
  EXPECT_EQ(NotificationPosition(1920, 1080, {0, 0, 60, 1080}, 200, 90), (Point{860, 990}));
  EXPECT_EQ(NotificationPosition(1920, 1080, {}, 200, 90), (Point{860, 990}));
  // Two monitors side by side: centred on the whole desktop.
  EXPECT_EQ(NotificationPosition(3841, 1200, {0, 1170, 1920, 1200}, 200, 90), (Point{1820, 1080}));
}
