#include "config/snapshot_access.h"

#include <algorithm>

namespace kelvox {

void SnapshotAccess::Take(FunctionLocation at) {
  if (of_ == at) return;
  of_ = at;
  written_.fill(false);
  FunctionSpace read = inner_.ReadSpace(at, 0, kHeaderBytes);
  header_ = read.bytes.size() == static_cast<size_t>(kHeaderBytes) ? std::move(read.bytes)
                                                                   : std::vector<uint8_t>{};
}

uint32_t SnapshotAccess::Read(int bus, int device, int function, int reg) {
  const FunctionLocation at = MaskedLocation({bus, device, function, SelectedDomain()});
  const int offset = reg & 0xFC;
  if (offset < kHeaderBytes) {
    Take(at);
    if (!header_.empty() && !written_[offset / 4]) {
      return static_cast<uint32_t>(header_[offset]) |
             static_cast<uint32_t>(header_[offset + 1]) << 8 |
             static_cast<uint32_t>(header_[offset + 2]) << 16 |
             static_cast<uint32_t>(header_[offset + 3]) << 24;
    }
  }
  return inner_.Read(bus, device, function, reg);
}

void SnapshotAccess::Write(int bus, int device, int function, int reg, uint32_t value) {
  const FunctionLocation at = MaskedLocation({bus, device, function, SelectedDomain()});
  const int offset = reg & 0xFC;
  if (offset < kHeaderBytes) {
    Take(at);
    written_[offset / 4] = true;
  }
  inner_.Write(bus, device, function, reg, value);
}

FunctionSpace SnapshotAccess::ReadSpace(FunctionLocation at, int start, int end) {
  const FunctionLocation masked = MaskedLocation(at);
  {
    const DomainScope in_domain(*this, at.domain);
    Take(masked);
  }
  const bool clean = std::none_of(written_.begin(), written_.end(), [](bool w) { return w; });
  if (header_.empty() || !clean || start >= kHeaderBytes) return inner_.ReadSpace(at, start, end);
  FunctionSpace space;
  for (int i = std::max(start, 0); i < std::min(end, kHeaderBytes); ++i) {
    space.bytes.push_back(header_[i]);
  }
  if (end > kHeaderBytes) {
    FunctionSpace rest = inner_.ReadSpace(at, kHeaderBytes, end);
    space.bytes.insert(space.bytes.end(), rest.bytes.begin(), rest.bytes.end());
    space.limit = std::move(rest.limit);
  }
  return space;
}

}  // namespace kelvox
