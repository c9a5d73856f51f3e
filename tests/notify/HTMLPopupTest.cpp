#include <gtest/gtest.h>

#include <vector>

#include "notify/HTMLPopupNotice.h"
#include "PopupFixtures.h"

using namespace tavlen;
using namespace tavlen::test;
using tavlen::sim::PaintOp;

namespace {

std::vector<PaintOp> Texts(const std::vector<PaintOp>& ops) {
  std::vector<PaintOp> texts;
  for (const auto& op : ops)
    if (op.kind == PaintOp::Kind::kText) texts.push_back(op);
  return texts;
}

constexpr Rgb kLightBlue = 0xFBEED9;

}  // namespace

TEST(HTMLPopup, DefaultsAndShowing) {
  PopupWorld world;
  THTMLPopup popup = world.MakePopup();
  EXPECT_FALSE(popup.AlwaysOnTop || popup.AutoHide || popup.AutoSize || popup.Hover ||
               popup.ShadeEnable);
  EXPECT_EQ(popup.BorderSize, 0);
  EXPECT_EQ(popup.Color, clInfoBk);
  EXPECT_EQ(popup.ShadeStartColor, 12632256u);
  EXPECT_EQ(popup.ShadeEndColor, 8421504u);
  EXPECT_EQ(popup.ShadeSteps, 40);
  EXPECT_EQ(popup.ShadeDirection, sdHorizontal);
  EXPECT_EQ(popup.PopupWidth, 200);
  EXPECT_EQ(popup.PopupHeight, 200);

  popup.HidePopup();  // before any showing: nothing to hide
  EXPECT_EQ(world.host.created(), 0);

  ConfigureNotificationPopup(popup);
  popup.PopupLeft = 860;
  popup.PopupTop = 950;
  popup.SetText({"a", "b"});
  popup.ShowPopup();
  ASSERT_EQ(world.host.created(), 1);
  sim::SimPopupWindow& window = *world.host.last();
  EXPECT_TRUE(window.Visible());
  EXPECT_FALSE(window.has_focus());
  EXPECT_TRUE(window.topmost());
  EXPECT_EQ(window.owner(), PopupWorld::kOwner);
  EXPECT_EQ(window.Bounds(), (Rect{860, 950, 1060, 1040}));
  EXPECT_EQ(popup.Window()->Text(), "ab");
  EXPECT_EQ(popup.Window()->TextArea(), (Rect{7, 3, 195, 81}));

  // Settings wait for the next showing; the text does not.
  popup.PopupWidth = 300;
  popup.BorderSize = 0;
  const int invalidations = window.invalidations();
  popup.SetText({"new"});
  EXPECT_GT(window.invalidations(), invalidations);
  EXPECT_EQ(window.Bounds().Width(), 200);
  auto texts = Texts(window.Paint());
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "new");
  EXPECT_EQ(texts[0].rect.left, 8);  // still inside the one-pixel frame

  popup.HidePopup();
  EXPECT_FALSE(window.Visible());
  popup.ShowPopup();
  EXPECT_EQ(world.host.created(), 1);  // one window for the component's life
  EXPECT_EQ(window.Bounds().Width(), 300);
  EXPECT_EQ(popup.Window()->TextArea(), (Rect{6, 2, 296, 82}));
}

// A high-contrast scheme reaches the popups as it reaches the other windows:
// the status popup's background and its text take the scheme's colours.
TEST(HTMLPopup, SystemColoursComeFromTheUsersScheme) {
  PopupWorld world;
  world.host.scheme.colors[24] = 0x000000;  // COLOR_INFOBK: black
  world.host.scheme.colors[8] = 0xFFFFFF;   // COLOR_WINDOWTEXT: white
  THTMLPopup popup = world.MakePopup();
  popup.Color = clInfoBk;
  popup.SetText({"<P align=\"center\"><font size=+4>MIC ON</font></P>"});
  popup.ShowPopup();
  const auto ops = world.host.last()->Paint();
  ASSERT_FALSE(ops.empty());
  EXPECT_EQ(ops[0].kind, PaintOp::Kind::kFill);
  EXPECT_EQ(ops[0].color, 0x000000u);
  bool text = false;
  for (const auto& op : ops)
    if (op.kind == PaintOp::Kind::kText) {
      text = true;
      EXPECT_EQ(op.color, 0xFFFFFFu) << op.text;
    }
  EXPECT_TRUE(text);
}

TEST(HTMLPopup, PaintsNotificationInOrder) {
  PopupWorld world;
  THTMLPopup popup = world.MakePopup();
  ConfigureNotificationPopup(popup);
  popup.SetText({NotificationMarkup("Bob", "cam")});
  popup.ShowPopup();
  const auto ops = world.host.last()->Paint();
  ASSERT_FALSE(ops.empty());
  // Background first, then the frame's bands and edges, then the text.
  EXPECT_EQ(ops[0].kind, PaintOp::Kind::kFill);
  EXPECT_EQ(ops[0].rect, (Rect{0, 0, 200, 90}));
  EXPECT_EQ(ops[0].color, kLightBlue);
  std::size_t first_text = 0;
  while (first_text < ops.size() && ops[first_text].kind != PaintOp::Kind::kText) ++first_text;
  int lines = 0;
  for (std::size_t i = 1; i < first_text; ++i) {
    if (ops[i].kind == PaintOp::Kind::kFill) {
      EXPECT_EQ(ops[i].color, 0xF0F0F0u);  // clBtnFace
    }
    if (ops[i].kind == PaintOp::Kind::kLine) ++lines;
  }
  EXPECT_EQ(lines, 8);  // raised outer and sunken inner edge
  EXPECT_EQ(ops[first_text - 8].color, 0xFFFFFFu);  // outer edge starts white...
  EXPECT_EQ(ops[first_text - 4].color, 0x808080u);  // ...inner edge starts grey
  const auto texts = Texts(ops);
  ASSERT_EQ(texts.size(), 7u);
  EXPECT_EQ(texts[0].text, "Bob");
  EXPECT_EQ(texts[0].color, 0xFF0000u);
  EXPECT_TRUE(texts[0].font.bold && texts[0].font.underline);
  EXPECT_EQ(texts[0].rect, (Rect{89, 15, 113, 37}));
  EXPECT_EQ(texts[1].color, 0x000000u);
  EXPECT_EQ(texts[6].text, "cam");
  EXPECT_EQ(texts[6].color, 0x0000FFu);
  for (const auto& text : texts) EXPECT_TRUE(text.font.underline) << text.text;

  // Without a frame: a one-pixel edge in the 3D colours and no bands.
  popup.BorderSize = 0;
  popup.ShowPopup();
  const auto plain = world.host.last()->Paint();
  ASSERT_GE(plain.size(), 5u);
  EXPECT_EQ(plain[1].kind, PaintOp::Kind::kLine);
  EXPECT_EQ(plain[1].color, 0xE3E3E3u);
  EXPECT_EQ(plain[4].color, 0x696969u);
  EXPECT_EQ(plain[5].kind, PaintOp::Kind::kText);
}

TEST(HTMLPopup, GradientBackground) {
  PopupWorld world;
  THTMLPopup popup = world.MakePopup();
  ConfigureStatusPopup(popup);
  popup.ShadeEnable = true;
  popup.ShadeSteps = 4;
  popup.ShadeStartColor = 0x000000;
  popup.ShadeEndColor = 0x0000FF;
  popup.ShowPopup();
  auto ops = world.host.last()->Paint();
  ASSERT_GE(ops.size(), 4u);
  // 250 / 4: bands at 0, 63 (62.5 rounded), 125, 188, each one pixel wider.
  const Rect bands[] = {{0, 0, 64, 50}, {63, 0, 126, 50}, {125, 0, 189, 50}, {188, 0, 250, 50}};
  const Rgb reds[] = {0, 64, 128, 191};  // k × 255 / 4 rounded
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(ops[k].kind, PaintOp::Kind::kFill);
    EXPECT_EQ(ops[k].rect, bands[k]) << k;
    EXPECT_EQ(ops[k].color, reds[k]) << k;
  }
  popup.ShadeDirection = sdVertical;
  popup.ShadeSteps = 0;  // taken as one band
  popup.ShowPopup();
  ops = world.host.last()->Paint();
  EXPECT_EQ(ops[0].rect, (Rect{0, 0, 250, 50}));
  EXPECT_EQ(ops[0].color, 0u);
  EXPECT_EQ(ops[1].kind, PaintOp::Kind::kLine);
}

TEST(HTMLPopup, StatusLineAndAutoSize) {
  PopupWorld world;
  THTMLPopup popup = world.MakePopup();
  ConfigureStatusPopup(popup);
  popup.SetText({"<P align=\"center\"><font size=+4>SRC : MICROPHONE</font></P>"});
  popup.ShowPopup();
  const auto texts = Texts(world.host.last()->Paint());
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].rect.left, 7 + (239 - 112) / 2);
  for (const auto& text : texts) {
    EXPECT_EQ(text.font.points, 14);
    EXPECT_EQ(text.color, 0x000000u);
    EXPECT_FALSE(text.font.underline);
  }

  // Sized to the text: 112 × 21 plus 16, plus twice the frame.
  popup.AutoSize = true;
  popup.ShowPopup();
  EXPECT_EQ(world.host.last()->Bounds(), (Rect{0, 0, 128, 37}));
  popup.BorderSize = 3;
  popup.ShowPopup();
  EXPECT_EQ(world.host.last()->Bounds(), (Rect{0, 0, 134, 43}));
}

TEST(HTMLPopup, ClicksRaiseAnchorEventAndReturnFocus) {
  PopupWorld world;
  THTMLPopup popup = world.MakePopup();
  ConfigureNotificationPopup(popup);
  std::vector<std::string> clicked;
  THTMLPopup* sender = nullptr;
  sim::SimPopupWindow* shown = nullptr;
  bool focus_back_before_handler = false;
  popup.OnAnchorClick = [&](THTMLPopup& s, const std::string& anchor) {
    sender = &s;
    clicked.push_back(anchor);
    // A handler bringing another window forward must not lose it to the owner.
    focus_back_before_handler = shown && !shown->has_focus() && shown->focus_returns() == 1;
  };
  popup.SetText({NotificationMarkup("Bob", "cam")});
  popup.ShowPopup();
  sim::SimPopupWindow& window = *world.host.last();
  shown = &window;

  EXPECT_EQ(window.MoveMouse({95, 30}), PopupCursor::kHand);
  EXPECT_EQ(window.MoveMouse({95, 8}), PopupCursor::kArrow);  // empty first line
  window.Click({95, 30});  // on the speaker
  EXPECT_EQ(clicked, std::vector<std::string>{"activate"});
  EXPECT_EQ(sender, &popup);
  EXPECT_TRUE(focus_back_before_handler);
  EXPECT_EQ(window.focus_returns(), 1);
  // The handler brings the room forward; the console coming forward first
  // could take the front back.
  EXPECT_EQ(window.owner_fronts(), 0);
  EXPECT_FALSE(window.has_focus());
  window.Click({30, 30});  // beside the speaker
  window.Click({100, 8});  // the empty first line
  window.Click({3, 85});   // the frame
  EXPECT_EQ(clicked.size(), 1u);
  EXPECT_EQ(window.focus_returns(), 4);
  EXPECT_EQ(window.owner_fronts(), 3);  // no handler: the console comes forward

  // A failing handler still gives the focus back.
  popup.OnAnchorClick = [](THTMLPopup&, const std::string&) { throw std::runtime_error("x"); };
  popup.ShowPopup();
  EXPECT_THROW(window.Click({95, 30}), std::runtime_error);
  EXPECT_EQ(window.focus_returns(), 5);
  EXPECT_FALSE(window.has_focus());
}

TEST(HTMLPopup, HoverUnderlinesOnlyTheAnchorUnderTheMouse) {
  PopupWorld world;
  THTMLPopup popup = world.MakePopup();
  popup.Hover = true;
  popup.SetText({"<a href=\"one\">first</a> <a href=\"two\">second</a>"});
  popup.ShowPopup();
  sim::SimPopupWindow& window = *world.host.last();
  auto underlined = [&] {
    std::string names;
    for (const auto& text : Texts(window.Paint()))
      if (text.font.underline) names += text.text;
    return names;
  };
  EXPECT_EQ(underlined(), "");
  const int before = window.invalidations();
  window.MoveMouse({9, 10});  // over "first": x 7..27, line 2..14
  EXPECT_EQ(underlined(), "first");
  EXPECT_EQ(window.invalidations(), before + 1);
  window.MoveMouse({10, 10});  // same anchor: no repaint
  EXPECT_EQ(window.invalidations(), before + 1);
  window.MoveMouse({35, 10});  // over "second"
  EXPECT_EQ(underlined(), "second");
  window.LeaveMouse();
  EXPECT_EQ(underlined(), "");
  EXPECT_TRUE(window.Visible());  // AutoHide is off
}

TEST(HTMLPopup, AutoHideOnMouseLeave) {
  PopupWorld world;
  THTMLPopup popup = world.MakePopup();
  ConfigureStatusPopup(popup);
  popup.ShowPopup();
  sim::SimPopupWindow& window = *world.host.last();
  window.MoveMouse({10, 10});
  EXPECT_TRUE(window.Visible());
  window.LeaveMouse();
  EXPECT_FALSE(window.Visible());
}

TEST(HTMLPopupSlides, SlideInStepsUpFromBelowTheWorkArea) {
  PopupWorld world;
  world.desktop.work_area = {0, 0, 1920, 1040};
  THTMLPopup popup = world.MakePopup();
  ConfigureStatusPopup(popup);
  popup.PopupWidth = 250;
  // A timer that ticks during the waits, nested inside the slide.
  std::vector<int> tops;
  world.clock.StartTimer(1, 50, [&] { tops.push_back(world.host.last()->Bounds().top); });
  popup.SlideIn();
  sim::SimPopupWindow& window = *world.host.last();
  EXPECT_EQ(tops, (std::vector<int>{1040, 1020, 1000}));
  EXPECT_EQ(window.Bounds(), (Rect{1650, 990, 1900, 1040}));
  EXPECT_TRUE(window.Visible());
  EXPECT_EQ(world.clock.NowMs(), 150);
  EXPECT_EQ(popup.PopupLeft, 1650);

  tops.clear();
  world.clock.StartTimer(1, 50, [&] { tops.push_back(window.Bounds().top); });
  popup.SlideOut();
  EXPECT_EQ(tops, (std::vector<int>{990, 1010, 1030}));
  EXPECT_EQ(window.Bounds().top, 1050);
  EXPECT_FALSE(window.Visible());
  EXPECT_EQ(world.clock.NowMs(), 300);
}

TEST(HTMLPopupSlides, EventsDuringTheSlide) {
  PopupWorld world;
  world.desktop.work_area = {0, 0, 1024, 700};
  THTMLPopup popup = world.MakePopup();
  ConfigureStatusPopup(popup);

  // Something run during a wait moves the window: the slide goes on from there.
  world.clock.StartTimer(1, 75, [&] {
    auto& window = *world.host.last();
    const Rect b = window.Bounds();
    window.SetBounds({b.left, 655, b.right, 705});
    world.clock.StopTimer(1);
  });
  popup.SlideIn();
  EXPECT_EQ(world.host.last()->Bounds().top, 650);
  EXPECT_EQ(world.clock.NowMs(), 100);

  // The mouse passing over and away hides an auto-hiding popup mid-slide; the slide
  // finishes with the hidden window, and SlideOut still moves and hides it.
  world.clock.StartTimer(2, 60, [&] {
    world.host.last()->MoveMouse({5, 5});
    world.host.last()->LeaveMouse();
    world.clock.StopTimer(2);
  });
  popup.SlideIn();
  sim::SimPopupWindow& window = *world.host.last();
  EXPECT_FALSE(window.Visible());
  EXPECT_EQ(window.Bounds().top, 650);
  const int hides = window.hides();
  popup.SlideOut();
  EXPECT_EQ(window.Bounds().top, 710);
  EXPECT_GT(window.hides(), hides);

  // Sliding out a popup never shown does nothing.
  THTMLPopup other = world.MakePopup();
  const auto now = world.clock.NowMs();
  other.SlideOut();
  EXPECT_EQ(world.clock.NowMs(), now);
}
