// The debug log window: one scrolling multi-line box holding the trace lines.
#pragma once

#include "core/DebugLog.h"
#include "kit/Widgets.h"

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
