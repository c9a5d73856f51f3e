// The console started on a desktop with or without a sound card, plus a record of
// the status popup taken every time the clock moves (that is also during the
// popup's own slides and pauses).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "standin/sim/SimWorld.h"
#include "ui/Console.h"

namespace tavlen::testing {

using Lines = std::vector<std::string>;

inline const std::string kMicPopup = "<P align=\"center\"><font size=+4>SRC : MICROPHONE</font></P>";
inline const std::string kMixPopup = "<P align=\"center\"><font size=+4>SRC : MUSIQUE</font></P>";

class PopupTrace {
 public:
  struct Sample {
    std::int64_t at = 0;
    bool visible = false;
    Rect bounds;
    Lines text;
  };

  PopupTrace(sim::SimClock& clock, THTMLPopup& popup)
      : clock_(clock), previous_(clock.OnTimeMoved), popup_(popup) {
    clock.OnTimeMoved = [this](std::int64_t now) {
      if (previous_) previous_(now);
      THTMLPopupWindow* window = popup_.Window();
      if (window == nullptr) return;
      samples.push_back({now, window->Window().Visible(), window->Window().Bounds(), popup_.Text()});
    };
  }
  ~PopupTrace() { clock_.OnTimeMoved = previous_; }
  PopupTrace(const PopupTrace&) = delete;
  PopupTrace& operator=(const PopupTrace&) = delete;

  // The tops the shown window took, each once per stay.
  std::vector<int> VisibleTops() const {
    std::vector<int> tops;
    for (std::size_t i = 0; i < samples.size(); ++i) {
      if (!samples[i].visible) continue;
      if (i > 0 && samples[i - 1].visible && samples[i - 1].bounds.top == samples[i].bounds.top) continue;
      tops.push_back(samples[i].bounds.top);
    }
    return tops;
  }
  // How many times the shown window arrived at `top` (a slide that follows
  // another one at once is never seen hidden in between).
  int Arrivals(int top) const {
    int n = 0;
    for (int t : VisibleTops()) n += t == top;
    return n;
  }
  // Whether the window stood shown at `top` at the end of one uninterrupted sleep
  // of `ms` (the clock moved that far in one step, nothing handled meanwhile).
  bool SleptAt(int top, std::int64_t ms) const {
    for (std::size_t i = 1; i < samples.size(); ++i) {
      const Sample& a = samples[i - 1];
      const Sample& b = samples[i];
      if (a.visible && b.visible && b.bounds.top == top && b.at - a.at == ms) return true;
    }
    return false;
  }
  // The samples taken while the popup stood in place at `top`.
  std::vector<Sample> At(int top) const {
    std::vector<Sample> found;
    for (const Sample& s : samples)
      if (s.visible && s.bounds.top == top) found.push_back(s);
    return found;
  }

  std::vector<Sample> samples;

 private:
  sim::SimClock& clock_;
  std::function<void(std::int64_t)> previous_;
  THTMLPopup& popup_;
};

class AudioConsoleTest : public ::testing::Test {
 protected:
  explicit AudioConsoleTest(bool with_sound_card = true) : world(with_sound_card) {}

  void Start() {
    console = std::make_unique<Console>(world.platform());
    trace = std::make_unique<PopupTrace>(world.clock, console->HTMLPopup2);
  }
  TForm1& main() { return *console->Form1; }
  TForm12& audio() { return *console->Form12; }
  RecordingSourceSwitch& sources() { return console->recordingSource; }
  kit::MenuItem& src() { return *main().SRCMIC1; }
  std::int64_t now() { return world.clock.NowMs(); }

  sim::SimWorld world;
  std::unique_ptr<Console> console;
  std::unique_ptr<PopupTrace> trace;
};

}  // namespace tavlen::testing
