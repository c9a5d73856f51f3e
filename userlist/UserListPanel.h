// The user list panel of the main window: the room's nicks (`UserList`), the
// user count and kick counters, the application title, the rights request after
// a room change, and the nick chooser that pops up next to the target nick box.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bridge/RoomContext.h"
#include "bridge/RoomLine.h"
#include "kit/Widgets.h"
#include "platform/Background.h"
#include "platform/ProcessMemory.h"
#include "userlist/TreeViewReader.h"

namespace tavlen {

class UserListPanel {
 public:
  // `target_nick_box`: the nick every moderation command acts on; `order`: the
  // platform's list order, which the list, the chooser and completion share.
  UserListPanel(kit::Form& form, RoomContext& ctx, RoomLine& line, ProcessMemory* memory, Background* background,
                kit::Edit& target_nick_box, const Collation& order);
  ~UserListPanel();

  kit::ListBox ListBox1;  // UserList
  kit::Label Label1;      // user count
  kit::Label Label2;      // kick counters
  // The texts read from the user tree at the last tick.
  std::vector<std::string> TreeItemTexts;
  // Switches the main window's keep-on-top on again.
  std::function<void()> KeepOnTop;

  // The nick chooser window and its list, created after the main window.
  void AttachChooser(kit::Form& chooser, kit::ListBox& chooser_list);
  kit::Form* Chooser() const { return chooser_; }

  // Reads the room's user tree into the lists (750 ms), while a room window is there.
  // The read runs in the background when there is a runner; the lists, counts
  // and title change when it is done.
  kit::Timer Timer4;
  void Timer4Timer();
  // A "/setopt" submission made outside the tick (at start-up): `submitted` is
  // whether it reached the room.
  void NoteSetopt(bool submitted) { setopt_submitted_ = submitted; }

  void ListBox1Click();
  // Double click in the target nick box: opens the chooser next to it.
  void Edit2DblClick();
  // Single click in the target nick box: closes the chooser.
  void Edit2Click();
  // Closes the chooser without a choice (closing a hidden one does nothing).
  void CloseChooser();
  // Every 10 ms: closes the chooser once the mouse has left it and the box.
  void LeaveRule();
  // Whether the chooser opens below the box (the main window is high enough).
  bool ChooserBelow() const;

 private:
  kit::Form& form_;
  RoomContext& ctx_;
  RoomLine& line_;
  // The lists, counts and title from the texts a read found, and the rights
  // request a new room needs.
  void ShowUsers(std::vector<std::string> texts, TreeReadEnd end);

  ProcessMemory* memory_;
  Background* background_;
  // A read is under way in the background: ticks meanwhile start none.
  bool reading_ = false;
  // Cleared when the panel goes: a completion still queued then does nothing.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  kit::Edit& box_;
  kit::Form* chooser_ = nullptr;
  kit::ListBox* chooser_list_ = nullptr;
  // A "/setopt" reached the room since start-up or the last room change.
  bool setopt_submitted_ = false;
};

}  // namespace tavlen
