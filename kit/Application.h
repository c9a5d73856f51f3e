// The application object: title, the error guard every event goes through,
// message processing and the terminate request.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "kit/Backend.h"
#include "platform/Clock.h"

namespace tavlen::kit {

class Form;

class Application {
 public:
  Application(Clock& clock, Backend& backend) : clock_(clock), backend_(backend) {}
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The error guard (AppException): whatever the handler throws ends that handler
  // and is dropped; the next event runs normally.
  void Dispatch(const std::function<void()>& handler) noexcept;
  // Traces dropped errors (the debug log hooks in here). Never shows anything.
  std::function<void(const std::string&)> OnException;
  std::uint64_t DroppedErrors() const { return dropped_; }

  const std::string& Title() const { return title_; }
  void SetTitle(std::string title);

  // Ends the message loop once the running handler has returned. The loop is woken
  // too: a handler run for a sent message (the system sends its end-of-session
  // messages) returns into the loop's wait, not to its check of this flag.
  void Terminate() {
    terminated_ = true;
    clock_.Post([] {});
  }
  bool Terminated() const { return terminated_; }
  void ProcessMessages() { clock_.ProcessMessages(); }

  Clock& GetClock() { return clock_; }
  Backend& GetBackend() { return backend_; }

  Form* MainForm = nullptr;
  Clock::TimerId NextTimerId() { return ++last_timer_id_; }
  int NextCommandId() { return ++last_command_id_; }

 private:
  Clock& clock_;
  Backend& backend_;
  std::string title_;
  bool terminated_ = false;
  std::uint64_t dropped_ = 0;
  Clock::TimerId last_timer_id_ = 0;
  int last_command_id_ = 5000;
};

}  // namespace tavlen::kit
