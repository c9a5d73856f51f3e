// Smoke driver for the Win32 backend under Wine (or Windows): one process, its
// own windows, the real calls. Prints "SMOKE OK" only when every check passed;
// the harness looks for that line, never at the exit code alone.
#include "platform/win32/WinApi.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "tests/e2e/smoke/Check.h"

int main() {
  // A hung dialog or loop must not hang the harness: fail loudly instead.
  std::thread([] {
    std::this_thread::sleep_for(std::chrono::seconds(90));
    std::printf("SMOKE TIMEOUT\n");
    std::fflush(stdout);
    std::_Exit(3);
  }).detach();

  std::printf("-- smoke: %d-bit build\n", static_cast<int>(sizeof(void*) * 8));
  // French captions and the 0xA4 field separator need Windows-1252.
  CHECK_EQ(static_cast<unsigned>(GetACP()), 1252u, "ANSI code page");

  smoke::WindowingSmoke();
  smoke::ClockSmoke();
  smoke::DialogsSmoke();

  if (smoke::Failures() != 0) {
    std::printf("SMOKE FAILED (%d)\n", smoke::Failures());
    return 1;
  }
  std::printf("SMOKE OK\n");
  std::fflush(stdout);
  return 0;
}
