// Minimal checking for the smoke driver: failures are counted and printed, the
// run goes on, and main prints the success marker only when none was seen.
#pragma once

#include <cstdio>
#include <string>

namespace smoke {

inline int& Failures() {
  static int failures = 0;
  return failures;
}

inline void Check(bool ok, const std::string& what, const char* file, int line) {
  if (ok) return;
  ++Failures();
  std::printf("FAIL %s:%d: %s\n", file, line, what.c_str());
  std::fflush(stdout);
}

template <typename A, typename B>
void CheckEq(const A& actual, const B& expected, const std::string& what, const char* file, int line) {
  if (actual == expected) return;
  ++Failures();
  std::printf("FAIL %s:%d: %s: got [%s], want [%s]\n", file, line, what.c_str(),
              std::to_string(actual).c_str(), std::to_string(expected).c_str());
  std::fflush(stdout);
}

inline void CheckText(const std::string& actual, const std::string& expected, const std::string& what,
                      const char* file, int line) {
  if (actual == expected) return;
  ++Failures();
  const auto shown = [](const std::string& s) {
    return s.size() > 60 ? s.substr(0, 60) + "... (" + std::to_string(s.size()) + " bytes)" : s;
  };
  std::printf("FAIL %s:%d: %s: got [%s], want [%s]\n", file, line, what.c_str(), shown(actual).c_str(),
              shown(expected).c_str());
  std::fflush(stdout);
}

inline void Note(const std::string& text) {
  std::printf("-- %s\n", text.c_str());
  std::fflush(stdout);
}

void WindowingSmoke();
void ClockSmoke();
void DialogsSmoke();

}  // namespace smoke

#define CHECK(cond, what) ::smoke::Check((cond), (what), __FILE__, __LINE__)
#define CHECK_EQ(actual, expected, what) ::smoke::CheckEq((actual), (expected), (what), __FILE__, __LINE__)
#define CHECK_TEXT(actual, expected, what) ::smoke::CheckText((actual), (expected), (what), __FILE__, __LINE__)
