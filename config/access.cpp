#include "config/access.h"

#include "config/header_type.h"

namespace kelvox {

namespace {

constexpr uint32_t kNoVendor = 0xFFFF;

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
      if (!IsMultiFunction(access.Read(bus, device, 0, kHeaderTypeRegister))) continue;
      for (int function = 1; function < 8; ++function) {
        if (IsThere(access, {bus, device, function})) found.push_back({bus, device, function});
      }
    }
  }
  return found;
}

FunctionListing ConfigAccess::ListFunctions(std::optional<int> bus) {
  FunctionListing listing;
  listing.present =
      bus ? ProbeFunctions(*this, *bus & 0xFF, *bus & 0xFF) : ProbeFunctions(*this, 0, 255);
  return listing;
}

std::optional<HeaderSizing> ConfigAccess::SizingWithoutWriting(FunctionLocation) {
  return std::nullopt;
}

std::optional<FunctionFacts> ConfigAccess::Facts(FunctionLocation) { return std::nullopt; }

}  // namespace kelvox
