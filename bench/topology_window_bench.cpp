// The topology window itself on a machine of 256 functions (topology/testing/wide_bus.h), on
// the display DISPLAY names: opening it (the bus read, the tree filled) and one filter keystroke
// (the tree filled again with what the filter keeps).
#include <wx/app.h>
#include <wx/init.h>

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "topology/testing/wide_bus.h"
#include "ui/topology_window.h"

namespace kelvox {
namespace {

class BenchApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

}  // namespace
}  // namespace kelvox

wxIMPLEMENT_APP_NO_MAIN(kelvox::BenchApp);

namespace kelvox {
namespace {

// wx started once for every benchmark; false without a display.
bool StartWx() {
  static const bool started = [] {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') return false;
    static int argc = 1;
    static char name[] = "topology_window_bench";
    static char* argv[] = {name, nullptr};
    return wxEntryStart(argc, argv) && wxTheApp->CallOnInit();
  }();
  return started;
}

void BM_TopologyWindowOpen256(benchmark::State& state) {
  if (!StartWx()) {
    state.SkipWithError("no display");
    return;
  }
  SimulatedBus bus = testing::WideBus();
  for (auto _ : state) {
    auto* window = new TopologyWindow(nullptr, bus);
    window->Show();
    window->Update();
    state.PauseTiming();
    window->Destroy();
    wxTheApp->ProcessIdle();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_TopologyWindowOpen256)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_TopologyWindowFilterKeystroke(benchmark::State& state) {
  if (!StartWx()) {
    state.SkipWithError("no display");
    return;
  }
  SimulatedBus bus = testing::WideBus();
  auto* window = new TopologyWindow(nullptr, bus);
  window->Show();
  const char* filters[] = {"e", "e1", "e10", "e100", "e1000", "e1000e", "nvme", ""};
  size_t next = 0;
  for (auto _ : state) {
    window->ApplyFilter(filters[next++ % 8]);
    window->Update();
  }
  window->Destroy();
  wxTheApp->ProcessIdle();
}
BENCHMARK(BM_TopologyWindowFilterKeystroke)->Unit(benchmark::kMillisecond)->Iterations(40);

}  // namespace
}  // namespace kelvox
