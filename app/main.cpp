// tavlen.exe: the console over the Win32 platform.
#include "platform/win32/WinApi.h"

#include <string>

#include "platform/Platform.h"
#include "platform/win32/Win32Backend.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32Hotkeys.h"
#include "platform/win32/Win32Mixer.h"
#include "platform/win32/Win32Popup.h"
#include "platform/win32/Win32ProcessMemory.h"
#include "platform/win32/Win32Sound.h"
#include "platform/win32/Win32TextMetrics.h"
#include "platform/win32/Win32Volume.h"
#include "platform/win32/Win32Windowing.h"
#include "ui/Console.h"

namespace {

// The directory of the running executable, with its trailing backslash.
std::string ExeDir() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of("\\/") + 1);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace tavlen;
  Win32Clock clock;
  Win32Backend widgets(clock);
  Win32Windowing windowing;
  Win32Mixer mixer;
  Win32Hotkeys hotkeys;
  Win32Sound sound;
  Win32Volume volume;
  Win32TextMetrics metrics;
  Win32PopupHost popups;
  Win32ProcessMemory memory;
  kit::Application* app = nullptr;
  Win32Dialogs dialogs([&app] { return app ? app->Title() : std::string("Tavlen"); });

  Platform platform{windowing, clock, dialogs, widgets, ExeDir(), mixer, hotkeys, sound, volume, metrics, popups, &memory};
  Console console(platform);
  app = &console.app;

  // Message boxes belong to the console's window in use (a modal form's, say),
  // else to the main window, as do the popups.
  const auto main_window = [&] { return widgets.WindowOf(*console.Form1); };
  dialogs.Owner = [&] {
    HWND active = GetActiveWindow();
    return active ? reinterpret_cast<Hwnd>(active) : main_window();
  };
  popups.DefaultOwner = main_window;
  popups.Guard = [&](const std::function<void()>& work) { console.app.Dispatch(work); };
  clock.PreTranslate = [&](MSG& msg) { return widgets.PreTranslate(msg); };
  clock.OnError = [&](std::exception_ptr) { console.log.debog("-> AppException: posted work failed"); };

  clock.RunMessageLoop([&] { return console.app.Terminated(); });
  return 0;
}
