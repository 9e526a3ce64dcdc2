// The cost of one full scan (32 device rows of bus 0, function 0): on a simulated bus, which
// measures the row building alone, and on this machine's sysfs tree, which adds the kernel.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "config/capture/simulated_bus.h"
#include "config/sysfs/sysfs_access.h"
#include "scan/bus_scan.h"

namespace kelvox {
namespace {

// A small bus like a virtual machine's: a host bridge and five devices on function 0.
SimulatedBus SmallBus() {
  SimulatedBus bus;
  const uint32_t ids[][3] = {
      {0x0d578086, 0x06000000, 0x00000000}, {0x10451af4, 0xffff0001, 0x00000000},
      {0x10421af4, 0x01800001, 0x00000000}, {0x10411af4, 0x02000001, 0x00000000},
      {0x10531af4, 0xffff0001, 0x00000000}, {0x10441af4, 0xffff0001, 0x00800000}};
  for (int device = 0; device < 6; ++device) {
    bus.AddFunction({0, device, 0});
    bus.SetRegister({0, device, 0}, 0x00, ids[device][0]);
    bus.SetRegister({0, device, 0}, 0x04, 0x00100406);
    bus.SetRegister({0, device, 0}, 0x08, ids[device][1]);
    bus.SetRegister({0, device, 0}, 0x0C, ids[device][2]);
  }
  return bus;
}

void BM_ScanSimulatedBus(benchmark::State& state) {
  SimulatedBus bus = SmallBus();
  for (auto _ : state) benchmark::DoNotOptimize(ScanBus(bus, 0, 0));
}
BENCHMARK(BM_ScanSimulatedBus);

// Bus 0 of this machine through the kernel: one open and four preads per present device, one
// failed open per absent one.
void BM_ScanSysfs(benchmark::State& state) {
  if (!std::filesystem::is_directory(kSysfsDevicesRoot)) {
    state.SkipWithError("no sysfs PCI tree on this machine");
    return;
  }
  SysfsAccess access;
  int present = 0;
  for (const DeviceRow& row : ScanBus(access, 0, 0)) present += row.vendor_id != 0xFFFF;
  state.counters["present"] = present;
  for (auto _ : state) benchmark::DoNotOptimize(ScanBus(access, 0, 0));
}
BENCHMARK(BM_ScanSysfs);

// The floor under BM_ScanSysfs: the same system calls with nothing around them (one open and
// four preads per present device, one failed open per absent one), so the ratio of the two is
// what the access and the row building add.
void BM_ScanSysfsFloor(benchmark::State& state) {
  if (!std::filesystem::is_directory(kSysfsDevicesRoot)) {
    state.SkipWithError("no sysfs PCI tree on this machine");
    return;
  }
  for (auto _ : state) {
    uint32_t sum = 0;
    for (int device = 0; device < 32; ++device) {
      char path[96];
      std::snprintf(path, sizeof path, "%s/0000:00:%02x.0/config", kSysfsDevicesRoot, device);
      const int fd = open(path, O_RDONLY | O_CLOEXEC);
      if (fd < 0) continue;
      for (int reg = 0; reg < 16; reg += 4) {
        uint32_t dword = 0;
        if (pread(fd, &dword, sizeof dword, reg) == sizeof dword) sum += dword;
      }
      close(fd);
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ScanSysfsFloor);

}  // namespace
}  // namespace kelvox
