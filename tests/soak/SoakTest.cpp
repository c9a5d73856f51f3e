// The soak run (seed and step count from --seed= / --steps= or TAVLEN_SOAK_SEED /
// TAVLEN_SOAK_STEPS), and checks that its invariants do catch what they guard.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "base/Files.h"
#include "Soak.h"

namespace tavlen::soak {
namespace {

std::uint64_t g_seed = 20240611;
int g_steps = 100000;

void Print(const SoakReport& r) {
  std::cout << "soak: seed " << g_seed << ", " << r.steps << " steps, " << r.virtual_ms / 1000
            << " s of simulated time, " << r.restarts << " restarts, " << r.saves << " saves by the dialogs, "
            << r.hand_edits << " hand edits, " << r.dropped_errors << " errors dropped by the guard\n  steps:";
  for (const auto& [kind, n] : r.actions) std::cout << " " << kind << " " << n << ";";
  std::cout << "\n  longest hold of the thread: " << r.longest_block_ms << " ms; controls and menu items reached: "
            << r.touched.size();
  if (std::getenv("TAVLEN_SOAK_VERBOSE"))
    for (const auto& [t, n] : r.touched) std::cout << "\n    " << t << " " << n;
  std::cout << "\n  dropped errors:\n";
  for (const auto& [text, n] : r.dropped_by_text) std::cout << "    " << n << " x " << text << "\n";
}

TEST(SoakTest, RandomEventsKeepEveryInvariant) {
  Soak soak(g_seed);
  const SoakReport report = soak.Run(g_steps);
  Print(report);
  EXPECT_TRUE(report.ok) << report.failure << "\nrerun: test_soak --seed=" << g_seed << " --steps=" << report.steps;
  EXPECT_EQ(report.steps, g_steps);
}

// Each check must be able to fail: a fault planted into a short run is reported.
TEST(SoakChecks, CatchWhatTheyGuard) {
  struct Planted {
    const char* expected;
    std::function<void(Soak&)> plant;
  };
  const std::vector<Planted> planted = {
      {"config.ini changed though no dialog of its own saved it",
       [](Soak& s) { WriteFileAtomic(s.World().file_path("config.ini"), "MIC= 1 1 1 1\r\n"); }},
      {"unexpected file in the settings folder: hotkeys.ini.tmp",
       [](Soak& s) { s.World().write_file("hotkeys.ini.tmp", "Ctrl+F1"); }},
      {"escaped the error guard: planted", [](Soak&) { throw std::runtime_error("planted"); }},
      {"the console held the thread for",
       [](Soak& s) { s.World().clock.Sleep(70000); }},
      {"the hotkey registrations grew",
       [](Soak& s) {
         for (unsigned key = 0x30; key < 0x30 + 101; ++key) s.Current().hotkeys.HotKeyManager1.Register(0x14000 + key);
       }},
  };
  for (const Planted& p : planted) {
    SCOPED_TRACE(p.expected);
    Soak soak(7);
    soak.AfterStep = [&](int step) {
      if (step == 40) p.plant(soak);
    };
    const SoakReport report = soak.Run(200);
    EXPECT_FALSE(report.ok);
    EXPECT_EQ(report.steps, 40);
    EXPECT_NE(report.failure.find(p.expected), std::string::npos) << report.failure;
  }
}

}  // namespace
}  // namespace tavlen::soak

int main(int argc, char** argv) {
  using tavlen::soak::g_seed;
  using tavlen::soak::g_steps;
  if (const char* s = std::getenv("TAVLEN_SOAK_SEED")) g_seed = std::strtoull(s, nullptr, 10);
  if (const char* s = std::getenv("TAVLEN_SOAK_STEPS")) g_steps = std::atoi(s);
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--seed=", 0) == 0) g_seed = std::strtoull(arg.c_str() + 7, nullptr, 10);
    else if (arg.rfind("--steps=", 0) == 0) g_steps = std::atoi(arg.c_str() + 8);
    else argv[kept++] = argv[i];
  }
  argc = kept;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
