// The kit's widgets realized by the Win32 backend, driven through real messages
// the way a user's clicks and typing arrive.
#include "platform/win32/WinApi.h"
#include <commctrl.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/Text.h"

#include "kit/Widgets.h"
#include "platform/win32/Win32Backend.h"
#include "platform/win32/Win32Clock.h"
#include "tests/e2e/backend/BackendCheck.h"

namespace check {
namespace {

using tavlen::Win32Backend;
using tavlen::Win32Clock;
namespace kit = tavlen::kit;

HWND H(tavlen::Hwnd window) { return reinterpret_cast<HWND>(window); }

std::string Text(HWND window) {
  char buffer[512] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

// Screen pixel at a client point of a window, after it has painted.
COLORREF PixelAt(HWND window, int x, int y) {
  UpdateWindow(GetAncestor(window, GA_ROOT));
  POINT p{x, y};
  ClientToScreen(window, &p);
  HDC screen = GetDC(nullptr);
  const COLORREF color = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return color;
}

void Click(HWND button) {
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

RECT menu_rect;
int menu_items;

// Presses Down, Down, Enter in the open popup menu, noting its place and size.
void CALLBACK PickSecondEntry(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  KillTimer(nullptr, timer);
  GetWindowRect(menu, &menu_rect);
  menu_items = GetMenuItemCount(reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0)));
  for (int key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
    PostMessageA(menu, WM_KEYDOWN, key, 0);
    PostMessageA(menu, WM_KEYUP, key, 0);
  }
}

struct MainForm : kit::Form {
  explicit MainForm(kit::Application& app)
      : kit::Form(app, "TCheckMain", "Main"),
        menu(app),
        band(this, "Band"),
        button(this, "Button"),
        picture(this, "Picture"),
        edit(this, "Edit"),
        memo(this, "Memo"),
        list(this, "List"),
        combo(this, "Combo"),
        group(this, "Group"),
        check(&group, "Check"),
        radio1(&group, "Radio1"),
        radio2(&group, "Radio2"),
        track(&group, "Track") {
    Menu = &menu;
    file = &menu.root.Add("File", "Fichier");
    quit = &file->Add("Quit", "Quitter", 101);
    hidden = &menu.root.Add("Hidden", "Commandes");
    hidden->Add("Inner", "Dedans", 201);
    hidden->SetVisible(false);
    flag = &menu.root.Add("Flag", "Drapeau", 301);
    SetBounds(40, 40, 420, 420);
    band.SetBounds(0, 40, 200, 30);
    band.Transparent = false;
    band.SetColor(kit::Rgb(200, 40, 40));
    button.SetBounds(4, 42, 80, 26);  // on the band, leaving it visible on the right
    button.SetText("Bouton");
    picture.SetBounds(130, 78, 25, 23);
    picture.Glyph = kit::ButtonGlyph::kOpenFile;
    edit.SetBounds(4, 80, 120, 22);
    memo.SetBounds(4, 110, 200, 60);
    memo.ScrollBars = true;
    list.SetBounds(220, 30, 150, 100);
    combo.SetBounds(220, 140, 150, 22);
    combo.ComboStyle = kit::ComboBox::Style::kDropDownList;
    group.SetBounds(10, 200, 380, 150);
    group.SetText("Groupe");
    check.SetBounds(10, 20, 100, 20);
    check.SetText("Case");
    radio1.SetBounds(10, 45, 100, 20);
    radio2.SetBounds(120, 45, 100, 20);
    track.SetBounds(10, 80, 200, 30);
    track.SetRange(0, 100);
  }
  kit::MainMenu menu;
  kit::MenuItem* file;
  kit::MenuItem* quit;
  kit::MenuItem* hidden;
  kit::MenuItem* flag;
  kit::Label band;
  kit::Button button;
  kit::Button picture;  // no caption, a picture
  kit::Edit edit;
  kit::Memo memo;
  kit::ListBox list;
  kit::ComboBox combo;
  kit::GroupBox group;
  kit::CheckBox check;
  kit::RadioButton radio1, radio2;
  kit::TrackBar track;
};

struct Dialog : kit::Form {
  explicit Dialog(kit::Application& app) : kit::Form(app, "TCheckDialog", "Dialogue"), ok(this, "Ok") {
    SetClientSize(200, 100);
    Position = kit::FormPosition::kOwnerFormCenter;
    Border = kit::BorderStyle::kDialog;
    ok.SetBounds(60, 60, 80, 25);
    ok.SetText("OK");
    ok.OnClick = [this] { Close(); };
  }
  kit::Button ok;
};

}  // namespace

// The children of a window in Z order, top first, as "class:text" lines.
std::string ChildrenInZOrder(HWND window) {
  std::string out;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char cls[64] = {};
    GetClassNameA(child, cls, sizeof cls);
    out += std::string(cls) + ":" + Text(child) + "\n";
  }
  return out;
}

void WidgetsCheck() {
  Win32Clock clock;
  Win32Backend backend(clock);
  kit::Application app(clock, backend);
  clock.PreTranslate = [&](MSG& msg) { return backend.PreTranslate(msg); };
  app.SetTitle("Appli - [12]");
  MainForm form(app);
  app.MainForm = &form;
  Dialog dialog(app);
  dialog.CenterOn = &form;
  bool refuse_close = true;
  form.OnCloseQuery = [&](bool& can_close) { can_close = !refuse_close; };
  form.SetStayOnTop(true);
  form.Show();
  clock.ProcessMessages();

  HWND main = H(backend.WindowOf(form));
  Note("forms and the application window");
  CHECK(main == FindWindowA("TCheckMain", "Main"), "the form's class name and caption");
  HWND app_window = GetWindow(main, GW_OWNER);
  CHECK(app_window == H(backend.ApplicationWindow()), "the application window owns the main form");
  CHECK_TEXT(Text(app_window), "Appli - [12]", "application title on the application window");
  app.SetTitle("Appli - [INACTIF]");
  CHECK_TEXT(Text(FindWindowA(Win32Backend::kApplicationClass, nullptr)), "Appli - [INACTIF]", "title follows");
  RECT r{};
  GetWindowRect(main, &r);
  CHECK_EQ(static_cast<int>(r.right - r.left), 420, "outer width as designed");
  CHECK_EQ(static_cast<int>(r.bottom - r.top), 420, "outer height as designed");
  CHECK((GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, "stay on top");
  form.SetText("Main - salon");
  CHECK_TEXT(Text(main), "Main - salon", "caption follows the model");

  Note("controls and their events");
  HWND button = H(backend.WindowOf(form.button));
  int clicks = 0;
  std::vector<kit::MouseButton> downs;
  form.button.OnClick = [&] { ++clicks; };
  form.button.OnMouseDown = [&](kit::MouseButton b, int, int) { downs.push_back(b); };
  Click(button);
  CHECK_EQ(clicks, 1, "a click on the button");
  SendMessageA(button, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 3));
  SendMessageA(button, WM_RBUTTONUP, 0, MAKELPARAM(3, 3));
  // Presses reach their handlers once the native button has taken them.
  clock.ProcessMessages();
  CHECK(downs.size() == 2 && downs[1] == kit::MouseButton::kRight, "right button down on the button");
  CHECK_EQ(clicks, 1, "a right click is no click");
  form.button.SetEnabled(false);
  CHECK(!IsWindowEnabled(button), "disabled");
  form.button.SetEnabled(true);
  form.button.OnClick = [&] { ++clicks; throw std::runtime_error("handler fails"); };
  Click(button);
  CHECK_EQ(clicks, 2, "a failing handler ran");
  CHECK_EQ(static_cast<int>(app.DroppedErrors()), 1, "its error went to the guard");

  // The band is a coloured label beneath the button; it shows beside it.
  HWND band = H(backend.WindowOf(form.band));
  const int band_y = 40 - Win32Backend::kMenuStrip;
  RECT band_rect{};
  GetWindowRect(band, &band_rect);
  MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&band_rect), 2);
  CHECK_EQ(static_cast<int>(band_rect.top), band_y, "controls move up by the menu strip");
  CHECK_EQ(static_cast<int>(PixelAt(main, 150, band_y + 10)), static_cast<int>(RGB(200, 40, 40)),
           "the band's colour beside the button");
  CHECK((GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW, "a button on a band is drawn flat");
  CHECK_EQ(static_cast<int>(PixelAt(main, 10, band_y + 8)), static_cast<int>(RGB(200, 40, 40)),
           "in the band's colour");
  // Another program's topmost window takes the top; asking again takes it back,
  // although the form is already marked topmost.
  HWND other = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "other", WS_POPUP | WS_VISIBLE, 60, 60,
                               80, 40, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  const auto above = [](HWND a, HWND b) {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
      if (w == a) return true;
      if (w == b) return false;
    }
    return false;
  };
  CHECK(other && above(other, main), "another topmost window on top");
  form.SetStayOnTop(true);
  CHECK(above(main, other), "stay on top asked again takes the top back");
  DestroyWindow(other);
  form.SetStayOnTop(false);
  CHECK((GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0, "stay on top off");

  // The picture button shows its open folder: the folder's front at its centre.
  HWND picture = H(backend.WindowOf(form.picture));
  CHECK_EQ(static_cast<int>(PixelAt(picture, 12, 14)), static_cast<int>(RGB(255, 216, 80)),
           "the picture button's folder");

  HWND edit = H(backend.WindowOf(form.edit));
  int changes = 0;
  int dbl = 0;
  form.edit.OnChange = [&] { ++changes; };
  form.edit.OnDblClick = [&] { ++dbl; };
  const std::string typed = tavlen::ansi("tapé");
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
  CHECK_TEXT(form.edit.Text(), typed, "typed text reaches the model");
  CHECK_EQ(changes, 1, "one change event for typing");
  form.edit.SetText(tavlen::ansi("modèle"));
  CHECK_TEXT(Text(edit), tavlen::ansi("modèle"), "the model's text reaches the box");
  CHECK_EQ(changes, 2, "one change event for the model's write (no echo)");
  SendMessageA(edit, EM_SETSEL, 1, 4);
  CHECK_EQ(form.edit.SelStart(), 1, "selection start read from the box");
  CHECK_EQ(form.edit.SelLength(), 3, "selection length read from the box");
  form.edit.SetSelection(2, 2);
  DWORD start = 0, end = 0;
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  CHECK(start == 2 && end == 4, "the model's selection reaches the box");
  // A native edit reports no click: the backend makes one of a press and
  // release inside it, and none of a double click's second release.
  int edit_clicks = 0;
  form.edit.OnClick = [&] { ++edit_clicks; };
  Click(edit);
  CHECK_EQ(edit_clicks, 1, "a single click in the edit box");
  SendMessageA(edit, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  CHECK_EQ(dbl, 1, "double click on the edit box");
  CHECK_EQ(edit_clicks, 1, "the double click's second release clicks nothing");
  SendMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
  CHECK_EQ(edit_clicks, 1, "a release outside the edit box clicks nothing");

  HWND memo = H(backend.WindowOf(form.memo));
  form.memo.AppendLine("un");
  form.memo.AppendLine("deux");
  CHECK_TEXT(Text(memo), "un\r\ndeux", "appended lines");
  form.memo.RemoveFirstLines(1);
  CHECK_TEXT(Text(memo), "deux", "first line removed");

  HWND list = H(backend.WindowOf(form.list));
  int selects = 0;
  int list_dbl = 0;
  form.list.OnClick = [&] { ++selects; };
  form.list.OnDblClick = [&] { ++list_dbl; };
  for (const char* nick : {"zoe", "alice", "marc"}) form.list.Add(nick);
  form.list.SetItemIndex(1);
  clock.ProcessMessages();  // lists are filled after a burst of changes
  CHECK_EQ(static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)), 3, "list items");
  CHECK_EQ(static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)), 1, "list selection");
  char item[32] = {};
  SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(item));
  CHECK_TEXT(item, "zoe", "model order kept (no sorting)");
  RECT item_rect{};
  SendMessageA(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item_rect));
  const LPARAM at = MAKELPARAM(item_rect.left + 5, item_rect.top + 3);
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(list, WM_LBUTTONUP, 0, at);
  CHECK_EQ(form.list.ItemIndex(), 2, "a click selects an item");
  CHECK_EQ(selects, 1, "one select event");
  SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageA(list, WM_LBUTTONUP, 0, at);
  CHECK_EQ(list_dbl, 1, "double click on an item");
  form.list.Delete(0);
  clock.ProcessMessages();
  CHECK_EQ(static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)), 2, "item deleted");
  CHECK_EQ(static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)), 1, "selection follows the deletion");

  HWND combo = H(backend.WindowOf(form.combo));
  int combo_changes = 0;
  form.combo.OnChange = [&] { ++combo_changes; };
  for (const char* unit : {"Minutes", "Heures", "Jours"}) form.combo.Add(unit);
  form.combo.SetItemIndex(2);
  clock.ProcessMessages();
  CHECK_EQ(static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)), 2, "combo selection");
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  SendMessageA(main, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  CHECK_TEXT(form.combo.Text(), "Minutes", "the picked entry reaches the model");
  CHECK_EQ(combo_changes, 1, "one change event");

  HWND check = H(backend.WindowOf(form.check));
  HWND radio1 = H(backend.WindowOf(form.radio1));
  HWND radio2 = H(backend.WindowOf(form.radio2));
  RECT group_rect{}, check_rect{};
  GetWindowRect(H(backend.WindowOf(form.group)), &group_rect);
  GetWindowRect(check, &check_rect);
  CHECK(check_rect.left - group_rect.left == 10 && check_rect.top - group_rect.top == 20,
        "group box children are placed relative to it");
  CHECK(GetParent(check) == main, "and are children of the form");
  SendMessageA(check, BM_CLICK, 0, 0);
  CHECK(form.check.Checked(), "check box clicked");
  CHECK_EQ(static_cast<int>(SendMessageA(check, BM_GETCHECK, 0, 0)), BST_CHECKED, "and shown checked");
  form.radio1.SetChecked(true);
  SendMessageA(radio2, BM_CLICK, 0, 0);
  CHECK(form.radio2.Checked() && !form.radio1.Checked(), "radio buttons exclude each other");
  CHECK_EQ(static_cast<int>(SendMessageA(radio1, BM_GETCHECK, 0, 0)), BST_UNCHECKED, "the other one unchecked");
  form.group.SetVisible(false);
  CHECK(!IsWindowVisible(check), "hiding a group box hides what it holds");
  form.group.SetVisible(true);
  CHECK(IsWindowVisible(check), "and shows it again");

  HWND track = H(backend.WindowOf(form.track));
  int slides = 0;
  form.track.OnChange = [&] { ++slides; };
  form.track.SetPosition(40);
  CHECK_EQ(static_cast<int>(SendMessageA(track, TBM_GETPOS, 0, 0)), 40, "track bar position");
  SetFocus(track);
  SendMessageA(track, WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageA(track, WM_KEYUP, VK_RIGHT, 0);
  CHECK_EQ(form.track.Position(), 41, "a key slides the track bar");
  CHECK_EQ(slides, 2, "change events");

  Note("menus");
  int quits = 0, inner = 0;
  form.quit->OnClick = [&] { ++quits; };
  form.hidden->Items()[0]->OnClick = [&] { ++inner; };
  HMENU bar = GetMenu(main);
  CHECK_EQ(GetMenuItemCount(bar), 2, "the hidden menu is left out");
  SendMessageA(main, WM_COMMAND, 101, 0);
  CHECK_EQ(quits, 1, "a menu command");
  SendMessageA(main, WM_COMMAND, 201, 0);
  CHECK_EQ(inner, 0, "a hidden item does nothing");
  form.hidden->SetVisible(true);
  form.flag->SetCaption("Drapeau !");
  form.flag->SetChecked(true);
  form.RedrawMenuBar();
  clock.ProcessMessages();
  bar = GetMenu(main);
  CHECK_EQ(GetMenuItemCount(bar), 3, "shown again");
  char caption[64] = {};
  GetMenuStringA(bar, 1, caption, sizeof caption, MF_BYPOSITION);
  CHECK_TEXT(caption, "Commandes", "in its place");
  GetMenuStringA(bar, 301, caption, sizeof caption, MF_BYCOMMAND);
  CHECK_TEXT(caption, "Drapeau !", "caption changed");
  CHECK((GetMenuState(bar, 301, MF_BYCOMMAND) & MF_CHECKED) != 0, "checked");
  SendMessageA(main, WM_COMMAND, 201, 0);
  CHECK_EQ(inner, 1, "the revealed item works");
  Sleep(300);
  clock.ProcessMessages();
  CHECK_EQ(static_cast<int>(PixelAt(main, 150, band_y + 10)), static_cast<int>(RGB(200, 40, 40)),
           "the band's colour after the menu bar changed");

  Note("popup menus");
  {
    kit::PopupMenu quick(app, "Quick");
    quick.PopupAlignment = kit::Alignment::kCenter;
    std::string chosen;
    quick.root.Add("First", "Premier").OnClick = [&] { chosen = "Premier"; };
    quick.root.AddSeparator();
    kit::MenuItem& hidden_entry = quick.root.Add("Hidden", "Cache");
    hidden_entry.SetVisible(false);
    quick.root.Add("Second", "Second").OnClick = [&] { chosen = "Second"; };
    // The user picks the second visible entry while the menu runs its own loop.
    menu_rect = {};
    menu_items = -1;
    SetTimer(nullptr, 0, 100, &PickSecondEntry);
    quick.Popup(400, 300);
    CHECK_TEXT(chosen, "Second", "the chosen entry's click");
    CHECK_EQ(menu_items, 3, "hidden entries are left out of the popup menu");
    CHECK(std::abs((menu_rect.left + menu_rect.right) / 2 - 400) <= 2, "centred on the point");
    CHECK_EQ(static_cast<int>(menu_rect.top), 300, "below the point");
  }

  Note("close requests and modal forms");
  SendMessageA(main, WM_CLOSE, 0, 0);
  SendMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  CHECK(IsWindowVisible(main) && !app.Terminated(), "close refused");
  SendMessageA(app_window, WM_CLOSE, 0, 0);
  CHECK(IsWindowVisible(main) && !app.Terminated(), "close from the taskbar button refused too");
  int ends = 0;
  backend.OnEndSession = [&] { ++ends; };
  for (HWND window : {main, app_window}) {
    CHECK_EQ(static_cast<int>(SendMessageA(window, WM_QUERYENDSESSION, 0, 0)), TRUE, "the session may end");
    SendMessageA(window, WM_ENDSESSION, FALSE, 0);
    CHECK_EQ(ends, 0, "a cancelled end of session changes nothing");
  }
  SendMessageA(main, WM_ENDSESSION, TRUE, 0);
  SendMessageA(app_window, WM_ENDSESSION, TRUE, 0);
  CHECK_EQ(ends, 2, "the end of the session ends the program");

  bool disabled_while_modal = false;
  bool modal_returned = false;
  HWND ok = nullptr;
  // The user's click on OK arrives while ShowModal runs its loop.
  clock.Post([&] {
    clock.Post([&] {
      HWND dlg = H(backend.WindowOf(dialog));
      ok = H(backend.WindowOf(dialog.ok));
      disabled_while_modal = !IsWindowEnabled(main) && IsWindowVisible(dlg);
      Click(ok);
    });
    dialog.ShowModal();
    modal_returned = true;
  });
  clock.ProcessMessages();
  CHECK(modal_returned, "ShowModal returns when the form closes");
  CHECK(disabled_while_modal, "the other windows are disabled while it runs");
  CHECK(IsWindowEnabled(main), "and enabled again after");
  CHECK(!IsWindowVisible(H(backend.WindowOf(dialog))), "the dialog is hidden");
  RECT dlg_rect{}, main_rect{};
  GetWindowRect(H(backend.WindowOf(dialog)), &dlg_rect);
  GetWindowRect(main, &main_rect);
  CHECK(std::abs((dlg_rect.left + dlg_rect.right) - (main_rect.left + main_rect.right)) <= 1,
        "the dialog was centred on its owner form");
  CHECK(GetWindow(H(backend.WindowOf(dialog)), GW_OWNER) == main, "owned by the main form");
  CHECK((GetWindowLongA(ok, GWL_STYLE) & BS_TYPEMASK) == BS_PUSHBUTTON, "other buttons are push buttons");

  Note("a form built while the loop waits");
  MainForm prepared(app);
  MainForm direct(app);
  prepared.Prepare();
  // A handler's own pump (a submission's key-downs) never builds.
  const DWORD pump_start = GetTickCount();
  while (GetTickCount() - pump_start < 60) clock.ProcessMessages();
  CHECK(!backend.WindowOf(prepared), "nothing built inside ProcessMessages");
  // Changed before its window exists: built as the model then stands.
  prepared.memo.SetText("avant");
  const auto built = [&] { return backend.WindowOf(prepared) && backend.WindowOf(prepared.track); };
  const DWORD loop_start = GetTickCount();
  clock.RunMessageLoop([&] { return built() || GetTickCount() - loop_start > 5000; });
  CHECK(built(), "every control built by the idle loop");
  CHECK(!IsWindowVisible(H(backend.WindowOf(prepared))), "and the form still hidden");
  CHECK_TEXT(Text(H(backend.WindowOf(prepared.memo))), "avant", "a change made before the memo's window");
  CHECK(GetWindow(H(backend.WindowOf(prepared)), GW_OWNER) == main, "owned by the main form");
  const HWND prepared_list = H(backend.WindowOf(prepared.list));
  prepared.Show();
  direct.Show();
  direct.memo.SetText("avant");
  CHECK(H(backend.WindowOf(prepared.list)) == prepared_list, "shown with the windows it was built with");
  CHECK_TEXT(ChildrenInZOrder(H(backend.WindowOf(prepared))), ChildrenInZOrder(H(backend.WindowOf(direct))),
             "the same children in the same Z order as a form built when shown");
  prepared.Hide();
  direct.Hide();

  refuse_close = false;
  SendMessageA(H(backend.WindowOf(dialog)), WM_CLOSE, 0, 0);
  SendMessageA(main, WM_CLOSE, 0, 0);
  CHECK(app.Terminated(), "an accepted close of the main form ends the program");
}

}  // namespace check
