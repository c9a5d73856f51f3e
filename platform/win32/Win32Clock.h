// The Clock port over the Win32 message loop: timers are SetTimer timers of a
// hidden message-only window, posted work travels as a private message to it,
// ProcessMessages is a PeekMessage loop that returns once the queue is empty.
#pragma once

#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

#include "platform/Clock.h"
#include "platform/Types.h"

struct tagMSG;  // MSG, kept out of this header so <windows.h> stays in the .cpp

namespace tavlen {

class Win32Clock final : public Clock {
 public:
  // Creates the hidden window on the calling thread, which must be the thread
  // that runs the message loop.
  Win32Clock();
  ~Win32Clock() override;
  Win32Clock(const Win32Clock&) = delete;
  Win32Clock& operator=(const Win32Clock&) = delete;

  std::int64_t NowMs() override;
  void Sleep(int ms) override;
  void ProcessMessages() override;
  void StartTimer(TimerId id, int interval_ms, std::function<void()> tick) override;
  void StopTimer(TimerId id) override;
  // Safe to call from any thread.
  void Post(std::function<void()> work) override;

  // Runs the program's main loop until `terminated` answers true (checked after
  // every message) or WM_QUIT arrives. Returns the quit code (0 when terminated).
  int RunMessageLoop(const std::function<bool()>& terminated);
  // Wakes a loop blocked in GetMessage so it checks `terminated` again.
  void Wake();
  bool QuitReceived() const { return quit_received_; }
  // True while a handler pumps the queue itself (ProcessMessages: a submission's
  // key-downs, a wait for a window): work that can wait should not run there.
  bool InsidePump() const { return pumping_ > 0; }

  // Seen before TranslateMessage/DispatchMessage; answering true consumes the
  // message (IsDialogMessage for keyboard navigation, accelerators).
  std::function<bool(tagMSG&)> PreTranslate;
  // Receives what a tick or posted work throws: an exception must not unwind
  // through the system's window procedure frames. Dropped when unset.
  std::function<void(std::exception_ptr)> OnError;

  Hwnd MessageWindow() const { return window_; }

  // For the window procedure.
  void HandleTimer(std::uintptr_t id);
  void HandlePosted();

 private:
  bool Pump(bool until_empty, const std::function<bool()>* terminated);
  void Run(const std::function<void()>& work);

  Hwnd window_ = kNoWindow;
  // How many ProcessMessages calls are running, one inside another.
  int pumping_ = 0;
  std::map<TimerId, std::shared_ptr<std::function<void()>>> timers_;
  std::mutex posted_mutex_;
  std::deque<std::function<void()>> posted_;
  bool quit_received_ = false;
  int quit_code_ = 0;
};

}  // namespace tavlen
