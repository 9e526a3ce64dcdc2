// How long one opening of the details sheet takes to gather its texts: every header read, the
// seven base address registers sized, the names looked up and the system's facts read. On the
// simulated bus that is the code alone; on this machine's sysfs tree it includes the kernel's file
// reads.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>

#include "config/capture/simulated_bus.h"
#include "config/sysfs/sysfs_access.h"
#include "details/device_details.h"
#include "details/function_read.h"
#include "details/testing/sample_card.h"

namespace kelvox {
namespace {

void BM_DetailsOnSimulatedBus(benchmark::State& state) {
  SimulatedBus bus = kelvox::testing::SampleCardBus();
  for (auto _ : state) benchmark::DoNotOptimize(BuildDeviceDetails(bus, 0, 3, 0));
}
BENCHMARK(BM_DetailsOnSimulatedBus);

void BM_DetailsOfAbsentDevice(benchmark::State& state) {
  SimulatedBus bus;
  for (auto _ : state) benchmark::DoNotOptimize(BuildDeviceDetails(bus, 0, 3, 0));
}
BENCHMARK(BM_DetailsOfAbsentDevice);

// The first function of this machine (domain 0, in name order) with at least one decoded
// region, so the sizing answers come from the kernel's resource file.
std::optional<FunctionLocation> FunctionWithRegions() {
  std::set<std::filesystem::path> folders;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(kSysfsDevicesRoot, error)) {
    folders.insert(entry.path());
  }
  for (const std::filesystem::path& folder : folders) {
    unsigned domain, bus, device, function;
    if (std::sscanf(folder.filename().c_str(), "%x:%x:%x.%x", &domain, &bus, &device, &function) !=
            4 ||
        domain != 0) {
      continue;
    }
    std::ifstream resource(folder / "resource");
    std::string start, end, flags;
    while (resource >> start >> end >> flags) {
      if (std::stoull(end, nullptr, 16) != 0) {
        return FunctionLocation{static_cast<int>(bus), static_cast<int>(device),
                                static_cast<int>(function)};
      }
    }
  }
  return std::nullopt;
}

// One details build through the kernel: 13 preads of the config file and, for each of the
// seven sized registers, the resource file read to answer the sizing.
void BM_DetailsOnSysfs(benchmark::State& state) {
  const std::optional<FunctionLocation> at = FunctionWithRegions();
  if (!at) {
    state.SkipWithError("no PCI function with regions under /sys/bus/pci/devices");
    return;
  }
  SysfsAccess access;
  char label[32];
  std::snprintf(label, sizeof label, "%02x:%02x.%x", at->bus, at->device, at->function);
  state.SetLabel(label);
  for (auto _ : state) {
    benchmark::DoNotOptimize(BuildDeviceDetails(access, at->bus, at->device, at->function));
  }
}
BENCHMARK(BM_DetailsOnSysfs);

// What an opening of the sheet gathers now: the same, with the header read once for all of it,
// the space its capabilities lie in, the header decoded and the capabilities (as root all of a
// PCI Express function's 4096 bytes; as a user the header alone).
void BM_WholeSheetOnSysfs(benchmark::State& state) {
  const std::optional<FunctionLocation> at = FunctionWithRegions();
  if (!at) {
    state.SkipWithError("no PCI function with regions under /sys/bus/pci/devices");
    return;
  }
  SysfsAccess access;
  for (auto _ : state) benchmark::DoNotOptimize(ReadFunction(access, *at));
}
BENCHMARK(BM_WholeSheetOnSysfs);

// The part of a details build that reads what the system knows of the function (driver,
// interrupt, link, ...): the small files and links of its folder.
void BM_FactsOnSysfs(benchmark::State& state) {
  const std::optional<FunctionLocation> at = FunctionWithRegions();
  if (!at) {
    state.SkipWithError("no PCI function with regions under /sys/bus/pci/devices");
    return;
  }
  SysfsAccess access;
  for (auto _ : state) benchmark::DoNotOptimize(access.Facts(*at));
}
BENCHMARK(BM_FactsOnSysfs);

}  // namespace
}  // namespace kelvox
