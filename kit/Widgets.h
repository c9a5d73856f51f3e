// The headless widget model. Every widget is a plain object holding its state;
// setters tell the backend so a realized native control follows. Methods named
// after a person's action (Click, Select, Type ...) are user events: they go
// through the application's error guard and are ignored on a disabled or hidden
// control. Programmatic setters fire the change events the native controls fire
// (Edit text, CheckBox/RadioButton checked, TrackBar position) directly.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Colors.h"
#include "kit/Application.h"
#include "kit/Backend.h"
#include "platform/Collation.h"

namespace tavlen::kit {

using Color = TColor;
constexpr Color Rgb(int r, int g, int b) { return Color(r) | (Color(g) << 8) | (Color(b) << 16); }

struct Font {
  std::string name = "MS Sans Serif";
  int size = 8;  // points
  bool bold = false;
  bool underline = false;
  Color color = clWindowText;
};

enum class Alignment { kLeft, kRight, kCenter };
enum class MouseButton { kLeft, kRight, kMiddle };

struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

class Container;
class Form;

class Control {
 public:
  Control(Container* parent, std::string name);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  virtual const char* Kind() const = 0;
  const std::string& Name() const { return name_; }
  Container* Parent() const { return parent_; }
  Form& OwnerForm();
  Application& App();
  // As drawn on the screen, frames and menu bar included.
  Rect ScreenBounds() { return App().GetBackend().ScreenBounds(*this); }

  const Bounds& GetBounds() const { return bounds_; }
  void SetBounds(int left, int top, int width, int height);
  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.width; }
  int Height() const { return bounds_.height; }
  void SetLeft(int v) { SetBounds(v, bounds_.top, bounds_.width, bounds_.height); }
  void SetTop(int v) { SetBounds(bounds_.left, v, bounds_.width, bounds_.height); }
  void SetWidth(int v) { SetBounds(bounds_.left, bounds_.top, v, bounds_.height); }
  void SetHeight(int v) { SetBounds(bounds_.left, bounds_.top, bounds_.width, v); }

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Caption of buttons, labels, forms; content of edit boxes.
  virtual const std::string& Text() const { return text_; }
  virtual void SetText(std::string text);
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint);
  bool ShowHint = false;
  Color GetColor() const { return color_; }
  void SetColor(Color color);
  const Font& GetFont() const { return font_; }
  void SetFont(const Font& font);
  Alignment GetAlignment() const { return alignment_; }
  void SetAlignment(Alignment a);
  std::intptr_t Tag = 0;

  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  std::function<void(MouseButton, int, int)> OnMouseDown;
  std::function<void(MouseButton, int, int)> OnMouseUp;
  std::function<void(int, int)> OnMouseMove;
  std::function<void(int)> OnKeyDown;
  std::function<void(char)> OnKeyPress;

  // User events.
  virtual void Click();
  void DblClick();
  void MouseDown(MouseButton button, int x = 0, int y = 0);
  void MouseUp(MouseButton button, int x = 0, int y = 0);
  void MouseMove(int x, int y);
  void KeyDown(int key);
  void KeyPress(char key);
  bool AcceptsInput() const { return enabled_ && visible_; }

 protected:
  void Notify(Prop prop);
  void Guarded(const std::function<void()>& handler);

  std::string text_;
  bool visible_ = true;

 private:
  Container* parent_;
  std::string name_;
  Bounds bounds_;
  bool enabled_ = true;
  std::string hint_;
  Color color_ = clBtnFace;
  Font font_;
  Alignment alignment_ = Alignment::kLeft;
};

class Container : public Control {
 public:
  using Control::Control;
  const std::vector<Control*>& Children() const { return children_; }

 private:
  friend class Control;
  std::vector<Control*> children_;
};

// A small picture a button shows instead of its caption.
enum class ButtonGlyph { kNone, kOpenFile };

class Button : public Control {
 public:
  using Control::Control;
  const char* Kind() const override { return "Button"; }
  ButtonGlyph Glyph = ButtonGlyph::kNone;
};

class Label : public Control {
 public:
  Label(Container* parent, std::string name);
  const char* Kind() const override { return "Label"; }
  bool Transparent = true;
  bool WordWrap = false;
};

class Edit : public Control {
 public:
  Edit(Container* parent, std::string name);
  const char* Kind() const override { return "Edit"; }
  // Fires OnChange when the text changes, as the native control does.
  void SetText(std::string text) override;
  std::function<void()> OnChange;
  bool ReadOnly = false;
  // The user types: the box then holds `text`.
  void Type(std::string text);
  int SelStart();
  int SelLength();
  void SetSelection(int start, int length);

 protected:
  int sel_start_ = 0;
  int sel_length_ = 0;
};

// Multi-line text box. The text is kept as lines; Text() joins them with CR LF.
class Memo : public Edit {
 public:
  Memo(Container* parent, std::string name);
  const char* Kind() const override { return "Memo"; }
  void SetText(std::string text) override;
  const std::string& Text() const override;
  const std::deque<std::string>& Lines() const { return lines_; }
  void SetLines(std::vector<std::string> lines);
  void AppendLine(std::string line);
  void RemoveFirstLines(std::size_t count);
  // Caret as (line, column), from 0, the caret being the end of the selection.
  std::pair<int, int> CaretPos();
  bool ScrollBars = false;
  bool WordWrap = true;

 private:
  // The joined text is built only when asked for: the debug log appends many lines.
  mutable bool text_stale_ = false;
  std::deque<std::string> lines_;
};

// Shared item storage of list boxes and combo boxes: texts with one integer each.
class ItemList : public Control {
 public:
  using Control::Control;
  int Count() const { return static_cast<int>(items_.size()); }
  // Throw std::out_of_range for a bad index, as the native lists do.
  const std::string& Item(int index) const;
  std::intptr_t Data(int index) const;
  void SetItem(int index, std::string text);
  int Add(std::string text, std::intptr_t data = 0);
  void Insert(int index, std::string text, std::intptr_t data = 0);
  void Delete(int index);
  void Move(int from, int to);
  void Clear();
  // Exact match without regard to case (the platform's exact-string search).
  int IndexOf(std::string_view text) const;
  int ItemIndex() const { return item_index_; }
  virtual void SetItemIndex(int index);
  bool Sorted = false;
  // The order of a sorted list: the platform's collation when one is given, the
  // ANSI case fold otherwise.
  const tavlen::Collation* Order = nullptr;
  int Compare(std::string_view a, std::string_view b) const;

 protected:
  struct Entry {
    std::string text;
    std::intptr_t data;
  };
  std::vector<Entry> items_;
  int item_index_ = -1;
};

class ListBox : public ItemList {
 public:
  ListBox(Container* parent, std::string name);
  const char* Kind() const override { return "ListBox"; }
  int ItemHeight = 13;
  // The user clicks item `index` (-1: a click that selects nothing).
  void Select(int index);
  void DoubleClickItem(int index);
};

class ComboBox : public ItemList {
 public:
  enum class Style { kDropDown, kDropDownList };
  ComboBox(Container* parent, std::string name);
  const char* Kind() const override { return "ComboBox"; }
  Style ComboStyle = Style::kDropDown;
  void SetItemIndex(int index) override;
  std::function<void()> OnChange;
  // The user picks item `index` in the drop-down.
  void Select(int index);
  // The user types into the edit part.
  void Type(std::string text);
};

class CheckBox : public Control {
 public:
  using Control::Control;
  const char* Kind() const override { return "CheckBox"; }
  bool Checked() const { return checked_; }
  // Fires OnClick when the state changes, as the native control does.
  void SetChecked(bool checked);
  void Click() override;

 private:
  bool checked_ = false;
};

class RadioButton : public Control {
 public:
  using Control::Control;
  const char* Kind() const override { return "RadioButton"; }
  bool Checked() const { return checked_; }
  // Checking one unchecks its siblings; fires OnClick when it becomes checked.
  void SetChecked(bool checked);
  void Click() override;

 private:
  bool checked_ = false;
};

class TrackBar : public Control {
 public:
  TrackBar(Container* parent, std::string name);
  const char* Kind() const override { return "TrackBar"; }
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int min, int max);
  int Position() const { return position_; }
  // Clamped to the range; fires OnChange when the position changes.
  void SetPosition(int position);
  bool Vertical = false;
  int PageSize = 0;
  std::function<void()> OnChange;
  // The user drags the slider.
  void Slide(int position);

 private:
  int min_ = 0;
  int max_ = 10;
  int position_ = 0;
};

class GroupBox : public Container {
 public:
  using Container::Container;
  const char* Kind() const override { return "GroupBox"; }
};

class MenuItem {
 public:
  MenuItem(Application& app, MenuItem* parent, std::string name, std::string caption, int command_id);
  ~MenuItem();
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  MenuItem& Add(std::string name, std::string caption, int command_id = 0);
  MenuItem& AddSeparator();
  void Clear();
  const std::vector<std::unique_ptr<MenuItem>>& Items() const { return items_; }
  MenuItem* Parent() const { return parent_; }
  // Searches this item and all below it.
  MenuItem* FindCommand(int command_id);
  MenuItem* FindCaption(std::string_view caption);

  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  bool IsSeparator() const { return caption_ == "-"; }
  int CommandId() const { return command_id_; }
  std::intptr_t Tag = 0;
  std::string Action;  // free text a handler may keep with a dynamic item

  std::function<void()> OnClick;
  // The user chooses this item; ignored when it or a parent is hidden or disabled.
  void Click();
  bool Reachable() const;

 private:
  Application& app_;
  MenuItem* parent_;
  std::string name_;
  std::string caption_;
  int command_id_;
  bool visible_ = true;
  bool enabled_ = true;
  bool checked_ = false;
  std::vector<std::unique_ptr<MenuItem>> items_;
};

class MainMenu {
 public:
  explicit MainMenu(Application& app) : root(app, nullptr, "", "", 0) {}
  MenuItem root;
};

class PopupMenu {
 public:
  PopupMenu(Application& app, std::string name) : root(app, nullptr, std::move(name), "", 0), app_(app) {}
  MenuItem root;
  Alignment PopupAlignment = Alignment::kLeft;
  // Opens the menu at a screen point; the choice arrives as an item's click.
  void Popup(int x, int y);
  std::optional<Point> LastPopupPoint;

 private:
  Application& app_;
};

class Timer {
 public:
  Timer(Application& app, std::string name, int interval_ms, bool enabled);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  const std::string& Name() const { return name_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  int Interval() const { return interval_; }
  // Restarts the count when the timer runs.
  void SetInterval(int interval_ms);
  std::function<void()> OnTimer;
  // One tick, through the error guard.
  void Tick();

 private:
  void Update();
  Application& app_;
  std::string name_;
  Clock::TimerId id_;
  int interval_;
  bool enabled_;
  bool running_ = false;
};

enum class BorderStyle { kSizeable, kSingle, kNone, kToolWindow, kDialog };
enum class FormPosition { kDesigned, kScreenCenter, kOwnerFormCenter };

class Form : public Container {
 public:
  Form(Application& app, std::string name, std::string caption);
  ~Form() override;
  const char* Kind() const override { return "Form"; }
  Application& App() { return app_; }

  void SetClientSize(int width, int height);
  std::optional<std::pair<int, int>> ClientSize() const { return client_size_; }
  BorderStyle Border = BorderStyle::kSizeable;
  FormPosition Position = FormPosition::kDesigned;
  Form* CenterOn = nullptr;  // for kOwnerFormCenter
  bool StayOnTop() const { return stay_on_top_; }
  void SetStayOnTop(bool on);
  MainMenu* Menu = nullptr;
  // The backend redraws the menu bar after items change.
  void RedrawMenuBar();

  void Show();
  // Asks the backend to get the form ready for a later Show while the program is idle.
  void Prepare();
  // Shows the form modally. On Windows this returns when the form closes; in the
  // sim it returns at once with the form shown. Callers make it their last step.
  void ShowModal();
  void Hide();
  // A close request (frame, Alt+F4, system, or program): OnCloseQuery may refuse.
  void Close();
  bool Modal() const { return modal_; }
  void SetVisible(bool visible) override;

  std::function<void()> OnShow;
  std::function<void(bool& can_close)> OnCloseQuery;
  std::function<void()> OnClose;
  std::function<void()> OnActivate;
  // The mouse over the window's frame (title bar, borders).
  std::function<void()> OnFrameMouseMove;

  // User events.
  void RequestClose();
  void Activate();
  void FrameMouseMove();

 private:
  Application& app_;
  std::optional<std::pair<int, int>> client_size_;
  bool stay_on_top_ = false;
  bool modal_ = false;
};

}  // namespace tavlen::kit
