// Forms, menus, the application window and modality of the Win32 backend.
#include "platform/win32/Win32Backend.h"

#include "platform/win32/WinApi.h"
#include "platform/win32/WindowOwner.h"
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/win32/Win32BackendNative.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Gdi.h"

namespace tavlen {

using win32::FromHwnd;
using win32::ToHwnd;

namespace {

// Sent to the application window to pass an activation on to the right form.
constexpr UINT kActivateForm = WM_APP + 0x220;
// The program's icon in its resources.
constexpr int kIconResource = 1;

HICON ProgramIcon(bool small) {
  const int size = GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON);
  return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kIconResource), IMAGE_ICON,
                                       size, size, LR_DEFAULTCOLOR));
}

LRESULT CALLBACK FormProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* native = win32::WindowOwner<Win32Backend::NativeForm>(window, msg, lparam);
  if (native && native->hwnd == window) {
    try {
      return native->backend->FormMessage(*native, msg, wparam, lparam);
    } catch (...) {
      return 0;  // never unwind through the system's frames
    }
  }
  return DefWindowProcA(window, msg, wparam, lparam);
}

LRESULT CALLBACK ApplicationProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* backend = win32::WindowOwner<Win32Backend>(window, msg, lparam);
  if (backend && backend->ApplicationWindow() == FromHwnd(window)) {
    try {
      return backend->ApplicationMessage(msg, wparam, lparam);
    } catch (...) {
      return 0;
    }
  }
  return DefWindowProcA(window, msg, wparam, lparam);
}

void RegisterFormClass(const std::string& name) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = FormProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = ProgramIcon(false);
  wc.hIconSm = ProgramIcon(true);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = name.c_str();
  RegisterClassExA(&wc);  // a second form of the same name shares the class
}

DWORD FormStyle(kit::BorderStyle border, DWORD& ex_style) {
  ex_style = 0;
  switch (border) {
    case kit::BorderStyle::kSizeable: return WS_OVERLAPPEDWINDOW;
    case kit::BorderStyle::kSingle: return WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    case kit::BorderStyle::kNone: return WS_POPUP;
    case kit::BorderStyle::kToolWindow:
      ex_style = WS_EX_TOOLWINDOW;
      return WS_CAPTION | WS_SYSMENU;
    case kit::BorderStyle::kDialog:
      ex_style = WS_EX_DLGMODALFRAME;
      return WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  }
  return WS_OVERLAPPEDWINDOW;
}

RECT WorkArea() {
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

// Menu items as native menus; hidden items are left out.
HMENU BuildMenu(const kit::MenuItem& parent, bool bar) {
  HMENU menu = bar ? CreateMenu() : CreatePopupMenu();
  for (const auto& item : parent.Items()) {
    if (!item->Visible()) continue;
    if (item->IsSeparator()) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (item->Enabled() ? MF_ENABLED : MF_GRAYED) | (item->Checked() ? MF_CHECKED : 0);
    UINT_PTR id = static_cast<UINT_PTR>(item->CommandId());
    if (!item->Items().empty()) {
      flags |= MF_POPUP;
      id = reinterpret_cast<UINT_PTR>(BuildMenu(*item, false));
    }
    AppendMenuA(menu, flags, id, item->Caption().c_str());
  }
  return menu;
}

struct Disabling {
  HWND keep;
  std::vector<Hwnd> disabled;
};

BOOL CALLBACK DisableWindow(HWND window, LPARAM param) {
  auto* disabling = reinterpret_cast<Disabling*>(param);
  if (window != disabling->keep && IsWindowVisible(window) && IsWindowEnabled(window)) {
    EnableWindow(window, FALSE);
    disabling->disabled.push_back(FromHwnd(window));
  }
  return TRUE;
}

// Disables every visible, enabled top-level window of the thread but `keep`.
std::vector<Hwnd> DisableThreadWindowsBut(HWND keep) {
  Disabling disabling{keep, {}};
  EnumThreadWindows(GetCurrentThreadId(), &DisableWindow, reinterpret_cast<LPARAM>(&disabling));
  return disabling.disabled;
}

const kit::MenuItem& RootOf(const kit::MenuItem& item) {
  const kit::MenuItem* root = &item;
  while (root->Parent()) root = root->Parent();
  return *root;
}

}  // namespace

Win32Backend::Win32Backend(Win32Clock& clock) : clock_(clock) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ApplicationProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = ProgramIcon(false);
  wc.hIconSm = ProgramIcon(true);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kApplicationClass;
  RegisterClassExA(&wc);
  // No size: only its taskbar button is ever seen.
  const RECT area = WorkArea();
  HWND app = CreateWindowExA(0, kApplicationClass, "", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                             (area.left + area.right) / 2, (area.top + area.bottom) / 2, 0, 0, nullptr, nullptr,
                             GetModuleHandleA(nullptr), this);
  app_window_ = FromHwnd(app);
}

Win32Backend::~Win32Backend() {
  *alive_ = false;
  if (prepare_timer_ != 0) clock_.StopTimer(prepare_timer_);
  for (auto& [form, native] : forms_) {
    win32::ForgetWindowOwner(native->hwnd);
    DestroyWindow(native->hwnd);
  }
  win32::ForgetWindowOwner(ToHwnd(app_window_));
  DestroyWindow(ToHwnd(app_window_));
}

Hwnd Win32Backend::WindowOf(const kit::Form& form) const {
  auto found = forms_.find(&form);
  return found == forms_.end() ? kNoWindow : FromHwnd(found->second->hwnd);
}

Hwnd Win32Backend::WindowOf(const kit::Control& control) const {
  if (auto* form = dynamic_cast<const kit::Form*>(&control)) return WindowOf(*form);
  auto found = controls_.find(&control);
  return found == controls_.end() ? kNoWindow : FromHwnd(found->second->hwnd);
}

Rect Win32Backend::ScreenBounds(kit::Control& control) {
  // The native window says where the frame, caption and menu bar put it.
  RECT r{};
  const HWND window = ToHwnd(WindowOf(control));
  if (!window || !GetWindowRect(window, &r)) return kit::Backend::ScreenBounds(control);
  const int dpi = dpi::System();
  return Rect{dpi::Unscale(r.left, dpi), dpi::Unscale(r.top, dpi), dpi::Unscale(r.right, dpi),
              dpi::Unscale(r.bottom, dpi)};
}

Hwnd Win32Backend::ApplicationWindow() const { return app_window_; }

Win32Backend::NativeControl* Win32Backend::Find(const kit::Control& control) {
  auto found = controls_.find(&control);
  return found == controls_.end() ? nullptr : found->second.get();
}

Win32Backend::NativeForm* Win32Backend::FormOf(const kit::Control& control) {
  const kit::Control* top = &control;
  while (top->Parent()) top = top->Parent();
  auto found = forms_.find(static_cast<const kit::Form*>(top));
  return found == forms_.end() ? nullptr : found->second.get();
}

Win32Backend::NativeForm& Win32Backend::Realize(kit::Form& form) {
  NativeForm& nf = RealizeWindow(form);
  if (!nf.complete) {
    RealizeChildren(nf, form);
    nf.complete = true;
  }
  return nf;
}

Win32Backend::NativeForm& Win32Backend::RealizeWindow(kit::Form& form) {
  if (auto found = forms_.find(&form); found != forms_.end()) return *found->second;
  if (!app_) app_ = &form.App();
  RegisterFormClass(form.Name());
  auto record = std::make_unique<NativeForm>();
  NativeForm& nf = *record;
  nf.backend = this;
  nf.form = &form;
  nf.shift = form.Menu ? kMenuStrip : 0;
  forms_[&form] = std::move(record);

  // The main form belongs to the application window, the others to the main form.
  HWND owner = ToHwnd(app_window_);
  if (app_->MainForm && app_->MainForm != &form)
    if (Hwnd main = WindowOf(*app_->MainForm)) owner = ToHwnd(main);
  DWORD ex_style = 0;
  // No WS_CLIPCHILDREN: the form's background also shows inside group boxes.
  const DWORD style = FormStyle(form.Border, ex_style);
  if (topmost_[&form]) ex_style |= WS_EX_TOPMOST;
  nf.hwnd = CreateWindowExA(ex_style, form.Name().c_str(), form.Text().c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleA(nullptr), &nf);
  if (form.Menu) RebuildMenu(nf);
  return nf;
}

// Sizes the window from the model (a client size, or outer bounds) and, when
// `reposition`, puts it where the form's position rule says.
void Win32Backend::PlaceForm(NativeForm& nf, bool reposition) {
  kit::Form& form = *nf.form;
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(nf.hwnd, GWL_STYLE));
  const DWORD ex_style = static_cast<DWORD>(GetWindowLongPtrA(nf.hwnd, GWL_EXSTYLE));
  const int size_dpi = dpi::OfWindow(nf.hwnd);
  const int at_dpi = dpi::System();
  int width = dpi::Scale(form.Width(), size_dpi);
  int height = dpi::Scale(form.Height(), size_dpi);
  if (form.ClientSize()) {
    RECT r{0, 0, dpi::Scale(form.ClientSize()->first, size_dpi), dpi::Scale(form.ClientSize()->second, size_dpi)};
    dpi::AdjustWindowRect(r, style, GetMenu(nf.hwnd) != nullptr, ex_style, size_dpi);
    width = r.right - r.left;
    height = r.bottom - r.top;
  }
  RECT current{};
  GetWindowRect(nf.hwnd, &current);
  int x = current.left;
  int y = current.top;
  if (form.Position == kit::FormPosition::kDesigned) {
    x = dpi::Scale(form.Left(), at_dpi);
    y = dpi::Scale(form.Top(), at_dpi);
  } else if (reposition) {
    RECT around = WorkArea();
    if (form.Position == kit::FormPosition::kOwnerFormCenter && form.CenterOn) {
      const Hwnd center_on = WindowOf(*form.CenterOn);
      if (center_on && IsWindowVisible(ToHwnd(center_on))) GetWindowRect(ToHwnd(center_on), &around);
    }
    x = (around.left + around.right - width) / 2;
    y = (around.top + around.bottom - height) / 2;
    // Never off the top or left of the work area.
    const RECT area = WorkArea();
    x = std::max<int>(x, area.left);
    y = std::max<int>(y, area.top);
  }
  nf.placing = true;
  if (current.left != x || current.top != y || current.right - current.left != width ||
      current.bottom - current.top != height)
    SetWindowPos(nf.hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  // The model follows where the window went.
  const int left = dpi::Unscale(x, at_dpi);
  const int top = dpi::Unscale(y, at_dpi);
  if (form.Left() != left || form.Top() != top) form.SetBounds(left, top, form.Width(), form.Height());
  nf.placing = false;
}

void Win32Backend::EnsureApplicationShown() {
  if (app_shown_) return;
  app_shown_ = true;
  ShowWindow(ToHwnd(app_window_), SW_SHOWNOACTIVATE);
}

void Win32Backend::ShowForm(kit::Form& form, bool modal) {
  NativeForm& nf = Realize(form);
  const bool was_visible = IsWindowVisible(nf.hwnd) != FALSE;
  if (!was_visible) PlaceForm(nf, true);
  if (app_ && app_->MainForm == &form) EnsureApplicationShown();
  Flush();
  if (modal) {
    RunModal(nf);
    return;
  }
  ShowWindow(nf.hwnd, SW_SHOW);
  if (was_visible) SetForegroundWindow(nf.hwnd);
}

void Win32Backend::HideForm(kit::Form& form) {
  auto found = forms_.find(&form);
  if (found == forms_.end()) return;
  NativeForm& nf = *found->second;
  // The windows a modal form disabled come back first, so the activation
  // passes to one of them rather than to another program.
  EndModal(nf);
  ShowWindow(nf.hwnd, SW_HIDE);
}

void Win32Backend::RunModal(NativeForm& nf) {
  kit::Form* form = nf.form;
  ModalFrame frame{&nf, {}};
  frame.disabled = DisableThreadWindowsBut(nf.hwnd);
  modal_.push_back(std::move(frame));
  ShowWindow(nf.hwnd, SW_SHOW);
  SetForegroundWindow(nf.hwnd);
  std::weak_ptr<bool> alive = alive_;
  clock_.RunMessageLoop([this, form, alive] {
    if (alive.expired() || !*alive.lock()) return true;
    return forms_.count(form) == 0 || !form->Visible() || form->App().Terminated();
  });
  if (alive.expired() || !*alive.lock()) return;
  if (auto found = forms_.find(form); found != forms_.end()) EndModal(*found->second);
}

void Win32Backend::EndModal(NativeForm& nf) {
  auto frame = std::find_if(modal_.begin(), modal_.end(), [&](const ModalFrame& f) { return f.form == &nf; });
  if (frame == modal_.end()) return;
  for (Hwnd window : frame->disabled)
    if (IsWindow(ToHwnd(window))) EnableWindow(ToHwnd(window), TRUE);
  modal_.erase(frame);
}

void Win32Backend::SetApplicationTitle(std::string_view title) {
  SetWindowTextA(ToHwnd(app_window_), std::string(title).c_str());
}

void Win32Backend::SetTopmost(kit::Form& form, bool topmost) {
  topmost_[&form] = topmost;
  if (Hwnd window = WindowOf(form))
    SetWindowPos(ToHwnd(window), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

// ---- Menus ----------------------------------------------------------------------

void Win32Backend::MenuChanged(kit::MenuItem& item) {
  const kit::MenuItem& root = RootOf(item);
  for (auto& [form, native] : forms_) {
    if (form->Menu && &form->Menu->root == &root) {
      dirty_menus_.insert(native.get());
      ScheduleFlush();
    }
  }
}

void Win32Backend::MenuDestroyed(kit::MenuItem& item) {
  live_menus_.erase(&item);
  if (item.Parent()) return;
  for (auto& [form, native] : forms_)
    if (form->Menu && &form->Menu->root == &item) dirty_menus_.erase(native.get());
}

void Win32Backend::RebuildMenu(NativeForm& nf) {
  if (nf.in_menu_loop) return;  // rebuilt when the menu closes
  dirty_menus_.erase(&nf);
  if (!nf.form->Menu) return;
  HMENU bar = BuildMenu(nf.form->Menu->root, true);
  HMENU old = GetMenu(nf.hwnd);
  SetMenu(nf.hwnd, bar);
  if (old) DestroyMenu(old);
  DrawMenuBar(nf.hwnd);
}

void Win32Backend::OpenPopup(kit::PopupMenu& menu, Point screen) {
  Flush();
  // The menu belongs to the form the user is in, or to the main form.
  HWND owner = GetForegroundWindow();
  bool ours = false;
  for (auto& [form, native] : forms_) ours = ours || native->hwnd == owner;
  if (!ours) {
    const Hwnd main = app_ && app_->MainForm ? WindowOf(*app_->MainForm) : kNoWindow;
    owner = main ? ToHwnd(main) : ToHwnd(app_window_);
  }
  live_menus_.insert(&menu.root);
  HMENU popup = BuildMenu(menu.root, false);
  // Without the foreground the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(owner);
  const UINT align = menu.PopupAlignment == kit::Alignment::kCenter  ? TPM_CENTERALIGN
                     : menu.PopupAlignment == kit::Alignment::kRight ? TPM_RIGHTALIGN
                                                                      : TPM_LEFTALIGN;
  const int command = static_cast<int>(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY | align,
                                                      dpi::Scale(screen.x, dpi::System()),
                                                      dpi::Scale(screen.y, dpi::System()), 0, owner, nullptr));
  PostMessageA(owner, WM_NULL, 0, 0);
  DestroyMenu(popup);
  if (command == 0 || live_menus_.count(&menu.root) == 0) return;
  kit::MenuItem* item = menu.root.FindCommand(command);
  if (item && item != &menu.root) item->Click();
}

// ---- Deferred work ----------------------------------------------------------------

void Win32Backend::ScheduleFlush() {
  if (flush_posted_) return;
  flush_posted_ = true;
  std::weak_ptr<bool> alive = alive_;
  clock_.Post([this, alive] {
    if (alive.expired() || !*alive.lock()) return;
    flush_posted_ = false;
    Flush();
  });
}

void Win32Backend::Flush() {
  while (!dirty_lists_.empty()) {
    const kit::Control* control = *dirty_lists_.begin();
    dirty_lists_.erase(dirty_lists_.begin());
    if (NativeControl* nc = Find(*control)) SyncItems(*nc);
  }
  const std::set<NativeForm*> menus = dirty_menus_;
  for (NativeForm* nf : menus) RebuildMenu(*nf);
}

// ---- Keyboard -----------------------------------------------------------------------

bool Win32Backend::PreTranslate(tagMSG& msg) {
  // Only Tab is given to the dialog navigation: Enter and Escape stay with the
  // controls, whose handlers see them.
  const bool tab = (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_CHAR) &&
                   msg.wParam == VK_TAB;
  if (!tab || !msg.hwnd) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  for (auto& [form, native] : forms_)
    if (native->hwnd == root) return IsDialogMessageA(root, &msg) != FALSE;
  return false;
}

// ---- Window procedures ----------------------------------------------------------------

std::intptr_t Win32Backend::FormMessage(NativeForm& nf, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
  kit::Form& form = *nf.form;
  HWND hwnd = nf.hwnd;
  switch (msg) {
    case WM_COMMAND:
      Command(nf, wparam, lparam);
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (lparam != 0) {
        auto* nc = static_cast<NativeControl*>(GetPropA(reinterpret_cast<HWND>(lparam), win32::kControlProp));
        if (nc)
          if (auto* track = dynamic_cast<kit::TrackBar*>(nc->control))
            track->Slide(static_cast<int>(SendMessageA(nc->hwnd, TBM_GETPOS, 0, 0)));
      }
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item->CtlType != ODT_BUTTON) break;
      DrawButton(*item);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      return ColorMessage(nf, msg, wparam, lparam);
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(hwnd, &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, gdi::Brush(gdi::Resolve(form.GetColor())));
      return 1;
    }
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd, focus)) nf.focus = focus;
      } else {
        form.Activate();
      }
      break;
    case WM_SETFOCUS:
      if (nf.focus && IsWindow(nf.focus) && IsChild(hwnd, nf.focus) && IsWindowVisible(nf.focus) &&
          IsWindowEnabled(nf.focus)) {
        SetFocus(nf.focus);
        return 0;
      }
      break;
    case WM_NCMOUSEMOVE:
      form.FrameMouseMove();
      break;
    case WM_MOUSEMOVE: {
      const int dpi = dpi::OfWindow(hwnd);
      form.MouseMove(dpi::Unscale(GET_X_LPARAM(lparam), dpi), dpi::Unscale(GET_Y_LPARAM(lparam), dpi) + nf.shift);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const kit::MouseButton button = (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP)   ? kit::MouseButton::kLeft
                                      : (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP) ? kit::MouseButton::kRight
                                                                                       : kit::MouseButton::kMiddle;
      const bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
      const int dpi = dpi::OfWindow(hwnd);
      const int x = dpi::Unscale(GET_X_LPARAM(lparam), dpi);
      const int y = dpi::Unscale(GET_Y_LPARAM(lparam), dpi) + nf.shift;
      if (down) form.MouseDown(button, x, y);
      else form.MouseUp(button, x, y);
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      form.DblClick();
      return 0;
    case WM_CLOSE:
      // Frame button, Alt+F4 (SC_CLOSE) and WM_CLOSE from outside alike.
      form.RequestClose();
      return 0;
    case WM_SYSCOMMAND:
      // Minimizing the main form minimizes the application, whose taskbar button restores it.
      if ((wparam & 0xFFF0) == SC_MINIMIZE && app_ && app_->MainForm == &form) {
        ShowWindow(ToHwnd(app_window_), SW_MINIMIZE);
        return 0;
      }
      break;
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
      return SessionMessage(msg, wparam);
    case WM_ENTERMENULOOP:
      nf.in_menu_loop = true;
      break;
    case WM_EXITMENULOOP:
      nf.in_menu_loop = false;
      if (dirty_menus_.count(&nf)) ScheduleFlush();
      break;
    case WM_DPICHANGED: {
      // Moved to a monitor of another scale: the suggested frame, then every
      // control and font again at the new scale.
      const auto* suggested = reinterpret_cast<const RECT*>(lparam);
      nf.placing = true;
      SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      nf.placing = false;
      Rescale(nf);
      return 0;
    }
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lparam);
      // A window the user moved: the model's position follows.
      const int at_dpi = dpi::System();
      const int left = dpi::Unscale(pos->x, at_dpi);
      const int top = dpi::Unscale(pos->y, at_dpi);
      if (!nf.placing && !(pos->flags & SWP_NOMOVE) && IsWindowVisible(hwnd) && !IsIconic(hwnd) &&
          (form.Left() != left || form.Top() != top)) {
        nf.placing = true;
        form.SetBounds(left, top, form.Width(), form.Height());
        nf.placing = false;
      }
      break;
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

std::intptr_t Win32Backend::SessionMessage(unsigned msg, std::uintptr_t wparam) {
  if (msg == WM_QUERYENDSESSION) return TRUE;
  if (wparam) {
    if (OnEndSession) OnEndSession();
    else ExitProcess(0);
  }
  return 0;
}

std::intptr_t Win32Backend::ApplicationMessage(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
  HWND hwnd = ToHwnd(app_window_);
  switch (msg) {
    case WM_CLOSE:
      // "Close window" on the taskbar button is a close request of the main form.
      if (app_ && app_->MainForm) app_->MainForm->RequestClose();
      return 0;
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
      return SessionMessage(msg, wparam);
    case WM_ACTIVATE:
      // The taskbar button activates the application: the form the user was in
      // (the innermost modal one, or the main form) takes over.
      if (LOWORD(wparam) != WA_INACTIVE) PostMessageA(hwnd, kActivateForm, 0, 0);
      return 0;
    case kActivateForm: {
      HWND target = nullptr;
      if (!modal_.empty()) target = modal_.back().form->hwnd;
      else if (app_ && app_->MainForm) target = ToHwnd(WindowOf(*app_->MainForm));
      if (target && IsWindowVisible(target) && !IsIconic(hwnd)) SetForegroundWindow(target);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

}  // namespace tavlen
