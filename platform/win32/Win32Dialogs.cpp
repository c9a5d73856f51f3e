#include "platform/win32/Win32Dialogs.h"

#include "platform/win32/WinApi.h"
#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace tavlen {
namespace {

HWND ToHwnd(Hwnd window) { return reinterpret_cast<HWND>(window); }

// A DLGTEMPLATE with its items, built word by word. Texts are set after
// creation with the A functions, so the template itself carries none.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short cx, short cy, WORD items, std::wstring_view font, WORD point_size) {
    PutDword(style);
    PutDword(0);  // extended style
    words_.push_back(items);
    PutShort(0);
    PutShort(0);
    PutShort(cx);
    PutShort(cy);
    words_.push_back(0);  // no menu
    words_.push_back(0);  // default dialog class
    words_.push_back(0);  // empty title
    words_.push_back(point_size);
    PutString(font);
  }

  // atom: 0x0080 button, 0x0081 edit, 0x0082 static.
  void AddItem(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom,
               std::wstring_view text = {}) {
    if (words_.size() % 2 != 0) words_.push_back(0);  // items start on a DWORD boundary
    PutDword(style | WS_CHILD | WS_VISIBLE);
    PutDword(0);
    PutShort(x);
    PutShort(y);
    PutShort(cx);
    PutShort(cy);
    words_.push_back(id);
    words_.push_back(0xFFFF);
    words_.push_back(atom);
    PutString(text);
    words_.push_back(0);  // no creation data
  }

  const DLGTEMPLATE* Get() {
    // Copied into DWORDs so the start is DWORD aligned whatever the allocator does.
    aligned_.assign((words_.size() + 1) / 2, 0);
    std::memcpy(aligned_.data(), words_.data(), words_.size() * sizeof(WORD));
    return reinterpret_cast<const DLGTEMPLATE*>(aligned_.data());
  }

 private:
  void PutDword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
  }
  void PutShort(short value) { words_.push_back(static_cast<WORD>(value)); }
  void PutString(std::wstring_view text) {
    for (wchar_t c : text) words_.push_back(static_cast<WORD>(c));
    words_.push_back(0);
  }

  std::vector<WORD> words_;
  std::vector<DWORD> aligned_;
};

struct PromptState {
  std::string caption;
  std::string prompt;
  std::string initial;
  std::string typed;
};

std::string DialogItemText(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  const int length = GetWindowTextLengthA(item);
  if (length <= 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
  const int copied = GetWindowTextA(item, buffer.data(), static_cast<int>(buffer.size()));
  return std::string(buffer.data(), static_cast<std::size_t>(std::max(copied, 0)));
}

// A window's rectangle in its parent's client coordinates.
RECT PlaceInParent(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The prompt's label is made as tall as its text wrapped to the label's width
// needs, and what lies below it moves down: a long prompt ("…KICK (minimum:
// 10)") lost its end on one line of fixed width.
void FitPromptLabel(HWND dialog, const std::string& prompt) {
  HWND label = GetDlgItem(dialog, Win32Dialogs::kPromptLabelId);
  const RECT place = PlaceInParent(label);
  RECT need{0, 0, place.right - place.left, 0};
  HDC dc = GetDC(label);
  const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
  DrawTextA(dc, prompt.c_str(), static_cast<int>(prompt.size()), &need,
            DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
  SelectObject(dc, previous);
  ReleaseDC(label, dc);
  const int grow = need.bottom - (place.bottom - place.top);
  if (grow <= 0) return;
  SetWindowPos(label, nullptr, 0, 0, place.right - place.left, need.bottom, SWP_NOMOVE | SWP_NOZORDER);
  for (int id : {Win32Dialogs::kPromptEditId, IDOK, IDCANCEL}) {
    HWND item = GetDlgItem(dialog, id);
    const RECT r = PlaceInParent(item);
    SetWindowPos(item, nullptr, r.left, r.top + grow, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  RECT frame{};
  GetWindowRect(dialog, &frame);
  SetWindowPos(dialog, nullptr, frame.left, frame.top - grow / 2, frame.right - frame.left,
               frame.bottom - frame.top + grow, SWP_NOZORDER);
}

INT_PTR CALLBACK PromptProc(HWND dialog, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lparam);
      auto* state = reinterpret_cast<PromptState*>(lparam);
      SetWindowTextA(dialog, state->caption.c_str());
      SetDlgItemTextA(dialog, Win32Dialogs::kPromptLabelId, state->prompt.c_str());
      FitPromptLabel(dialog, state->prompt);
      SetDlgItemTextA(dialog, Win32Dialogs::kPromptEditId, state->initial.c_str());
      HWND edit = GetDlgItem(dialog, Win32Dialogs::kPromptEditId);
      SendMessageA(edit, EM_SETSEL, 0, -1);
      SetFocus(edit);
      return FALSE;  // focus set here
    }
    case WM_COMMAND: {
      auto* state = reinterpret_cast<PromptState*>(GetWindowLongPtrA(dialog, DWLP_USER));
      switch (LOWORD(wparam)) {
        case IDOK:
          state->typed = DialogItemText(dialog, Win32Dialogs::kPromptEditId);
          EndDialog(dialog, IDOK);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      break;
    }
  }
  return FALSE;
}

}  // namespace

std::string OpenFileFilter(std::string_view filter) {
  std::string list(filter);
  for (char& c : list)
    if (c == '|') c = '\0';
  while (!list.empty() && list.back() == '\0') list.pop_back();
  if (list.empty()) return {};
  list.append(2, '\0');
  return list;
}

std::string Win32Dialogs::Caption(std::string_view caption) const {
  if (!caption.empty()) return std::string(caption);
  return title_ ? title_() : std::string();
}

Hwnd Win32Dialogs::OwnerWindow() const {
  Hwnd owner = Owner ? Owner() : kNoWindow;
  if (owner == kNoWindow) owner = reinterpret_cast<Hwnd>(GetActiveWindow());
  return owner;
}

void Win32Dialogs::ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) {
  const std::string body(text);
  const std::string title = Caption(caption);
  const HWND owner = ToHwnd(OwnerWindow());
  // Without an owner (a hotkey fired while another program is active) the box must
  // not open behind the console's stay-on-top window.
  const UINT extra = owner ? 0 : (MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST);
  const UINT symbol = icon == MessageIcon::kWarning ? MB_ICONWARNING : icon == MessageIcon::kError ? MB_ICONERROR : 0;
  MessageBoxA(owner, body.c_str(), title.c_str(), MB_OK | symbol | extra);
}

std::string Win32Dialogs::InputBox(std::string_view caption, std::string_view prompt,
                                   std::string_view initial) {
  PromptState state{std::string(caption), std::string(prompt), std::string(initial), {}};
  const HWND owner = ToHwnd(OwnerWindow());
  DWORD style = DS_SETFONT | DS_MODALFRAME | DS_CENTER | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION |
                WS_SYSMENU;
  if (!owner) style |= DS_SYSMODAL;  // topmost, like the message box above
  DialogTemplate dialog(style, 186, 62, 4, L"MS Shell Dlg", 8);
  dialog.AddItem(SS_LEFT | SS_NOPREFIX, 7, 7, 172, 10, kPromptLabelId, 0x0082);
  dialog.AddItem(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 19, 172, 13, kPromptEditId, 0x0081);
  dialog.AddItem(BS_DEFPUSHBUTTON | WS_TABSTOP, 75, 40, 50, 14, IDOK, 0x0080, L"OK");
  dialog.AddItem(BS_PUSHBUTTON | WS_TABSTOP, 129, 40, 50, 14, IDCANCEL, 0x0080, L"Annuler");
  const INT_PTR answer = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialog.Get(), owner,
                                                 PromptProc, reinterpret_cast<LPARAM>(&state));
  return answer == IDOK ? state.typed : state.initial;
}

std::optional<std::string> Win32Dialogs::OpenFile(std::string_view filter) {
  const std::string filters = OpenFileFilter(filter);
  std::vector<char> path(32768, '\0');
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = ToHwnd(OwnerWindow());
  ofn.lpstrFilter = filters.empty() ? nullptr : filters.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = path.data();
  ofn.nMaxFile = static_cast<DWORD>(path.size());
  // The settings live beside the exe, but a changed working directory surprises
  // anything that opens a relative path later.
  ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameA(&ofn)) return std::nullopt;
  return std::string(path.data());
}

}  // namespace tavlen
