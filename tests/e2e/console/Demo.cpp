// The scene of the README's screenshot: a room with a few users chatting, the
// console beside it having asked for its rights.
#include "tests/e2e/console/Session.h"
#include "tests/e2e/console/Stories.h"
#include "ui/MenuIds.h"

namespace e2e {

namespace {

void Redraw(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace

bool DemoStart(const Setup& setup) {
  Session s(setup);
  Room& room = s.StartRoom({"--room", "le_salon_bleu", "--nick", "modo", "--users", "alice,Bob,D\xE9" "d\xE9,lena",
                            "--hidden-users", "yann", "--at", "345,8"},
                           "le_salon_bleu : Video Chat Room");
  if (!room.window) return false;
  for (const char* line : {"say alice|Bonsoir tout le monde !", "say Bob|salut alice, \xE7" "a va ?",
                           "join carl", "say D\xE9" "d\xE9|quelqu'un a le lien de la soir\xE9" "e jazz ?",
                           "say lena|mdr"})
    CHECK(Control(room.window, line), std::string("room control: ") + line);

  Console& c = s.StartConsole("demo");
  if (!c.main) return false;
  WAIT_CONSOLE(s, c, [&] { return room.Transcript().find("Your current level is: OPPLUS.") != std::string::npos; },
               kStartDeadlineMs, "the room's answer to /setopt");
  HWND ban = c.Child("Button", "BANNIR");
  if (ban) WAIT_CONSOLE(s, c, [&] { return IsWindowEnabled(ban) != FALSE; }, kMonitorDeadlineMs, "BANNIR enabled");
  WAIT_CONSOLE(s, c, [&] { return c.AppTitle() == "Tavlen - [6]"; }, kTickDeadlineMs, "the user count");
  CHECK(Control(room.window, "say alice|bienvenue modo :)"), "room control: a last line");

  // The room right of the console, tops aligned.
  RECT console_rect{};
  GetWindowRect(c.main, &console_rect);
  SetWindowPos(room.window, nullptr, console_rect.right + 10, console_rect.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Redraw(room.window);
  Redraw(c.main);

  // The debug window ("Déboguage") under the console, with its traces.
  CHECK(c.Menu(tavlen::menu_id::kDeboguage), "Déboguage chosen");
  HWND debug = nullptr;
  WAIT_FOR([&] { return (debug = FindTopLevel(c.process.id, "TForm10", "")) && IsWindowVisible(debug); },
           kTickDeadlineMs, "the debug window");
  if (debug) {
    SetWindowPos(debug, nullptr, console_rect.left, console_rect.bottom + 10, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Redraw(debug);
  }
  const bool ok = Failures() == 0;
  s.Detach();
  return ok;
}

bool DemoStop() {
  bool ok = true;
  const auto end = [&](const char* cls, const std::function<void(HWND)>& ask) {
    while (HWND w = FindWindowA(cls, nullptr)) {
      DWORD id = 0;
      GetWindowThreadProcessId(w, &id);
      Launched process{OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id), id};
      ask(w);
      if (!WaitExit(process, kExitDeadlineMs)) {
        FAIL_HERE(std::string("a ") + cls + " window stayed");
        Kill(process);
        ok = false;
        return;
      }
    }
  };
  end("TForm1", [](HWND w) {
    // An open menu first: its loop would hold the command.
    SendTimeout(w, WM_CANCELMODE, 0, 0);
    PostMessageA(w, WM_COMMAND, MAKEWPARAM(tavlen::menu_id::kQuitter, 0), 0); });
  end("CamfrogRoom", [](HWND w) { PostMessageA(w, WM_CLOSE, 0, 0); });
  return ok;
}

}  // namespace e2e
