// How long decoding a function's capabilities takes once its bytes are read: a 4096-byte PCI
// Express function with Power Management, MSI, MSI-X and the PCI Express capability in its
// standard list and a chain of extended capabilities, and this machine's virtio functions as
// the kernel gives them (when they can be read).
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "caps/capability_list.h"

namespace kelvox {
namespace {

void Put(std::vector<uint8_t>& bytes, int at, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

std::vector<uint8_t> ExpressFunction() {
  std::vector<uint8_t> b(4096);
  Put(b, 0x00, 0x15B38086, 4);
  Put(b, 0x06, 0x0010, 2);
  Put(b, 0x34, 0x40, 1);
  Put(b, 0x40, 0x5001, 2);  // Power Management, then 0x50
  Put(b, 0x42, 0xC803, 2);
  Put(b, 0x50, 0x7005, 2);  // MSI, then 0x70
  Put(b, 0x52, 0x0187, 2);
  Put(b, 0x70, 0xA011, 2);  // MSI-X, then 0xa0
  Put(b, 0x72, 0x803F, 2);
  Put(b, 0xA0, 0x0010, 2);  // PCI Express, last
  Put(b, 0xA2, 0x0002, 2);  // v2 endpoint
  Put(b, 0xA4, 0x10008FC2, 4);
  Put(b, 0xAC, 0x0047F443, 4);  // 8GT/s x4
  Put(b, 0xB2, 0x1043, 2);
  Put(b, 0xCC, 0x0000000E, 4);
  for (int i = 0; i < 16; ++i) {  // sixteen extended capabilities, 0x40 apart
    const int at = 0x100 + 0x40 * i;
    Put(b, at,
        static_cast<uint32_t>(1 + i % 0x30) | 1u << 16 |
            (i < 15 ? static_cast<uint32_t>(at + 0x40) << 20 : 0),
        4);
  }
  return b;
}

void BM_DecodeExpressFunction(benchmark::State& state) {
  const ConfigSpace space(ExpressFunction());
  for (auto _ : state) benchmark::DoNotOptimize(DecodeCapabilities(space));
}
BENCHMARK(BM_DecodeExpressFunction);

void BM_DecodeThisMachinesVirtioNetwork(benchmark::State& state) {
  std::ifstream in("/sys/bus/pci/devices/0000:00:03.0/config", std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  if (bytes.size() < 256) {
    state.SkipWithError("no readable 0000:00:03.0 (not this machine, or no root)");
    return;
  }
  const ConfigSpace space(bytes);
  for (auto _ : state) benchmark::DoNotOptimize(DecodeCapabilities(space));
}
BENCHMARK(BM_DecodeThisMachinesVirtioNetwork);

}  // namespace
}  // namespace kelvox
