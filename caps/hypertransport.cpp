// HyperTransport (capability 0x08): which kind of HyperTransport block it is, from the type in
// its command register, and for an MSI mapping block whether it is enabled and where it maps.
#include "caps/cap_field.h"
#include "caps/decoders.h"

namespace kelvox {

namespace {

constexpr int kMsiMapping = 0x15;
constexpr int kRevisionId = 0x11;

std::string TypeName(uint16_t command) {
  switch (command >> 13) {
    case 0:
      return "Slave or Primary Interface";
    case 1:
      return "Host or Secondary Interface";
    default:
      break;
  }
  switch (command >> 11) {
    case 0x08:
      return "Switch";
    case 0x10:
      return "Interrupt Discovery and Configuration";
    case kRevisionId: {
      const int major = command >> 5 & 0x7, minor = command & 0x1F;
      return "Revision ID: " + std::to_string(major) + "." + (minor < 10 ? "0" : "") +
             std::to_string(minor);
    }
    case 0x12:
      return "UnitID Clumping";
    case 0x13:
      return "Extended Configuration Space Access";
    case 0x14:
      return "Address Mapping";
    case kMsiMapping:
      return "MSI Mapping";
    case 0x16:
      return "DirectRoute";
    case 0x17:
      return "VCSet";
    case 0x18:
      return "Retry Mode";
    case 0x19:
      return "X86 (reserved)";
    default:
      return "#" + Hex(static_cast<uint32_t>(command >> 11), 2);
  }
}

// The names of the later HyperTransport types, which lspci writes by number.
std::string LaterTypeName(uint16_t command) {
  switch (command >> 11) {
    case 0x1A:
      return "Gen3";
    case 0x1B:
      return "Function-Level Extension";
    case 0x1C:
      return "Power Management";
    default:
      return "";
  }
}

}  // namespace

void DecodeHyperTransport(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 4)) return;
  const uint16_t command = space.Word(cap.offset + 2);
  const std::string type = TypeName(command);
  cap.summary = type;
  const std::string later = command >> 13 < 2 ? "" : LaterTypeName(command);
  cap.fields.push_back(Hidden(Text("type", "Type", later.empty() ? type : later)));
  if (command >> 13 < 2 || command >> 11 != kMsiMapping) return;
  const CapField enabled = Flag("enabled", "Enable", (command & 1) != 0);
  const CapField fixed = Flag("fixed", "Fixed", (command & 2) != 0);
  cap.summary += " " + enabled.text + " " + fixed.text;
  cap.fields.push_back(Hidden(enabled));
  cap.fields.push_back(Hidden(fixed));
  if ((command & 2) != 0 || !RequireBytes(space, cap, 12)) return;
  const uint64_t base = static_cast<uint64_t>(space.Dword(cap.offset + 8)) << 32 |
                        (space.Dword(cap.offset + 4) & 0xFFF00000u);
  cap.fields.push_back(
      Register("mapping_address_base", "Mapping Address Base", Hex(base, 16),
               Fields(Number("address", "Address", static_cast<int64_t>(base), Hex(base, 16)))));
}

}  // namespace kelvox
