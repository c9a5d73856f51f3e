// Everything the console needs from the system, as one bundle handed to the
// composition root: the Win32 backend at run time, the sim in tests.
#pragma once

#include <string>

namespace tavlen {

class Windowing;
class Clock;
class Dialogs;
class MixerApi;
class HotkeyApi;
class SoundApi;
class VolumeApi;
class TextMetrics;
class PopupHost;
class Collation;
class ProcessMemory;
class Background;
namespace kit {
class Backend;
}

struct Platform {
  Windowing& windowing;
  Clock& clock;
  Dialogs& dialogs;
  kit::Backend& widgets;
  // The executable's directory with a trailing separator, in UTF-8 (the file
  // layer makes it a wide path on Windows).
  std::string exe_dir;
  MixerApi& mixer;
  HotkeyApi& hotkeys;
  SoundApi& sound;
  VolumeApi& volume;
  TextMetrics& metrics;
  PopupHost& popups;
  Collation& collation;
  ProcessMemory* memory = nullptr;  // cross-process memory, for the user list
  // Runs the user list's reads off the user-interface thread; none: at once, on it.
  Background* background = nullptr;
};

}  // namespace tavlen
