#include "ui/Unit10.h"

#include "base/Text.h"

namespace tavlen {

TForm10::TForm10(kit::Application& app, DebugLog& log)
    : kit::Form(app, "TForm10", ansi("Déboguage ...")), Memo1(this, "Memo1"), log_(log) {
  SetClientSize(420, 300);
  Position = kit::FormPosition::kScreenCenter;
  Memo1.SetBounds(0, 0, 420, 300);
  Memo1.ReadOnly = true;
  Memo1.ScrollBars = true;
  Memo1.WordWrap = false;
  log.Attach(Memo1);
}

TForm10::~TForm10() { log_.Detach(); }

}  // namespace tavlen
