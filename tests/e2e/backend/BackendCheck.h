// Checks of the Win32 widget backend and popup surface, run under Wine by
// tests/e2e/run-backend.sh. Failures are counted; main prints the marker only
// when there were none.
#pragma once

#include "tests/e2e/smoke/Check.h"

namespace check {
using smoke::Note;
void WidgetsCheck();
void PopupCheck();
}  // namespace check
