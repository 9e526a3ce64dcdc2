#include "config/bus_capture.h"

#include <cstdio>

namespace kelvox {

namespace {

// The registers that may be sized: base address registers up to the ROM register of a bridge.
constexpr int kFirstSized = 0x10;
constexpr int kLastSized = 0x3C;

// What `access` reads back from `reg` after all ones are written, with the register restored.
// Only ever run on backends whose writes reach no device.
uint32_t ReadBackAfterAllOnes(ConfigAccess& access, FunctionLocation at, int reg) {
  const uint32_t saved = access.Read(at.bus, at.device, at.function, reg);
  access.Write(at.bus, at.device, at.function, reg, kAllOnes);
  const uint32_t readback = access.Read(at.bus, at.device, at.function, reg);
  access.Write(at.bus, at.device, at.function, reg, saved);
  return readback;
}

std::string Mismatch(FunctionLocation at, int reg, uint32_t live, uint32_t captured) {
  char line[128];
  std::snprintf(line, sizeof line,
                "%s register %02x: sizing reads back %08x live but %08x from the capture",
                AddressText(at).c_str(), reg, live, captured);
  return line;
}

// Every byte of the function's space the backend can read, or nothing when it reads as absent:
// 64, 128, 256 or 4096 bytes, as the capture then holds them.
std::optional<std::vector<uint8_t>> SpaceBytes(ConfigAccess& access, FunctionLocation at) {
  FunctionSpace space = access.ReadSpace(at);
  if (space.bytes.size() < static_cast<size_t>(kHeaderBytes)) return std::nullopt;
  const int size = SpaceSizeHolding(static_cast<int>(space.bytes.size()) - 1);
  space.bytes.resize(static_cast<size_t>(size));
  return std::move(space.bytes);
}

}  // namespace

BusCapture CaptureBus(ConfigAccess& access, std::optional<int> bus,
                      const std::function<bool(FunctionLocation)>& chosen) {
  BusCapture capture;
  if (!access.SizesWithoutWriting()) {
    capture.error = access.Name() +
                    ": cannot capture: learning base address sizes here means writing all ones "
                    "into the devices' registers (capture reads sysfs or a captured file)";
    return capture;
  }
  FunctionListing listing = ListEveryDomain(access, bus);
  capture.warnings = std::move(listing.skipped);
  capture.bus.emplace();
  for (const FunctionLocation& at : listing.present) {
    const DomainScope in_domain(access, at.domain);
    if (chosen && !chosen(at)) continue;
    const std::optional<HeaderSizing> sizing = access.SizingWithoutWriting(at);
    const std::optional<std::vector<uint8_t>> bytes =
        sizing ? SpaceBytes(access, at) : std::nullopt;
    if (!bytes) {
      capture.warnings.push_back(access.Name() + ": " + AddressText(at) +
                                 ": skipped: it went away while it was read");
      continue;
    }
    if (!sizing->problem.empty()) capture.warnings.push_back(sizing->problem);
    capture.bus->AddFunction(at, *bytes).Resize(static_cast<int>(bytes->size()));
    for (int i = 0; i < kHeaderRegisters; ++i) {
      if (sizing->writable[i] != 0) capture.bus->SetWritableMask(at, 4 * i, sizing->writable[i]);
    }
    if (const std::optional<FunctionFacts> facts = access.Facts(at)) {
      capture.bus->SetFacts(at, *facts);
    }
    const DomainScope captured_domain(*capture.bus, at.domain);
    for (int reg = kFirstSized; reg <= kLastSized; reg += 4) {
      const uint32_t live = ReadBackAfterAllOnes(access, at, reg);
      const uint32_t captured = ReadBackAfterAllOnes(*capture.bus, at, reg);
      if (live != captured) capture.warnings.push_back(Mismatch(at, reg, live, captured));
    }
  }
  return capture;
}

}  // namespace kelvox
