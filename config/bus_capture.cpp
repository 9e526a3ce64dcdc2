#include "config/bus_capture.h"

#include <cstdio>

#include "config/present_functions.h"
#include "config/sysfs_access.h"

namespace kelvox {

namespace {

// The registers a capture holds: the header every command reads.
constexpr int kHeaderBytes = 64;
// The registers that may be sized: base address registers up to the ROM of a bridge.
constexpr int kFirstSized = 0x10;
constexpr int kLastSized = 0x3C;

// What `access` reads back from `reg` after all ones are written, with the register restored.
uint32_t SizingReadBack(ConfigAccess& access, FunctionLocation at, int reg) {
  const uint32_t saved = access.Read(at.bus, at.device, at.function, reg);
  access.Write(at.bus, at.device, at.function, reg, kAllOnes);
  const uint32_t readback = access.Read(at.bus, at.device, at.function, reg);
  access.Write(at.bus, at.device, at.function, reg, saved);
  return readback;
}

std::string Mismatch(FunctionLocation at, int reg, uint32_t live, uint32_t captured) {
  char line[128];
  std::snprintf(line, sizeof line,
                "%02x:%02x.%x register %02x: sizing reads back %08x live but %08x from the "
                "capture",
                at.bus, at.device, at.function, reg, live, captured);
  return line;
}

BusCapture CaptureSysfs(SysfsAccess& sysfs, std::optional<int> bus) {
  BusCapture capture;
  capture.bus.emplace();
  for (const FunctionLocation& at : PresentFunctions(sysfs, bus)) {
    std::vector<uint8_t> bytes;
    bytes.reserve(kHeaderBytes);
    for (int reg = 0; reg < kHeaderBytes; reg += 4) {
      const uint32_t value = sysfs.Read(at.bus, at.device, at.function, reg);
      for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
    std::vector<std::pair<int, uint32_t>> masks;
    bool gone = false;
    for (int reg = kFirstSized; reg <= kLastSized && !gone; reg += 4) {
      const std::optional<uint32_t> mask = sysfs.SizingMask(at, reg);
      gone = !mask;
      if (mask && *mask != 0) masks.emplace_back(reg, *mask);
    }
    if (gone) continue;  // the function went away while it was read
    capture.bus->AddFunction(at, bytes);
    for (const auto& [reg, mask] : masks) capture.bus->SetWritableMask(at, reg, mask);
    for (int reg = kFirstSized; reg <= kLastSized; reg += 4) {
      const uint32_t live = SizingReadBack(sysfs, at, reg);
      const uint32_t captured = SizingReadBack(*capture.bus, at, reg);
      if (live != captured) capture.mismatches.push_back(Mismatch(at, reg, live, captured));
    }
  }
  return capture;
}

BusCapture CopySimulated(const SimulatedBus& source, std::optional<int> bus) {
  BusCapture capture;
  capture.bus.emplace();
  for (const FunctionLocation& at : source.Locations()) {
    if (bus && at.bus != (*bus & 0xFF)) continue;
    capture.bus->AddFunction(at) = *source.Find(at);
  }
  return capture;
}

}  // namespace

BusCapture CaptureBus(ConfigAccess& access, std::optional<int> bus) {
  if (auto* sysfs = dynamic_cast<SysfsAccess*>(&access)) return CaptureSysfs(*sysfs, bus);
  if (auto* simulated = dynamic_cast<SimulatedBus*>(&access)) return CopySimulated(*simulated, bus);
  BusCapture refused;
  refused.error = access.Name() +
                  ": cannot capture: learning base address sizes here means writing all ones "
                  "into the devices' registers (capture reads sysfs or a captured file)";
  return refused;
}

}  // namespace kelvox
