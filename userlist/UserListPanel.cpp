#include "userlist/UserListPanel.h"

#include "base/Text.h"
#include "kit/Layout.h"
#include "userlist/TreeViewReader.h"
#include "userlist/UserListSync.h"

namespace tavlen {

namespace {
// The chooser opens below the box unless the main window is this close to the
// desktop's bottom.
constexpr int kRoomBelow = 485;
constexpr int kBelowOffset = 54;
constexpr int kAboveOffset = 350;
constexpr int kLeftOffset = 7;
}  // namespace

UserListPanel::UserListPanel(kit::Form& form, RoomContext& ctx, RoomLine& line, ProcessMemory* memory,
                             Background* background, kit::Edit& target_nick_box, const Collation& order)
    : ListBox1(&form, "ListBox1"),
      Label1(&form, "Label1"),
      Label2(&form, "Label2"),
      Timer4(ctx.app, "Timer4", 750, true),
      form_(form),
      ctx_(ctx),
      line_(line),
      memory_(memory),
      background_(background),
      box_(target_nick_box) {
  // In the expanded part, left of the reason list.
  kit::Lay({
      {ListBox1, 4, 176, 136, 209},
      {Label1, 4, 392, 136, 16, "NB utilisateurs"},
      {Label2, 4, 408, 136, 16, "NB Kick :"},
  });
  ListBox1.Sorted = true;
  ListBox1.Order = &order;
  ListBox1.OnClick = [this] { ListBox1Click(); };
  Timer4.OnTimer = [this] { Timer4Timer(); };
  ctx.OnRoomPresence = [this](bool present) { Timer4.SetEnabled(present); };
}

void UserListPanel::AttachChooser(kit::Form& chooser, kit::ListBox& chooser_list) {
  chooser_ = &chooser;
  chooser_list_ = &chooser_list;
  chooser_list.Order = ListBox1.Order;
}

UserListPanel::~UserListPanel() { *alive_ = false; }

void UserListPanel::Timer4Timer() {
  // A tree read costs a cross-process call per user; inside a submission it
  // would slow every key-down, and the list is read again at the next tick.
  if (ctx_.Submitting() || reading_) return;
  struct Read {
    std::vector<std::string> texts;
    TreeReadEnd end = TreeReadEnd::kWhole;
  };
  auto read = std::make_shared<Read>();
  auto work = [read, &windowing = ctx_.windowing, memory = memory_, tree = ctx_.room.UserTreeWindow] {
    read->texts = ReadTreeItemTexts(windowing, memory, tree, &read->end);
  };
  if (!background_) {
    work();
    ShowUsers(std::move(read->texts), read->end);
    return;
  }
  reading_ = true;
  background_->Run(std::move(work), [this, read, alive = alive_] {
    if (!*alive) return;
    reading_ = false;
    // Gone inactive meanwhile: the texts are of a room no longer there.
    if (Timer4.Enabled()) ShowUsers(std::move(read->texts), read->end);
  });
}

void UserListPanel::ShowUsers(std::vector<std::string> texts, TreeReadEnd end) {
  if (end == TreeReadEnd::kCircle) ctx_.log.debog(ansi("-> liste des utilisateurs : lecture arrêtée (élément déjà lu)"));
  if (end == TreeReadEnd::kCeiling)
    ctx_.log.debog(ansi("-> liste des utilisateurs : lecture arrêtée à ") + std::to_string(kTreeItemCeiling) +
                   ansi(" éléments"));
  RoomState& room = ctx_.room;
  MergeUserList(texts, ListBox1, chooser_list_);
  TreeItemTexts = std::move(texts);
  Label2.SetText("NB kick : " + std::to_string(room.KicksByOwnNick) + "/" + std::to_string(room.KicksTotal));
  const std::string count = std::to_string(ListBox1.Count());
  Label1.SetText(count + " utilisateurs");
  ctx_.app.SetTitle("Tavlen - [" + count + "]");

  // Completed inside a submission's message handling: the request waits for a tick outside.
  if (ctx_.Submitting()) return;
  // A new room is asked for the rights again. While they are unknown, a request
  // that never reached the room (the moderator was typing) is tried again.
  if (room.RoomChanged) setopt_submitted_ = false;
  const bool retry = !room.RightsKnown && !setopt_submitted_;
  if ((room.RoomChanged || retry) && ListBox1.Count() > 0 && Pos(" ", ListBox1.Item(0)) == 0) {
    // Settled before submitting: a tick run from the submission's message
    // handling must not ask a second time, and a room change it sees stays.
    room.RoomChanged = false;
    setopt_submitted_ = true;
    setopt_submitted_ = line_.send_to_camfrog("/setopt");
  }
}

void UserListPanel::ListBox1Click() {
  if (ListBox1.ItemIndex() < 0) return;
  box_.SetText(ListBox1.Item(ListBox1.ItemIndex()));
}

bool UserListPanel::ChooserBelow() const {
  return form_.Top() < ctx_.windowing.VirtualScreenHeight() - kRoomBelow;
}

void UserListPanel::Edit2DblClick() {
  if (!chooser_) return;
  const int top = ChooserBelow() ? form_.Top() + box_.Top() + kBelowOffset : form_.Top() + box_.Top() - kAboveOffset;
  chooser_->SetBounds(form_.Left() + box_.Left() + kLeftOffset, top, chooser_->Width(), chooser_->Height());
  chooser_->Show();
}

void UserListPanel::Edit2Click() {
  CloseChooser();
  if (KeepOnTop) KeepOnTop();
}

void UserListPanel::CloseChooser() {
  if (chooser_ && chooser_->Visible()) chooser_->Close();
}

void UserListPanel::LeaveRule() {
  if (!chooser_ || !chooser_->Visible()) return;
  const Point p = ctx_.windowing.CursorPos();
  const int l = chooser_->Left();
  const int t = chooser_->Top();
  const int w = chooser_->Width();
  const int h = chooser_->Height();
  const int eh = box_.Height();
  const bool outside = ChooserBelow() ? p.x < l || p.x > l + w || p.y < t - eh || p.y > t + h
                                      : p.x < l || p.x > l + w || p.y < t || p.y > t + h + eh;
  // The band above the chooser is where the box was meant to be; the window's
  // caption and menu bar put the box higher, up to half of it out of the band,
  // and the pointer still where the double click was would close it at once.
  const Rect box = box_.ScreenBounds();
  const bool over_box = p.x >= box.left && p.x < box.right && p.y >= box.top && p.y < box.bottom;
  if (outside && !over_box) CloseChooser();
}

}  // namespace tavlen
