// The topology window's work without the window, on a machine of 256 functions
// (topology/testing/wide_bus.h): reading the bus with its health findings into rows, and one
// filter keystroke.
#include <benchmark/benchmark.h>

#include "topology/testing/wide_bus.h"
#include "topology/topology_model.h"

namespace kelvox {
namespace {

void BM_TopologyRead256(benchmark::State& state) {
  SimulatedBus bus = testing::WideBus();
  topology::TopologyModel model;
  for (auto _ : state) {
    model.Read(bus);
    benchmark::DoNotOptimize(model.rows().data());
  }
  state.counters["functions"] = static_cast<double>(model.rows().size());
}
BENCHMARK(BM_TopologyRead256)->Unit(benchmark::kMillisecond);

void BM_TopologyFilterKeystroke(benchmark::State& state) {
  SimulatedBus bus = testing::WideBus();
  topology::TopologyModel model;
  model.Read(bus);
  const char* filters[] = {"e", "e1", "e10", "e100", "e1000", "e1000e"};
  size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(model.Matching(filters[next++ % 6]));
  }
}
BENCHMARK(BM_TopologyFilterKeystroke)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelvox
