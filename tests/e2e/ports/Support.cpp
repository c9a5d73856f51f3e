#include "platform/win32/WinApi.h"

#include "tests/e2e/ports/Support.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ports {

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool SoundExpected() {
  const char* value = std::getenv("TAVLEN_PORTS_SOUND");
  return value && std::strcmp(value, "1") == 0;
}

std::string SelfPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

void* StartChild(const std::string& exe, const std::vector<std::string>& args) {
  std::string line = "\"" + exe + "\"";
  for (const std::string& arg : args) line += " \"" + arg + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    Note("CreateProcess failed for " + exe + ": " + std::to_string(GetLastError()));
    return nullptr;
  }
  CloseHandle(info.hThread);
  return info.hProcess;
}

int WaitChild(void* process, int timeout_ms) {
  if (!process) return -1;
  const HANDLE handle = static_cast<HANDLE>(process);
  int code = -1;
  if (WaitForSingleObject(handle, static_cast<DWORD>(timeout_ms)) == WAIT_OBJECT_0) {
    DWORD exit_code = 0;
    if (GetExitCodeProcess(handle, &exit_code)) code = static_cast<int>(exit_code);
  } else {
    TerminateProcess(handle, 99);
  }
  CloseHandle(handle);
  return code;
}

int RunChild(const std::string& exe, const std::vector<std::string>& args, int timeout_ms) {
  return WaitChild(StartChild(exe, args), timeout_ms);
}

bool PumpUntil(const std::function<bool()>& done, int timeout_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done()) return true;
    if (GetTickCount() - start >= static_cast<DWORD>(timeout_ms)) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

bool WriteSilentWav(const std::string& path, int ms) {
  constexpr std::uint32_t kRate = 22050;
  constexpr std::uint16_t kBits = 16;
  const std::uint32_t data_size = kRate * ms / 1000 * (kBits / 8);
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const auto u32 = [file](std::uint32_t v) {
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    std::fwrite(b, 1, 4, file);
  };
  const auto u16 = [file](std::uint16_t v) {
    const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
    std::fwrite(b, 1, 2, file);
  };
  std::fwrite("RIFF", 1, 4, file);
  u32(36 + data_size);
  std::fwrite("WAVEfmt ", 1, 8, file);
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(kRate);
  u32(kRate * (kBits / 8));
  u16(kBits / 8);
  u16(kBits);
  std::fwrite("data", 1, 4, file);
  u32(data_size);
  for (std::uint32_t i = 0; i < data_size; ++i) std::fputc(0, file);
  return std::fclose(file) == 0;
}

std::string TempPath(const std::string& name) {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}

}  // namespace ports
