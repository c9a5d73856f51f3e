// Child controls of the Win32 backend: creation, mirroring model changes into
// the native control, and native notifications back to the kit's user events.
#include "platform/win32/WinApi.h"
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/win32/Win32BackendNative.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Gdi.h"

namespace tavlen {

using win32::FromHwnd;
using win32::ToHwnd;

namespace {

// Room below a combo box for its dropped-down list.
constexpr int kComboListHeight = 200;

// The model keeps an edit box's selection to itself (its getters ask the
// backend first); the backend reads the stored values through these members.
struct EditSelection : kit::Edit {
  static int Start(const kit::Edit& edit) { return edit.*(&EditSelection::sel_start_); }
  static int Length(const kit::Edit& edit) { return edit.*(&EditSelection::sel_length_); }
};

LRESULT CALLBACK ControlProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* native = static_cast<Win32Backend::NativeControl*>(GetPropA(window, win32::kControlProp));
  if (!native) return DefWindowProcA(window, msg, wparam, lparam);
  try {
    return native->form->backend->ControlMessage(*native, msg, wparam, lparam);
  } catch (...) {
    return 0;  // never unwind through the system's frames
  }
}

template <typename T>
T* As(kit::Control* control) {
  return dynamic_cast<T*>(control);
}

bool EffectiveVisible(const kit::Control& control) {
  for (const kit::Control* c = &control; c && c->Parent(); c = c->Parent())
    if (!c->Visible()) return false;
  return true;
}

bool EffectiveEnabled(const kit::Control& control) {
  for (const kit::Control* c = &control; c && c->Parent(); c = c->Parent())
    if (!c->Enabled()) return false;
  return true;
}

DWORD LabelAlignment(const kit::Label& label) {
  switch (label.GetAlignment()) {
    case kit::Alignment::kCenter: return SS_CENTER;
    case kit::Alignment::kRight: return SS_RIGHT;
    case kit::Alignment::kLeft: break;
  }
  return label.WordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
}

// A button with a colour of its own, or lying on a coloured label (a band), is
// drawn flat in that colour, as the skin's speed buttons are; other buttons are
// the system's push buttons.
std::optional<COLORREF> FlatColor(const kit::Control& button) {
  if (button.GetColor() != clBtnFace) return gdi::Resolve(button.GetColor());
  if (!button.Parent()) return std::nullopt;
  const int cx = button.Left() + button.Width() / 2;
  const int cy = button.Top() + button.Height() / 2;
  for (const kit::Control* sibling : button.Parent()->Children()) {
    const auto* label = dynamic_cast<const kit::Label*>(sibling);
    if (!label || label->Transparent || !label->Visible()) continue;
    if (cx >= label->Left() && cx < label->Left() + label->Width() && cy >= label->Top() &&
        cy < label->Top() + label->Height())
      return gdi::Resolve(label->GetColor());
  }
  return std::nullopt;
}

kit::ButtonGlyph GlyphOf(const kit::Control& control) {
  const auto* button = dynamic_cast<const kit::Button*>(&control);
  return button ? button->Glyph : kit::ButtonGlyph::kNone;
}

// Flat buttons and buttons with a picture are drawn by the backend.
bool OwnerDrawn(const kit::Control& button) {
  return FlatColor(button).has_value() || GlyphOf(button) != kit::ButtonGlyph::kNone;
}

// An open folder, the picture of the buttons that choose a file, centred in r.
void DrawOpenFile(HDC dc, const RECT& r, bool disabled) {
  const int left = (r.left + r.right) / 2 - 8;
  const int top = (r.top + r.bottom) / 2 - 6;
  const COLORREF outline = disabled ? GetSysColor(COLOR_GRAYTEXT) : RGB(128, 96, 0);
  const COLORREF back = disabled ? GetSysColor(COLOR_BTNFACE) : RGB(224, 176, 32);
  const COLORREF front = disabled ? GetSysColor(COLOR_BTNFACE) : RGB(255, 216, 80);
  const HGDIOBJ pen = SelectObject(dc, CreatePen(PS_SOLID, 1, outline));
  const HGDIOBJ brush = SelectObject(dc, CreateSolidBrush(back));
  // The folder's back with its tab, then its front leaning open.
  const POINT rear[] = {{left, top + 1}, {left + 5, top + 1}, {left + 6, top + 3}, {left + 13, top + 3},
                        {left + 13, top + 12}, {left, top + 12}};
  Polygon(dc, rear, 6);
  DeleteObject(SelectObject(dc, CreateSolidBrush(front)));
  const POINT open[] = {{left + 3, top + 6}, {left + 16, top + 6}, {left + 13, top + 12}, {left, top + 12}};
  Polygon(dc, open, 4);
  DeleteObject(SelectObject(dc, brush));
  DeleteObject(SelectObject(dc, pen));
}

COLORREF Scale(COLORREF color, int percent) {
  auto channel = [&](int c) { return static_cast<BYTE>(std::clamp(c * percent / 100, 0, 255)); };
  return RGB(channel(GetRValue(color)), channel(GetGValue(color)), channel(GetBValue(color)));
}

COLORREF Mix(COLORREF a, COLORREF b) {
  return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2, (GetBValue(a) + GetBValue(b)) / 2);
}

std::string ListText(HWND list, UINT get_len, UINT get_text, int index) {
  const LRESULT length = SendMessageA(list, get_len, index, 0);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied = SendMessageA(list, get_text, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

}  // namespace

std::string win32::WindowTextOf(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

void Win32Backend::RealizeChildren(NativeForm& native, kit::Container& container) {
  for (kit::Control* child : container.Children()) {
    RealizeControl(native, *child);
    if (auto* inner = As<kit::Container>(child)) RealizeChildren(native, *inner);
  }
  LowerPaintedControls(native);
}

void Win32Backend::LowerPaintedControls(NativeForm& native) {
  // New children go to the bottom of the Z order; labels are moved beneath all
  // of them, as painted controls would be, and group boxes beneath the labels
  // (a group box paints only its frame, so what lies in it shows through).
  // Among themselves they keep their creation order, later ones above, as
  // painted controls do: a label laid over others (a picture's clickable
  // cells) stays on top of what it covers.
  for (bool group_boxes : {false, true}) {
    std::vector<HWND> lowered;
    for (auto& [control, nc] : controls_)
      if (nc->form == &native && (group_boxes ? As<kit::GroupBox>(nc->control) != nullptr
                                              : As<kit::Label>(nc->control) != nullptr))
        lowered.push_back(nc->hwnd);
    // Control ids count up in creation order; the first created goes lowest.
    std::sort(lowered.begin(), lowered.end(), [](HWND a, HWND b) { return GetDlgCtrlID(a) > GetDlgCtrlID(b); });
    for (HWND hwnd : lowered) SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

Win32Backend::NativeControl* Win32Backend::RealizeControl(NativeForm& native, kit::Control& control) {
  if (NativeControl* existing = Find(control)) return existing;
  const char* cls = "STATIC";
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD ex_style = 0;
  if (auto* label = As<kit::Label>(&control)) {
    style |= LabelAlignment(*label);
    if (control.OnClick || control.OnDblClick || control.OnMouseDown || control.OnMouseUp) style |= SS_NOTIFY;
  } else if (auto* memo = As<kit::Memo>(&control)) {
    cls = "EDIT";
    style |= WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    if (memo->ScrollBars) style |= WS_VSCROLL | (memo->WordWrap ? 0 : WS_HSCROLL);
    if (!memo->WordWrap) style |= ES_AUTOHSCROLL;
    if (memo->ReadOnly) style |= ES_READONLY;
    ex_style |= WS_EX_CLIENTEDGE;
  } else if (auto* edit = As<kit::Edit>(&control)) {
    cls = "EDIT";
    style |= WS_TABSTOP | ES_AUTOHSCROLL;
    if (edit->ReadOnly) style |= ES_READONLY;
    ex_style |= WS_EX_CLIENTEDGE;
  } else if (As<kit::ListBox>(&control)) {
    cls = "LISTBOX";
    // No LBS_SORT: the model keeps the order.
    style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    ex_style |= WS_EX_CLIENTEDGE;
  } else if (auto* combo = As<kit::ComboBox>(&control)) {
    cls = "COMBOBOX";
    style |= WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL |
             (combo->ComboStyle == kit::ComboBox::Style::kDropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
  } else if (As<kit::CheckBox>(&control)) {
    cls = "BUTTON";
    style |= WS_TABSTOP | BS_CHECKBOX;  // the model toggles, the control follows
  } else if (As<kit::RadioButton>(&control)) {
    cls = "BUTTON";
    style |= WS_TABSTOP | BS_RADIOBUTTON;
  } else if (auto* track = As<kit::TrackBar>(&control)) {
    cls = TRACKBAR_CLASSA;
    style |= WS_TABSTOP | (track->Vertical ? TBS_VERT : TBS_HORZ) | TBS_BOTH | TBS_NOTICKS;
  } else if (As<kit::GroupBox>(&control)) {
    cls = "BUTTON";
    style |= BS_GROUPBOX;
  } else if (As<kit::Button>(&control)) {
    cls = "BUTTON";
    // A caption longer than the button wraps rather than losing both its ends.
    style |= WS_TABSTOP | BS_MULTILINE | (OwnerDrawn(control) ? BS_OWNERDRAW : BS_PUSHBUTTON);
  }

  HWND hwnd = CreateWindowExA(ex_style, cls, "", style, 0, 0, 0, 0, native.hwnd,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(next_id_++)),
                              GetModuleHandleA(nullptr), nullptr);
  if (!hwnd) return nullptr;
  auto record = std::make_unique<NativeControl>();
  NativeControl& nc = *record;
  nc.control = &control;
  nc.form = &native;
  nc.hwnd = hwnd;
  controls_[&control] = std::move(record);
  SetPropA(hwnd, win32::kControlProp, &nc);
  nc.original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlProc)));

  if (As<kit::Edit>(&control)) SendMessageA(hwnd, EM_LIMITTEXT, 0, 0);
  ApplyFont(nc);
  if (auto* list = As<kit::ListBox>(&control); list && list->ItemHeight > 0)
    SendMessageA(hwnd, LB_SETITEMHEIGHT, 0, dpi::Scale(list->ItemHeight, dpi::OfWindow(hwnd)));
  PlaceControl(nc);
  if (As<kit::ItemList>(&control)) SyncItems(nc);
  ApplyText(nc);
  ApplyChecked(nc);
  ApplyTrackBar(nc);
  ApplyEnabled(nc);
  ApplyHint(nc);
  ApplyVisible(nc);
  return &nc;
}

void Win32Backend::PlaceControl(NativeControl& nc) {
  const kit::Control& control = *nc.control;
  int x = control.Left();
  int y = control.Top();
  for (const kit::Control* p = control.Parent(); p && p->Parent(); p = p->Parent()) {
    x += p->Left();
    y += p->Top();
  }
  y -= nc.form->shift;
  int height = control.Height();
  if (As<kit::ComboBox>(nc.control)) height += kComboListHeight;
  const int dpi = dpi::OfWindow(nc.form->hwnd);
  MoveWindow(nc.hwnd, dpi::Scale(x, dpi), dpi::Scale(y, dpi), dpi::Scale(control.Width(), dpi), dpi::Scale(height, dpi),
             TRUE);
  if (auto* container = As<kit::Container>(nc.control))
    for (kit::Control* child : container->Children())
      if (NativeControl* inner = Find(*child)) PlaceControl(*inner);
}

void Win32Backend::Rescale(NativeForm& nf) {
  for (auto& [control, nc] : controls_) {
    if (nc->form != &nf) continue;
    ApplyFont(*nc);
    if (auto* list = As<kit::ListBox>(nc->control); list && list->ItemHeight > 0)
      SendMessageA(nc->hwnd, LB_SETITEMHEIGHT, 0, dpi::Scale(list->ItemHeight, dpi::OfWindow(nc->hwnd)));
    PlaceControl(*nc);
  }
}

void Win32Backend::ApplyVisible(NativeControl& nc) {
  const bool visible = EffectiveVisible(*nc.control);
  if ((IsWindowVisible(nc.hwnd) != FALSE) != visible) ShowWindow(nc.hwnd, visible ? SW_SHOWNA : SW_HIDE);
  if (auto* container = As<kit::Container>(nc.control))
    for (kit::Control* child : container->Children())
      if (NativeControl* inner = Find(*child)) ApplyVisible(*inner);
}

void Win32Backend::ApplyEnabled(NativeControl& nc) {
  EnableWindow(nc.hwnd, EffectiveEnabled(*nc.control) ? TRUE : FALSE);
  if (auto* container = As<kit::Container>(nc.control))
    for (kit::Control* child : container->Children())
      if (NativeControl* inner = Find(*child)) ApplyEnabled(*inner);
}

// Writes only what differs: an edit box set to its own text would lose its caret.
void Win32Backend::ApplyText(NativeControl& nc) {
  kit::Control& control = *nc.control;
  if (auto* combo = As<kit::ComboBox>(&control)) {
    if (dirty_lists_.count(&control)) return;  // the flush sets text and selection
    const int index = static_cast<int>(SendMessageA(nc.hwnd, CB_GETCURSEL, 0, 0));
    if (index != combo->ItemIndex()) SendMessageA(nc.hwnd, CB_SETCURSEL, combo->ItemIndex(), 0);
    if (combo->ComboStyle == kit::ComboBox::Style::kDropDown && win32::WindowTextOf(nc.hwnd) != combo->Text())
      SetWindowTextA(nc.hwnd, combo->Text().c_str());
    return;
  }
  if (As<kit::ListBox>(&control) || As<kit::TrackBar>(&control)) return;
  const std::string& text = control.Text();
  if (win32::WindowTextOf(nc.hwnd) == text) return;
  writing_ = true;
  SetWindowTextA(nc.hwnd, text.c_str());
  writing_ = false;
}

void Win32Backend::AppendLine(NativeControl& nc) {
  auto* memo = As<kit::Memo>(nc.control);
  if (!memo || memo->Lines().empty()) return ApplyText(nc);
  const std::string& line = memo->Lines().back();
  const std::size_t before = memo->Text().size() - line.size() - (memo->Lines().size() > 1 ? 2 : 0);
  const int length = GetWindowTextLengthA(nc.hwnd);
  if (memo->Lines().size() == 1 || length < 0 || static_cast<std::size_t>(length) != before) return ApplyText(nc);
  const std::string added = "\r\n" + line;
  writing_ = true;
  SendMessageA(nc.hwnd, EM_SETSEL, length, length);
  SendMessageA(nc.hwnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(added.c_str()));
  writing_ = false;
}

void Win32Backend::ApplyFont(NativeControl& nc) {
  const kit::Font& font = nc.control->GetFont();
  SendMessageA(nc.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(gdi::Font(font.name, font.size, font.bold, font.underline, dpi::OfWindow(nc.hwnd))),
               TRUE);
}

void Win32Backend::ApplyStyle(NativeControl& nc) {
  if (auto* label = As<kit::Label>(nc.control)) {
    LONG_PTR style = GetWindowLongPtrA(nc.hwnd, GWL_STYLE);
    style = (style & ~static_cast<LONG_PTR>(SS_TYPEMASK)) | LabelAlignment(*label);
    SetWindowLongPtrA(nc.hwnd, GWL_STYLE, style);
  } else if (auto* edit = As<kit::Edit>(nc.control)) {
    SendMessageA(nc.hwnd, EM_SETREADONLY, edit->ReadOnly ? TRUE : FALSE, 0);
  }
  InvalidateRect(nc.hwnd, nullptr, TRUE);
}

void Win32Backend::ApplyHint(NativeControl& nc) {
  NativeForm& form = *nc.form;
  const kit::Control& control = *nc.control;
  const bool wanted = control.ShowHint && !control.Hint().empty();
  if (!wanted && !nc.has_tool) return;
  if (!form.tooltip) {
    form.tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form.hwnd, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    if (!form.tooltip) return;
    SendMessageA(form.tooltip, TTM_SETMAXTIPWIDTH, 0, 320);
    SendMessageA(form.tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 10000);
  }
  TOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V2_SIZE;  // understood by every version of the control
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = form.hwnd;
  info.uId = reinterpret_cast<UINT_PTR>(nc.hwnd);
  std::string hint = control.Hint();
  info.lpszText = hint.data();
  if (!wanted) {
    SendMessageA(form.tooltip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    nc.has_tool = false;
  } else if (nc.has_tool) {
    SendMessageA(form.tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
  } else {
    nc.has_tool = SendMessageA(form.tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
  }
}

void Win32Backend::ApplyChecked(NativeControl& nc) {
  bool checked = false;
  if (auto* check = As<kit::CheckBox>(nc.control)) checked = check->Checked();
  else if (auto* radio = As<kit::RadioButton>(nc.control)) checked = radio->Checked();
  else return;
  SendMessageA(nc.hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32Backend::ApplyTrackBar(NativeControl& nc) {
  auto* track = As<kit::TrackBar>(nc.control);
  if (!track) return;
  SendMessageA(nc.hwnd, TBM_SETRANGEMIN, FALSE, track->Min());
  SendMessageA(nc.hwnd, TBM_SETRANGEMAX, FALSE, track->Max());
  if (track->PageSize > 0) SendMessageA(nc.hwnd, TBM_SETPAGESIZE, 0, track->PageSize);
  SendMessageA(nc.hwnd, TBM_SETPOS, TRUE, track->Position());
}

void Win32Backend::ApplySelection(NativeControl& nc) {
  auto* edit = As<kit::Edit>(nc.control);
  if (!edit || pulling_ == nc.control) return;
  const int start = EditSelection::Start(*edit);
  SendMessageA(nc.hwnd, EM_SETSEL, start, start + EditSelection::Length(*edit));
}

// Fills a list or combo box from the model when its items differ, then sets the
// selection (and a combo box's text).
void Win32Backend::SyncItems(NativeControl& nc) {
  auto* items = As<kit::ItemList>(nc.control);
  if (!items) return;
  const bool combo = As<kit::ComboBox>(nc.control) != nullptr;
  const UINT get_count = combo ? CB_GETCOUNT : LB_GETCOUNT;
  const UINT get_len = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  const UINT get_text = combo ? CB_GETLBTEXT : LB_GETTEXT;
  bool same = SendMessageA(nc.hwnd, get_count, 0, 0) == items->Count();
  for (int i = 0; same && i < items->Count(); ++i) same = ListText(nc.hwnd, get_len, get_text, i) == items->Item(i);
  if (!same) {
    SendMessageA(nc.hwnd, WM_SETREDRAW, FALSE, 0);
    const LRESULT top = combo ? 0 : SendMessageA(nc.hwnd, LB_GETTOPINDEX, 0, 0);
    SendMessageA(nc.hwnd, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < items->Count(); ++i)
      SendMessageA(nc.hwnd, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items->Item(i).c_str()));
    if (!combo) SendMessageA(nc.hwnd, LB_SETTOPINDEX, top, 0);
    SendMessageA(nc.hwnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(nc.hwnd, nullptr, TRUE);
  }
  if (combo) {
    // The drop-down list is as wide as its longest item, so none is cut short.
    if (!same) {
      HDC dc = GetDC(nc.hwnd);
      const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(nc.hwnd, WM_GETFONT, 0, 0)));
      int widest = 0;
      for (int i = 0; i < items->Count(); ++i) {
        SIZE size{};
        const std::string& item = items->Item(i);
        GetTextExtentPoint32A(dc, item.c_str(), static_cast<int>(item.size()), &size);
        widest = std::max<int>(widest, size.cx);
      }
      SelectObject(dc, previous);
      ReleaseDC(nc.hwnd, dc);
      SendMessageA(nc.hwnd, CB_SETDROPPEDWIDTH, widest + 2 * GetSystemMetrics(SM_CXEDGE) + 8, 0);
    }
    dirty_lists_.erase(nc.control);
    ApplyText(nc);
  } else if (SendMessageA(nc.hwnd, LB_GETCURSEL, 0, 0) != items->ItemIndex()) {
    SendMessageA(nc.hwnd, LB_SETCURSEL, items->ItemIndex(), 0);
  }
}

void Win32Backend::Changed(kit::Control& control, kit::Prop prop) {
  if (auto* form = As<kit::Form>(&control)) {
    auto found = forms_.find(form);
    if (found == forms_.end()) return;
    NativeForm& nf = *found->second;
    switch (prop) {
      case kit::Prop::kText:
        if (win32::WindowTextOf(nf.hwnd) != form->Text()) SetWindowTextA(nf.hwnd, form->Text().c_str());
        break;
      case kit::Prop::kBounds:
        if (!nf.placing) PlaceForm(nf, false);
        break;
      case kit::Prop::kColor:
        InvalidateRect(nf.hwnd, nullptr, TRUE);
        break;
      default:
        break;
    }
    return;
  }
  NativeControl* nc = Find(control);
  if (!nc) {
    // A control added to a form that is already on screen. A form still being
    // prepared builds it in its turn, from the model as it then stands.
    NativeForm* nf = FormOf(control);
    if (!nf || !nf->complete) return;
    RealizeChildren(*nf, control.OwnerForm());
    return;
  }
  switch (prop) {
    case kit::Prop::kText: ApplyText(*nc); break;
    case kit::Prop::kAppend: AppendLine(*nc); break;
    case kit::Prop::kVisible: ApplyVisible(*nc); break;
    case kit::Prop::kEnabled: ApplyEnabled(*nc); break;
    case kit::Prop::kBounds: PlaceControl(*nc); break;
    case kit::Prop::kColor:
      if (As<kit::Button>(&control))
        SendMessageA(nc->hwnd, BM_SETSTYLE, OwnerDrawn(control) ? BS_OWNERDRAW : BS_PUSHBUTTON, TRUE);
      InvalidateRect(nc->hwnd, nullptr, TRUE);
      break;
    case kit::Prop::kFont: ApplyFont(*nc); break;
    case kit::Prop::kItems:
      dirty_lists_.insert(&control);
      ScheduleFlush();
      break;
    case kit::Prop::kItemIndex:
      if (dirty_lists_.count(&control) == 0) SyncItems(*nc);
      break;
    case kit::Prop::kChecked: ApplyChecked(*nc); break;
    case kit::Prop::kPosition:
    case kit::Prop::kRange: ApplyTrackBar(*nc); break;
    case kit::Prop::kHint: ApplyHint(*nc); break;
    case kit::Prop::kSelection: ApplySelection(*nc); break;
    case kit::Prop::kStyle: ApplyStyle(*nc); break;
  }
}

void Win32Backend::Pull(kit::Control& control) {
  NativeControl* nc = Find(control);
  auto* edit = As<kit::Edit>(&control);
  if (!nc || !edit) return;
  DWORD start = 0, end = 0;
  SendMessageA(nc->hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const int length = static_cast<int>(end) - static_cast<int>(start);
  if (static_cast<int>(start) == EditSelection::Start(*edit) && length == EditSelection::Length(*edit)) return;
  pulling_ = &control;
  edit->SetSelection(static_cast<int>(start), length);
  pulling_ = nullptr;
}

void Win32Backend::Destroyed(kit::Control& control) {
  if (auto* form = dynamic_cast<kit::Form*>(&control)) {
    preparing_.erase(std::remove(preparing_.begin(), preparing_.end(), form), preparing_.end());
    auto found = forms_.find(form);
    topmost_.erase(form);
    if (found == forms_.end()) return;
    NativeForm* nf = found->second.get();
    EndModal(*nf);
    dirty_menus_.erase(nf);
    for (auto it = controls_.begin(); it != controls_.end();) {
      if (it->second->form == nf) {
        dirty_lists_.erase(it->first);
        it = controls_.erase(it);
      } else {
        ++it;
      }
    }
    SetWindowLongPtrA(nf->hwnd, GWLP_USERDATA, 0);
    DestroyWindow(nf->hwnd);
    forms_.erase(found);
    return;
  }
  auto found = controls_.find(&control);
  if (found == controls_.end()) return;
  NativeControl& nc = *found->second;
  if (nc.has_tool && nc.form->tooltip) {
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = nc.form->hwnd;
    info.uId = reinterpret_cast<UINT_PTR>(nc.hwnd);
    SendMessageA(nc.form->tooltip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  }
  RemovePropA(nc.hwnd, win32::kControlProp);
  SetWindowLongPtrA(nc.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(nc.original));
  DestroyWindow(nc.hwnd);
  dirty_lists_.erase(&control);
  controls_.erase(found);
}

std::intptr_t Win32Backend::ControlMessage(NativeControl& nc, unsigned msg, std::uintptr_t wparam,
                                           std::intptr_t lparam) {
  // The model's handler may destroy the control: keep what the default
  // processing needs, and look again afterwards.
  HWND hwnd = nc.hwnd;
  WNDPROC original = nc.original;
  kit::Control& control = *nc.control;
  const int dpi = dpi::OfWindow(hwnd);
  const int x = dpi::Unscale(GET_X_LPARAM(lparam), dpi);
  const int y = dpi::Unscale(GET_Y_LPARAM(lparam), dpi);
  // A press reaches the model after the native control has taken it. Its handler
  // may open a menu or a prompt, whose modal loop takes the release: run before
  // the native press, it left the button drawn pressed and holding the mouse
  // capture, and the next click anywhere in the window pressed it again. The
  // release follows the same way, so the model sees the two in order.
  const auto after_native = [&](kit::MouseButton button, bool down) {
    if (!(down ? control.OnMouseDown : control.OnMouseUp)) return;
    clock_.Post([hwnd, &nc, button, down, x, y] {
      if (!IsWindow(hwnd) || GetPropA(hwnd, win32::kControlProp) != &nc) return;
      if (down) nc.control->MouseDown(button, x, y);
      else nc.control->MouseUp(button, x, y);
    });
  };
  switch (msg) {
    case WM_LBUTTONDOWN:
      nc.pressed = true;
      after_native(kit::MouseButton::kLeft, true);
      break;
    case WM_RBUTTONDOWN: after_native(kit::MouseButton::kRight, true); break;
    case WM_MBUTTONDOWN: after_native(kit::MouseButton::kMiddle, true); break;
    case WM_LBUTTONUP: {
      // A click is a press and release inside the edit; the second release of a
      // double click follows WM_LBUTTONDBLCLK, not a press, and clicks nothing.
      RECT client{};
      GetClientRect(hwnd, &client);
      const bool click = nc.pressed && As<kit::Edit>(&control) && x >= 0 && y >= 0 && x < client.right &&
                         y < client.bottom;
      nc.pressed = false;
      after_native(kit::MouseButton::kLeft, false);
      if (click) control.Click();
      break;
    }
    case WM_RBUTTONUP: after_native(kit::MouseButton::kRight, false); break;
    case WM_MBUTTONUP: after_native(kit::MouseButton::kMiddle, false); break;
    case WM_LBUTTONDBLCLK:
      // The second press of a quick pair is a press like the first: a button that
      // opens its menu on a press must open it again, whoever clicks that fast.
      if (As<kit::Edit>(&control)) {
        control.DblClick();
      } else {
        nc.pressed = true;
        after_native(kit::MouseButton::kLeft, true);
      }
      break;
    case WM_RBUTTONDBLCLK: after_native(kit::MouseButton::kRight, true); break;
    case WM_MBUTTONDBLCLK: after_native(kit::MouseButton::kMiddle, true); break;
    case WM_MOUSEMOVE:
      if (control.OnMouseMove) control.MouseMove(x, y);
      break;
    case WM_KEYDOWN: control.KeyDown(static_cast<int>(wparam)); break;
    case WM_CHAR: control.KeyPress(static_cast<char>(wparam)); break;
    default: break;
  }
  if (GetPropA(hwnd, win32::kControlProp) != &nc) {
    return IsWindow(hwnd) ? CallWindowProcA(original, hwnd, msg, wparam, lparam) : 0;
  }
  return CallWindowProcA(original, hwnd, msg, wparam, lparam);
}

// Notifications a control sends to its form.
void Win32Backend::Command(NativeForm& nf, std::uintptr_t wparam, std::intptr_t lparam) {
  const int code = HIWORD(wparam);
  if (lparam == 0) {
    // A menu command (code 0); accelerators are not used.
    if (code != 0 || !nf.form->Menu) return;
    kit::MenuItem& root = nf.form->Menu->root;
    kit::MenuItem* item = root.FindCommand(LOWORD(wparam));
    if (item && item != &root) item->Click();
    return;
  }
  auto* nc = static_cast<NativeControl*>(GetPropA(reinterpret_cast<HWND>(lparam), win32::kControlProp));
  if (!nc) return;
  kit::Control& control = *nc->control;
  if (auto* list = As<kit::ListBox>(&control)) {
    if (dirty_lists_.count(&control)) return;  // the native items are about to change
    const int index = static_cast<int>(SendMessageA(nc->hwnd, LB_GETCURSEL, 0, 0));
    if (code == LBN_SELCHANGE) list->Select(index);
    else if (code == LBN_DBLCLK) list->DoubleClickItem(index);
  } else if (auto* combo = As<kit::ComboBox>(&control)) {
    if (code == CBN_SELCHANGE) {
      if (dirty_lists_.count(&control)) return;
      combo->Select(static_cast<int>(SendMessageA(nc->hwnd, CB_GETCURSEL, 0, 0)));
    } else if (code == CBN_EDITCHANGE) {
      combo->Type(win32::WindowTextOf(nc->hwnd));
    }
  } else if (auto* edit = As<kit::Edit>(&control)) {
    // The model's own writes come back as EN_CHANGE too; only typing counts.
    if (code != EN_CHANGE || writing_ || edit->ReadOnly) return;
    std::string text = win32::WindowTextOf(nc->hwnd);
    if (text != edit->Text()) edit->Type(std::move(text));
  } else if (As<kit::Label>(&control)) {
    if (code == STN_CLICKED) control.Click();
    else if (code == STN_DBLCLK) control.DblClick();
  } else if (As<kit::GroupBox>(&control)) {
    return;
  } else if (code == BN_CLICKED || code == BN_DOUBLECLICKED) {
    // Buttons, check boxes, radio buttons; a flat button reports the second
    // click of a double click apart.
    control.Click();
  }
}

void Win32Backend::DrawButton(const DRAWITEMSTRUCT& item) {
  auto* nc = static_cast<NativeControl*>(GetPropA(item.hwndItem, win32::kControlProp));
  if (!nc) return;
  const kit::Control& button = *nc->control;
  const COLORREF face = FlatColor(button).value_or(GetSysColor(COLOR_BTNFACE));
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  FillRect(dc, &r, gdi::Brush(pressed ? Scale(face, 80) : face));
  // A light edge at the top and left, a dark one at the bottom and right (swapped when pressed).
  const COLORREF light = Mix(face, RGB(255, 255, 255));
  const COLORREF dark = Scale(face, 55);
  RECT edge{r.left, r.top, r.right, r.top + 1};
  FillRect(dc, &edge, gdi::Brush(pressed ? dark : light));
  edge = {r.left, r.top, r.left + 1, r.bottom};
  FillRect(dc, &edge, gdi::Brush(pressed ? dark : light));
  edge = {r.left, r.bottom - 1, r.right, r.bottom};
  FillRect(dc, &edge, gdi::Brush(pressed ? light : dark));
  edge = {r.right - 1, r.top, r.right, r.bottom};
  FillRect(dc, &edge, gdi::Brush(pressed ? light : dark));
  // Text in the font's colour, or in white or black, whichever reads better on the face.
  const kit::Font& font = button.GetFont();
  COLORREF text = gdi::Resolve(font.color);
  if (font.color == clWindowText) {
    const int luminance = (GetRValue(face) * 299 + GetGValue(face) * 587 + GetBValue(face) * 114) / 1000;
    text = luminance < 150 ? RGB(255, 255, 255) : RGB(0, 0, 0);
  }
  if (disabled) text = Mix(text, face);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text);
  const HGDIOBJ previous = SelectObject(dc, gdi::Font(font.name, font.size, font.bold, font.underline, dpi::OfWindow(item.hwndItem)));
  RECT text_rect = r;
  if (pressed) OffsetRect(&text_rect, 1, 1);
  const std::string& caption = button.Text();
  if (GlyphOf(button) == kit::ButtonGlyph::kOpenFile) DrawOpenFile(dc, text_rect, disabled);
  else DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text_rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, previous);
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT focus = r;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}

std::intptr_t Win32Backend::ColorMessage(NativeForm& nf, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
  HDC dc = reinterpret_cast<HDC>(wparam);
  auto* nc = static_cast<NativeControl*>(GetPropA(reinterpret_cast<HWND>(lparam), win32::kControlProp));
  const COLORREF form_color = gdi::Resolve(nf.form->GetColor());
  if (!nc) return reinterpret_cast<std::intptr_t>(gdi::Brush(form_color));
  const kit::Control& control = *nc->control;
  SetTextColor(dc, gdi::Resolve(control.GetFont().color));
  const auto* label = As<kit::Label>(nc->control);
  const bool transparent = (label && label->Transparent) || As<kit::GroupBox>(nc->control) ||
                           As<kit::Button>(nc->control) || msg == WM_CTLCOLORBTN;
  if (transparent) {
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<std::intptr_t>(gdi::Brush(form_color));
  }
  const COLORREF color = gdi::Resolve(control.GetColor());
  SetBkColor(dc, color);
  return reinterpret_cast<std::intptr_t>(gdi::Brush(color));
}

}  // namespace tavlen
