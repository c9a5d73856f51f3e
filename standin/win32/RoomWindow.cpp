#include "standin/win32/RoomWindow.h"

#include <commctrl.h>
#include <richedit.h>

#include <cstdio>

#include "standin/RoomControl.h"
#include "standin/win32/PerformanceClock.h"

namespace tavlen::standin::win32 {

namespace {

constexpr char kRoomClass[] = "CamfrogRoom";
constexpr int kInputId = 101;
constexpr int kTalkSwitchId = 102;
constexpr int kTreeId = 103;
constexpr int kIndicatorId = 104;
constexpr int kFirstFillerId = 200;
constexpr UINT_PTR kChatterTimer = 1;
// Input box n is subclassed with the id n.
constexpr UINT_PTR kInputSubclass = 1;
constexpr UINT_PTR kTranscriptSubclass = 100;
constexpr int kSecondInputId = 105;

// Client area layout at 96 DPI.
constexpr int kClientWidth = 820;
constexpr int kClientHeight = 600;

}  // namespace

RoomWindow::RoomWindow(const StandinOptions& options)
    : options_(options), model_(options.room, [] { return static_cast<std::int64_t>(GetTickCount64()); }) {}

bool RoomWindow::Create() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  if (!LoadLibraryA("riched20.dll")) return false;
  if (options_.hang_switch) hang_message_ = RegisterWindowMessageA(kHangMessageName);
  key_count_message_ = RegisterWindowMessageA(kKeyCountMessageName);
  transcript_reads_message_ = RegisterWindowMessageA(kTranscriptReadsMessageName);
  // Room for many submissions: a key-down only appends.
  key_log_.reserve(16384);
  PerformanceMs();

  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kRoomClass;
  if (!RegisterClassExA(&wc)) return false;

  if (options_.room.lies.Any()) {
    reborn_message_ = RegisterWindowMessageA("TavlenStandinReborn");
    lies_ = std::make_unique<LyingControls>(options_.room.lies, reborn_message_);
  }
  if (!Build()) return false;
  model_.OnChanged = [this] { Sync(); };
  return true;
}

bool RoomWindow::Build() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRect(&frame, style, FALSE);
  const int left = options_.left >= 0 ? options_.left : 440;
  const int top = options_.top >= 0 ? options_.top : 0;
  // The title comes last (Sync), so a window found by its title already has
  // all its children.
  window_ = CreateWindowExA(0, kRoomClass, "", style, left, top, frame.right - frame.left,
                            frame.bottom - frame.top, nullptr, nullptr, instance, this);
  if (!window_) return false;
  font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

  // Creation order is the order other programs see the children in.
  transcript_ = Child("RichEdit20A", "",
                      WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 8, 8, 560, 488, 0);
  const int boxes = options_.room.input_boxes;
  const int box_width = (460 - (boxes - 1) * 4) / boxes;
  input_ = Child("Edit", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 8, 504, box_width, 24, kInputId);
  inputs_ = {input_};
  talk_switch_ = Child(options_.room.has_talk_switch ? "Button" : "Static", "Hands Free",
                       options_.room.has_talk_switch ? WS_TABSTOP | BS_PUSHBUTTON : SS_CENTER, 476, 504, 92, 24,
                       kTalkSwitchId);
  tree_ = Child(WC_TREEVIEWA, "", WS_BORDER | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                576, 40, 236, 488, kTreeId);
  for (int i = 0; i < options_.room.filler_children; ++i) {
    // A strip of small camera buttons with empty labels between them.
    const int slot = i / 2;
    const int x = 8 + (slot % 13) * 62;
    const int y = 540 + (slot / 13) * 28;
    if (i % 2 == 0)
      Child("Button", ("Video " + std::to_string(i)).c_str(), BS_PUSHBUTTON, x, y, 56, 22, kFirstFillerId + i);
    else
      Child("Static", "", 0, x + 56, y, 6, 22, kFirstFillerId + i);
  }
  indicator_ = Child("Button", "", BS_PUSHBUTTON, 576, 8, 236, 26, kIndicatorId);
  // Further boxes after the indicator, which keeps its place among the children.
  for (int i = 1; i < boxes; ++i)
    inputs_.push_back(Child("Edit", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 8 + i * (box_width + 4), 504,
                            box_width, 24, kSecondInputId + i - 1));
  if (options_.room.lies.Has(Lie::kCrowd)) {
    // Hidden: other programs walk them all the same.
    for (int i = 0; i < kCrowdChildren; ++i)
      CreateWindowExA(0, i % 2 ? "Static" : "Button", i % 2 ? "" : ("Cam " + std::to_string(i)).c_str(), WS_CHILD,
                      0, 0, 1, 1, window_, nullptr, instance, nullptr);
  }

  SendMessageA(transcript_, EM_EXLIMITTEXT, 0, 64 * 1024 * 1024);
  for (std::size_t i = 0; i < inputs_.size(); ++i) {
    SendMessageA(inputs_[i], EM_LIMITTEXT, 0, 0);
    SetWindowSubclass(inputs_[i], InputProc, kInputSubclass + i, reinterpret_cast<DWORD_PTR>(this));
  }
  SetWindowSubclass(transcript_, TranscriptProc, kTranscriptSubclass, reinterpret_cast<DWORD_PTR>(this));

  if (lies_) lies_->Install(window_, transcript_, input_, talk_switch_, tree_, indicator_);
  Sync();
  if (options_.say_every_ms > 0) SetTimer(window_, kChatterTimer, options_.say_every_ms, nullptr);
  ShowWindow(window_, SW_SHOWNOACTIVATE);
  UpdateWindow(window_);
  return true;
}

HWND RoomWindow::Child(const char* class_name, const char* text, DWORD style, int x, int y, int w, int h, int id) {
  HWND child = CreateWindowExA(0, class_name, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, window_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                               nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return child;
}

LRESULT CALLBACK RoomWindow::WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<RoomWindow*>(GetWindowLongPtrA(w, GWLP_USERDATA));
  if (self && self->window_ == w) return self->Handle(msg, wp, lp);
  return DefWindowProcA(w, msg, wp, lp);
}

LRESULT RoomWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == kTalkSwitchId && HIWORD(wp) == BN_CLICKED && options_.room.has_talk_switch) {
        model_.ClickTalk();
        return 0;
      }
      break;
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
      if (!data || data->dwData != kControlDataId) return FALSE;
      return Control(static_cast<const char*>(data->lpData), data->cbData) ? TRUE : FALSE;
    }
    case WM_TIMER:
      if (wp == kChatterTimer) {
        Chatter();
        return 0;
      }
      break;
    case WM_DESTROY:
      for (std::size_t i = 0; i < inputs_.size(); ++i)
        RemoveWindowSubclass(inputs_[i], InputProc, kInputSubclass + i);
      RemoveWindowSubclass(transcript_, TranscriptProc, kTranscriptSubclass);
      if (rebuilding_) return 0;
      model_.OnChanged = nullptr;
      KillTimer(window_, kChatterTimer);
      PostQuitMessage(0);
      return 0;
    default:
      if (reborn_message_ != 0 && msg == reborn_message_) {
        Rebuild();
        return 0;
      }
      if (msg == key_count_message_) return static_cast<LRESULT>(key_log_.size());
      if (msg == transcript_reads_message_) return static_cast<LRESULT>(transcript_reads_);
      if (hang_message_ != 0 && msg == hang_message_) {
        // A test asked this program to stop answering: no message, sent or
        // posted, is handled meanwhile.
        const int ms = static_cast<int>(wp);
        if (ms > 0 && ms <= kMaxHangMs) Sleep(static_cast<DWORD>(ms));
        return 0;
      }
      break;
  }
  return DefWindowProcA(window_, msg, wp, lp);
}

void RoomWindow::Rebuild() {
  // A program told to end is not made again: a rebirth asked for at every few
  // messages would keep its queue full, and the quit comes only once it drains.
  MSG quit;
  if (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) return;
  // The same program, a new window under the same title: whatever another
  // program holds of the old one now names nothing.
  rebuilding_ = true;
  DestroyWindow(window_);
  rebuilding_ = false;
  shown_title_.clear();
  shown_transcript_.clear();
  shown_talker_.clear();
  tree_built_ = false;
  if (!Build()) PostQuitMessage(1);
}

LRESULT CALLBACK RoomWindow::InputProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self) {
  if (msg == WM_KEYDOWN && wp == VK_RETURN) {
    // The time first: what follows is the room's own work.
    const double at = PerformanceMs();
    auto* room = reinterpret_cast<RoomWindow*>(self);
    std::string line = room->SubmitInput(w);
    room->key_log_.push_back(KeyDown{at, static_cast<int>(id), std::move(line)});
    return 0;
  }
  // The Enter character of a real key press would only beep.
  if (msg == WM_CHAR && (wp == '\r' || wp == '\n')) return 0;
  return DefSubclassProc(w, msg, wp, lp);
}

LRESULT CALLBACK RoomWindow::TranscriptProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  if (msg == WM_GETTEXT) ++reinterpret_cast<RoomWindow*>(self)->transcript_reads_;
  return DefSubclassProc(w, msg, wp, lp);
}

std::string RoomWindow::SubmitInput(HWND box) {
  const int length = GetWindowTextLengthA(box);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(box, text.data(), length + 1)));
  // The box is empty before the room reacts, as after a real submission.
  SetWindowTextA(box, "");
  model_.SetInput(text);
  model_.Submit();
  return text;
}

bool RoomWindow::WriteKeyLog(const std::string& path) const {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::string text;
  char head[64];
  for (const KeyDown& k : key_log_) {
    std::snprintf(head, sizeof head, "%.3f %d ", k.ms, k.box);
    text += head;
    text += k.line;
    text += "\r\n";
  }
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == text.size();
}

bool RoomWindow::Control(const char* data, std::size_t size) {
  if (!data) return false;
  std::string line(data, size);
  // A sender may include the terminating zero.
  if (const std::size_t zero = line.find('\0'); zero != std::string::npos) line.resize(zero);
  const ControlOutcome outcome = ApplyRoomControl(model_, line, options_.hang_switch);
  if (outcome.hang_ms > 0) {
    // Posted, so the sender gets its answer before this program stops.
    PostMessageA(window_, hang_message_, static_cast<WPARAM>(outcome.hang_ms), 0);
  }
  if (outcome.close) PostMessageA(window_, WM_CLOSE, 0, 0);
  if (outcome.key_log) {
    if (!outcome.key_log_path.empty() && !WriteKeyLog(outcome.key_log_path)) return false;
    key_log_.clear();
  }
  return outcome.applied;
}

void RoomWindow::Chatter() {
  // Somebody other than the moderator, in turn; "bob" in an empty room.
  std::vector<std::string> others;
  for (const auto& nick : model_.Users())
    if (nick != options_.room.own_nick) others.push_back(nick);
  const std::string nick = others.empty() ? std::string("bob") : others[chatter_count_ % others.size()];
  ++chatter_count_;
  model_.Say(nick, "message " + std::to_string(chatter_count_));
}

void RoomWindow::Sync() {
  SyncTranscript();
  if (std::string talker = model_.Talker(); talker != shown_talker_) {
    SetWindowTextA(indicator_, talker.c_str());
    shown_talker_ = std::move(talker);
  }
  if (auto tree = model_.UserTree(); !tree_built_ || tree != shown_tree_) {
    RebuildTree(tree);
    shown_tree_ = std::move(tree);
    tree_built_ = true;
  }
  if (std::string title = model_.Title(); title != shown_title_) {
    SetWindowTextA(window_, title.c_str());
    shown_title_ = std::move(title);
  }
}

void RoomWindow::SyncTranscript() {
  std::string text = model_.TranscriptText();
  if (text == shown_transcript_) return;
  if (text.size() > shown_transcript_.size() && text.compare(0, shown_transcript_.size(), shown_transcript_) == 0) {
    // New lines go at the end, leaving what is there untouched.
    const std::string added = text.substr(shown_transcript_.size());
    CHARRANGE end{-1, -1};
    SendMessageA(transcript_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&end));
    SendMessageA(transcript_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(added.c_str()));
  } else {
    SetWindowTextA(transcript_, text.c_str());
  }
  SendMessageA(transcript_, WM_VSCROLL, SB_BOTTOM, 0);
  shown_transcript_ = std::move(text);
}

void RoomWindow::RebuildTree(const std::vector<TreeNode>& tree) {
  SendMessageA(tree_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  const auto insert = [this](auto& self, const std::vector<TreeNode>& nodes, HTREEITEM parent) -> void {
    for (const auto& node : nodes) {
      TVINSERTSTRUCTA item{};
      item.hParent = parent;
      item.hInsertAfter = TVI_LAST;
      item.item.mask = TVIF_TEXT;
      item.item.pszText = const_cast<char*>(node.text.c_str());
      auto handle = reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
      if (!handle) continue;
      self(self, node.children, handle);
      if (node.expanded) SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(handle));
    }
  };
  insert(insert, tree, TVI_ROOT);
  SendMessageA(tree_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(tree_, nullptr, TRUE);
}

}  // namespace tavlen::standin::win32
