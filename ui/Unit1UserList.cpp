// The main window's user list panel, nick chooser events and nick completion.
#include "ui/Unit1.h"

namespace tavlen {

void TForm1::SetupUserList() {
  users.KeepOnTop = [this] {
    if (KTop1) KTop1->SetKTop(true);
  };
  users.ListBox1.OnClick = [this] { ListBox1Click(); };
  panel.Edit2.OnClick = [this] { Edit2Click(); };
  panel.Edit2.OnDblClick = [this] { Edit2DblClick(); };
  panel.Label9.OnMouseMove = [this](int x, int y) { Label9MouseMove(x, y); };
  OnActivate = [this] { FormActivate(); };
  OnMouseMove = [this](int x, int y) { FormMouseMove(x, y); };
  OnFrameMouseMove = [this] { spDynamicSkinForm1MouseMoveEvent(); };
}

void TForm1::Timer4Timer() { users.Timer4Timer(); }

void TForm1::ListBox1Click() { users.ListBox1Click(); }

void TForm1::Edit2Click() { users.Edit2Click(); }

void TForm1::Edit2DblClick() { users.Edit2DblClick(); }

// The chooser closes whenever the main window takes the mouse or the focus.
void TForm1::FormActivate() { users.CloseChooser(); }

void TForm1::FormMouseMove(int, int) { users.CloseChooser(); }

void TForm1::Label9MouseMove(int, int) { users.CloseChooser(); }

void TForm1::spDynamicSkinForm1MouseMoveEvent() { users.CloseChooser(); }

}  // namespace tavlen
