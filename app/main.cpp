// tavlen.exe: the console over the Win32 platform.
#include "platform/win32/WinApi.h"

#include <string>

#include "base/Text.h"
#include "platform/Platform.h"
#include "platform/win32/Win32Backend.h"
#include "platform/win32/Win32Background.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Collation.h"
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

// The directory of the running executable, with its trailing backslash, in
// UTF-8: the file layer turns it into a wide path, so a folder named in any
// script works (the ANSI name of «Hélène» or of a Cyrillic folder does not).
std::string ExeDir() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  path.resize(path.find_last_of(L"\\/") + 1);
  const int size = WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), utf8.data(), size, nullptr, nullptr);
  return utf8;
}

// What no handler caught: written to the system's debug output (the console's
// own debug window may be gone with it) and shown before the program ends.
int Fatal(const std::string& what) {
  const std::string line = "-> AppException: " + what;
  OutputDebugStringA((line + "\n").c_str());
  const std::string text = tavlen::ansi("Tavlen doit s'arrêter à cause d'une erreur inattendue :") + "\r\n\r\n" + what;
  MessageBoxA(nullptr, text.c_str(), "Tavlen", MB_OK | MB_ICONERROR | MB_TASKMODAL);
  return 3;
}

int Run() {
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
  // Before the console: its reads in progress finish before anything they use goes.
  Win32Background background(clock);
  kit::Application* app = nullptr;
  Win32Dialogs dialogs([&app] { return app ? app->Title() : std::string("Tavlen"); });

  Win32Collation collation;
  Platform platform{windowing, clock,   dialogs, widgets, ExeDir(), mixer,     hotkeys,
                    sound,     volume,  metrics, popups,  collation, &memory, &background};
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

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    return Run();
  } catch (const std::exception& e) {
    return Fatal(e.what());
  } catch (...) {
    return Fatal("unknown error");
  }
}
