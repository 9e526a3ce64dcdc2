// Secondary PCI Express (extended capability 0x0019: link control 3, the lanes that have seen
// an error, and each lane's equalization presets), Designated Vendor-Specific (0x0023: whose,
// which one, its revision and length) and TLP Processing Hints (0x0017: the modes the
// requester supports and where its steering tags are), as lspci -vv writes them; and Data
// Link Feature (0x0025: the features this end and the other end of the link support), which
// lspci 3.9 does not decode, in its terse style.
#include "caps/cap_field.h"
#include "caps/decoders.h"

namespace kelvox {

void DecodeSecondaryExpress(const ConfigSpace& space, const FunctionContext& function,
                            Capability& cap) {
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
  cap.fields.push_back(SecondaryLaneEqualization(space, function, cap.offset + 12));
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

void DecodeDataLinkFeature(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 12)) return;
  const uint32_t local = space.Dword(cap.offset + 4), remote = space.Dword(cap.offset + 8);
  // Bits 0 to 22 are the features, of which bit 0, scaled flow control, is the one defined.
  const auto features = [](uint32_t bits, FlagBit last) {
    std::vector<CapField> fields = FlagsOf(bits, {{"scaled_flow_control", "ScaledFC", 0}, last});
    const uint32_t all = bits & 0x7FFFFF;
    fields.push_back(Number("features", "Features", all, Hex(all, 6)));
    return fields;
  };
  std::vector<CapField> ours = features(local, {"exchange_enabled", "ExchangeEn", 31});
  std::string text = "Features=" + ours.back().text + " " + ours[0].text + " " + ours[1].text;
  cap.fields.push_back(Register("capabilities", "DLFCap", std::move(text), std::move(ours)));
  std::vector<CapField> theirs = features(remote, {"remote_valid", "Valid", 31});
  text = "Features=" + theirs.back().text + " " + theirs[0].text + " " + theirs[1].text;
  cap.fields.push_back(Register("status", "DLFSta", std::move(text), std::move(theirs)));
}

}  // namespace kelvox
