// The user tree read on the simulated desktop: time and cross-process
// operations per item, for a 64-bit console reading a 64-bit or a 32-bit client.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "userlist/UserListSync.h"
#include "kit/Widgets.h"
#include "backends/sim/SimBackend.h"
#include "backends/sim/SimClock.h"
#include "backends/sim/SimDesktop.h"
#include "backends/sim/SimProcessMemory.h"
#include "backends/sim/SimTreeView.h"

namespace {

using namespace tavlen;

struct Client {
  explicit Client(int bits, int nicks) {
    process = desktop.NewProcess();
    memory.AddProcess(process, bits);
    const Hwnd room = desktop.CreateTopLevel("CamfrogRoom", "salon : Video Chat Room", process);
    window = desktop.CreateChild(room, "SysTreeView32", "");
    tree = std::make_unique<sim::SimTreeView>(desktop, memory, window);
    const auto group = tree->Add(0, "Visible Users");
    for (int i = 0; i < nicks; ++i) tree->Add(group, "user" + std::to_string(100000 + i));
  }
  sim::SimDesktop desktop;
  sim::SimClock clock;
  sim::SimBackend backend{desktop};
  kit::Application app{clock, backend};
  kit::Form form{app, "TForm1", "Tavlen"};
  kit::ListBox user_list{&form, "ListBox1"};
  kit::ListBox chooser_list{&form, "ChooserList"};
  sim::SimProcessMemory memory;
  std::uint32_t process = 0;
  Hwnd window = kNoWindow;
  std::unique_ptr<sim::SimTreeView> tree;
};

void TreeRead(benchmark::State& state) {
  const int bits = static_cast<int>(state.range(0));
  const int nicks = static_cast<int>(state.range(1));
  Client c(bits, nicks);
  const auto ops_before = c.memory.Operations() + c.tree->Messages();
  for (auto _ : state) {
    ReadTreeView(c.desktop, &c.memory, c.window, c.user_list, &c.chooser_list);
    benchmark::DoNotOptimize(c.user_list.Count());
  }
  if (c.user_list.Count() != nicks) state.SkipWithError("the tree was not read whole");
  const double items = static_cast<double>(state.iterations()) * (nicks + 1);
  state.SetItemsProcessed(static_cast<std::int64_t>(items));
  state.counters["ops_per_item"] =
      static_cast<double>(c.memory.Operations() + c.tree->Messages() - ops_before) / items;
  // Seconds per million items: microseconds per item.
  state.counters["us_per_item"] =
      benchmark::Counter(items / 1e6, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(TreeRead)->ArgNames({"client_bits", "nicks"})->Args({64, 50})->Args({64, 500})->Args({32, 500});
