#include "kit/Widgets.h"

#include <algorithm>
#include <stdexcept>

#include "base/Text.h"

namespace tavlen::kit {

// ---- Control ---------------------------------------------------------------

Control::Control(Container* parent, std::string name) : parent_(parent), name_(std::move(name)) {
  if (parent_) parent_->children_.push_back(this);
}

Control::~Control() {
  if (parent_) {
    auto& c = parent_->children_;
    c.erase(std::remove(c.begin(), c.end(), this), c.end());
    App().GetBackend().Destroyed(*this);
  }
}

Form& Control::OwnerForm() {
  Control* c = this;
  while (c->parent_) c = c->parent_;
  return static_cast<Form&>(*c);
}

Application& Control::App() { return OwnerForm().App(); }

Rect Backend::ScreenBounds(Control& control) {
  int left = control.Left();
  int top = control.Top();
  for (const Control* c = control.Parent(); c; c = c->Parent()) {
    left += c->Left();
    top += c->Top();
  }
  return Rect{left, top, left + control.Width(), top + control.Height()};
}

void Control::Notify(Prop prop) { App().GetBackend().Changed(*this, prop); }

void Control::Guarded(const std::function<void()>& handler) {
  if (handler) App().Dispatch(handler);
}

void Control::SetBounds(int left, int top, int width, int height) {
  if (bounds_.left == left && bounds_.top == top && bounds_.width == width && bounds_.height == height) return;
  bounds_ = {left, top, width, height};
  Notify(Prop::kBounds);
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Notify(Prop::kVisible);
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Notify(Prop::kEnabled);
}

void Control::SetText(std::string text) {
  if (text_ == text) return;
  text_ = std::move(text);
  Notify(Prop::kText);
}

void Control::SetHint(std::string hint) {
  if (hint_ == hint) return;
  hint_ = std::move(hint);
  Notify(Prop::kHint);
}

void Control::SetColor(Color color) {
  if (color_ == color) return;
  color_ = color;
  Notify(Prop::kColor);
}

void Control::SetFont(const Font& font) {
  font_ = font;
  Notify(Prop::kFont);
}

void Control::SetAlignment(Alignment a) {
  if (alignment_ == a) return;
  alignment_ = a;
  Notify(Prop::kStyle);
}

void Control::Click() {
  if (AcceptsInput()) Guarded(OnClick);
}

void Control::DblClick() {
  if (AcceptsInput()) Guarded(OnDblClick);
}

void Control::MouseDown(MouseButton button, int x, int y) {
  if (AcceptsInput() && OnMouseDown) Guarded([&] { OnMouseDown(button, x, y); });
}

void Control::MouseUp(MouseButton button, int x, int y) {
  if (AcceptsInput() && OnMouseUp) Guarded([&] { OnMouseUp(button, x, y); });
}

void Control::MouseMove(int x, int y) {
  if (visible_ && OnMouseMove) Guarded([&] { OnMouseMove(x, y); });
}

void Control::KeyDown(int key) {
  if (AcceptsInput() && OnKeyDown) Guarded([&] { OnKeyDown(key); });
}

void Control::KeyPress(char key) {
  if (AcceptsInput() && OnKeyPress) Guarded([&] { OnKeyPress(key); });
}

// ---- Label / Edit / Memo -----------------------------------------------------

Label::Label(Container* parent, std::string name) : Control(parent, std::move(name)) {}

Edit::Edit(Container* parent, std::string name) : Control(parent, std::move(name)) { SetColor(clWindow); }

void Edit::SetText(std::string text) {
  if (text_ == text) return;
  text_ = std::move(text);
  sel_start_ = static_cast<int>(text_.size());
  sel_length_ = 0;
  Notify(Prop::kText);
  if (OnChange) OnChange();
}

void Edit::Type(std::string text) {
  if (!AcceptsInput() || ReadOnly) return;
  Guarded([&] { SetText(std::move(text)); });
}

int Edit::SelStart() {
  App().GetBackend().Pull(*this);
  return sel_start_;
}

int Edit::SelLength() {
  App().GetBackend().Pull(*this);
  return sel_length_;
}

void Edit::SetSelection(int start, int length) {
  const int size = static_cast<int>(Text().size());
  sel_start_ = std::clamp(start, 0, size);
  sel_length_ = std::clamp(length, 0, size - sel_start_);
  Notify(Prop::kSelection);
}

Memo::Memo(Container* parent, std::string name) : Edit(parent, std::move(name)) {}

const std::string& Memo::Text() const {
  if (text_stale_) {
    std::string joined;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      if (i) joined += "\r\n";
      joined += lines_[i];
    }
    const_cast<Memo*>(this)->text_ = std::move(joined);
    text_stale_ = false;
  }
  return text_;
}

void Memo::SetText(std::string text) {
  if (Text() == text) return;
  // A memo's lines end at CR LF, CR or LF, like the native control's.
  lines_.clear();
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines_.push_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size() || (!text.empty() && (text.back() == '\n' || text.back() == '\r')))
    lines_.push_back(text.substr(start));
  text_stale_ = true;
  sel_start_ = static_cast<int>(Text().size());
  sel_length_ = 0;
  Notify(Prop::kText);
  if (OnChange) OnChange();
}

void Memo::SetLines(std::vector<std::string> lines) {
  lines_.assign(std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
  text_stale_ = true;
  sel_start_ = static_cast<int>(Text().size());
  sel_length_ = 0;
  Notify(Prop::kText);
  if (OnChange) OnChange();
}

void Memo::AppendLine(std::string line) {
  // A joined text already built grows with the line rather than being built
  // again whole at the next read: the debug log appends ten lines a second.
  if (!text_stale_) {
    if (!lines_.empty()) text_ += "\r\n";
    text_ += line;
  }
  lines_.push_back(std::move(line));
  Notify(Prop::kAppend);
}

void Memo::RemoveFirstLines(std::size_t count) {
  count = std::min(count, lines_.size());
  if (count == 0) return;
  lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(count));
  text_stale_ = true;
  Notify(Prop::kText);
}

std::pair<int, int> Memo::CaretPos() {
  const std::string& text = Text();
  const int caret = std::min(SelStart() + SelLength(), static_cast<int>(text.size()));
  int line = 0;
  int line_start = 0;
  for (int i = 0; i < caret; ++i) {
    if (text[i] == '\r' && i + 1 < static_cast<int>(text.size()) && text[i + 1] == '\n') {
      if (i + 1 >= caret) break;
      ++line;
      ++i;
      line_start = i + 1;
    }
  }
  return {line, caret - line_start};
}

// ---- Item lists ----------------------------------------------------------------

const std::string& ItemList::Item(int index) const {
  if (index < 0 || index >= Count()) throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  return items_[index].text;
}

std::intptr_t ItemList::Data(int index) const {
  if (index < 0 || index >= Count()) throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  return items_[index].data;
}

void ItemList::SetItem(int index, std::string text) {
  Item(index);
  items_[index].text = std::move(text);
  Notify(Prop::kItems);
}

int ItemList::Add(std::string text, std::intptr_t data) {
  int index = Count();
  if (Sorted) {
    auto it = std::upper_bound(items_.begin(), items_.end(), text,
                               [this](const std::string& t, const Entry& e) { return Compare(t, e.text) < 0; });
    index = static_cast<int>(it - items_.begin());
  }
  Insert(index, std::move(text), data);
  return index;
}

void ItemList::Insert(int index, std::string text, std::intptr_t data) {
  if (index < 0 || index > Count()) throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  items_.insert(items_.begin() + index, Entry{std::move(text), data});
  if (item_index_ >= index) ++item_index_;
  Notify(Prop::kItems);
}

void ItemList::Delete(int index) {
  Item(index);
  items_.erase(items_.begin() + index);
  if (item_index_ == index) item_index_ = -1;
  else if (item_index_ > index) --item_index_;
  Notify(Prop::kItems);
}

void ItemList::Move(int from, int to) {
  Item(from);
  Item(to);
  Entry e = std::move(items_[from]);
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, std::move(e));
  Notify(Prop::kItems);
}

void ItemList::Clear() {
  if (items_.empty() && item_index_ == -1) return;
  items_.clear();
  item_index_ = -1;
  Notify(Prop::kItems);
}

int ItemList::Compare(std::string_view a, std::string_view b) const {
  return Order ? Order->Compare(a, b) : CompareTextAnsi(a, b);
}

int ItemList::IndexOf(std::string_view text) const {
  for (int i = 0; i < Count(); ++i)
    if (SameTextAnsi(items_[i].text, text)) return i;
  return -1;
}

void ItemList::SetItemIndex(int index) {
  if (index < -1 || index >= Count()) index = -1;
  if (item_index_ == index) return;
  item_index_ = index;
  Notify(Prop::kItemIndex);
}

ListBox::ListBox(Container* parent, std::string name) : ItemList(parent, std::move(name)) { SetColor(clWindow); }

void ListBox::Select(int index) {
  if (!AcceptsInput()) return;
  if (index >= 0 && index < Count()) SetItemIndex(index);
  Guarded(OnClick);
}

void ListBox::DoubleClickItem(int index) {
  if (!AcceptsInput()) return;
  if (index >= 0 && index < Count()) SetItemIndex(index);
  Guarded(OnDblClick);
}

ComboBox::ComboBox(Container* parent, std::string name) : ItemList(parent, std::move(name)) { SetColor(clWindow); }

void ComboBox::SetItemIndex(int index) {
  ItemList::SetItemIndex(index);
  const std::string text = item_index_ >= 0 ? items_[item_index_].text : std::string();
  if (text_ != text) {
    text_ = text;
    Notify(Prop::kText);
  }
}

void ComboBox::Select(int index) {
  if (!AcceptsInput() || index < 0 || index >= Count()) return;
  SetItemIndex(index);
  Guarded(OnClick);
  Guarded(OnChange);
}

void ComboBox::Type(std::string text) {
  if (!AcceptsInput() || ComboStyle != Style::kDropDown) return;
  ItemList::SetItemIndex(-1);
  text_ = std::move(text);
  Notify(Prop::kText);
  Guarded(OnChange);
}

// ---- Check boxes, radio buttons, track bars -------------------------------------

void CheckBox::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Notify(Prop::kChecked);
  if (OnClick) OnClick();
}

void CheckBox::Click() {
  if (AcceptsInput()) Guarded([this] { SetChecked(!checked_); });
}

void RadioButton::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Notify(Prop::kChecked);
  if (!checked) return;
  if (Parent()) {
    for (Control* sibling : Parent()->Children()) {
      if (sibling == this) continue;
      if (auto* radio = dynamic_cast<RadioButton*>(sibling); radio && radio->checked_) {
        radio->checked_ = false;
        radio->Notify(Prop::kChecked);
      }
    }
  }
  if (OnClick) OnClick();
}

void RadioButton::Click() {
  if (AcceptsInput()) Guarded([this] { SetChecked(true); });
}

TrackBar::TrackBar(Container* parent, std::string name) : Control(parent, std::move(name)) {}

void TrackBar::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  Notify(Prop::kRange);
  SetPosition(position_);
}

void TrackBar::SetPosition(int position) {
  position = std::clamp(position, min_, max_);
  if (position_ == position) return;
  position_ = position;
  Notify(Prop::kPosition);
  if (OnChange) OnChange();
}

void TrackBar::Slide(int position) {
  if (AcceptsInput()) Guarded([&] { SetPosition(position); });
}

// ---- Menus ------------------------------------------------------------------------

MenuItem::MenuItem(Application& app, MenuItem* parent, std::string name, std::string caption, int command_id)
    : app_(app), parent_(parent), name_(std::move(name)), caption_(std::move(caption)), command_id_(command_id) {}

MenuItem::~MenuItem() {
  items_.clear();
  app_.GetBackend().MenuDestroyed(*this);
}

MenuItem& MenuItem::Add(std::string name, std::string caption, int command_id) {
  if (command_id == 0) command_id = app_.NextCommandId();
  items_.push_back(std::make_unique<MenuItem>(app_, this, std::move(name), std::move(caption), command_id));
  app_.GetBackend().MenuChanged(*this);
  return *items_.back();
}

MenuItem& MenuItem::AddSeparator() { return Add("", "-"); }

void MenuItem::Clear() {
  if (items_.empty()) return;
  items_.clear();
  app_.GetBackend().MenuChanged(*this);
}

MenuItem* MenuItem::FindCommand(int command_id) {
  if (command_id_ == command_id) return this;
  for (auto& item : items_)
    if (MenuItem* found = item->FindCommand(command_id)) return found;
  return nullptr;
}

MenuItem* MenuItem::FindCaption(std::string_view caption) {
  if (caption_ == caption) return this;
  for (auto& item : items_)
    if (MenuItem* found = item->FindCaption(caption)) return found;
  return nullptr;
}

void MenuItem::SetCaption(std::string caption) {
  if (caption_ == caption) return;
  caption_ = std::move(caption);
  app_.GetBackend().MenuChanged(*this);
}

void MenuItem::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  app_.GetBackend().MenuChanged(*this);
}

void MenuItem::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  app_.GetBackend().MenuChanged(*this);
}

void MenuItem::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  app_.GetBackend().MenuChanged(*this);
}

bool MenuItem::Reachable() const {
  for (const MenuItem* m = this; m; m = m->parent_)
    if (!m->visible_ || !m->enabled_) return false;
  return true;
}

void MenuItem::Click() {
  if (!Reachable() || IsSeparator() || !OnClick) return;
  app_.Dispatch(OnClick);
}

void PopupMenu::Popup(int x, int y) {
  LastPopupPoint = Point{x, y};
  app_.GetBackend().OpenPopup(*this, Point{x, y});
}

// ---- Timer ------------------------------------------------------------------------

Timer::Timer(Application& app, std::string name, int interval_ms, bool enabled)
    : app_(app), name_(std::move(name)), id_(app.NextTimerId()), interval_(interval_ms), enabled_(enabled) {
  Update();
}

Timer::~Timer() {
  if (running_) app_.GetClock().StopTimer(id_);
}

void Timer::Update() {
  if (running_) app_.GetClock().StopTimer(id_);
  running_ = enabled_ && interval_ > 0;
  if (running_) app_.GetClock().StartTimer(id_, interval_, [this] { Tick(); });
}

void Timer::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Update();
}

void Timer::SetInterval(int interval_ms) {
  if (interval_ == interval_ms) return;
  interval_ = interval_ms;
  Update();
}

void Timer::Tick() {
  if (enabled_ && OnTimer) app_.Dispatch(OnTimer);
}

// ---- Form -------------------------------------------------------------------------

Form::Form(Application& app, std::string name, std::string caption) : Container(nullptr, std::move(name)), app_(app) {
  visible_ = false;
  text_ = std::move(caption);
}

Form::~Form() { app_.GetBackend().Destroyed(*this); }

void Form::SetClientSize(int width, int height) {
  client_size_ = std::make_pair(width, height);
  SetBounds(Left(), Top(), width, height);
  Notify(Prop::kBounds);
}

void Form::SetStayOnTop(bool on) {
  // Asked of the system every time, even when the flag is already set: another
  // program may have taken the top since.
  stay_on_top_ = on;
  app_.GetBackend().SetTopmost(*this, on);
}

void Form::RedrawMenuBar() {
  if (Menu) app_.GetBackend().MenuChanged(Menu->root);
}

void Form::SetVisible(bool visible) {
  if (visible) Show();
  else Hide();
}

void Form::Show() {
  const bool was_visible = visible_;
  visible_ = true;
  modal_ = false;
  app_.GetBackend().ShowForm(*this, false);
  if (!was_visible && OnShow) OnShow();
}

void Form::Prepare() { app_.GetBackend().Prepare(*this); }

void Form::ShowModal() {
  const bool was_visible = visible_;
  visible_ = true;
  modal_ = true;
  if (!was_visible && OnShow) OnShow();
  app_.GetBackend().ShowForm(*this, true);
}

void Form::Hide() {
  if (!visible_) return;
  visible_ = false;
  modal_ = false;
  app_.GetBackend().HideForm(*this);
}

void Form::Close() {
  bool can_close = true;
  if (OnCloseQuery) OnCloseQuery(can_close);
  if (!can_close) return;
  if (OnClose) OnClose();
  Hide();
  if (app_.MainForm == this) app_.Terminate();
}

void Form::RequestClose() { app_.Dispatch([this] { Close(); }); }

void Form::Activate() {
  if (OnActivate) app_.Dispatch(OnActivate);
}

void Form::FrameMouseMove() {
  if (OnFrameMouseMove) app_.Dispatch(OnFrameMouseMove);
}

}  // namespace tavlen::kit
