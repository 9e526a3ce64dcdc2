// The cost of listing every present function of this machine's sysfs tree as `kelvox-cli
// list` does (the folder listing, then registers 0x00 and 0x08 and the names of each function),
// of probing all 256 buses on a backend that cannot list, and of one capture with its sizing
// masks.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "cli/function_list.h"
#include "config/bus_capture.h"
#include "config/capture/simulated_bus.h"
#include "config/sysfs/sysfs_access.h"

namespace kelvox {
namespace {

bool HaveSysfs(benchmark::State& state) {
  if (std::filesystem::is_directory(kSysfsDevicesRoot)) return true;
  state.SkipWithError("no sysfs PCI tree on this machine");
  return false;
}

void BM_ListSysfs(benchmark::State& state) {
  if (!HaveSysfs(state)) return;
  SysfsAccess access;
  size_t functions = 0;
  for (auto _ : state) {
    const std::vector<FunctionLocation> present = access.ListFunctions(std::nullopt).present;
    for (const FunctionLocation& at : present) {
      benchmark::DoNotOptimize(cli::DescribeFunction(access, at));
    }
    functions = present.size();
  }
  state.counters["functions"] = static_cast<double>(functions);
}
BENCHMARK(BM_ListSysfs);

// A backend that reads through a simulated bus without being one, so it is probed.
class Probed final : public ConfigAccess {
 public:
  explicit Probed(SimulatedBus& bus) : bus_(bus) {}
  uint32_t Read(int b, int d, int f, int r) override { return bus_.Read(b, d, f, r); }
  void Write(int b, int d, int f, int r, uint32_t v) override { bus_.Write(b, d, f, r, v); }
  std::string Name() const override { return "probed"; }

 private:
  SimulatedBus& bus_;
};

void BM_ProbeAllBuses(benchmark::State& state) {
  SimulatedBus bus;
  for (int device = 0; device < 6; ++device) {
    bus.AddFunction({0, device, 0});
    bus.SetRegister({0, device, 0}, 0x00, 0x10001AF4u);
  }
  Probed probed(bus);
  for (auto _ : state) benchmark::DoNotOptimize(ProbeFunctions(probed, 0, 255));
}
BENCHMARK(BM_ProbeAllBuses);

void BM_CaptureSysfs(benchmark::State& state) {
  if (!HaveSysfs(state)) return;
  SysfsAccess access;
  for (auto _ : state) benchmark::DoNotOptimize(CaptureBus(access));
}
BENCHMARK(BM_CaptureSysfs);

}  // namespace
}  // namespace kelvox
