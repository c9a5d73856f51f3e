// The performance counter in milliseconds: the room stamps its key log with it,
// and a driver in another process times its actions against those stamps.
#pragma once

#include <windows.h>

namespace tavlen::standin::win32 {

inline double PerformanceMs() {
  static const double per_ms = [] {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / per_ms;
}

}  // namespace tavlen::standin::win32
