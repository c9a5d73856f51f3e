#include "ui/Unit4.h"

#include "base/Text.h"

namespace tavlen {

namespace {
constexpr int kEnter = 13;
constexpr int kChosenPauseMs = 100;
}  // namespace

TForm4::TForm4(kit::Application& app, kit::Edit& target_nick_box, TKTop& ktop)
    : kit::Form(app, "TForm4", ansi("Choix du pseudo")), ListBox1(this, "ListBox1"), box_(target_nick_box), ktop_(ktop) {
  Border = kit::BorderStyle::kNone;
  SetStayOnTop(true);
  SetClientSize(153, 380);
  ListBox1.SetBounds(0, 0, 153, 380);
  ListBox1.ItemHeight = 16;
  ListBox1.Sorted = true;
  ListBox1.OnDblClick = [this] { ListBox1DblClick(); };
  ListBox1.OnKeyDown = [this](int key) { ListBox1KeyDown(key); };
}

void TForm4::Choose() {
  // Nothing selected: reading entry -1 fails and nothing changes.
  box_.SetText(ListBox1.Item(ListBox1.ItemIndex()));
}

void TForm4::ListBox1DblClick() {
  Choose();
  App().GetClock().Sleep(kChosenPauseMs);
  Close();
  ktop_.SetKTop(true);
}

void TForm4::ListBox1KeyDown(int key) {
  if (key != kEnter) return;
  Choose();
  Close();
  ktop_.SetKTop(true);
}

}  // namespace tavlen
