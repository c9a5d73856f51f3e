#include "platform/win32/Win32Clock.h"

#include "platform/win32/WinApi.h"
#include "platform/win32/WindowOwner.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <utility>

namespace tavlen {
namespace {

constexpr char kWindowClass[] = "TavlenClockWindow";
constexpr UINT kPostedMessage = WM_APP + 0x100;

HWND ToHwnd(Hwnd window) { return reinterpret_cast<HWND>(window); }

LRESULT CALLBACK ClockWindowProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* clock = win32::WindowOwner<Win32Clock>(window, msg, lparam);
  if (clock) {
    if (msg == WM_TIMER) {
      clock->HandleTimer(static_cast<std::uintptr_t>(wparam));
      return 0;
    }
    if (msg == kPostedMessage) {
      clock->HandlePosted();
      return 0;
    }
  }
  return DefWindowProcA(window, msg, wparam, lparam);
}

}  // namespace

Win32Clock::Win32Clock() {
  HWND window = win32::CreateMessageOnlyWindow(kWindowClass, ClockWindowProc, this);
  if (!window) throw std::runtime_error("CreateWindowEx failed for the clock window");
  window_ = reinterpret_cast<Hwnd>(window);
}

Win32Clock::~Win32Clock() {
  for (const auto& [id, tick] : timers_) KillTimer(ToHwnd(window_), id);
  win32::DestroyOwnedWindow(ToHwnd(window_));
}

// The performance counter rather than GetTickCount64: Wine's tick count moves in
// coarse steps, the counter is precise on both.
std::int64_t Win32Clock::NowMs() {
  LARGE_INTEGER frequency{}, counter{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  const std::int64_t f = frequency.QuadPart;
  const std::int64_t c = counter.QuadPart;
  return c / f * 1000 + c % f * 1000 / f;
}

void Win32Clock::Sleep(int ms) { ::Sleep(static_cast<DWORD>(std::max(ms, 0))); }

void Win32Clock::ProcessMessages() {
  ++pumping_;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{pumping_};
  Pump(true, nullptr);
}

void Win32Clock::StartTimer(TimerId id, int interval_ms, std::function<void()> tick) {
  timers_[id] = std::make_shared<std::function<void()>>(std::move(tick));
  // Setting an existing id replaces the timer and counts the interval from now.
  SetTimer(ToHwnd(window_), id, static_cast<UINT>(std::max(interval_ms, 0)), nullptr);
}

void Win32Clock::StopTimer(TimerId id) {
  if (timers_.erase(id) == 0) return;
  KillTimer(ToHwnd(window_), id);
}

void Win32Clock::Post(std::function<void()> work) {
  {
    std::lock_guard lock(posted_mutex_);
    posted_.push_back(std::move(work));
  }
  PostMessageA(ToHwnd(window_), kPostedMessage, 0, 0);
}

void Win32Clock::HandleTimer(std::uintptr_t id) {
  const auto found = timers_.find(static_cast<TimerId>(id));
  if (found == timers_.end()) return;  // stopped while its WM_TIMER was pending
  // The handler may stop or restart its own timer: keep it alive while it runs.
  const std::shared_ptr<std::function<void()>> tick = found->second;
  if (*tick) Run(*tick);
}

void Win32Clock::HandlePosted() {
  std::function<void()> work;
  {
    std::lock_guard lock(posted_mutex_);
    if (posted_.empty()) return;
    work = std::move(posted_.front());
    posted_.pop_front();
  }
  if (work) Run(work);
}

void Win32Clock::Run(const std::function<void()>& work) {
  try {
    work();
  } catch (...) {
    if (OnError) OnError(std::current_exception());
  }
}

int Win32Clock::RunMessageLoop(const std::function<bool()>& terminated) {
  Pump(false, &terminated);
  return quit_received_ ? quit_code_ : 0;
}

void Win32Clock::Wake() { PostMessageA(ToHwnd(window_), WM_NULL, 0, 0); }

bool Win32Clock::Pump(bool until_empty, const std::function<bool()>* terminated) {
  MSG msg{};
  // ProcessMessages makes one round, as on the simulated desktop: each timer
  // ticks at most once per call. A timer due again before the queue is empty (a
  // slow tick on a busy machine) waits for the next call; otherwise the pumps of
  // a submission could run ticks for ever and never send its key-downs.
  std::array<WPARAM, 32> ticked{};
  std::size_t ticked_count = 0;
  const auto is_own_timer = [this](const MSG& m) { return m.message == WM_TIMER && m.hwnd == ToHwnd(window_); };
  while (!quit_received_ && !(terminated && *terminated && (*terminated)())) {
    if (until_empty) {
      if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) return true;
      const auto ticked_end = ticked.begin() + static_cast<std::ptrdiff_t>(ticked_count);
      if (is_own_timer(msg) && std::find(ticked.begin(), ticked_end, msg.wParam) != ticked_end) return true;
      if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return true;
      if (is_own_timer(msg) && ticked_count < ticked.size()) ticked[ticked_count++] = msg.wParam;
    } else {
      const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
      if (got == -1) return false;
      if (got == 0) msg.message = WM_QUIT;
    }
    if (msg.message == WM_QUIT) {
      quit_received_ = true;
      quit_code_ = static_cast<int>(msg.wParam);
      break;
    }
    if (PreTranslate && PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return !quit_received_;
}

}  // namespace tavlen
