// The random-event soak: a console on the simulated desktop driven by a seeded
// stream of everything that happens around it in an evening (clicks and answers
// on every window, hotkeys, room lines from odd nicks, rooms that open, close,
// hang and change order, settings files edited by hand, time passing), with the
// invariants checked after every step.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "standin/sim/SimWorld.h"
#include "ui/Console.h"

namespace tavlen::soak {

struct SoakReport {
  bool ok = true;
  int steps = 0;
  std::string failure;               // the broken invariant, the step and the steps before it
  std::int64_t virtual_ms = 0;       // simulated time covered
  int restarts = 0;
  int saves = 0;                     // settings files written by their dialogs
  int hand_edits = 0;                // settings files written behind the console's back
  std::uint64_t dropped_errors = 0;  // errors the guard dropped, by design
  std::map<std::string, int> dropped_by_text;
  std::map<std::string, int> actions;  // steps by kind
  std::int64_t longest_block_ms = 0;   // the longest the console held the thread in one step
  std::map<std::string, int> touched;  // window.control and menu items the user reached, how often
};

class Soak {
 public:
  static constexpr int kHistory = 25;

  explicit Soak(std::uint64_t seed);
  ~Soak();
  Soak(const Soak&) = delete;
  Soak& operator=(const Soak&) = delete;

  // Runs `steps` steps; stops at the first broken invariant.
  SoakReport Run(int steps);

  // Runs after each step, before the checks (tests plant faults here).
  std::function<void(int step)> AfterStep;
  sim::SimWorld& World() { return world_; }
  Console& Current() { return *console_; }

 private:
  // One step of each kind; each returns a short description of what it did.
  std::string AdvanceTime();
  std::string UserEvent();
  std::string MenuChoice();
  std::string Hotkey();
  std::string RoomLine();
  std::string RoomChange();
  std::string EditSettingsFile();
  std::string PopupMouse();
  std::string Foreground();
  std::string QueueAnswers();
  void Restart();
  // Lets time pass as the step asks (the rest is time the console took).
  void Wait(std::int64_t ms) {
    asked_ms_ += ms;
    world_.advance_ms(ms);
  }

  // What a user event on this control does.
  std::string ActOn(kit::Control& control, kit::Form& form);
  // The form that takes the user's input now: the latest modal one, else a shown one.
  kit::Form* InputForm();
  std::vector<kit::Form*> Forms();
  void TrackModals();

  // Invariants.
  void CheckAfterStep(const std::string& what, std::int64_t time_before, std::int64_t time_asked);
  void CheckFiles();
  void CheckSavedFaithfully(const std::string& name);
  void CheckBounds();
  [[noreturn]] void Fail(const std::string& why);

  // Random choices.
  bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }
  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  template <typename T>
  const T& Pick(const std::vector<T>& v) {
    return v[static_cast<std::size_t>(Int(0, static_cast<int>(v.size()) - 1))];
  }
  std::string Nick();
  std::string ChatText();
  std::string TypedText(const kit::Control& control);
  std::vector<sim::SimRoom*> OpenRooms();
  sim::SimRoom* CurrentRoom();

  std::mt19937_64 rng_;
  sim::SimWorld world_;
  std::unique_ptr<Console> console_;
  std::vector<sim::SimRoom*> rooms_;
  std::vector<kit::Form*> modal_stack_;
  int popups_at_start_ = 0;
  int queued_files_ = 0;

  // The settings files as they must be: bytes (none: no file) and identity.
  struct FileState {
    std::optional<std::string> bytes;
    std::uint64_t inode = 0;
    std::int64_t mtime_ns = 0;
    bool folder = false;  // a folder stands where the file should be
  };
  std::map<std::string, FileState> files_;
  // Files the current step's click may write.
  std::set<std::string> may_write_;
  bool in_user_event_ = false;
  std::int64_t asked_ms_ = 0;

  std::deque<std::string> history_;
  int step_ = 0;
  SoakReport report_;
};

}  // namespace tavlen::soak
