// The short extended capabilities: Device Serial Number (0x0003), Alternative Routing-ID
// Interpretation (0x000E), Address Translation Services (0x000F) and Latency Tolerance
// Reporting (0x0018), each as lspci -vv writes it.
#include "caps/cap_field.h"
#include "caps/decoders.h"

namespace kelvox {

namespace {

// A latency register of LTR: a value of 10 bits times 32 to the power of its scale, in ns.
CapField Latency(std::string_view key, std::string_view label, uint16_t value) {
  const int scale = value >> 10 & 7;
  if (scale > 5) {
    // The scales 6 and 7 are not permitted: there is no latency to give.
    CapField field = Number(key, label, -1, "not permitted (scale " + std::to_string(scale) + ")");
    field.value = std::monostate{};
    return field;
  }
  const uint64_t ns = static_cast<uint64_t>(value & 0x3FF) << (5 * scale);
  return Number(key, label, static_cast<int64_t>(ns), std::to_string(ns) + "ns");
}

}  // namespace

void DecodeSerialNumber(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 12)) return;
  const uint64_t serial =
      static_cast<uint64_t>(space.Dword(cap.offset + 8)) << 32 | space.Dword(cap.offset + 4);
  std::string text;
  for (int shift = 56; shift >= 0; shift -= 8) {
    if (!text.empty()) text += '-';
    text += Hex(serial >> shift & 0xFF, 2);
  }
  cap.summary = text;
  cap.fields.push_back(Hidden(Text("serial", "Serial", std::move(text))));
}

void DecodeAlternativeRoutingId(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 8)) return;
  const uint16_t capability = space.Word(cap.offset + 4), control = space.Word(cap.offset + 6);
  std::vector<CapField> flags = FlagsOf(capability, {{"mfvc", "MFVC", 0}, {"acs", "ACS", 1}});
  const int next = capability >> 8;
  std::string text = FlagsText(flags) + ", Next Function: " + std::to_string(next);
  flags.push_back(Number("next_function", "Next Function", next, std::to_string(next)));
  cap.fields.push_back(Register("capabilities", "ARICap", std::move(text), std::move(flags)));
  std::vector<CapField> enables = FlagsOf(control, {{"mfvc", "MFVC", 0}, {"acs", "ACS", 1}});
  const int group = control >> 4 & 7;
  std::string control_text = FlagsText(enables) + ", Function Group: " + std::to_string(group);
  enables.push_back(Number("function_group", "Function Group", group, std::to_string(group)));
  cap.fields.push_back(Register("control", "ARICtl", std::move(control_text), std::move(enables)));
}

void DecodeAddressTranslation(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 8)) return;
  const uint16_t capability = space.Word(cap.offset + 4), control = space.Word(cap.offset + 6);
  const int depth = capability & 0x1F;
  cap.fields.push_back(Register("capabilities", "ATSCap",
                                "Invalidate Queue Depth: " + Hex(static_cast<uint32_t>(depth), 2),
                                Fields(Number("invalidate_queue_depth", "Invalidate Queue Depth",
                                              depth, Hex(static_cast<uint32_t>(depth), 2)))));
  const bool enabled = (control & 0x8000) != 0;
  const int unit = control & 0x1F;
  cap.fields.push_back(
      Register("control", "ATSCtl",
               FlagText("Enable", enabled) +
                   ", Smallest Translation Unit: " + Hex(static_cast<uint32_t>(unit), 2),
               Fields(Flag("enabled", "Enable", enabled),
                      Number("smallest_translation_unit", "Smallest Translation Unit", unit,
                             Hex(static_cast<uint32_t>(unit), 2)))));
}

void DecodeLatencyTolerance(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 8)) return;
  CapField snoop = Latency("max_snoop_latency_ns", "Max snoop latency", space.Word(cap.offset + 4));
  CapField no_snoop =
      Latency("max_no_snoop_latency_ns", "Max no snoop latency", space.Word(cap.offset + 6));
  cap.fields.push_back(std::move(snoop));
  cap.fields.push_back(std::move(no_snoop));
}

}  // namespace kelvox
