// Secondary PCI Express (extended capability 0x0019: link control 3 and the lanes that have
// seen an error), Designated Vendor-Specific (0x0023: whose, which one, its revision and
// length) and TLP Processing Hints (0x0017: the modes the requester supports and where its
// steering tags are), as lspci -vv writes them.
#include "caps/cap_field.h"
#include "caps/decoders.h"

namespace kelvox {

void DecodeSecondaryExpress(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 12)) return;
  const uint32_t control = space.Dword(cap.offset + 4), errors = space.Dword(cap.offset + 8);
  cap.fields.push_back(
      FlagsRegister("link_control3", "LnkCtl3",
                    FlagsOf(control, {{"equalization_interrupt", "LnkEquIntrruptEn", 1},
                                      {"perform_equalization", "PerformEqu", 0}})));
  std::vector<std::string> lanes;
  std::string text;
  for (int lane = 0; lane < 16; ++lane) {
    if ((errors >> lane & 1) == 0) continue;
    lanes.push_back(std::to_string(lane));
    text += " " + lanes.back();
  }
  CapField lane_errors =
      Text("lane_errors", "LaneErrStat", lanes.empty() ? "0" : "LaneErr at lane:" + text);
  lane_errors.value = std::move(lanes);
  cap.fields.push_back(std::move(lane_errors));
}

void DecodeDesignatedVendorSpecific(const ConfigSpace& space, const FunctionContext&,
                                    Capability& cap) {
  if (!RequireBytes(space, cap, 10)) return;
  const uint32_t header = space.Dword(cap.offset + 4);
  const int vendor = static_cast<int>(header & 0xFFFF),
            revision = static_cast<int>(header >> 16 & 0xF);
  const int length = static_cast<int>(header >> 20), id = space.Word(cap.offset + 8);
  cap.summary = "Vendor=" + Hex(static_cast<uint32_t>(vendor), 4) +
                " ID=" + Hex(static_cast<uint32_t>(id), 4) + " Rev=" + std::to_string(revision) +
                " Len=" + std::to_string(length);
  // The Compute Express Link consortium's vendor ID: its structures describe a CXL device.
  if (vendor == 0x1E98) cap.summary += ": CXL";
  cap.fields.push_back(Hidden(Text("vendor_id", "Vendor", Hex(static_cast<uint32_t>(vendor), 4))));
  cap.fields.push_back(Hidden(Text("dvsec_id", "ID", Hex(static_cast<uint32_t>(id), 4))));
  cap.fields.push_back(Hidden(Number("revision", "Rev", revision, std::to_string(revision))));
  cap.fields.push_back(Hidden(Number("length", "Len", length, std::to_string(length))));
}

void DecodeProcessingHints(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 8)) return;
  const uint32_t capability = space.Dword(cap.offset + 4);
  static constexpr const char* kLocations[] = {
      "No steering table available", "Steering table in TPH capability structure",
      "Steering table in MSI-X table", "Reserved steering table location"};
  const auto line = [&cap](std::string_view key, const char* text, bool on) {
    CapField field = Flag(key, text, on);
    field.text = text;
    if (!on) field.shown = false;
    field.joiner = "";
    field.label = "";
    cap.fields.push_back(std::move(field));
  };
  line("interrupt_vector_mode", "Interrupt vector mode supported", (capability & 2) != 0);
  line("device_specific_mode", "Device specific mode supported", (capability & 4) != 0);
  line("extended_requester", "Extended requester support", (capability & 0x100) != 0);
  const int location = static_cast<int>(capability >> 9 & 3);
  CapField where = Number("steering_table_location", "", location, kLocations[location]);
  cap.fields.push_back(std::move(where));
}

}  // namespace kelvox
