// Cost of the distribution's pci.ids as a name source: reading the file (about 36,000 lines),
// parsing text already in memory, and the slowest lookups once it is loaded: a device or
// subsystem of the vendor with the most device lines, which is scanned to its end. Skips
// itself when no pci.ids is installed.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "iddb/ids_choice.h"
#include "iddb/lookup.h"
#include "iddb/name_source.h"
#include "iddb/pci_ids_file.h"
#include "iddb/pci_ids_reader.h"

namespace {

std::string SystemText() {
  const std::optional<std::string> path = kelvox::FindSystemIdList();
  if (!path) return {};
  std::ifstream in(*path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void BM_LoadSystemFile(benchmark::State& state) {
  const std::optional<std::string> path = kelvox::FindSystemIdList();
  if (!path) {
    state.SkipWithError("no pci.ids installed");
    return;
  }
  for (auto _ : state) {
    kelvox::PciIdsRead read = kelvox::LoadPciIdsFile(*path);
    benchmark::DoNotOptimize(read.list);
  }
}
BENCHMARK(BM_LoadSystemFile)->Unit(benchmark::kMillisecond);

void BM_ParseInMemory(benchmark::State& state) {
  const std::string text = SystemText();
  if (text.empty()) {
    state.SkipWithError("no pci.ids installed");
    return;
  }
  for (auto _ : state) {
    kelvox::PciIdsRead read = kelvox::ReadPciIds(text, "pci.ids");
    benchmark::DoNotOptimize(read.list);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseInMemory)->Unit(benchmark::kMillisecond);

// The distribution's list read and put in use for the lookups, or a skipped benchmark (and no
// list) when none is installed. The caller puts the embedded list back.
kelvox::PciIdsRead UseSystemList(benchmark::State& state) {
  kelvox::PciIdsRead read = kelvox::ReadPciIds(SystemText(), "pci.ids");
  if (!read.list) {
    state.SkipWithError("no pci.ids installed");
  } else {
    kelvox::UseIdList(read.list);
  }
  return read;
}

// The vendor with the most device lines (Intel, 8086, in the lists of recent years).
const kelvox::PciIdVendor* LargestVendor(const kelvox::PciIdList& list) {
  const kelvox::PciIdVendor* largest = nullptr;
  for (const kelvox::PciIdVendor& vendor : list.vendors) {
    if (!largest ||
        vendor.end_device - vendor.first_device > largest->end_device - largest->first_device) {
      largest = &vendor;
    }
  }
  return largest;
}

// A device ID the largest vendor does not have: every one of its device lines is compared.
void BM_WorstDeviceLookup(benchmark::State& state) {
  const kelvox::PciIdsRead read = UseSystemList(state);
  if (!read.list) return;
  const kelvox::PciIdVendor* vendor = LargestVendor(*read.list);
  state.counters["devices"] = vendor->end_device - vendor->first_device;
  std::string_view chip, description;
  for (auto _ : state) {
    bool found = kelvox::FindDeviceName(vendor->id, 0xFFFF, chip, description);
    benchmark::DoNotOptimize(found);
  }
  kelvox::UseEmbeddedIdList();
}
BENCHMARK(BM_WorstDeviceLookup);

// A subsystem the largest vendor's last device does not have.
void BM_WorstSubsystemLookup(benchmark::State& state) {
  const kelvox::PciIdsRead read = UseSystemList(state);
  if (!read.list) return;
  const kelvox::PciIdVendor* vendor = LargestVendor(*read.list);
  const kelvox::PciIdDevice& last = read.list->devices[vendor->end_device - 1];
  std::string_view name;
  for (auto _ : state) {
    bool found = kelvox::FindSubsystemName(vendor->id, last.id, 0xFFFF, 0xFFFF, name);
    benchmark::DoNotOptimize(found);
  }
  kelvox::UseEmbeddedIdList();
}
BENCHMARK(BM_WorstSubsystemLookup);

void BM_VendorLookup(benchmark::State& state) {
  const kelvox::PciIdsRead read = UseSystemList(state);
  if (!read.list) return;
  std::string_view short_name, full_name;
  for (auto _ : state) {
    bool found = kelvox::FindVendorName(0xFFFE, short_name, full_name);
    benchmark::DoNotOptimize(found);
  }
  kelvox::UseEmbeddedIdList();
}
BENCHMARK(BM_VendorLookup);

}  // namespace
