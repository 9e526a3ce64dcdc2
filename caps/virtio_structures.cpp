// The vendor's own capability (0x09): its length, and for a virtio device (vendor 1af4, devices
// 1000-107f) the virtio structure it points to, as virtio devices lay it out: its kind, the
// base address register and the offset and length in it, and for the notification structure
// the offset multiplier.
#include <array>

#include "caps/cap_field.h"
#include "caps/decoders.h"

namespace kelvox {

namespace {

constexpr std::array<const char*, 6> kVirtioKinds = {"<unknown>", "CommonCfg", "Notify",
                                                     "ISR",       "DeviceCfg", "<unknown>"};
constexpr int kVirtioNotify = 2;

bool IsVirtio(const FunctionContext& function) {
  return function.vendor_id == 0x1AF4 && function.device_id >= 0x1000 &&
         function.device_id <= 0x107F;
}

}  // namespace

void DecodeVendorSpecific(const ConfigSpace& space, const FunctionContext& function,
                          Capability& cap) {
  if (!RequireBytes(space, cap, 3)) return;
  const int at = cap.offset;
  const int length = space.Byte(at + 2);
  cap.fields.push_back(Hidden(Number("length", "Len", length, Hex(length, 2))));
  if (!IsVirtio(function) || length < 16) {
    cap.summary = "Len=" + Hex(length, 2) + " <?>";
    return;
  }
  if (!RequireBytes(space, cap, 16)) return;
  const int kind = space.Byte(at + 3);
  const std::string kind_name =
      kind < static_cast<int>(kVirtioKinds.size()) ? kVirtioKinds[kind] : "<unknown>";
  cap.summary = "VirtIO: " + kind_name;
  cap.fields.push_back(Hidden(Text("virtio_structure", "VirtIO", kind_name)));
  const int bar = space.Byte(at + 4);
  const uint32_t offset = space.Dword(at + 8);
  const uint32_t size = space.Dword(at + 12);
  std::string text =
      "BAR=" + std::to_string(bar) + " offset=" + Hex(offset, 8) + " size=" + Hex(size, 8);
  std::vector<CapField> fields = Fields(Number("bar", "BAR", bar, std::to_string(bar)),
                                        Number("offset", "offset", offset, Hex(offset, 8)),
                                        Number("size", "size", size, Hex(size, 8)));
  if (kind == kVirtioNotify && length >= 20 && space.Readable(at + 16, 4)) {
    const uint32_t multiplier = space.Dword(at + 16);
    text += " multiplier=" + Hex(multiplier, 8);
    fields.push_back(Number("multiplier", "multiplier", multiplier, Hex(multiplier, 8)));
  }
  cap.fields.push_back(Register("structure", "", text, std::move(fields)));
}

}  // namespace kelvox
