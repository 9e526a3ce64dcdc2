// MSI (capability 0x05): whether it is enabled, the vectors enabled of those the function can
// ask for, 64-bit addressing and per-vector masking, then the message address and data, and
// the mask and pending bits where there is masking.
#include "caps/cap_field.h"
#include "caps/decoders.h"

namespace kelvox {

void DecodeMsi(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 4)) return;
  const int at = cap.offset;
  const uint16_t control = space.Word(at + 2);
  const bool enabled = (control & 1) != 0;
  const int capable = 1 << (control >> 1 & 0x7);
  const int enabled_vectors = 1 << (control >> 4 & 0x7);
  const bool wide = (control & 1 << 7) != 0;
  const bool maskable = (control & 1 << 8) != 0;
  cap.summary = FlagText("Enable", enabled) + " Count=" + std::to_string(enabled_vectors) + "/" +
                std::to_string(capable) + " " + FlagText("Maskable", maskable) + " " +
                FlagText("64bit", wide);
  cap.fields.reserve(7);
  cap.fields.push_back(Hidden(Flag("enabled", "Enable", enabled)));
  cap.fields.push_back(
      Hidden(Number("vectors_enabled", "Count", enabled_vectors, std::to_string(enabled_vectors))));
  cap.fields.push_back(
      Hidden(Number("vectors_capable", "Capable", capable, std::to_string(capable))));
  cap.fields.push_back(Hidden(Flag("address_64bit", "64bit", wide)));
  cap.fields.push_back(Hidden(Flag("maskable", "Maskable", maskable)));

  const int length = (wide ? 14 : 10) + (maskable ? 10 : 0);
  if (!RequireBytes(space, cap, length)) return;
  const uint64_t address =
      wide ? (static_cast<uint64_t>(space.Dword(at + 8)) << 32 | space.Dword(at + 4))
           : space.Dword(at + 4);
  const uint16_t data = space.Word(at + (wide ? 12 : 8));
  const std::string address_text = Hex(address, wide ? 16 : 8);
  cap.fields.push_back(Register("message", "Address", address_text + "  Data: " + Hex(data, 4),
                                Fields(Text("address", "Address", address_text),
                                       Number("data", "Data", data, Hex(data, 4)))));
  if (maskable) {
    const uint32_t mask = space.Dword(at + (wide ? 16 : 12));
    const uint32_t pending = space.Dword(at + (wide ? 20 : 16));
    cap.fields.push_back(Register("masking", "Masking",
                                  Hex(mask, 8) + "  Pending: " + Hex(pending, 8),
                                  Fields(Number("mask", "Masking", mask, Hex(mask, 8)),
                                         Number("pending", "Pending", pending, Hex(pending, 8)))));
  }
}

}  // namespace kelvox
