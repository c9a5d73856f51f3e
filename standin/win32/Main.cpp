// standin.exe: the stand-in chat room (default) or media player (--winamp) that
// the end-to-end runs drive from another process. See StandinOptions.h for the
// command line and RoomControl.h for the control channel.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "standin/StandinOptions.h"
#include "standin/win32/OtherWindows.h"
#include "standin/win32/PlayerWindow.h"
#include "standin/win32/RoomWindow.h"

using tavlen::standin::StandinOptions;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::vector<std::string> args;
  for (int i = 1; i < __argc; ++i) args.emplace_back(__argv[i]);
  StandinOptions options;
  if (const std::string error = tavlen::standin::ParseStandinArgs(args, options); !error.empty()) {
    // No message box: a test run must not wait for somebody to press OK.
    std::fprintf(stderr, "standin: %s\n%s", error.c_str(), tavlen::standin::StandinUsage().c_str());
    return 2;
  }

  // The other windows first: once the room's title shows, they are all there.
  tavlen::standin::win32::OtherWindows others;
  if (!others.Create(options.other_windows)) {
    std::fprintf(stderr, "standin: the other windows could not be created (error %lu)\n", GetLastError());
    return 1;
  }
  std::unique_ptr<tavlen::standin::win32::RoomWindow> room;
  std::unique_ptr<tavlen::standin::win32::PlayerWindow> player;
  bool created = false;
  if (options.mode == StandinOptions::Mode::Player) {
    player = std::make_unique<tavlen::standin::win32::PlayerWindow>(options);
    created = player->Create();
  } else {
    room = std::make_unique<tavlen::standin::win32::RoomWindow>(options);
    created = room->Create();
  }
  if (!created) {
    std::fprintf(stderr, "standin: the window could not be created (error %lu)\n", GetLastError());
    return 1;
  }

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  // A lying room's thousands of windows would be destroyed one by one at the
  // end of its thread, for seconds on a busy machine: it ends at once.
  if (options.mode == StandinOptions::Mode::Room && options.room.lies.Any()) TerminateProcess(GetCurrentProcess(), 0);
  return 0;
}
