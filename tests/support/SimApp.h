// A widget application with one form on a bare simulated desktop, for tests of
// widgets and the parts that fill them, without a console.
#pragma once

#include <string>

#include "kit/Application.h"
#include "kit/Widgets.h"
#include "platform/sim/SimBackend.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimDesktop.h"

namespace tavlen::testing {

struct SimApp {
  SimApp(std::string form_class, std::string caption) : form(app, std::move(form_class), std::move(caption)) {}

  sim::SimDesktop desktop;
  sim::SimClock clock;
  sim::SimBackend backend{desktop};
  kit::Application app{clock, backend};
  kit::Form form;
};

}  // namespace tavlen::testing
