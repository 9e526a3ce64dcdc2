// The cost of reading a captured bus back: this machine's kind of capture (six functions with
// their masks) and a full bus of 65,536 functions, each as `kelvox-cli capture` writes it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "config/capture/capture_text.h"
#include "config/capture/simulated_bus.h"

namespace kelvox {
namespace {

// `functions` functions in bus, device, function order, each with its 64 header bytes and a
// mask line, as the capture writer formats them.
std::string CaptureText(int functions) {
  SimulatedBus bus;
  for (int i = 0; i < functions; ++i) {
    const FunctionLocation at{i >> 8, (i >> 3) & 0x1F, i & 7};
    bus.AddFunction(at);
    bus.SetRegister(at, 0x00, 0x10001AF4u);
    bus.SetRegister(at, 0x08, 0x02000001u);
    bus.SetRegister(at, 0x10, 0xFEB00000u);
    bus.SetWritableMask(at, 0x10, 0xFFFFF000u);
  }
  return FormatSimulatedBus(bus);
}

void BM_ReadCapture(benchmark::State& state) {
  const std::string text = CaptureText(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ParseSimulatedBus(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["functions"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ReadCapture)->Arg(6)->Arg(32768)->Arg(65536)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvox
