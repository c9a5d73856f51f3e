// A console on the simulated desktop with a wave device, a room and hotkeys.ini,
// and a watch on the status popup that records every text it slides in with.
#pragma once

#include <algorithm>

#include "base/Text.h"
#include "ConsoleFixture.h"
#include "hotkeys/TalkControl.h"
#include "platform/HotkeyApi.h"
#include "platform/VolumeApi.h"

namespace tavlen::testing {

inline constexpr unsigned kCtrlAlt = hotkey_mod::kControl | hotkey_mod::kAlt;

class HotkeyConsoleTest : public ConsoleTest {
 protected:
  // Wave device at 200 on both channels.
  static constexpr std::uint32_t kWaveAt200 = 0xC800C800;

  void SetUp() override { wave = world.volume.AddDevice(VolumeDeviceClass::kWaveOut, volume_caps::kWaveVolume, kWaveAt200); }

  void WriteHotkeys(const Lines& lines) { world.write_file("hotkeys.ini", JoinLines(lines)); }
  static std::string JoinLines(const Lines& lines) {
    std::string bytes;
    for (const auto& l : lines) bytes += l + "\r\n";
    return bytes;
  }

  // Starts the console, lets discovery settle and watches the status popup.
  void StartWatching() {
    Start();
    world.advance(200ms);
    world.clock.OnTimeMoved = [this, before = world.clock.OnTimeMoved](std::int64_t now) {
      if (before) before(now);
      WatchPopup();
    };
  }

  // The user presses a combination; the console handles it as its loop runs.
  void Press(unsigned modifiers, unsigned vk, std::chrono::milliseconds then = 3000ms) {
    ASSERT_TRUE(world.hotkeys.Press(modifiers, vk)) << "combination not registered";
    world.advance(then);
  }

  int WaveLevel() const {
    const std::uint32_t v = world.volume.Volume(VolumeDeviceClass::kWaveOut, wave);
    return static_cast<int>(((v & 0xFFFF) + (v >> 16)) >> 9);
  }
  void OtherProgramSetsWave(std::uint16_t level) {
    world.volume.SetChannels(VolumeDeviceClass::kWaveOut, wave, level * 256, level * 256);
  }

  const std::deque<std::string>& LogLines() { return console->Form10->Memo1.Lines(); }
  bool Logged(const std::string& line) {
    return std::find(LogLines().begin(), LogLines().end(), line) != LogLines().end();
  }
  long LoggedCount(const std::string& line) { return std::count(LogLines().begin(), LogLines().end(), line); }

  // What the status popup showed, one entry per showing.
  std::vector<std::string> shown;
  std::vector<int> shown_widths;  // the popup's width at each showing
  static std::string Status(const std::string& text) { return StatusLine(text); }

  unsigned wave = 0;

 private:
  void WatchPopup() {
    THTMLPopupWindow* w = console->HTMLPopup2.Window();
    const bool visible = w != nullptr && w->Window().Visible();
    if (visible && !was_visible_) {
      std::string text;
      for (const auto& l : console->HTMLPopup2.Text()) text += l;
      shown.push_back(text);
      shown_widths.push_back(w->Window().Bounds().Width());
    }
    was_visible_ = visible;
  }
  bool was_visible_ = false;
};

}  // namespace tavlen::testing
