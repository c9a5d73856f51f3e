// perfrun.exe: the console beside a busy stand-in room, measured against the
// floor program in the same run. Starts the room (N users, one chat line at an
// interval), the console (from a fresh folder) and floor.exe; once the console
// shows the whole user list and a warm-up has passed, it samples every process's
// CPU time (GetProcessTimes) and private bytes (GetProcessMemoryInfo) over the
// measuring window, then ends them all and prints the figures, "PERF OK" last
// when the run went as planned.
//   perfrun.exe --console tavlen.exe --standin standin.exe --floor floor.exe --work DIR
//               [--seconds 60] [--warmup 5] [--users 500] [--say-every-ms 1000]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr char kRoomClass[] = "CamfrogRoom";
constexpr char kRoomTitle[] = "le_salon_bleu : Video Chat Room";
constexpr char kApplicationClass[] = "TApplication";

struct Options {
  std::string console, standin, floor, work;
  int seconds = 60;
  int warmup = 5;
  int users = 500;
  int say_every_ms = 1000;
};

struct Process {
  explicit Process(std::string process_name) : name(std::move(process_name)) {}
  std::string name;
  std::string exe;  // as started, to find it among the host's processes under Wine
  PROCESS_INFORMATION info{};
  // Peak of the private bytes sampled during the run.
  SIZE_T peak_private = 0;
  // Under Wine: the host's process running it, whose /proc entries give the CPU time.
  std::string host_pid;
};

// ---- The host's view under Wine --------------------------------------------
// Wine's GetProcessTimes gives no CPU time for another process; the host's
// /proc does, and Wine shows it on drive Z:.

std::string ReadHostFile(const std::string& path) {
  const HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(f);
  return text;
}

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The host process whose program (its command line's first word under Wine) is
// `program` (letter case ignored) and whose environment holds `variable`.
std::string HostPid(const std::string& program, const std::string& variable = {}) {
  WIN32_FIND_DATAA entry;
  const HANDLE find = FindFirstFileA("Z:\\proc\\*", &entry);
  if (find == INVALID_HANDLE_VALUE) return {};
  std::string found;
  const std::string wanted = Lowered(program);
  do {
    const std::string pid = entry.cFileName;
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string command = ReadHostFile("Z:\\proc\\" + pid + "\\cmdline");
    if (Lowered(command.substr(0, command.find('\0'))) != wanted) continue;
    if (!variable.empty()) {
      std::string environment = ReadHostFile("Z:\\proc\\" + pid + "\\environ");
      std::replace(environment.begin(), environment.end(), '\0', '\n');
      if (("\n" + environment + "\n").find("\n" + variable + "\n") == std::string::npos) continue;
    }
    found = pid;
  } while (found.empty() && FindNextFileA(find, &entry));
  FindClose(find);
  return found;
}

// The Wine server of this prefix (each prefix has its own).
std::string ServerPid() {
  char prefix[1024] = {};
  if (!GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix)) return {};
  for (const char* server : {"/usr/lib/wine/wineserver64", "/usr/lib/wine/wineserver32", "/usr/lib/wine/wineserver"})
    if (std::string pid = HostPid(server, std::string("WINEPREFIX=") + prefix); !pid.empty()) return pid;
  return {};
}

// User plus system time of a host process, in 100 ns units; 0 when unknown.
ULONGLONG HostCpuTime(const std::string& pid) {
  if (pid.empty()) return 0;
  const std::string stat = ReadHostFile("Z:\\proc\\" + pid + "\\stat");
  const std::size_t end = stat.rfind(')');
  if (end == std::string::npos) return 0;
  // After the name: state, then fields 4..; utime and stime are fields 14 and 15.
  unsigned long long field[16] = {};
  const char* at = stat.c_str() + end + 2;
  char state = 0;
  if (std::sscanf(at, "%c %llu %llu %llu %llu %llu %llu %llu %llu %llu %llu %llu %llu", &state, &field[4], &field[5],
                  &field[6], &field[7], &field[8], &field[9], &field[10], &field[11], &field[12], &field[13],
                  &field[14], &field[15]) != 13)
    return 0;
  return (field[14] + field[15]) * 10000000ull / 100;  // clock ticks of 10 ms
}

std::string Quoted(const std::string& arg) { return "\"" + arg + "\""; }

bool Launch(Process& p, const std::string& exe, const std::vector<std::string>& args, bool share_output) {
  p.exe = exe;
  std::string line = Quoted(exe);
  for (const auto& a : args) line += " " + Quoted(a);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  if (share_output) {
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  }
  const std::string dir = exe.substr(0, exe.find_last_of("\\/") + 1);
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, share_output, 0, nullptr, dir.empty() ? nullptr : dir.c_str(),
                      &si, &p.info)) {
    std::printf("cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
    return false;
  }
  return true;
}

bool Alive(const Process& p) { return p.info.hProcess && WaitForSingleObject(p.info.hProcess, 0) == WAIT_TIMEOUT; }

// Kernel plus user time, in 100 ns units.
ULONGLONG CpuTime(const Process& p) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(p.info.hProcess, &created, &exited, &kernel, &user)) return 0;
  const auto value = [](FILETIME t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return value(kernel) + value(user);
}

PROCESS_MEMORY_COUNTERS_EX Memory(const Process& p) {
  PROCESS_MEMORY_COUNTERS_EX m{};
  m.cb = sizeof m;
  GetProcessMemoryInfo(p.info.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m), sizeof m);
  return m;
}

void SampleMemory(Process& p) {
  if (!Alive(p)) return;
  const PROCESS_MEMORY_COUNTERS_EX m = Memory(p);
  p.peak_private = std::max({p.peak_private, m.PrivateUsage, m.PeakPagefileUsage});
}

// A top-level window of that process with that class and title.
struct Search {
  DWORD pid;
  const char* class_name;
  std::string title;
  HWND found;
};

BOOL CALLBACK Visit(HWND h, LPARAM lp) {
  auto& s = *reinterpret_cast<Search*>(lp);
  DWORD owner = 0;
  GetWindowThreadProcessId(h, &owner);
  char cls[256] = {}, title[512] = {};
  GetClassNameA(h, cls, sizeof cls);
  GetWindowTextA(h, title, sizeof title);
  if (owner != s.pid || std::strcmp(cls, s.class_name) != 0 || s.title != title) return TRUE;
  s.found = h;
  return FALSE;
}

HWND FindOf(DWORD pid, const char* class_name, const std::string& title) {
  Search search{pid, class_name, title, nullptr};
  EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

template <class Ready>
bool WaitUntil(Ready ready, int seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < end) {
    if (ready()) return true;
    Sleep(100);
  }
  return ready();
}

double Mb(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

void End(Process& p) {
  if (Alive(p)) TerminateProcess(p.info.hProcess, 1);
  if (p.info.hProcess) WaitForSingleObject(p.info.hProcess, 5000);
}

int Run(const Options& o) {
  bool ok = true;
  Process room("room"), console("console"), floor("floor");
  if (!Launch(room, o.standin,
              {"--users-count", std::to_string(o.users), "--say-every-ms", std::to_string(o.say_every_ms)}, false))
    return 1;
  HWND room_window = nullptr;
  if (!WaitUntil([&] { return (room_window = FindWindowA(kRoomClass, kRoomTitle)) != nullptr; }, 30)) {
    std::printf("the room window did not appear\n");
    End(room);
    return 1;
  }

  // The console from a folder of its own, without settings of an earlier run.
  const std::string folder = o.work + "\\console";
  CreateDirectoryA(o.work.c_str(), nullptr);
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const char* name : {"hotkeys.ini", "highlight.ini", "sounds.ini", "messages.ini", "config.ini"})
    DeleteFileA((folder + "\\" + name).c_str());
  const std::string exe = folder + "\\tavlen.exe";
  if (!CopyFileA(o.console.c_str(), exe.c_str(), FALSE)) {
    std::printf("cannot copy the console to %s\n", exe.c_str());
    End(room);
    return 1;
  }
  const auto started = std::chrono::steady_clock::now();
  if (!Launch(console, exe, {}, false)) {
    End(room);
    return 1;
  }
  // The user list is whole: the room's users and the moderator.
  const std::string whole = "Tavlen - [" + std::to_string(o.users + 1) + "]";
  if (!WaitUntil([&] { return FindOf(console.info.dwProcessId, kApplicationClass, whole) != nullptr; }, 90)) {
    std::printf("the console did not show \"%s\"\n", whole.c_str());
    ok = false;
  }
  const double up_s = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("console up with the whole user list in %.1f s\n", up_s);

  if (!Launch(floor, o.floor, {"--title", kRoomTitle}, true)) ok = false;
  Sleep(static_cast<DWORD>(o.warmup) * 1000);

  std::vector<Process*> all{&console, &floor, &room};
  for (Process* p : all) p->host_pid = HostPid(p->exe);
  const std::string server_pid = ServerPid();
  const bool on_host = !console.host_pid.empty() && !floor.host_pid.empty() && !room.host_pid.empty();
  // The host's figures when there is a host (Wine), else the system's own.
  const auto cpu = [&](const Process& p) { return on_host ? HostCpuTime(p.host_pid) : CpuTime(p); };
  std::vector<ULONGLONG> before;
  for (Process* p : all) before.push_back(cpu(*p));
  const ULONGLONG server_before = HostCpuTime(server_pid);
  const auto t0 = std::chrono::steady_clock::now();
  const auto t1 = t0 + std::chrono::seconds(o.seconds);
  while (std::chrono::steady_clock::now() < t1) {
    for (Process* p : all) SampleMemory(*p);
    Sleep(250);
  }
  std::vector<ULONGLONG> after;
  for (Process* p : all) after.push_back(cpu(*p));
  const ULONGLONG server_after = HostCpuTime(server_pid);
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  for (Process* p : all) SampleMemory(*p);

  std::printf("CPU times from %s\n", on_host ? "the host's /proc (Wine gives none for another process)"
                                              : "GetProcessTimes");
  std::vector<double> pct;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const double cpu_s = static_cast<double>(after[i] - before[i]) / 1e7;
    pct.push_back(100.0 * cpu_s / wall);
    const PROCESS_MEMORY_COUNTERS_EX m = Memory(*all[i]);
    std::printf("%-8s cpu %6.2f %% of a core (%.2f s in %.1f s)  private %.2f MB now, peak %.2f MB  working set peak %.2f MB\n",
                all[i]->name.c_str(), pct.back(), cpu_s, wall, Mb(m.PrivateUsage), Mb(all[i]->peak_private),
                Mb(m.PeakWorkingSetSize));
  }
  if (!Alive(console)) {
    std::printf("the console ended during the run\n");
    ok = false;
  } else if (!FindOf(console.info.dwProcessId, kApplicationClass, whole)) {
    std::printf("the console no longer shows \"%s\"\n", whole.c_str());
    ok = false;
  }
  if (pct[1] <= 0.0) {
    std::printf("no CPU time was measured for the floor\n");
    ok = false;
  }
  const double server_pct =
      server_pid.empty() ? 0.0 : 100.0 * static_cast<double>(server_after - server_before) / 1e7 / wall;
  if (!server_pid.empty()) std::printf("wineserver cpu %6.2f %% of a core (serves every process)\n", server_pct);
  const double ratio = pct[1] > 0.0 ? pct[0] / pct[1] : 0.0;
  std::printf("PERF console_cpu_pct=%.2f floor_cpu_pct=%.2f ratio=%.2f console_peak_private_mb=%.2f "
              "floor_peak_private_mb=%.2f room_cpu_pct=%.2f wineserver_cpu_pct=%.2f seconds=%.1f\n",
              pct[0], pct[1], ratio, Mb(console.peak_private), Mb(floor.peak_private), pct[2], server_pct, wall);
  std::fflush(stdout);

  // The floor reports what it read when asked to stop.
  PostThreadMessageA(floor.info.dwThreadId, WM_QUIT, 0, 0);
  DWORD floor_exit = 1;
  if (floor.info.hProcess && WaitForSingleObject(floor.info.hProcess, 10000) == WAIT_OBJECT_0)
    GetExitCodeProcess(floor.info.hProcess, &floor_exit);
  if (floor_exit != 0) {
    std::printf("the floor program did not reach every part of the room\n");
    ok = false;
  }
  End(floor);
  End(console);  // the console refuses to be closed: only the menu ends it
  PostMessageA(room_window, WM_CLOSE, 0, 0);
  if (room.info.hProcess && WaitForSingleObject(room.info.hProcess, 10000) != WAIT_OBJECT_0) End(room);
  std::printf(ok ? "PERF OK\n" : "PERF FAILED\n");
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i], value = argv[i + 1];
    if (flag == "--console") o.console = value;
    else if (flag == "--standin") o.standin = value;
    else if (flag == "--floor") o.floor = value;
    else if (flag == "--work") o.work = value;
    else if (flag == "--seconds") o.seconds = std::stoi(value);
    else if (flag == "--warmup") o.warmup = std::stoi(value);
    else if (flag == "--users") o.users = std::stoi(value);
    else if (flag == "--say-every-ms") o.say_every_ms = std::stoi(value);
  }
  if (o.console.empty() || o.standin.empty() || o.floor.empty() || o.work.empty()) {
    std::printf("usage: perfrun.exe --console EXE --standin EXE --floor EXE --work DIR [--seconds N] [--warmup N]\n"
                "                   [--users N] [--say-every-ms N]\n");
    return 2;
  }
  return Run(o);
}
