// MSI-X (capability 0x11): whether it is enabled and masked, the table size, and where the
// vector table and the pending-bit array lie (a base address register and an offset in it).
#include "caps/cap_field.h"
#include "caps/decoders.h"

namespace kelvox {

namespace {

// A table's place: "BAR=0 offset=00008000".
CapField Place(std::string_view key, std::string_view label, uint32_t value) {
  const int bar = static_cast<int>(value & 0x7);
  const uint32_t offset = value & ~0x7u;
  return Register(key, label, "BAR=" + std::to_string(bar) + " offset=" + Hex(offset, 8),
                  Fields(Number("bar", "BAR", bar, std::to_string(bar)),
                         Number("offset", "offset", offset, Hex(offset, 8))));
}

}  // namespace

void DecodeMsix(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 12)) return;
  const int at = cap.offset;
  const uint16_t control = space.Word(at + 2);
  const bool enabled = (control & 1 << 15) != 0;
  const bool masked = (control & 1 << 14) != 0;
  const int size = (control & 0x7FF) + 1;
  cap.summary = FlagText("Enable", enabled) + " Count=" + std::to_string(size) + " " +
                FlagText("Masked", masked);
  cap.fields.reserve(5);
  cap.fields.push_back(Hidden(Flag("enabled", "Enable", enabled)));
  cap.fields.push_back(Hidden(Number("table_size", "Count", size, std::to_string(size))));
  cap.fields.push_back(Hidden(Flag("function_mask", "Masked", masked)));
  cap.fields.push_back(Place("table", "Vector table", space.Dword(at + 4)));
  cap.fields.push_back(Place("pba", "PBA", space.Dword(at + 8)));
}

}  // namespace kelvox
