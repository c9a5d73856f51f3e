// What a story needs of the desktop beyond the windows it drives: the sound
// devices Wine offers the programs started next, real key presses on the X
// display, the message boxes a console opens, a sound file to play.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "tests/e2e/console/ScreenCapture.h"

namespace e2e {

// Wine's audio driver setting (HKCU\Software\Wine\Drivers, "Audio"), read by
// each program when it first touches the sound system: "" offers no device at
// all, "alsa" the harness's silent card, "pulse" the harness's PulseAudio.
// Programs already running keep what they found. The setting in force before
// is put back when the guard goes.
class SoundDevices {
 public:
  explicit SoundDevices(const std::string& drivers);
  ~SoundDevices();
  SoundDevices(const SoundDevices&) = delete;
  SoundDevices& operator=(const SoundDevices&) = delete;
  bool Applied() const { return applied_; }

  // Sets the value for good (the run's default).
  static bool Use(const std::string& drivers);

 private:
  bool applied_ = false;
  bool had_value_ = false;
  std::string previous_;
};

// A real key press on the X display (xdotool key --window), sent to the X
// window of a Wine window: Wine turns it into keyboard input, registered
// hotkeys included. keys in xdotool's words: "ctrl+alt+t". Wine gives no
// handle to wait for a Unix program: the press is seen by its effects, and
// a failing xdotool says so in the driver's output. False (reported) when the
// window has no X window or xdotool cannot be started.
bool PressKeys(HWND window, const std::string& keys);

// The visible message box of the process (dialog class "#32770"), or null.
HWND MessageBoxOf(DWORD process_id);
// The message a box shows (its static texts, joined by blanks).
std::string MessageBoxText(HWND box);
// The box's caption.
std::string WindowTitle(HWND window);
// Clicks the box's "OK" button; true when the box went away.
bool DismissMessageBox(HWND box);

// Posts a harmless change to a combo box of a program (its keyboard interface
// flag, switched) and waits until the program has handled it, and with it
// everything posted to that thread before. The milliseconds waited; -1 when
// it never was. Two fences in a row leave the flag as it was.
double PostedFence(HWND combo, int deadline_ms);

// Watches how fast a window answers while it lives: every 10 ms a thread sends it
// WM_NULL and keeps the longest wait, as a click on it would feel. A send that
// times out (5 s) counts as 5 s.
class AnswerWatch {
 public:
  explicit AnswerWatch(HWND window);
  ~AnswerWatch();
  AnswerWatch(const AnswerWatch&) = delete;
  AnswerWatch& operator=(const AnswerWatch&) = delete;
  double LongestMs() const { return longest_ms_.load(); }
  // The longest wait since the last lap (or the start): which step held the window.
  double Lap() { return lap_ms_.exchange(0); }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<double> longest_ms_{0};
  std::atomic<double> lap_ms_{0};
  std::thread thread_;
};

// The screen's rectangle (cut to the screen) once what it shows has settled:
// two captures in a row alike, and more than one colour in it, within 2 s.
Capture SteadyCapture(RECT rect);
// The window once it has stopped moving and is painted.
Capture SteadyWindow(HWND window);

// A mono 16-bit PCM wave file of that many milliseconds of a quiet tone.
std::string WaveFileBytes(int milliseconds);

}  // namespace e2e
