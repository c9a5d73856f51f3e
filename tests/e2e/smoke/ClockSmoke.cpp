// Win32Clock: timers tick through the message loop, ProcessMessages runs what is
// due, posted work keeps its order, errors stay inside the clock.
#include "platform/win32/WinApi.h"

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "kit/Application.h"
#include "platform/win32/Win32Backend.h"
#include "platform/win32/Win32Clock.h"
#include "tests/e2e/smoke/Check.h"

namespace smoke {
namespace {

// Processes messages for `ms` milliseconds of real time.
tavlen::kit::Application* g_ending_app = nullptr;

// Ends the application from inside a sent message, as the system's end-of-session
// messages do. A named CALLBACK: a lambda lacks the stdcall convention on 32-bit.
LRESULT CALLBACK EndingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_APP) {
    g_ending_app->Terminate();
    return 1;
  }
  return DefWindowProcA(w, m, wp, lp);
}

void PumpFor(tavlen::Win32Clock& clock, int ms) {
  const std::int64_t end = clock.NowMs() + ms;
  while (clock.NowMs() < end) {
    clock.ProcessMessages();
    clock.Sleep(2);
  }
}

void Timers(tavlen::Win32Clock& clock) {
  int ticks = 0;
  clock.StartTimer(1, 20, [&] { ++ticks; });
  clock.Sleep(100);
  CHECK_EQ(ticks, 0, "Sleep handles nothing");
  clock.ProcessMessages();
  CHECK(ticks >= 1, "ProcessMessages runs a due tick");
  PumpFor(clock, 400);
  Note("20 ms timer ticked " + std::to_string(ticks) + " times in ~500 ms");
  CHECK(ticks >= 5 && ticks <= 30, "periodic ticks");

  clock.StopTimer(1);
  const int stopped_at = ticks;
  PumpFor(clock, 100);
  CHECK_EQ(ticks, stopped_at, "no tick after StopTimer");
  clock.StopTimer(1);  // twice: nothing happens
  clock.StopTimer(77);

  // A tick that stops its own timer, and one that replaces its own handler.
  int once = 0;
  clock.StartTimer(2, 10, [&] {
    ++once;
    clock.StopTimer(2);
  });
  PumpFor(clock, 100);
  CHECK_EQ(once, 1, "a tick can stop its own timer");

  int first = 0, second = 0;
  clock.StartTimer(3, 10, [&] {
    ++first;
    clock.StartTimer(3, 10, [&] { ++second; });
  });
  PumpFor(clock, 100);
  clock.StopTimer(3);
  CHECK(first == 1 && second >= 1, "a tick can restart its timer with a new handler");

  // Two timers at once keep their own handlers.
  int a = 0, b = 0;
  clock.StartTimer(10, 15, [&] { ++a; });
  clock.StartTimer(11, 60, [&] { ++b; });
  PumpFor(clock, 300);
  clock.StopTimer(10);
  clock.StopTimer(11);
  Note("15 ms timer: " + std::to_string(a) + " ticks, 60 ms timer: " + std::to_string(b) + " ticks");
  CHECK(a > b && b >= 2, "two timers, two rates");
}

void Posting(tavlen::Win32Clock& clock) {
  std::vector<int> order;
  clock.Post([&] { order.push_back(1); });
  clock.Post([&] { order.push_back(2); });
  clock.Post([&] {
    order.push_back(3);
    // Work posted from inside posted work runs after what was already queued.
    clock.Post([&] { order.push_back(5); });
  });
  clock.Post([&] { order.push_back(4); });
  CHECK(order.empty(), "posted work waits for the loop");
  clock.ProcessMessages();
  CHECK(order == (std::vector<int>{1, 2, 3, 4, 5}), "posted work keeps its order");

  // From a worker thread: runs on the loop's thread.
  const DWORD loop_thread = GetCurrentThreadId();
  DWORD ran_on = 0;
  std::thread worker([&] { clock.Post([&] { ran_on = GetCurrentThreadId(); }); });
  worker.join();
  clock.ProcessMessages();
  CHECK(ran_on == loop_thread, "work posted from another thread runs on the loop thread");

  // A throwing handler ends itself only; the error goes to OnError.
  std::vector<std::string> errors;
  clock.OnError = [&](std::exception_ptr e) {
    try {
      std::rethrow_exception(e);
    } catch (const std::exception& ex) {
      errors.emplace_back(ex.what());
    }
  };
  bool after = false;
  clock.Post([] { throw std::out_of_range("boom"); });
  clock.Post([&] { after = true; });
  int timer_throws = 0;
  clock.StartTimer(4, 10, [&] {
    ++timer_throws;
    clock.StopTimer(4);
    throw std::runtime_error("tick");
  });
  PumpFor(clock, 60);
  CHECK(after, "the next work runs after a throw");
  CHECK(errors.size() == 2 && errors[0] == "boom" && errors[1] == "tick", "errors reach OnError");
  clock.OnError = nullptr;
}

void Nesting(tavlen::Win32Clock& clock) {
  // A tick that processes messages sees posted work and other ticks run nested.
  std::vector<std::string> trace;
  int inner = 0;
  clock.StartTimer(5, 10, [&] { ++inner; });
  clock.StartTimer(6, 10, [&] {
    clock.StopTimer(6);
    trace.push_back("outer begin");
    clock.Post([&] { trace.push_back("posted"); });
    const int before = inner;
    const std::int64_t end = clock.NowMs() + 100;
    while (clock.NowMs() < end) {
      clock.Sleep(1);
      clock.ProcessMessages();
    }
    if (inner > before) trace.push_back("nested tick");
    trace.push_back("outer end");
  });
  PumpFor(clock, 300);
  clock.StopTimer(5);
  CHECK(trace == (std::vector<std::string>{"outer begin", "posted", "nested tick", "outer end"}),
        "nested dispatch inside a tick");
}

void MainLoop(tavlen::Win32Clock& clock) {
  // The main loop ends once the terminate flag is set by a handler.
  bool terminated = false;
  int ticks = 0;
  clock.StartTimer(7, 10, [&] {
    if (++ticks == 5) terminated = true;
  });
  const std::int64_t start = clock.NowMs();
  const int code = clock.RunMessageLoop([&] { return terminated; });
  clock.StopTimer(7);
  CHECK(code == 0 && ticks == 5, "RunMessageLoop returns when terminated");
  CHECK(clock.NowMs() - start < 2000, "RunMessageLoop did not linger");

  // Woken from another thread after the flag changes.
  std::atomic<bool> stop{false};
  std::thread waker([&] {
    Sleep(50);
    stop = true;
    clock.Wake();
  });
  clock.RunMessageLoop([&] { return stop.load(); });
  waker.join();
  CHECK(stop.load(), "Wake lets the loop see the flag");

  // An application ended by the handler of a sent message (the system sends its
  // end-of-session messages): the handler runs inside the loop's wait, and the
  // loop must still see the end without another message to wake it.
  {
    tavlen::Win32Backend backend(clock);
    tavlen::kit::Application app(clock, backend);
    g_ending_app = &app;
    WNDCLASSA wc{};
    wc.lpfnWndProc = EndingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TavlenSmokeEnd";
    RegisterClassA(&wc);
    HWND window = CreateWindowA("TavlenSmokeEnd", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    std::thread sender([window] {
      Sleep(50);
      DWORD_PTR answer = 0;
      SendMessageTimeoutA(window, WM_APP, 0, 0, SMTO_NORMAL, 2000, &answer);
    });
    const std::int64_t begun = clock.NowMs();
    // Ended from outside after 3 s, so that a failure cannot stall the smoke.
    std::atomic<bool> given_up{false};
    std::atomic<bool> ended{false};
    std::thread guard([&] {
      for (int waited = 0; waited < 3000 && !ended; waited += 10) Sleep(10);
      if (ended) return;
      given_up = true;
      clock.Wake();
    });
    clock.RunMessageLoop([&] { return app.Terminated() || given_up.load(); });
    ended = true;
    sender.join();
    guard.join();
    CHECK(app.Terminated() && clock.NowMs() - begun < 2000,
          "Terminate from a sent message ends the loop at once, not " + std::to_string(clock.NowMs() - begun) + " ms later");
    DestroyWindow(window);
  }

  // WM_QUIT ends the loop with its code.
  clock.Post([] { PostQuitMessage(7); });
  CHECK_EQ(clock.RunMessageLoop([] { return false; }), 7, "quit code");
  CHECK(clock.QuitReceived(), "quit remembered");
}

}  // namespace

void ClockSmoke() {
  tavlen::Win32Clock clock;
  const std::int64_t t0 = clock.NowMs();
  clock.Sleep(50);
  const std::int64_t slept = clock.NowMs() - t0;
  CHECK(slept >= 45 && slept < 1000, "Sleep(50) and NowMs agree: " + std::to_string(slept) + " ms");
  Timers(clock);
  Posting(clock);
  Nesting(clock);
  MainLoop(clock);
  Note("clock done");
}

}  // namespace smoke
