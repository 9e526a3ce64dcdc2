#include "config/access.h"

#include <algorithm>

#include "config/header_type.h"
#include "config/space_limits.h"

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
  for (FunctionLocation& at : listing.present) at.domain = selected_domain_;
  return listing;
}

bool ConfigAccess::SelectDomain(int domain) {
  const auto known = [this, domain] {
    return std::find(domains_seen_.begin(), domains_seen_.end(), domain) != domains_seen_.end();
  };
  // The domains are listed again only for one not seen before (a domain hot-plugged since), so
  // switching back and forth between domains, once per function, lists them once.
  if (domain != 0 && !known()) {
    domains_seen_ = Domains();
    if (!known()) return false;
  }
  selected_domain_ = domain;
  return true;
}

FunctionListing ListEveryDomain(ConfigAccess& access, std::optional<int> bus) {
  FunctionListing every;
  for (int domain : access.Domains()) {
    DomainScope scope(access, domain);
    FunctionListing one = access.ListFunctions(bus);
    for (FunctionLocation& at : one.present) at.domain = domain;
    every.present.insert(every.present.end(), one.present.begin(), one.present.end());
    every.skipped.insert(every.skipped.end(), one.skipped.begin(), one.skipped.end());
    every.unplaced.insert(every.unplaced.end(), one.unplaced.begin(), one.unplaced.end());
  }
  return every;
}

bool NeedsDomains(const std::vector<FunctionLocation>& functions) {
  return std::any_of(functions.begin(), functions.end(),
                     [](FunctionLocation at) { return at.domain != 0; });
}

std::optional<HeaderSizing> ConfigAccess::SizingWithoutWriting(FunctionLocation) {
  return std::nullopt;
}

std::optional<FunctionFacts> ConfigAccess::Facts(FunctionLocation) { return std::nullopt; }

FunctionSpace ReadRegisters(ConfigAccess& access, FunctionLocation at, int start, int end,
                            int readable) {
  const DomainScope in_domain(access, at.domain);
  FunctionSpace space;
  if ((access.Read(at.bus, at.device, at.function, 0x00) & 0xFFFF) == 0xFFFF) return space;
  for (int offset = std::max(start, 0); offset < std::min(end, readable); ++offset) {
    const uint32_t value = access.Read(at.bus, at.device, at.function, offset & ~3);
    space.bytes.push_back(static_cast<uint8_t>(value >> (8 * (offset & 3))));
  }
  return space;
}

FunctionSpace ConfigAccess::ReadSpace(FunctionLocation at, int start, int end) {
  FunctionSpace space = ReadRegisters(*this, at, start, end, kHeaderBytes);
  if (end > kHeaderBytes) space.limit = kHeaderOnlyMethodText;
  return space;
}

uint32_t KeptRegisters::Register(int reg) const {
  switch (reg & 0xFC) {
    case 0x00:
      return reg00;
    case 0x08:
      return reg08;
    case 0x0C:
      return reg0c;
    case 0x18:
      return reg18;
    case 0x2C:
      return reg2c;
    default:
      return kAllOnes;
  }
}

}  // namespace kelvox
