// Prints "BACKEND OK" only when every check passed; the harness looks for it.
#include "platform/win32/WinApi.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "tests/e2e/backend/BackendCheck.h"

int main() {
  std::thread([] {
    std::this_thread::sleep_for(std::chrono::seconds(60));
    std::printf("BACKEND TIMEOUT\n");
    std::fflush(stdout);
    std::_Exit(3);
  }).detach();
  std::printf("-- backend check: %d-bit build\n", static_cast<int>(sizeof(void*) * 8));
  check::PopupCheck();
  check::WidgetsCheck();
  if (smoke::Failures() != 0) {
    std::printf("BACKEND FAILED (%d)\n", smoke::Failures());
    return 1;
  }
  std::printf("BACKEND OK\n");
  std::fflush(stdout);
  return 0;
}
