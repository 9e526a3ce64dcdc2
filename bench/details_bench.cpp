// How long one opening of the details sheet takes to gather its texts: every header read, the
// seven base address registers sized, and the names looked up. On the simulated bus that is
// the code alone; on this machine's sysfs tree it includes the kernel's file reads.
#include <benchmark/benchmark.h>

#include "config/simulated_bus.h"
#include "details/device_details.h"

namespace kelvox {
namespace {

SimulatedBus NetworkCardBus() {
  SimulatedBus bus;
  const FunctionLocation at{0, 3, 0};
  bus.AddFunction(at);
  bus.SetRegister(at, 0x00, 0x802910ECu);
  bus.SetRegister(at, 0x08, 0x02000001u);
  bus.SetRegister(at, 0x0C, 0x80004008u);
  bus.SetRegister(at, 0x10, 0xE0000008u);
  bus.SetWritableMask(at, 0x10, 0xFFF00000u);
  bus.SetRegister(at, 0x14, 0x0000E001u);
  bus.SetWritableMask(at, 0x14, 0xFFFFFFE0u);
  bus.SetRegister(at, 0x30, 0xFFFC0001u);
  bus.SetWritableMask(at, 0x30, 0xFFFE0001u);
  bus.SetRegister(at, 0x3C, 0x2A01010Bu);
  return bus;
}

void BM_DetailsOnSimulatedBus(benchmark::State& state) {
  SimulatedBus bus = NetworkCardBus();
  for (auto _ : state) benchmark::DoNotOptimize(BuildDeviceDetails(bus, 0, 3, 0));
}
BENCHMARK(BM_DetailsOnSimulatedBus);

void BM_DetailsOfAbsentDevice(benchmark::State& state) {
  SimulatedBus bus;
  for (auto _ : state) benchmark::DoNotOptimize(BuildDeviceDetails(bus, 0, 3, 0));
}
BENCHMARK(BM_DetailsOfAbsentDevice);

}  // namespace
}  // namespace kelvox
