// The nick chooser: a borderless list of the room's nicks next to the nick box.
// A double click or Enter on a nick puts it into the box and closes the list.
#pragma once

#include "kit/KTop.h"
#include "kit/Widgets.h"

namespace tavlen {

class TForm4 : public kit::Form {
 public:
  // `target_nick_box`: the main window's nick box; `ktop`: its keep-on-top.
  TForm4(kit::Application& app, kit::Edit& target_nick_box, TKTop& ktop);

  kit::ListBox ListBox1;

  void ListBox1DblClick();
  void ListBox1KeyDown(int key);

 private:
  void Choose();
  kit::Edit& box_;
  TKTop& ktop_;
};

}  // namespace tavlen
