#include "config/sysfs/resource_sizing.h"

#include <cinttypes>
#include <cstdio>
#include <string>

#include "config/header_type.h"

namespace kelvox {

namespace {

constexpr int kFirstBar = 0x10;
constexpr int kRomLine = 6;
constexpr int kRequiredLines = 7;

// Offset of the expansion ROM register, or -1 when the header type has none.
int RomRegister(int header_type) {
  switch (header_type) {
    case 0:
      return 0x30;
    case 1:
      return 0x38;
    default:
      return -1;
  }
}

int HeaderType(const RegisterReader& current) { return HeaderLayout(current(kHeaderTypeRegister)); }

bool IsLowerHalfOf64Bit(uint32_t bar) { return (bar & 0x7) == 0x4; }

// The size mask of a region: every address bit at and above its size set.
uint64_t SizeMask(const ResourceRegion& region) { return ~(region.Size() - 1); }

uint32_t BarReadBack(uint32_t bar, const ResourceRegion& region) {
  if (region.Size() == 0) return 0;
  const auto mask = static_cast<uint32_t>(SizeMask(region));
  if (bar & 0x1) return (mask & ~0x3u) | (bar & 0x3u);  // I/O space
  return (mask & ~0xFu) | (bar & 0xFu);                 // memory space
}

}  // namespace

uint64_t ResourceRegion::Size() const { return end > start ? end - start + 1 : 0; }

std::optional<std::vector<ResourceRegion>> ParseResourceFile(std::string_view text) {
  std::vector<ResourceRegion> regions;
  size_t at = 0;
  while (at < text.size()) {
    size_t stop = text.find('\n', at);
    if (stop == std::string_view::npos) stop = text.size();
    const std::string line(text.substr(at, stop - at));
    at = stop + 1;
    ResourceRegion r;
    char rest = 0;
    if (std::sscanf(line.c_str(), "%" SCNx64 " %" SCNx64 " %" SCNx64 " %c", &r.start, &r.end,
                    &r.flags, &rest) != 3) {
      return std::nullopt;
    }
    regions.push_back(r);
  }
  if (regions.size() < kRequiredLines) return std::nullopt;
  return regions;
}

bool IsSizedRegister(int header_type, int reg) {
  reg &= 0xFC;
  if (reg == RomRegister(header_type)) return true;
  return reg >= kFirstBar && reg < kFirstBar + 4 * BaseAddressRegisterCount(header_type);
}

namespace {

// What a sized register is to the sizing walk.
struct SizedRole {
  enum Kind { kNone, kRom, kBar, kUpperHalf } kind = kNone;
  int line = 0;  // the line of the `resource` file that describes its region
};

// Walks the registers from the first, so that the upper half of a 64-bit register is never
// mistaken for a register of its own whatever its value.
SizedRole RoleOf(int reg, const RegisterReader& current) {
  reg &= 0xFC;
  const int header_type = HeaderType(current);
  if (reg == RomRegister(header_type)) return {SizedRole::kRom, kRomLine};
  const int target = (reg - kFirstBar) / 4;
  const int count = BaseAddressRegisterCount(header_type);
  if (reg < kFirstBar || target >= count) return {};
  for (int i = 0; i <= target;) {
    const bool wide = IsLowerHalfOf64Bit(current(kFirstBar + 4 * i)) && i + 1 < count;
    if (i == target) return {SizedRole::kBar, i};
    if (wide && i + 1 == target) return {SizedRole::kUpperHalf, i};
    i += wide ? 2 : 1;
  }
  return {};
}

}  // namespace

uint32_t SizingReadBack(int reg, const RegisterReader& current,
                        const std::vector<ResourceRegion>& regions) {
  const SizedRole role = RoleOf(reg, current);
  switch (role.kind) {
    case SizedRole::kNone:
      return 0;
    case SizedRole::kRom: {
      const ResourceRegion& rom = regions.at(role.line);
      if (rom.Size() == 0) return 0;
      return (static_cast<uint32_t>(SizeMask(rom)) & 0xFFFFF800u) | (current(reg) & 0x1u);
    }
    case SizedRole::kBar:
      return BarReadBack(current(reg), regions.at(role.line));
    case SizedRole::kUpperHalf: {
      const ResourceRegion& region = regions.at(role.line);
      return region.Size() == 0 ? 0 : static_cast<uint32_t>(SizeMask(region) >> 32);
    }
  }
  return 0;
}

uint32_t SizingWritableMask(int reg, const RegisterReader& current,
                            const std::vector<ResourceRegion>& regions) {
  uint32_t kept = 0;
  switch (RoleOf(reg, current).kind) {
    case SizedRole::kNone:
      return 0;
    case SizedRole::kRom:
      kept = 0x7FFu;
      break;
    case SizedRole::kBar:
      kept = (current(reg) & 0x1u) ? 0x3u : 0xFu;
      break;
    case SizedRole::kUpperHalf:
      kept = 0;
      break;
  }
  return SizingReadBack(reg, current, regions) & ~kept;
}

}  // namespace kelvox
