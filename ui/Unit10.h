// The debug log window: one scrolling multi-line box holding the trace lines.
#pragma once

#include "kit/Widgets.h"
#include "state/DebugLog.h"

namespace tavlen {

class TForm10 : public kit::Form {
 public:
  TForm10(kit::Application& app, DebugLog& log);
  ~TForm10() override;
  kit::Memo Memo1;

 private:
  DebugLog& log_;
};

}  // namespace tavlen
