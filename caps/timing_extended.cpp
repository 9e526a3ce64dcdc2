// Precision Time Measurement (extended capability 0x001F): whether the function requests,
// responds to or is the root of PTM, its local clock's granularity, and what is enabled, as
// lspci -vv writes it.
#include "caps/cap_field.h"
#include "caps/decoders.h"

namespace kelvox {

namespace {

// A granularity byte: 0 says nothing is known (`zero`), 255 more than 254ns.
CapField Granularity(std::string_view key, std::string_view label, int value, const char* zero) {
  const std::string text = value == 0     ? zero
                           : value == 255 ? "Greater than 254ns"
                                          : std::to_string(value) + "ns";
  return Number(key, label, value, text);
}

// lspci's way with PTM's flags: "Requester:+".
CapField ColonFlag(std::string_view key, std::string_view label, bool on) {
  CapField flag = Flag(key, label, on);
  flag.text = std::string(label) + (on ? ":+" : ":-");
  return flag;
}

}  // namespace

void DecodePrecisionTime(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 12)) return;
  const uint32_t capability = space.Dword(cap.offset + 4), control = space.Dword(cap.offset + 8);
  cap.fields.push_back(
      FlagsRegister("capabilities", "PTMCap",
                    Fields(ColonFlag("requester", "Requester", (capability & 1) != 0),
                           ColonFlag("responder", "Responder", (capability & 2) != 0),
                           ColonFlag("root", "Root", (capability & 4) != 0))));
  cap.fields.push_back(Granularity("clock_granularity", "PTMClockGranularity",
                                   static_cast<int>(capability >> 8 & 0xFF), "Unimplemented"));
  cap.fields.push_back(
      FlagsRegister("control", "PTMControl",
                    Fields(ColonFlag("enabled", "Enabled", (control & 1) != 0),
                           ColonFlag("root_selected", "RootSelected", (control & 2) != 0))));
  cap.fields.push_back(Granularity("effective_granularity", "PTMEffectiveGranularity",
                                   static_cast<int>(control >> 8 & 0xFF), "Unknown"));
}

void DecodeVendorSpecificExtended(const ConfigSpace& space, const FunctionContext&,
                                  Capability& cap) {
  if (!RequireBytes(space, cap, 8)) return;
  const uint32_t header = space.Dword(cap.offset + 4);
  const int id = static_cast<int>(header & 0xFFFF), revision = static_cast<int>(header >> 16 & 0xF);
  const int length = static_cast<int>(header >> 20);
  cap.summary = "ID=" + Hex(static_cast<uint32_t>(id), 4) + " Rev=" + std::to_string(revision) +
                " Len=" + Hex(static_cast<uint32_t>(length), 3);
  cap.fields.push_back(Hidden(Number("vendor_id", "ID", id, Hex(static_cast<uint32_t>(id), 4))));
  cap.fields.push_back(Hidden(Number("revision", "Rev", revision, std::to_string(revision))));
  cap.fields.push_back(
      Hidden(Number("length", "Len", length, Hex(static_cast<uint32_t>(length), 3))));
}

}  // namespace kelvox
