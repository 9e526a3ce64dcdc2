#include "caps/capability_list.h"

#include <algorithm>
#include <bitset>

#include "caps/cap_field.h"
#include "caps/capability_names.h"
#include "caps/decoders.h"
#include "config/space_limits.h"

namespace kelvox {

namespace {

// The offsets a walk has been at, one bit per dword of the space: a second visit is a loop.
class VisitedOffsets {
 public:
  // False when `offset` was visited before (or lies past any space, which no walk reaches).
  bool Visit(int offset) {
    const size_t slot = static_cast<size_t>(offset) / 4;
    if (slot >= bits_.size() || bits_[slot]) return false;
    bits_[slot] = true;
    return true;
  }

 private:
  std::bitset<kExtendedSpaceBytes / 4> bits_;
};

constexpr int kStatusRegister = 0x06;
constexpr int kStatusCapabilities = 1 << 4;
constexpr int kHeaderTypeRegister = 0x0E;
constexpr int kCapabilityPointer = 0x34;
constexpr int kCardbusCapabilityPointer = 0x14;
constexpr int kPciExpressId = 0x10;
constexpr int kPcixId = 0x07;

std::string At(int offset, int digits) { return "0x" + Hex(static_cast<uint32_t>(offset), digits); }

void WalkStandard(const ConfigSpace& space, const FunctionContext& function, CapabilityList& list) {
  if ((space.Word(kStatusRegister) & kStatusCapabilities) == 0) return;
  const int pointer_register =
      function.header_layout == 2 ? kCardbusCapabilityPointer : kCapabilityPointer;
  VisitedOffsets seen;
  // The two low bits of every pointer are reserved: software masks them off.
  int at = space.Byte(pointer_register) & 0xFC;
  while (at != 0) {
    if (at < 0x40) {
      list.standard_problem = "the list points into the header (" + At(at, 2) + ")";
      return;
    }
    if (!space.Readable(at, 2)) {
      list.standard_problem = "the list points past the readable bytes (" + At(at, 2) + ")";
      return;
    }
    if (!seen.Visit(at)) {
      list.standard_problem = "the list loops back to " + At(at, 2);
      return;
    }
    Capability& capability = list.capabilities.emplace_back();
    capability.offset = at;
    capability.id = space.Byte(at);
    capability.name = StandardCapabilityName(capability.id);
    const CapabilityDecoder decode = StandardDecoder(capability.id);
    if (decode && function.decode_registers) decode(space, function, capability);
    at = space.Byte(at + 1) & 0xFC;
  }
}

void WalkExtended(const ConfigSpace& space, const FunctionContext& function, CapabilityList& list) {
  if (!space.Readable(kExtendedSpaceStart, 4)) {
    list.extended_problem = "the extended space from 0x100 could not be read" +
                            (space.limit().empty() ? std::string() : ": " + space.limit());
    return;
  }
  VisitedOffsets seen;
  int at = kExtendedSpaceStart;
  while (true) {
    if (!space.Readable(at, 4)) {
      list.extended_problem = "the list points past the readable bytes (" + At(at, 3) + ")";
      return;
    }
    const uint32_t header = space.Dword(at);
    // An empty extended space: no capability at all.
    if (header == 0 && at == kExtendedSpaceStart) return;
    if (header == 0xFFFFFFFFu) {
      list.extended_problem = "the extended space at " + At(at, 3) + " reads all ones";
      return;
    }
    const int id = static_cast<int>(header & 0xFFFF);
    if (id == 0 || id == 0xFFFF) {
      list.extended_problem = "the capability at " + At(at, 3) + " has ID " + At(id, 4);
      return;
    }
    if (!seen.Visit(at)) {
      list.extended_problem = "the list loops back to " + At(at, 3);
      return;
    }
    Capability& capability = list.capabilities.emplace_back();
    capability.offset = at;
    capability.id = id;
    capability.extended = true;
    capability.version = static_cast<int>(header >> 16 & 0xF);
    capability.name = ExtendedCapabilityName(id);
    const CapabilityDecoder decode = ExtendedDecoder(id);
    if (decode && function.decode_registers) decode(space, function, capability);
    const int next = static_cast<int>(header >> 20) & 0xFFC;
    if (next == 0) return;
    if (next < kExtendedSpaceStart) {
      list.extended_problem = "the list points below the extended space (" + At(next, 3) + ")";
      return;
    }
    at = next;
  }
}

// Marks a capability whose registers reach the header of the one after it.
void MarkOverlaps(CapabilityList& list) {
  std::vector<int> starts;
  for (const Capability& capability : list.capabilities) starts.push_back(capability.offset);
  std::sort(starts.begin(), starts.end());
  for (Capability& capability : list.capabilities) {
    if (capability.extended || !capability.problem.empty()) continue;
    const int length = StandardCapabilityLength(capability.id);
    if (length == 0) continue;
    const auto next = std::upper_bound(starts.begin(), starts.end(), capability.offset);
    if (next != starts.end() && *next < capability.offset + length) {
      capability.problem = "it runs into the capability at " + At(*next, 2);
    }
  }
}

}  // namespace

bool HasCapabilityList(const ConfigSpace& space) {
  return (space.Word(kStatusRegister) & kStatusCapabilities) != 0;
}

bool HasExtendedList(const ConfigSpace& space) {
  FunctionContext function;
  function.header_layout = space.Byte(kHeaderTypeRegister) & 0x7F;
  const int pointer_register =
      function.header_layout == 2 ? kCardbusCapabilityPointer : kCapabilityPointer;
  VisitedOffsets seen;
  for (int at = space.Byte(pointer_register) & 0xFC;
       at >= 0x40 && space.Readable(at, 2) && seen.Visit(at); at = space.Byte(at + 1) & 0xFC) {
    if (space.Byte(at) == kPciExpressId || space.Byte(at) == kPcixId) return true;
  }
  return false;
}

namespace {

CapabilityList WalkCapabilities(const ConfigSpace& space, FunctionLocation at, bool registers) {
  CapabilityList list;
  // A function without a capability list has none to show, however much of it was read.
  if (space.size() >= 64 && !HasCapabilityList(space)) return list;
  if (!space.Readable(0x40, 4)) {
    list.readable = false;
    list.unreadable = space.limit().empty() ? kHeaderOnlyText : space.limit();
    return list;
  }
  FunctionContext function;
  function.vendor_id = space.Word(0x00);
  function.device_id = space.Word(0x02);
  function.header_layout = space.Byte(kHeaderTypeRegister) & 0x7F;
  function.device = at.device;
  function.function = at.function;
  function.decode_registers = registers;
  // Room for a typical function's lists, so that the capabilities are not moved as they grow.
  list.capabilities.reserve(space.size() > kExtendedSpaceStart ? 24 : 8);
  WalkStandard(space, function, list);
  const bool has_extended = std::any_of(
      list.capabilities.begin(), list.capabilities.end(), [](const Capability& capability) {
        return capability.id == kPciExpressId || capability.id == kPcixId;
      });
  for (const Capability& capability : list.capabilities) {
    if (capability.id == kPciExpressId && space.Readable(capability.offset + 2, 2)) {
      function.express_type = space.Word(capability.offset + 2) >> 4 & 0xF;
      if (space.Readable(capability.offset + 12, 4)) {
        function.express_link_width =
            static_cast<int>(space.Dword(capability.offset + 12) >> 4 & 0x3F);
      }
      break;
    }
  }
  if (has_extended) WalkExtended(space, function, list);
  MarkOverlaps(list);
  return list;
}

}  // namespace

CapabilityList DecodeCapabilities(const ConfigSpace& space, FunctionLocation at) {
  return WalkCapabilities(space, at, true);
}

CapabilityList ListCapabilities(const ConfigSpace& space, FunctionLocation at) {
  return WalkCapabilities(space, at, false);
}

}  // namespace kelvox
