// Win32Dialogs driven from a clock timer while the dialog's own modal loop runs:
// the prompt's OK, Cancel and close, the message box caption, the file dialog.
#include "platform/win32/WinApi.h"

#include <cstdlib>
#include <functional>
#include <string>

#include "base/Text.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32Windowing.h"
#include "tests/e2e/smoke/Check.h"

namespace smoke {
namespace {

using tavlen::Hwnd;

std::string ItemText(HWND dialog, int id) {
  char buffer[512] = {};
  GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
  return buffer;
}

// Polls for the dialog while the modal call runs; acts once on it. A dialog that
// never shows is reported; the watchdog ends the run if the call never returns.
class Driver {
 public:
  Driver(tavlen::Win32Clock& clock, std::string what, std::function<HWND()> find,
         std::function<void(HWND)> act)
      : clock_(clock), what_(std::move(what)) {
    const std::int64_t deadline = clock.NowMs() + 10000;
    // TAVLEN_SMOKE_HOLD_MS keeps each dialog on screen that long, for a screenshot.
    const char* hold = std::getenv("TAVLEN_SMOKE_HOLD_MS");
    const int hold_ms = hold ? std::atoi(hold) : 0;
    clock_.StartTimer(900, 30, [this, find, act, deadline, hold_ms] {
      if (HWND dialog = find()) {
        if (hold_ms > 0 && first_seen_ == 0) first_seen_ = clock_.NowMs();
        if (hold_ms > 0 && clock_.NowMs() - first_seen_ < hold_ms) return;
        clock_.StopTimer(900);
        found_ = true;
        act(dialog);
      } else if (clock_.NowMs() > deadline) {
        clock_.StopTimer(900);
      }
    });
  }
  ~Driver() {
    clock_.StopTimer(900);
    CHECK(found_, what_ + ": dialog never appeared");
  }

 private:
  tavlen::Win32Clock& clock_;
  std::string what_;
  bool found_ = false;
  std::int64_t first_seen_ = 0;
};

void Prompt(tavlen::Win32Clock& clock, tavlen::Win32Dialogs& dialogs) {
  tavlen::Win32Windowing win;
  const std::string caption = tavlen::ansi("Pseudo concerné");
  const std::string prompt = tavlen::ansi("Pseudo concerné :");
  const auto find = [caption] { return FindWindowA("#32770", caption.c_str()); };
  std::string seen_prompt, seen_initial;
  std::string answer;
  {
    Driver driver(clock, "prompt OK", find, [&](HWND dialog) {
      seen_prompt = ItemText(dialog, tavlen::Win32Dialogs::kPromptLabelId);
      HWND edit = GetDlgItem(dialog, tavlen::Win32Dialogs::kPromptEditId);
      seen_initial = win.SendGetText(reinterpret_cast<Hwnd>(edit), 5001);
      win.SendSetText(reinterpret_cast<Hwnd>(edit), tavlen::ansi("élève¤1"));
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    answer = dialogs.InputBox(caption, prompt, "ancien");
  }
  CHECK_TEXT(seen_prompt, prompt, "prompt label");
  CHECK_TEXT(seen_initial, "ancien", "prompt starts with the initial text");
  CHECK_TEXT(answer, tavlen::ansi("élève¤1"), "OK returns the typed text");

  {
    Driver driver(clock, "prompt Cancel", find, [&](HWND dialog) {
      SetDlgItemTextA(dialog, tavlen::Win32Dialogs::kPromptEditId, "perdu");
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    answer = dialogs.InputBox(caption, prompt, "ancien");
  }
  CHECK_TEXT(answer, "ancien", "Cancel returns the initial text");

  {
    Driver driver(clock, "prompt close", find, [&](HWND dialog) {
      SetDlgItemTextA(dialog, tavlen::Win32Dialogs::kPromptEditId, "perdu");
      PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
    answer = dialogs.InputBox(caption, prompt, "");
  }
  CHECK_TEXT(answer, "", "closing the prompt is Cancel");

  {
    // Enter in the edit box is the default button.
    Driver driver(clock, "prompt Enter", find, [&](HWND dialog) {
      HWND edit = GetDlgItem(dialog, tavlen::Win32Dialogs::kPromptEditId);
      SetWindowTextA(edit, "vite");
      SetFocus(edit);
      PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    });
    answer = dialogs.InputBox(caption, prompt, "");
  }
  CHECK_TEXT(answer, "vite", "Enter confirms the prompt");
}

RECT ItemPlace(HWND dialog, int id) {
  RECT r{};
  HWND item = GetDlgItem(dialog, id);
  GetWindowRect(item, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The automatic kick's long prompts: the label holds the whole text wrapped to
// its width, and the box and buttons stay below it inside the dialog.
void LongPrompt(tavlen::Win32Clock& clock, tavlen::Win32Dialogs& dialogs) {
  const std::string caption = tavlen::ansi("Délai entre les KICKS");
  for (const std::string& prompt : {std::string("Indiquez le nombre de SECONDES entre chaque KICK (minimum: 10)"),
                                   std::string("Rentrer maintenant la raison du KICK AUTOMATIQUE")}) {
    Driver driver(clock, "long prompt", [caption] { return FindWindowA("#32770", caption.c_str()); }, [&](HWND dialog) {
      HWND label = GetDlgItem(dialog, tavlen::Win32Dialogs::kPromptLabelId);
      const RECT place = ItemPlace(dialog, tavlen::Win32Dialogs::kPromptLabelId);
      RECT need{0, 0, place.right - place.left, 0};
      HDC dc = GetDC(label);
      const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
      DrawTextA(dc, prompt.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
      SelectObject(dc, previous);
      ReleaseDC(label, dc);
      CHECK(place.bottom - place.top >= need.bottom,
            "the label is " + std::to_string(place.bottom - place.top) + " px tall for a text of " +
                std::to_string(need.bottom) + " px: " + prompt);
      const RECT edit = ItemPlace(dialog, tavlen::Win32Dialogs::kPromptEditId);
      const RECT ok = ItemPlace(dialog, IDOK);
      RECT client{};
      GetClientRect(dialog, &client);
      CHECK(place.bottom <= edit.top && edit.bottom <= ok.top && ok.bottom <= client.bottom,
            "label, box and buttons one below the other inside the dialog: " + prompt);
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    dialogs.InputBox(caption, prompt, "");
  }
}

void Message(tavlen::Win32Clock& clock, tavlen::Win32Dialogs& dialogs, const std::string& title) {
  const std::string text = tavlen::ansi("Vous devez d'abord indiquer le pseudo concerné.");
  bool text_shown = false;
  {
    Driver driver(clock, "message box", [title] { return FindWindowA("#32770", title.c_str()); },
                  [&](HWND box) {
                    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                      char buffer[512] = {};
                      GetWindowTextA(child, buffer, sizeof buffer);
                      text_shown = text_shown || text == buffer;
                    }
                    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                  });
    dialogs.ShowMessage(text);
  }
  CHECK(text_shown, "message box shows its text under the application title");

  {
    Driver driver(clock, "message box caption", [] { return FindWindowA("#32770", "Erreur"); },
                  [](HWND box) { PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); });
    dialogs.ShowMessage("x", "Erreur");
  }

  // Warnings and errors show the system's icon beside their text; a plain box none.
  const auto icon_of = [](HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        const LRESULT icon = SendMessageA(child, STM_GETICON, 0, 0);
        if (icon) return icon;
      }
    return LRESULT{0};
  };
  using Case = std::pair<tavlen::MessageIcon, LPCSTR>;
  for (const auto& [kind, expected] : {Case{tavlen::MessageIcon::kWarning, IDI_WARNING},
                                       Case{tavlen::MessageIcon::kError, IDI_ERROR},
                                       Case{tavlen::MessageIcon::kNone, nullptr}}) {
    LRESULT shown = 0;
    {
      Driver driver(clock, "message box icon", [] { return FindWindowA("#32770", "Avertissement"); }, [&](HWND box) {
        shown = icon_of(box);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      });
      dialogs.ShowMessage("x", "Avertissement", kind);
    }
    const LRESULT system = expected ? reinterpret_cast<LRESULT>(LoadIconA(nullptr, expected)) : 0;
    CHECK(shown == system, "the message box's icon for kind " + std::to_string(static_cast<int>(kind)));
  }
}

void FileOpen(tavlen::Win32Clock& clock, tavlen::Win32Dialogs& dialogs) {
  CHECK_TEXT(tavlen::OpenFileFilter("Sons|*.wav"), std::string("Sons\0*.wav\0\0", 12), "one filter");
  CHECK_TEXT(tavlen::OpenFileFilter("Sons|*.wav|Tous|*.*"), std::string("Sons\0*.wav\0Tous\0*.*\0\0", 21),
             "two filters");
  CHECK_TEXT(tavlen::OpenFileFilter("Sons|*.wav|"), std::string("Sons\0*.wav\0\0", 12), "trailing bar");
  CHECK_TEXT(tavlen::OpenFileFilter(""), "", "no filter");

  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string path = std::string(temp) + tavlen::ansi("alerte é.wav");
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CHECK(file != INVALID_HANDLE_VALUE, "temp file created");
  CloseHandle(file);

  std::optional<std::string> chosen;
  {
    Driver driver(clock, "file dialog", [] { return FindWindowA("#32770", nullptr); }, [&](HWND dialog) {
      // cmb13 (the file name combo) in explorer dialogs, edt1 in older ones.
      if (!SetDlgItemTextA(dialog, 1148, path.c_str())) SetDlgItemTextA(dialog, 1152, path.c_str());
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    chosen = dialogs.OpenFile("Sons|*.wav");
  }
  CHECK(chosen.has_value(), "file chosen");
  if (chosen) CHECK(lstrcmpiA(chosen->c_str(), path.c_str()) == 0, "chosen path: " + *chosen);

  {
    Driver driver(clock, "file dialog cancel", [] { return FindWindowA("#32770", nullptr); }, [](HWND dialog) {
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    chosen = dialogs.OpenFile("Sons|*.wav");
  }
  CHECK(!chosen.has_value(), "cancelled file dialog yields nothing");
  DeleteFileA(path.c_str());
}

}  // namespace

void DialogsSmoke() {
  tavlen::Win32Clock clock;
  const std::string title = "Tavlen - [12]";
  tavlen::Win32Dialogs dialogs([&] { return title; });
  Prompt(clock, dialogs);
  LongPrompt(clock, dialogs);
  Message(clock, dialogs, title);
  FileOpen(clock, dialogs);
  Note("dialogs done");
}

}  // namespace smoke
