#include "notify/HTMLPopup.h"

#include <algorithm>

namespace tavlen {
namespace {

constexpr int kSlideStepMs = 50;
constexpr int kSlideStepPixels = 20;
constexpr int kPumpSliceMs = 10;

// Waits while still handling timer ticks, hotkeys and clicks, which may run nested.
void WaitHandlingEvents(Clock& clock, int ms) {
  const std::int64_t end = clock.NowMs() + ms;
  for (;;) {
    clock.ProcessMessages();
    const std::int64_t left = end - clock.NowMs();
    if (left <= 0) break;
    clock.Sleep(static_cast<int>(std::min<std::int64_t>(left, kPumpSliceMs)));
  }
}

}  // namespace

THTMLPopup::THTMLPopup(PopupHost& host, TextMetrics& metrics, Windowing& windowing, Clock& clock,
                       Hwnd owner)
    : host_(host), metrics_(metrics), windowing_(windowing), clock_(clock), owner_(owner) {}

std::string THTMLPopup::JoinedText() const {
  std::string joined;
  for (const auto& line : text_) joined += line;
  return joined;
}

void THTMLPopup::SetText(std::vector<std::string> lines) {
  text_ = std::move(lines);
  if (window_) window_->SetText(JoinedText());
}

void THTMLPopup::ApplySettings() {
  if (!window_) window_ = std::make_unique<THTMLPopupWindow>(host_, owner_, metrics_);
  PopupWindow& window = window_->Window();
  window.Hide();
  window_->SetText(JoinedText());
  window.SetTopmost(AlwaysOnTop);
  window.SetBounds({PopupLeft, PopupTop, PopupLeft + PopupWidth, PopupTop + PopupHeight});
  PopupLook look;
  look.AutoHide = AutoHide;
  look.BorderSize = BorderSize;
  look.Color = Color;
  look.Font = Font;
  look.Hover = Hover;
  look.ShadeEnable = ShadeEnable;
  look.ShadeStartColor = ShadeStartColor;
  look.ShadeEndColor = ShadeEndColor;
  look.ShadeSteps = ShadeSteps;
  look.ShadeDirection = ShadeDirection;
  window_->SetLook(look);
  window_->OnAnchorClick = [this, handler = OnAnchorClick](const std::string& anchor) {
    if (handler) handler(*this, anchor);
  };
  if (AutoSize) window_->FitToText();
}

void THTMLPopup::ShowPopup() {
  ApplySettings();
  window_->Window().ShowNoActivate();
}

void THTMLPopup::HidePopup() {
  if (window_) window_->Window().Hide();
}

void THTMLPopup::MoveTop(int top) {
  PopupWindow& window = window_->Window();
  const Rect b = window.Bounds();
  window.SetBounds({b.left, top, b.right, top + b.Height()});
}

void THTMLPopup::SlideIn() {
  const Rect work = windowing_.WorkArea();
  PopupTop = work.bottom;
  ApplySettings();
  PopupLeft = work.right - window_->Window().Bounds().Width() - 20;
  ShowPopup();
  PopupWindow& window = window_->Window();
  // Every step starts from where the window is now: code run during the wait may
  // have moved it.
  while (window.Bounds().bottom > work.bottom) {
    WaitHandlingEvents(clock_, kSlideStepMs);
    const Rect b = window.Bounds();
    MoveTop(std::max(b.top - kSlideStepPixels, work.bottom - b.Height()));
  }
  MoveTop(work.bottom - window.Bounds().Height());
}

void THTMLPopup::SlideOut() {
  if (!window_) return;
  const Rect work = windowing_.WorkArea();
  PopupWindow& window = window_->Window();
  while (window.Bounds().top < work.bottom) {
    WaitHandlingEvents(clock_, kSlideStepMs);
    MoveTop(window.Bounds().top + kSlideStepPixels);
  }
  HidePopup();
}

}  // namespace tavlen
