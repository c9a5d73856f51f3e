// The user tree read on the simulated desktop: time and cross-process
// operations per item, for a 64-bit console reading a 64-bit or a 32-bit client.
#include <benchmark/benchmark.h>

#include <string>

#include "tests/support/UserTreeFixture.h"

namespace {

using namespace tavlen;

// A client whose tree holds `nicks` visible users.
struct Client : tavlen::testing::UserTreeFixture {
  Client(int bits, int nicks) : UserTreeFixture(bits) {
    const auto group = tree->Add(0, "Visible Users");
    for (int i = 0; i < nicks; ++i) tree->Add(group, "user" + std::to_string(100000 + i));
  }
};

void TreeRead(benchmark::State& state) {
  const int bits = static_cast<int>(state.range(0));
  const int nicks = static_cast<int>(state.range(1));
  Client c(bits, nicks);
  const auto ops_before = c.memory.Operations() + c.tree->Messages();
  for (auto _ : state) {
    ReadTreeView(c.desktop, &c.memory, c.tree_window, c.user_list, &c.chooser_list);
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
