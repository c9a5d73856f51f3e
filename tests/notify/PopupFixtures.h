// Shared set-up for the popup tests: sim metrics and windows, virtual time, and a
// desktop that only knows its work area.
#pragma once

#include <string>

#include "notify/HTMLPopup.h"
#include "notify/Markup.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimPopupWindow.h"
#include "platform/sim/SimTextMetrics.h"
#include "platform/Windowing.h"

namespace tavlen::test {

class WorkAreaDesktop : public Windowing {
 public:
  Rect work_area{0, 0, 1920, 1040};

  Hwnd FindWindow(std::string_view, std::string_view) override { return kNoWindow; }
  Hwnd GetWindow(Hwnd, GetWindowCmd) override { return kNoWindow; }
  bool IsWindow(Hwnd) override { return false; }
  std::string GetClassName(Hwnd, int) override { return {}; }
  std::string GetWindowText(Hwnd, int) override { return {}; }
  std::string SendGetText(Hwnd, std::size_t) override { return {}; }
  bool SendGetTextLength(Hwnd, std::size_t&) override { return false; }
  bool SendSetText(Hwnd, std::string_view) override { return false; }
  bool Send(Hwnd, unsigned, std::uintptr_t, std::intptr_t, std::intptr_t*) override { return false; }
  bool Post(Hwnd, unsigned, std::uintptr_t, std::intptr_t) override { return false; }
  Hwnd GetForegroundWindow() override { return kNoWindow; }
  bool SetForegroundWindow(Hwnd) override { return false; }
  Rect GetWindowRect(Hwnd) override { return {}; }
  int VirtualScreenWidth() override { return 1920; }
  int VirtualScreenHeight() override { return 1080; }
  Rect WorkArea() override { return work_area; }
  Point CursorPos() override { return {}; }
  std::uint32_t WindowProcessId(Hwnd) override { return 0; }
};

struct PopupWorld {
  sim::SimTextMetrics metrics;
  sim::SimPopupHost host;
  sim::SimClock clock;
  WorkAreaDesktop desktop;
  static constexpr Hwnd kOwner = 0x1234;

  THTMLPopup MakePopup() { return THTMLPopup(host, metrics, desktop, clock, kOwner); }
};

// The keyword notification popup's settings.
inline void ConfigureNotificationPopup(THTMLPopup& popup) {
  popup.PopupWidth = 200;
  popup.PopupHeight = 90;
  popup.AlwaysOnTop = true;
  popup.BorderSize = 1;
  popup.Color = 16510681;
}

// The status popup's settings, as shown.
inline void ConfigureStatusPopup(THTMLPopup& popup) {
  popup.PopupWidth = 250;
  popup.PopupHeight = 50;
  popup.AutoHide = true;
  popup.BorderSize = 0;
  popup.Color = clInfoBk;
}

// The visible characters of a line, as the mnemonic rule draws them.
inline std::string Shown(const MarkupLine& line) {
  std::string text;
  for (const auto& piece : line.pieces) text += piece.text;
  return MnemonicVisible(text);
}

}  // namespace tavlen::test
