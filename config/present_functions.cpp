#include "config/present_functions.h"

#include <algorithm>

#include "config/sysfs_access.h"

namespace kelvox {

namespace {

constexpr uint32_t kNoVendor = 0xFFFF;
constexpr uint32_t kMultiFunctionBit = 0x00800000;  // header type bit 7, in register 0x0C

bool IsThere(ConfigAccess& access, FunctionLocation at) {
  return (access.Read(at.bus, at.device, at.function, 0x00) & 0xFFFF) != kNoVendor;
}

}  // namespace

std::vector<FunctionLocation> ProbeFunctions(ConfigAccess& access, int first_bus, int last_bus) {
  std::vector<FunctionLocation> found;
  for (int bus = first_bus; bus <= last_bus; ++bus) {
    for (int device = 0; device < 32; ++device) {
      if (!IsThere(access, {bus, device, 0})) continue;
      found.push_back({bus, device, 0});
      if ((access.Read(bus, device, 0, 0x0C) & kMultiFunctionBit) == 0) continue;
      for (int function = 1; function < 8; ++function) {
        if (IsThere(access, {bus, device, function})) found.push_back({bus, device, function});
      }
    }
  }
  return found;
}

std::vector<FunctionLocation> PresentFunctions(ConfigAccess& access, std::optional<int> bus) {
  std::vector<FunctionLocation> found;
  if (auto* sysfs = dynamic_cast<SysfsAccess*>(&access)) {
    found = sysfs->ListFunctions();
  } else if (auto* simulated = dynamic_cast<SimulatedBus*>(&access)) {
    found = simulated->Locations();
  } else {
    return bus ? ProbeFunctions(access, *bus & 0xFF, *bus & 0xFF) : ProbeFunctions(access, 0, 255);
  }
  if (bus) {
    std::erase_if(found, [b = *bus & 0xFF](const FunctionLocation& at) { return at.bus != b; });
  }
  return found;
}

}  // namespace kelvox
