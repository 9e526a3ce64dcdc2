// Cost of the embedded PCI ID lookups and the hexadecimal parser: the work the search window
// does on each keystroke and the details sheet on each device.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "iddb/lookup.h"
#include "iddb/parse_hex.h"
#include "text/cp932.h"

namespace {

// The last vendor row: the longest successful vendor scan.
void BM_FindVendorName_LastRow(benchmark::State& state) {
  std::string_view short_name, full_name;
  for (auto _ : state) {
    bool found = kelvox::FindVendorName(0xFA57, short_name, full_name);
    benchmark::DoNotOptimize(found);
    benchmark::DoNotOptimize(full_name);
  }
}
BENCHMARK(BM_FindVendorName_LastRow);

// A pair no row holds: a full scan of the device table.
void BM_FindDeviceName_Miss(benchmark::State& state) {
  std::string_view chip, description;
  for (auto _ : state) {
    bool found = kelvox::FindDeviceName(0x10DE, 0xFFFF, chip, description);
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_FindDeviceName_Miss);

// The class walk always visits every row.
void BM_FindClassNames(benchmark::State& state) {
  std::string_view base, sub, prog_if;
  for (auto _ : state) {
    kelvox::FindClassNames(0x01, 0x06, 0x01, base, sub, prog_if);
    benchmark::DoNotOptimize(prog_if);
  }
}
BENCHMARK(BM_FindClassNames);

void BM_ParseHex_SixDigits(benchmark::State& state) {
  const char* text = "010601";
  for (auto _ : state) {
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(kelvox::ParseHex(text, 6));
  }
}
BENCHMARK(BM_ParseHex_SixDigits);

// The worst keystroke of the search window: both ID fields converted to CP932 and parsed, the
// vendor found at the end of its table and the device missed after a full scan, and a
// six-digit class code named.
void BM_Keystroke_WorstCase(benchmark::State& state) {
  const std::string vendor_text = "fa57";
  const std::string device_text = "ffff";
  const std::string class_text = "010601";
  std::string_view short_name, full_name, chip, description, base, sub, prog_if;
  for (auto _ : state) {
    const std::string vendor = kelvox::Utf8ToCp932Lossy(vendor_text);
    const std::string device = kelvox::Utf8ToCp932Lossy(device_text);
    const std::string code = kelvox::Utf8ToCp932Lossy(class_text);
    const std::int32_t vendor_id = kelvox::ParseHex(vendor.c_str(), 4);
    const std::int32_t device_id = kelvox::ParseHex(device.c_str(), 4);
    const std::int32_t class_code = kelvox::ParseHex(code.c_str(), 6);
    benchmark::DoNotOptimize(kelvox::FindVendorName(vendor_id, short_name, full_name));
    benchmark::DoNotOptimize(kelvox::FindDeviceName(vendor_id, device_id, chip, description));
    kelvox::FindClassNames(class_code >> 16, class_code >> 8, class_code, base, sub, prog_if);
    benchmark::DoNotOptimize(prog_if);
  }
}
BENCHMARK(BM_Keystroke_WorstCase);

}  // namespace
