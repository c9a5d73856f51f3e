// Win32Hotkeys: atoms, registration on the hidden window, a combination held by
// this process refused to another one (1409), WM_HOTKEY posted by another
// process (and, when the run script presses it, a real key press) reaching the
// window's procedure, errors kept inside, and the layout's key names.
#include "platform/win32/WinApi.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/Win32Hotkeys.h"
#include "tests/e2e/ports/Support.h"

namespace ports {
namespace {

constexpr unsigned kMods = tavlen::hotkey_mod::kControl | tavlen::hotkey_mod::kAlt;
constexpr unsigned kVk = VK_F9;
constexpr unsigned kThrowMessage = WM_APP + 7;
constexpr char kKeyTargetTitle[] = "Tavlen ports key target";

struct Pressed {
  std::uintptr_t id = 0;
  std::intptr_t lparam = 0;
  int count = 0;
};

std::string Hex(std::uintptr_t value) {
  char text[32];
  std::snprintf(text, sizeof(text), "%llx", static_cast<unsigned long long>(value));
  return text;
}

// Another process: tries the combination, then posts WM_HOTKEY to the window.
int Probe(tavlen::Hwnd window, unsigned id) {
  return RunChild(SelfPath(), {"probe-hotkey", Hex(window), std::to_string(id), std::to_string(kMods),
                               std::to_string(kVk)},
                  15000);
}

void Atoms(tavlen::Win32Hotkeys& api) {
  const std::string name = "TavlenPortsSmoke" + std::to_string(GetCurrentProcessId());
  const auto atom = api.GlobalAddAtom(name);
  CHECK(atom >= 0xC000, "a string atom is in the string range");
  CHECK_EQ(api.GlobalAddAtom(name), atom, "the same name gives the same atom");
  api.GlobalDeleteAtom(atom);
  CHECK_EQ(GlobalFindAtomA(name.c_str()), atom, "one reference left after one delete");
  api.GlobalDeleteAtom(atom);
  CHECK_EQ(GlobalFindAtomA(name.c_str()), static_cast<ATOM>(0), "gone after the last delete");
}

void KeyNames(tavlen::Win32Hotkeys& api) {
  // Wine names keys after X keysyms, Windows after its own layout tables.
  const bool wine = UnderWine();
  struct Expected {
    unsigned vk;
    const char* wine;
    const char* windows;
  };
  for (const Expected& e : {Expected{17, "Control", "Ctrl"}, Expected{16, "Shift", "Shift"},
                            Expected{18, "Alt", "Alt"}, Expected{65, "A", "A"}}) {
    const unsigned scan = api.MapVirtualKey(e.vk);
    CHECK(scan != 0, "scan code of key " + std::to_string(e.vk));
    const std::string name = api.GetKeyNameText(static_cast<std::int32_t>(scan << 16));
    CHECK_TEXT(name, wine ? e.wine : e.windows, "name of key " + std::to_string(e.vk));
  }
  CHECK_TEXT(api.GetKeyNameText(0), "", "no name for scan code 0");
  if (wine) CHECK_EQ(api.MapVirtualKey(VK_VOLUME_MUTE), 0u, "media keys have no scan code under Wine");
}

}  // namespace

void HotkeysSmoke(bool wait_for_key_press) {
  tavlen::Win32Hotkeys api;
  int errors = 0;
  api.OnError = [&](std::exception_ptr) { ++errors; };
  Pressed pressed;
  tavlen::Hwnd window = tavlen::kNoWindow;
  window = api.CreateMessageWindow([&](tavlen::Hwnd w, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
    if (msg == WM_HOTKEY) {
      pressed.id = wparam;
      pressed.lparam = lparam;
      ++pressed.count;
      return std::intptr_t{0};
    }
    if (msg == kThrowMessage) throw std::runtime_error("handler failure");
    return api.DefWindowProc(w, msg, wparam, lparam);
  });
  CHECK(window != tavlen::kNoWindow, "hidden hotkey window");

  Atoms(api);

  const auto id = api.GlobalAddAtom("HotKeyManagerHotKey" + std::to_string(GetCurrentProcessId()));
  CHECK(id != 0, "hotkey id atom");
  CHECK(api.RegisterHotKey(window, id, kMods, kVk), "Ctrl+Alt+F9 registered");
  SetLastError(0);
  CHECK(!api.RegisterHotKey(window, id + 1, kMods, kVk), "the same combination twice refused");
  CHECK_EQ(static_cast<int>(GetLastError()), 1409, "refusal says hotkey already registered");

  // Exit code 0: the other process was refused with 1409 and posted WM_HOTKEY.
  CHECK_EQ(Probe(window, id), 0, "another process refused the held combination and posted WM_HOTKEY");
  CHECK(PumpUntil([&] { return pressed.count > 0; }, 5000), "posted WM_HOTKEY reached the procedure");
  CHECK_EQ(pressed.id, static_cast<std::uintptr_t>(id), "WM_HOTKEY id");
  CHECK_EQ(pressed.lparam, static_cast<std::intptr_t>(kMods | (kVk << 16)), "WM_HOTKEY modifiers and key");

  if (wait_for_key_press) {
    // A visible window of this program for the run script to send the keys to:
    // Wine takes key presses only on its own X windows.
    HWND target = CreateWindowExA(0, "STATIC", kKeyTargetTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300,
                                  100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(target);
    const int before = pressed.count;
    Note("waiting for a key press of ctrl+alt+F9");
    const bool got = PumpUntil([&] { return pressed.count > before; }, 20000);
    CHECK(got, "a real Ctrl+Alt+F9 press reached the procedure");
    if (got) {
      CHECK_EQ(pressed.lparam, static_cast<std::intptr_t>(kMods | (kVk << 16)), "key press modifiers and key");
      Note("real key press delivered as WM_HOTKEY");
    }
    PumpUntil([] { return false; }, 300);  // the key releases still go to the window
    DestroyWindow(target);
  }

  // Errors of the procedure stay inside the window; the default answer follows.
  const LRESULT answer = SendMessageA(reinterpret_cast<HWND>(window), kThrowMessage, 0, 0);
  CHECK_EQ(errors, 1, "what the procedure throws goes to OnError");
  CHECK_EQ(static_cast<long long>(answer), 0LL, "the default procedure answered");

  CHECK(api.UnregisterHotKey(window, id), "unregistered");
  CHECK(!api.UnregisterHotKey(window, id), "unregistering twice fails");
  CHECK_EQ(Probe(window, id), 1, "another process may take the released combination");

  // A destroyed window's hotkeys go with it.
  CHECK(api.RegisterHotKey(window, id, kMods, kVk), "registered again");
  api.DestroyMessageWindow(window);
  CHECK_EQ(Probe(window, id), 11, "released with the window (and the post finds no window)");
  api.GlobalDeleteAtom(id);

  KeyNames(api);
}

int ProbeHotkeyChild(const std::vector<std::string>& args) {
  if (args.size() != 4) return 50;
  const auto window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::stoull(args[0], nullptr, 16)));
  const int id = std::stoi(args[1]);
  const unsigned mods = static_cast<unsigned>(std::stoul(args[2]));
  const unsigned vk = static_cast<unsigned>(std::stoul(args[3]));
  int code = 0;
  SetLastError(0);
  if (RegisterHotKey(nullptr, 1, mods, vk)) {
    UnregisterHotKey(nullptr, 1);
    code = 1;
  } else if (GetLastError() != 1409) {
    code = 2;
  }
  if (!PostMessageA(window, WM_HOTKEY, static_cast<WPARAM>(id), static_cast<LPARAM>(mods | (vk << 16)))) code += 10;
  return code;
}

}  // namespace ports
