#include "tests/e2e/console/ConsoleParts.h"

#include <algorithm>

namespace e2e {

RECT PlaceIn(HWND parent, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::vector<HWND> VisibleChildren(HWND parent, const std::string& class_name) {
  std::vector<HWND> found;
  for (HWND c : DirectChildren(parent))
    if (IsWindowVisible(c) && lstrcmpiA(ClassOf(c).c_str(), class_name.c_str()) == 0) found.push_back(c);
  std::sort(found.begin(), found.end(), [&](HWND a, HWND b) {
    const RECT ra = PlaceIn(parent, a);
    const RECT rb = PlaceIn(parent, b);
    return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
  });
  return found;
}

HWND LowestChild(HWND parent, const std::string& class_name, const std::string& caption) {
  HWND lowest = nullptr;
  for (HWND c : VisibleChildren(parent, class_name))
    if (GetText(c, 256) == caption) lowest = c;
  return lowest;
}

HWND VisibleTopLevel(DWORD process_id, const std::string& class_name, const std::string& title) {
  for (HWND w : TopLevelWindows(process_id)) {
    if (!IsWindowVisible(w) || lstrcmpiA(ClassOf(w).c_str(), class_name.c_str()) != 0) continue;
    if (!title.empty()) {
      char text[512] = {};
      GetWindowTextA(w, text, sizeof text);
      if (title != text) continue;
    }
    return w;
  }
  return nullptr;
}

int ListSelection(HWND list) {
  LRESULT selected = LB_ERR;
  return SendTimeout(list, LB_GETCURSEL, 0, 0, &selected) ? static_cast<int>(selected) : LB_ERR;
}

bool AnswerPrompt(Session& s, const Console& c, const std::string& caption, const std::string& text, bool ok) {
  HWND prompt = nullptr;
  if (!WAIT_CONSOLE(s, c, [&] { return (prompt = VisibleTopLevel(c.process.id, "#32770", caption)) != nullptr; },
                    kTickDeadlineMs, "the prompt \"" + caption + "\""))
    return false;
  HWND edit = GetDlgItem(prompt, 100);
  HWND button = GetDlgItem(prompt, ok ? IDOK : IDCANCEL);
  if (!edit || !button) {
    FAIL_HERE("the box and buttons of the prompt \"" + caption + "\"");
    return false;
  }
  CHECK(TypeInto(edit, text), "typing " + Shown(text) + " into \"" + caption + "\"");
  CHECK(PostClick(button), std::string(ok ? "OK" : "Annuler") + " on \"" + caption + "\"");
  return WAIT_CONSOLE(s, c, [&] { return !IsWindow(prompt); }, kTickDeadlineMs, "\"" + caption + "\" closed");
}

std::string FileBytes(const std::filesystem::path& path) {
  // Shared for delete too: a writer that replaces the file by a rename (the
  // console's saves, the mixer probe's reports) must never find it held by the
  // driver's read. A plain stream would hold it, and the writer's replace fail.
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

bool ClickListItem(HWND list, int index) {
  LRESULT top = 0;
  LRESULT height = 0;
  if (!SendTimeout(list, LB_GETTOPINDEX, 0, 0, &top) || !SendTimeout(list, LB_GETITEMHEIGHT, 0, 0, &height) ||
      height <= 0 || index < top)
    return false;
  const LPARAM point = MAKELPARAM(8, static_cast<int>((index - top) * height + height / 2));
  return PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point) && PostMessageA(list, WM_LBUTTONUP, 0, point);
}

bool ChooseComboItem(HWND combo, int index) {
  LRESULT chosen = CB_ERR;
  if (!SendTimeout(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0, &chosen) || chosen != index) return false;
  const int id = GetDlgCtrlID(combo);
  return PostMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

bool DoubleClick(HWND window, POINT client) {
  const LPARAM at = MAKELPARAM(client.x, client.y);
  return PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at) && PostMessageA(window, WM_LBUTTONUP, 0, at) &&
         PostMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at) && PostMessageA(window, WM_LBUTTONUP, 0, at);
}

namespace {
// A pointer event at `screen`, in SendInput's absolute units.
INPUT MouseAt(POINT screen, DWORD flags) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((screen.x * 65535LL + width / 2) / std::max(width - 1, 1));
  input.mi.dy = static_cast<LONG>((screen.y * 65535LL + height / 2) / std::max(height - 1, 1));
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return input;
}
}  // namespace

bool PointerAt(POINT screen) {
  if (!SetCursorPos(screen.x, screen.y)) return false;
  INPUT move = MouseAt(screen, 0);
  if (SendInput(1, &move, sizeof(INPUT)) != 1) return false;
  return Poll([&] {
    POINT now{};
    return GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
  }, 2000);
}

bool MouseClickAt(POINT screen) {
  if (!SetCursorPos(screen.x, screen.y)) return false;
  // The move travels with the buttons: a pointer position the display server
  // reports late cannot slip between them.
  INPUT inputs[3] = {MouseAt(screen, 0), MouseAt(screen, MOUSEEVENTF_LEFTDOWN), MouseAt(screen, MOUSEEVENTF_LEFTUP)};
  return SendInput(3, inputs, sizeof(INPUT)) == 3;
}

int ListCount(HWND list) {
  LRESULT count = -1;
  return SendTimeout(list, LB_GETCOUNT, 0, 0, &count) ? static_cast<int>(count) : -1;
}

namespace {
// An entry of another process's list or combo box, asked in UTF-16 (Wine hands
// the text back in UTF-16 even to the ANSI call) and brought to code page 1252.
std::string EntryText(HWND control, UINT length_message, UINT text_message, int index) {
  LRESULT length = 0;
  if (!SendTimeout(control, length_message, static_cast<WPARAM>(index), 0, &length) || length < 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(control, text_message, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied) ||
      static_cast<LRESULT>(copied) < 0)
    return {};
  text.resize(std::min<std::size_t>(copied, text.size()));
  std::string ansi(text.size() * 2, '\0');
  const int bytes = WideCharToMultiByte(1252, 0, text.data(), static_cast<int>(text.size()), ansi.data(),
                                        static_cast<int>(ansi.size()), nullptr, nullptr);
  ansi.resize(static_cast<std::size_t>(std::max(bytes, 0)));
  return ansi;
}
}  // namespace

std::string ListItem(HWND list, int index) { return EntryText(list, LB_GETTEXTLEN, LB_GETTEXT, index); }

std::string ComboItem(HWND combo, int index) { return EntryText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, index); }

int OuterHeight(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r.bottom - r.top;
}

std::string TranscriptTail(const Room& room) {
  const std::string text = room.Transcript();
  std::size_t from = text.size();
  for (int lines = 0; lines < 5 && from > 0; ++lines) {
    const std::size_t previous = text.rfind('\n', from >= 2 ? from - 2 : 0);
    from = previous == std::string::npos ? 0 : previous + 1;
  }
  return Shown(text.substr(from));
}

HWND Panel::NickBox() const {
  const auto edits = VisibleChildren(c.main, "Edit");
  return edits.empty() ? nullptr : edits.front();
}

HWND Panel::Reasons() const {
  const auto lists = VisibleChildren(c.main, "ListBox");
  HWND rightmost = nullptr;
  for (HWND l : lists)
    if (!rightmost || PlaceIn(c.main, l).left > PlaceIn(c.main, rightmost).left) rightmost = l;
  return rightmost;
}

bool Panel::SetNick(const std::string& nick) {
  HWND box = NickBox();
  HWND clear = c.Child("Button", "X");
  if (!box || !clear) {
    FAIL_HERE("the nick box and its X button");
    return false;
  }
  // The click is posted: typing waits until it has emptied the box.
  if (!GetText(box, 256).empty()) {
    CHECK(PostClick(clear), "click on X");
    if (!WAIT_CONSOLE(s, c, [&] { return GetText(box, 256).empty(); }, kTickDeadlineMs, "X to empty the nick box"))
      return false;
  }
  CHECK(TypeInto(box, nick), "typing the nick");
  CHECK_TEXT(GetText(box, 256), nick, "the nick box after typing");
  return true;
}

bool Panel::Choose(const std::string& action, int reason_count) {
  HWND button = c.Child("Button", action);
  if (!button) {
    FAIL_HERE("the action button " + action);
    return false;
  }
  CHECK(PostClick(button), "click on " + action);
  return WAIT_CONSOLE(s, c, [&] {
    HWND list = Reasons();
    return OuterHeight(c.main) > folded_height && list && PlaceIn(c.main, list).left > 100 &&
           ListCount(list) == reason_count && LowestChild(c.main, "Button", action) != button;
  }, kTickDeadlineMs, "the panel opened for " + action + " with " + std::to_string(reason_count) + " reasons");
}

bool Panel::PickReason(int index) {
  HWND list = Reasons();
  CHECK(list && ClickListItem(list, index), "click on reason " + std::to_string(index));
  return WAIT_CONSOLE(s, c, [&] { return ListSelection(list) == index; }, kTickDeadlineMs,
                      "reason " + std::to_string(index) + " selected");
}

bool Panel::Execute(const std::string& action) {
  HWND execute = LowestChild(c.main, "Button", action);
  if (!execute || execute == c.Child("Button", action)) {
    FAIL_HERE("the execute button " + action);
    return false;
  }
  if (PostClick(execute)) return true;
  FAIL_HERE("the click on the execute button " + action + " could not be posted");
  return false;
}

bool Panel::WaitLines(const std::string& lines, const std::string& what) {
  const auto ends_with = [&](const std::string& text) {
    return text.size() >= lines.size() && text.compare(text.size() - lines.size(), lines.size(), lines) == 0;
  };
  if (WAIT_CONSOLE(s, c, [&] { return ends_with(room.Transcript()); }, kSubmitDeadlineMs, what)) return true;
  Note("the transcript ends with: " + TranscriptTail(room));
  return false;
}

bool Panel::WaitFolded(const std::string& after, int deadline_ms) {
  return WAIT_CONSOLE(s, c, [&] { return OuterHeight(c.main) == folded_height; }, deadline_ms,
                      "the panel folded after " + after);
}

bool StartPlayer(const Setup& setup, const std::string& title, Player& player) {
  player.process = Launch(setup.standin, {"--winamp", title, "--at", "700,600"});
  if (!player.process.process) {
    FAIL_HERE("the stand-in player did not start");
    return false;
  }
  return WAIT_FOR([&] { return (player.window = FindTopLevel(player.process.id, "Winamp v1.x", title)) != nullptr; },
                  kStartDeadlineMs, "the player window \"" + title + "\"");
}

}  // namespace e2e
