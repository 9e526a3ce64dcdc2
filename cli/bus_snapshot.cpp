#include "cli/bus_snapshot.h"

#include <cstdio>

#include "caps/cap_field.h"
#include "caps/capability_list.h"
#include "caps/header_fields.h"
#include "caps/space_reader.h"
#include "cli/link_reading.h"
#include "decode/base_address.h"

namespace kelvox::cli {

namespace {

// The link's text, "" where neither its speed nor its width is known.
std::string KnownLinkText(double speed, int width) {
  return speed <= 0 && width <= 0 ? "" : health::LinkText(speed, width);
}

const std::string* Find(const FunctionSnapshot& snapshot, const std::string& field) {
  for (const auto& [name, value] : snapshot) {
    if (name == field) return &value;
  }
  return nullptr;
}

std::string What(const FunctionSnapshot& snapshot) {
  const std::string* ids = Find(snapshot, "ids");
  const std::string* code = Find(snapshot, "class");
  return (ids ? *ids : "?") + " " + (code ? *code : "?");
}

// A function asleep in D3cold, from what the system keeps of it: reading it would wake it.
FunctionSnapshot SleepingSnapshot(ConfigAccess& access, FunctionLocation at,
                                  const KeptRegisters& kept) {
  FunctionSnapshot snapshot;
  snapshot.emplace_back("ids", Hex(kept.reg00 & 0xFFFF, 4) + ":" + Hex(kept.reg00 >> 16, 4));
  snapshot.emplace_back("class", Hex(kept.reg08 >> 8, 6));
  snapshot.emplace_back("revision", Hex(kept.reg08 & 0xFF, 2));
  if (const std::optional<FunctionFacts> facts = access.Facts(at); facts && facts->driver) {
    snapshot.emplace_back("driver", facts->driver->empty() ? "(none)" : *facts->driver);
  }
  return snapshot;
}

FunctionSnapshot Snapshot(ConfigAccess& access, FunctionLocation at) {
  if (const std::optional<KeptRegisters> kept = access.SleepingRegisters(at)) {
    return SleepingSnapshot(access, at, *kept);
  }
  const ConfigSpace space = ReadCapabilitySpace(access, at);
  const CapabilityList capabilities = ListCapabilities(space, at);
  const std::optional<FunctionFacts> facts = access.Facts(at);
  // The sizes as the access method knows them without writing: the read-back of a sizing
  // write is the register with its writable bits set.
  RegionSizing sizing;
  if (const std::optional<HeaderSizing> known = access.SizingWithoutWriting(at)) {
    for (size_t i = 0; i < sizing.size(); ++i) {
      const int reg = kBaseAddressOffsets[i];
      const uint32_t writable = known->writable[static_cast<size_t>(reg / 4)];
      if (writable != 0xFFFFFFFFu && space.Readable(reg, 4)) {
        sizing[i] = space.Dword(reg) | writable;
      }
    }
  }
  const std::vector<CapField> header = DecodeHeaderFields(space, sizing);
  FunctionSnapshot snapshot;
  const auto add = [&snapshot](const char* field, std::string value) {
    snapshot.emplace_back(field, std::move(value));
  };
  if (!space.Readable(0, 16)) return snapshot;
  add("ids", Hex(space.Word(0), 4) + ":" + Hex(space.Word(2), 4));
  add("class", Hex(space.Dword(8) >> 8, 6));
  add("revision", Hex(space.Byte(8), 2));
  const int layout = space.Byte(0x0E) & 0x7F;
  if (layout == 0 && space.Readable(0x2C, 4)) {
    add("subsystem", Hex(space.Word(0x2C), 4) + ":" + Hex(space.Word(0x2E), 4));
  }
  std::string regions;
  for (const CapField& field : header) {
    if (field.key != "region") continue;
    for (const CapField& value : field.children) {
      if (value.key != "size") continue;
      regions += (regions.empty() ? "" : ", ") + std::string(field.label) + " " + value.text;
    }
  }
  add("region_sizes", regions.empty() ? "none" : regions);
  health::LinkState link;
  if (facts) link = LinkFromFacts(*facts);
  ReadExpressLink(space, capabilities, link);
  if (const std::string now = KnownLinkText(link.speed, link.width); !now.empty()) add("link", now);
  if (const std::string most = KnownLinkText(link.max_speed, link.max_width); !most.empty()) {
    add("max_link", most);
  }
  if (facts && facts->driver) add("driver", facts->driver->empty() ? "(none)" : *facts->driver);
  if (facts && facts->iommu_group) {
    add("iommu_group", facts->iommu_group->empty() ? "(none)" : *facts->iommu_group);
  }
  if (capabilities.readable) {
    std::string list;
    for (const Capability& capability : capabilities.capabilities) {
      list += (list.empty() ? "" : ", ") + capability.name + " [" +
              Hex(static_cast<uint32_t>(capability.offset), capability.extended ? 3 : 2) + "]";
    }
    add("capabilities", list.empty() ? "none" : list);
  }
  return snapshot;
}

}  // namespace

BusSnapshot TakeSnapshot(ConfigAccess& access) {
  BusSnapshot bus;
  const FunctionListing listing = ListEveryDomain(access, std::nullopt);
  for (const FunctionLocation& at : listing.present) {
    const DomainScope in_domain(access, at.domain);
    bus.emplace(at, Snapshot(access, at));
  }
  return bus;
}

std::vector<FunctionDifference> CompareSnapshots(const BusSnapshot& a, const BusSnapshot& b) {
  std::vector<FunctionDifference> differences;
  auto x = a.begin();
  auto y = b.begin();
  while (x != a.end() || y != b.end()) {
    if (y == b.end() || (x != a.end() && x->first < y->first)) {
      differences.push_back({x->first, FunctionDifference::Kind::kRemoved, What(x->second), {}});
      ++x;
    } else if (x == a.end() || y->first < x->first) {
      differences.push_back({y->first, FunctionDifference::Kind::kAdded, What(y->second), {}});
      ++y;
    } else {
      FunctionDifference difference{x->first, FunctionDifference::Kind::kChanged, "", {}};
      for (const auto& [field, value] : x->second) {
        const std::string* other = Find(y->second, field);
        if (other != nullptr && *other != value)
          difference.changes.push_back({field, value, *other});
      }
      if (!difference.changes.empty()) differences.push_back(std::move(difference));
      ++x;
      ++y;
    }
  }
  return differences;
}

}  // namespace kelvox::cli
