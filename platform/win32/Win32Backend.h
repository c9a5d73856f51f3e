// The kit's widgets as native Win32 windows. Each form becomes a top-level
// window whose class name is the form's name ("TForm1") and whose caption is the
// form's text; each child control becomes the matching system control. Native
// notifications are mapped back to the kit's user events, which run through the
// application's error guard.
//
// Choices a reader needs:
// - Every control is a child of its form, also inside a group box: a group box's
//   children have bounds relative to the group box and are placed at the group
//   box's position plus their own. Labels and group boxes lie beneath the other
//   controls (like painted controls), and every control clips its siblings, so a
//   coloured label under buttons never paints over them.
// - A form with a main menu has a native menu bar. The layouts leave the top
//   strip of such a form (kMenuStrip pixels) to a menu drawn inside the window;
//   the native bar lives in the frame instead, so the controls move up by that
//   strip and the window keeps its designed outer size.
// - The application title is the caption of a hidden-size window of class
//   "TApplication" that owns the main form: it carries the taskbar button, so the
//   taskbar shows the application title while the main caption shows the room.
//   Secondary forms are owned by the main form (they stay above it while it is
//   topmost).
// - Close requests (frame, Alt+F4, WM_CLOSE) go to the form's RequestClose; the
//   end of the Windows session is never refused and ends the process.
// - Lists are filled in one go after a burst of item changes (the model tells
//   about every added item), from a posted flush.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "kit/Backend.h"
#include "platform/Types.h"

struct tagMSG;
struct tagDRAWITEMSTRUCT;

namespace tavlen {

class Win32Clock;

namespace kit {
class Application;
class Control;
class Container;
class Form;
class MenuItem;
class PopupMenu;
}  // namespace kit

class Win32Backend final : public kit::Backend {
 public:
  // Height of the menu strip the layouts of forms with a main menu leave free.
  static constexpr int kMenuStrip = 25;
  static constexpr char kApplicationClass[] = "TApplication";

  explicit Win32Backend(Win32Clock& clock);
  ~Win32Backend() override;
  Win32Backend(const Win32Backend&) = delete;
  Win32Backend& operator=(const Win32Backend&) = delete;

  void ShowForm(kit::Form& form, bool modal) override;
  void HideForm(kit::Form& form) override;
  void Changed(kit::Control& control, kit::Prop prop) override;
  void MenuChanged(kit::MenuItem& item) override;
  void OpenPopup(kit::PopupMenu& menu, Point screen) override;
  void SetApplicationTitle(std::string_view title) override;
  void SetTopmost(kit::Form& form, bool topmost) override;
  // Builds the form's window and then its controls a few at a time, on a timer
  // that runs only while the main loop waits: a window's first showing then
  // finds it built (the editor's 50 controls cost 80-140 ms under Wine).
  void Prepare(kit::Form& form) override;
  void Pull(kit::Control& control) override;
  Rect ScreenBounds(kit::Control& control) override;
  void Destroyed(kit::Control& control) override;
  void MenuDestroyed(kit::MenuItem& item) override;

  // The native window of a form (none until it is first shown) and of a control.
  Hwnd WindowOf(const kit::Form& form) const;
  Hwnd WindowOf(const kit::Control& control) const;
  Hwnd ApplicationWindow() const;
  // Keyboard navigation between the controls of a form (Tab, Shift+Tab); for the
  // message loop's PreTranslate hook.
  bool PreTranslate(tagMSG& msg);
  // Applies pending list and menu changes now (they are otherwise applied from
  // the message loop).
  void Flush();
  // What happens when Windows ends the session; exits the process when unset.
  std::function<void()> OnEndSession;

  // For the window procedures.
  struct NativeForm;
  struct NativeControl;
  std::intptr_t FormMessage(NativeForm& form, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam);
  std::intptr_t ControlMessage(NativeControl& control, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam);
  std::intptr_t ApplicationMessage(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam);
  // WM_QUERYENDSESSION and WM_ENDSESSION, sent to a form or to the application
  // window: the session may end, and when it does, the program ends with it.
  std::intptr_t SessionMessage(unsigned msg, std::uintptr_t wparam);

 private:
  // The form's window with every control (Realize), or only the window.
  NativeForm& Realize(kit::Form& form);
  NativeForm& RealizeWindow(kit::Form& form);
  void RealizeChildren(NativeForm& native, kit::Container& container);
  NativeControl* RealizeControl(NativeForm& native, kit::Control& control);
  // Labels beneath the other controls, group boxes beneath the labels.
  void LowerPaintedControls(NativeForm& native);
  // The first control, in creation order, that has no window yet.
  kit::Control* FirstUnrealized(kit::Container& container);
  // One slice of the preparation; stops its timer when nothing is left.
  void PrepareTick();
  NativeForm* FormOf(const kit::Control& control);
  NativeControl* Find(const kit::Control& control);
  void PlaceForm(NativeForm& native, bool reposition);
  void PlaceControl(NativeControl& native);
  // Every control of the form at the form's current scale.
  void Rescale(NativeForm& native);
  void ApplyVisible(NativeControl& native);
  void ApplyEnabled(NativeControl& native);
  void ApplyText(NativeControl& native);
  void ApplyFont(NativeControl& native);
  void ApplyStyle(NativeControl& native);
  void ApplyHint(NativeControl& native);
  void ApplyChecked(NativeControl& native);
  void ApplyTrackBar(NativeControl& native);
  void ApplySelection(NativeControl& native);
  void AppendLine(NativeControl& native);
  void SyncItems(NativeControl& native);
  void ScheduleFlush();
  void RebuildMenu(NativeForm& native);
  void Command(NativeForm& form, std::uintptr_t wparam, std::intptr_t lparam);
  void DrawButton(const tagDRAWITEMSTRUCT& item);
  std::intptr_t ColorMessage(NativeForm& form, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam);
  void RunModal(NativeForm& native);
  void EndModal(NativeForm& native);
  void EnsureApplicationShown();

  Win32Clock& clock_;
  Hwnd app_window_ = kNoWindow;
  bool app_shown_ = false;
  std::map<const kit::Form*, std::unique_ptr<NativeForm>> forms_;
  std::map<const kit::Control*, std::unique_ptr<NativeControl>> controls_;
  std::map<const kit::Form*, bool> topmost_;
  // Forms whose menu bar or controls whose items wait for the flush.
  std::set<NativeForm*> dirty_menus_;
  std::set<const kit::Control*> dirty_lists_;
  bool flush_posted_ = false;
  // Roots of the menu trees seen, for finding a menu item's form.
  std::set<const kit::MenuItem*> live_menus_;
  // Modal forms, innermost last, with the windows each one disabled.
  struct ModalFrame {
    NativeForm* form;
    std::vector<Hwnd> disabled;
  };
  std::vector<ModalFrame> modal_;
  // Posted work checks this before touching the backend.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  const kit::Control* pulling_ = nullptr;
  // Forms waiting to be built ahead of their first showing, first one first.
  std::deque<kit::Form*> preparing_;
  std::uint32_t prepare_timer_ = 0;
  // Set while the backend writes an edit box's text itself.
  bool writing_ = false;
  kit::Application* app_ = nullptr;
  int next_id_ = 1000;
};

}  // namespace tavlen
