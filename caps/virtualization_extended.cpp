// The extended capabilities that decide whether a function may be handed to a virtual machine
// on its own: Access Control Services (0x000D), Page Request Interface (0x0013) and Process
// Address Space ID (0x001B), each as lspci -vv writes it.
#include "caps/cap_field.h"
#include "caps/decoders.h"

namespace kelvox {

namespace {

// The seven controls ACS may have, in its capability and its control register alike.
std::vector<CapField> AcsFlags(uint16_t value) {
  return FlagsOf(value, {{"source_validation", "SrcValid", 0},
                         {"translation_blocking", "TransBlk", 1},
                         {"request_redirect", "ReqRedir", 2},
                         {"completion_redirect", "CmpltRedir", 3},
                         {"upstream_forwarding", "UpstreamFwd", 4},
                         {"egress_control", "EgressCtrl", 5},
                         {"direct_translated", "DirectTrans", 6}});
}

}  // namespace

void DecodeAccessControl(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 8)) return;
  cap.fields.push_back(
      FlagsRegister("capabilities", "ACSCap", AcsFlags(space.Word(cap.offset + 4))));
  cap.fields.push_back(FlagsRegister("control", "ACSCtl", AcsFlags(space.Word(cap.offset + 6))));
}

void DecodePageRequest(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 16)) return;
  cap.fields.push_back(FlagsRegister(
      "control", "PRICtl",
      FlagsOf(space.Word(cap.offset + 4), {{"enabled", "Enable", 0}, {"reset", "Reset", 1}})));
  cap.fields.push_back(
      FlagsRegister("status", "PRISta",
                    FlagsOf(space.Word(cap.offset + 6), {{"response_failure", "RF", 0},
                                                         {"unexpected_group_index", "UPRGI", 1},
                                                         {"stopped", "Stopped", 8}})));
  const uint32_t capacity = space.Dword(cap.offset + 8), allocation = space.Dword(cap.offset + 12);
  cap.fields.push_back(Register(
      "requests", "",
      "Page Request Capacity: " + Hex(capacity, 8) +
          ", Page Request Allocation: " + Hex(allocation, 8),
      Fields(Number("capacity", "Page Request Capacity", capacity, Hex(capacity, 8)),
             Number("allocation", "Page Request Allocation", allocation, Hex(allocation, 8)))));
}

void DecodeProcessAddressSpaceId(const ConfigSpace& space, const FunctionContext&,
                                 Capability& cap) {
  if (!RequireBytes(space, cap, 8)) return;
  const uint16_t capability = space.Word(cap.offset + 4);
  std::vector<CapField> flags =
      FlagsOf(capability, {{"execute", "Exec", 1}, {"privileged", "Priv", 2}});
  const int width = capability >> 8 & 0x1F;
  std::string text =
      FlagsText(flags) + ", Max PASID Width: " + Hex(static_cast<uint32_t>(width), 2);
  flags.push_back(
      Number("max_width", "Max PASID Width", width, Hex(static_cast<uint32_t>(width), 2)));
  cap.fields.push_back(Register("capabilities", "PASIDCap", std::move(text), std::move(flags)));
  cap.fields.push_back(FlagsRegister(
      "control", "PASIDCtl",
      FlagsOf(space.Word(cap.offset + 6),
              {{"enabled", "Enable", 0}, {"execute", "Exec", 1}, {"privileged", "Priv", 2}})));
}

}  // namespace kelvox
