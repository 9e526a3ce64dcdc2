#include "config/cfgmgr/derived_header.h"

#include <algorithm>

#include "config/header_type.h"

namespace kelvox {

namespace {

constexpr uint64_t kFourGiB = uint64_t{1} << 32;
constexpr uint32_t kCommandIo = 0x1;
constexpr uint32_t kCommandMemory = 0x2;
constexpr int kFirstBar = 0x10 / 4;
constexpr int kSubsystemRegister = 0x2C / 4;
constexpr int kInterruptRegister = 0x3C / 4;
constexpr uint64_t kLargestInterruptLine = 0xFE;  // 0xFF means "not connected"

bool IsMemory(const DeviceResource& r) {
  return r.kind == DeviceResource::Kind::kMemory || r.kind == DeviceResource::Kind::kLargeMemory;
}

bool IsWindow(const DeviceResource& r) {
  return (r.flags & (IsMemory(r) ? kMemoryWindow : kIoWindow)) != 0;
}

bool IsMarkedBar(const DeviceResource& r) {
  return (r.flags & (IsMemory(r) ? kMemoryBar : kIoBar)) != 0;
}

// The decoded size of a range: its length rounded up to a power of two, at least `least`.
uint64_t DecodedSize(const DeviceResource& r, uint64_t least) {
  const uint64_t length = r.end - r.start + 1;  // 0 for a range of all 2^64 addresses
  uint64_t size = least;
  while (size < length && size < (uint64_t{1} << 63)) size <<= 1;
  return length == 0 ? uint64_t{1} << 63 : size;
}

// The ranges that stand for base address registers, in order.
std::vector<DeviceResource> BarRanges(const std::vector<DeviceResource>& resources) {
  std::vector<DeviceResource> ranges;
  for (const DeviceResource& r : resources) {
    if (r.kind != DeviceResource::Kind::kIrq && r.end >= r.start && !IsWindow(r)) {
      ranges.push_back(r);
    }
  }
  if (std::any_of(ranges.begin(), ranges.end(), IsMarkedBar)) {
    std::erase_if(ranges, [](const DeviceResource& r) { return !IsMarkedBar(r); });
  }
  return ranges;
}

}  // namespace

std::optional<uint64_t> FirstInterrupt(const std::vector<DeviceResource>& resources) {
  for (const DeviceResource& r : resources) {
    if (r.kind == DeviceResource::Kind::kIrq) return r.start;
  }
  return std::nullopt;
}

int LayoutForClass(uint32_t class_code) {
  switch (class_code >> 8) {
    case 0x0604:
      return 1;
    case 0x0607:
      return 2;
    default:
      return 0;
  }
}

DerivedHeader DeriveHeader(const DeviceIdentity& identity,
                           const std::vector<DeviceResource>& resources, bool multi_function) {
  DerivedHeader h;
  auto& regs = h.registers;
  regs[0] = static_cast<uint32_t>(identity.device) << 16 | identity.vendor;
  regs[2] = (identity.class_code & 0xFFFFFFu) << 8 | identity.revision;
  const int layout = LayoutForClass(identity.class_code);
  regs[3] = static_cast<uint32_t>(layout) << 16 | (multi_function ? 0x800000u : 0u);
  if (layout == 0) regs[kSubsystemRegister] = identity.subsystem;

  for (const DeviceResource& r : resources) {
    if (r.end < r.start) continue;
    if (r.kind == DeviceResource::Kind::kIo) regs[1] |= kCommandIo;
    if (IsMemory(r)) regs[1] |= kCommandMemory;
  }

  const int slots = BaseAddressRegisterCount(layout);
  int slot = 0;
  for (const DeviceResource& r : BarRanges(resources)) {
    const int at = kFirstBar + slot;
    if (IsMemory(r)) {
      const bool wide = r.end >= kFourGiB;
      // A 64-bit range needs two slots; one that no longer fits leaves the last slot to a
      // later 32-bit range.
      if (slot + (wide ? 2 : 1) > slots) continue;
      const uint64_t mask = ~(DecodedSize(r, 16) - 1);
      regs[at] = (static_cast<uint32_t>(r.start) & ~0xFu) | (wide ? 0x4u : 0u) |
                 ((r.flags & kMemoryPrefetchable) ? 0x8u : 0u);
      h.sizing[at] = static_cast<uint32_t>(mask) & ~0xFu;
      if (wide) {
        regs[at + 1] = static_cast<uint32_t>(r.start >> 32);
        h.sizing[at + 1] = static_cast<uint32_t>(mask >> 32);
      }
      slot += wide ? 2 : 1;
    } else {
      if (slot + 1 > slots) break;
      const uint64_t mask = ~(DecodedSize(r, 4) - 1);
      regs[at] = (static_cast<uint32_t>(r.start) & ~0x3u) | 0x1u;
      h.sizing[at] = static_cast<uint32_t>(mask) & ~0x3u;
      slot += 1;
    }
  }

  if (const std::optional<uint64_t> irq = FirstInterrupt(resources);
      irq && *irq <= kLargestInterruptLine) {
    regs[kInterruptRegister] = static_cast<uint32_t>(*irq);
  }
  return h;
}

}  // namespace kelvox
