#include "tests/e2e/console/SystemTools.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "tests/e2e/kit/Driver.h"

namespace e2e {

namespace {

constexpr char kDriversKey[] = "Software\\Wine\\Drivers";
constexpr char kAudioValue[] = "Audio";
// Wine keeps the X window of each top-level window in this property.
constexpr char kXWindowProp[] = "__wine_x11_whole_window";

bool ReadAudio(std::string& value) {
  char data[256] = {};
  DWORD size = sizeof data - 1;
  DWORD type = 0;
  if (RegGetValueA(HKEY_CURRENT_USER, kDriversKey, kAudioValue, RRF_RT_REG_SZ, &type, data, &size) != ERROR_SUCCESS)
    return false;
  value = data;
  return true;
}

bool WriteAudio(const std::string& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kDriversKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const bool written = RegSetValueExA(key, kAudioValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                      static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
  RegCloseKey(key);
  return written;
}

void DeleteAudio() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kDriversKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, kAudioValue);
  RegCloseKey(key);
}

// Starts a program of the host system (Wine starts Unix programs too). Wine
// gives no handle to wait on: whatever it does is seen by its effects.
bool StartHostProgram(const std::string& command_line) {
  std::string line = command_line;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    Note("cannot start " + command_line + ": error " + std::to_string(GetLastError()));
    return false;
  }
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  return true;
}

}  // namespace

SoundDevices::SoundDevices(const std::string& drivers) {
  had_value_ = ReadAudio(previous_);
  applied_ = WriteAudio(drivers);
}

SoundDevices::~SoundDevices() {
  if (!applied_) return;
  if (had_value_) WriteAudio(previous_);
  else DeleteAudio();
}

bool SoundDevices::Use(const std::string& drivers) { return WriteAudio(drivers); }

bool PressKeys(HWND window, const std::string& keys) {
  const auto x_window = reinterpret_cast<std::uintptr_t>(GetPropA(GetAncestor(window, GA_ROOT), kXWindowProp));
  if (x_window == 0) {
    Note("no X window for the key press " + keys);
    return false;
  }
  // Its failure shows in the driver's output.
  // The keys are let go again explicitly: a release lost on its way would leave a
  // key held, and whatever has the focus later would receive it.
  return StartHostProgram("/bin/sh -c \"/usr/bin/xdotool key --window " + std::to_string(x_window) + " " + keys +
                          " || echo xdotool key " + keys + " failed >&2; /usr/bin/xdotool keyup " + keys +
                          " >/dev/null 2>&1\"");
}

HWND MessageBoxOf(DWORD process_id) {
  for (HWND w : TopLevelWindows(process_id))
    if (IsWindowVisible(w) && ClassOf(w) == "#32770") return w;
  return nullptr;
}

std::string MessageBoxText(HWND box) {
  std::string text;
  for (HWND c : DirectChildren(box)) {
    if (lstrcmpiA(ClassOf(c).c_str(), "Static") != 0) continue;
    const std::string part = GetText(c, 1024);
    if (part.empty()) continue;
    if (!text.empty()) text += ' ';
    text += part;
  }
  return text;
}

std::string WindowTitle(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

bool DismissMessageBox(HWND box) {
  HWND ok = GetDlgItem(box, IDOK);
  if (!ok) {
    for (HWND c : DirectChildren(box))
      if (lstrcmpiA(ClassOf(c).c_str(), "Button") == 0) ok = c;
  }
  if (!ok || !PostClick(ok)) return false;
  return Poll([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
}

double PostedFence(HWND combo, int deadline_ms) {
  LRESULT extended = 0;
  if (!SendTimeout(combo, CB_GETEXTENDEDUI, 0, 0, &extended)) return -1;
  const LRESULT wanted = extended ? FALSE : TRUE;
  const auto start = std::chrono::steady_clock::now();
  if (!PostMessageA(combo, CB_SETEXTENDEDUI, static_cast<WPARAM>(wanted), 0)) return -1;
  while (MsSince(start) <= deadline_ms) {
    LRESULT now = 0;
    if (SendTimeout(combo, CB_GETEXTENDEDUI, 0, 0, &now) && now == wanted) return MsSince(start);
    Sleep(1);
  }
  return -1;
}

AnswerWatch::AnswerWatch(HWND window)
    : thread_([this, window] {
        while (!stop_) {
          const auto start = std::chrono::steady_clock::now();
          DWORD_PTR answer = 0;
          SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
          const double waited = MsSince(start);
          if (waited > longest_ms_) longest_ms_ = waited;
          if (waited > lap_ms_) lap_ms_ = waited;
          Sleep(10);
        }
      }) {}

AnswerWatch::~AnswerWatch() {
  stop_ = true;
  thread_.join();
}

Capture SteadyCapture(RECT rect) {
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  IntersectRect(&rect, &rect, &screen);
  Capture last = CaptureScreen(rect);
  Poll([&] {
    Capture now = CaptureScreen(rect);
    const bool same = !now.Empty() && now.pixels == last.pixels;
    const bool drawn = !now.Empty() && std::any_of(now.pixels.begin(), now.pixels.end(),
                                                   [&](std::uint32_t p) { return p != now.pixels.front(); });
    last = std::move(now);
    return same && drawn;
  }, 2000);
  return last;
}

Capture SteadyWindow(HWND window) {
  // On the screen and still for a moment: a window sliding in from the screen's
  // edge moves every few milliseconds, and may wait there before it starts.
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT last{};
  GetWindowRect(window, &last);
  auto still_since = std::chrono::steady_clock::now();
  Poll([&] {
    RECT now{};
    GetWindowRect(window, &now);
    if (!EqualRect(&now, &last)) {
      last = now;
      still_since = std::chrono::steady_clock::now();
    }
    RECT shown{};
    IntersectRect(&shown, &now, &screen);
    const bool inside = EqualRect(&shown, &now) || (now.right - now.left > screen.right || now.bottom - now.top > screen.bottom);
    return inside && MsSince(still_since) >= 150;
  }, 3000);
  return SteadyCapture(last);
}

std::string WaveFileBytes(int milliseconds) {
  constexpr std::uint32_t kRate = 8000;
  const std::uint32_t samples = kRate * static_cast<std::uint32_t>(milliseconds) / 1000;
  const std::uint32_t data_bytes = samples * 2;
  std::string out;
  const auto put32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  const auto put16 = [&](std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
  };
  out += "RIFF";
  put32(36 + data_bytes);
  out += "WAVEfmt ";
  put32(16);
  put16(1);  // PCM
  put16(1);  // mono
  put32(kRate);
  put32(kRate * 2);
  put16(2);
  put16(16);
  out += "data";
  put32(data_bytes);
  for (std::uint32_t i = 0; i < samples; ++i)
    put16(static_cast<std::uint16_t>(static_cast<std::int16_t>(800 * std::sin(i * 2 * 3.14159265 * 440 / kRate))));
  return out;
}

}  // namespace e2e
