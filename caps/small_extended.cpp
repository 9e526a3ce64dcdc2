// The short extended capabilities: Device Serial Number (0x0003), Alternative Routing-ID
// Interpretation (0x000E), Address Translation Services (0x000F), Latency Tolerance Reporting
// (0x0018) and Data Object Exchange (0x002E), each as lspci -vv writes it, and Device 3
// (0x002F), which lspci 3.9 does not decode, in its terse style.
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

void DecodeDataObjectExchange(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 16)) return;
  const uint32_t capability = space.Dword(cap.offset + 4), control = space.Dword(cap.offset + 8);
  const uint32_t status = space.Dword(cap.offset + 12);
  const bool interrupts = (capability & 1) != 0;
  std::vector<CapField> abilities = Fields(Flag("interrupt_support", "IntSup", interrupts));
  std::string text = FlagText("IntSup", interrupts);
  if (interrupts) {
    const uint32_t vector = capability >> 1 & 0x7FF;
    abilities.push_back(
        Number("interrupt_message", "Interrupt Message Number", vector, Hex(vector, 3)));
    text += "\nInterrupt Message Number " + Hex(vector, 3);
  }
  cap.fields.push_back(Register("capabilities", "DOECap", std::move(text), std::move(abilities)));
  cap.fields.push_back(
      FlagsRegister("control", "DOECtl", FlagsOf(control, {{"interrupt_enable", "IntEn", 1}})));
  cap.fields.push_back(FlagsRegister("status", "DOESta",
                                     FlagsOf(status, {{"busy", "Busy", 0},
                                                      {"interrupt_status", "IntSta", 1},
                                                      {"error", "Error", 2},
                                                      {"object_ready", "ObjectReady", 31}})));
}

namespace {

// A link width as Device 3 encodes it: x1, x2, x4, x8, x16.
CapField LinkWidth(std::string_view key, std::string_view label, int code) {
  if (code > 4) return Number(key, label, -1, "??" + std::to_string(code));
  return Number(key, label, 1 << code, "x" + std::to_string(1 << code));
}

}  // namespace

void DecodeDevice3(const ConfigSpace& space, const FunctionContext&, Capability& cap) {
  if (!RequireBytes(space, cap, 16)) return;
  const uint32_t capability = space.Dword(cap.offset + 4), control = space.Dword(cap.offset + 8);
  const uint32_t status = space.Dword(cap.offset + 12);
  std::vector<CapField> abilities = FlagsOf(capability, {{"dmwr_routing", "DMWrRouting", 0},
                                                         {"tag14_completer", "14BitTagComp", 1},
                                                         {"tag14_requester", "14BitTagReq", 2},
                                                         {"l0p", "L0p", 3},
                                                         {"uio_completer", "UIOComp", 10},
                                                         {"uio_requester", "UIOReq", 11}});
  // The exit latencies of L0p, 1us << code (code 7: more than 64us).
  const auto latency = [](std::string_view key, std::string_view label, int code) {
    if (code == 7) return Number(key, label, -1, ">64us");
    return Number(key, label, 1 << code, "<" + std::to_string(1 << code) + "us");
  };
  std::string text = FlagsText(abilities);
  abilities.push_back(latency("port_l0p_exit_latency", "PortL0pExit", capability >> 4 & 7));
  abilities.push_back(latency("retimer_l0p_exit_latency", "RetimerL0pExit", capability >> 7 & 7));
  text += " PortL0pExit " + abilities[abilities.size() - 2].text + " RetimerL0pExit " +
          abilities.back().text;
  cap.fields.push_back(Register("capabilities", "Dev3Cap", std::move(text), std::move(abilities)));
  std::vector<CapField> controls = FlagsOf(control, {{"dmwr_requester", "DMWrReq", 0},
                                                     {"dmwr_egress_blocking", "DMWrEgressBlck", 1},
                                                     {"tag14_requester", "14BitTagReq", 2},
                                                     {"l0p", "L0p", 3},
                                                     {"uio_requester", "UIOReq", 7}});
  text = FlagsText(controls);
  controls.push_back(LinkWidth("target_link_width", "TargetWidth", control >> 4 & 7));
  text += " TargetWidth " + controls.back().text;
  cap.fields.push_back(Register("control", "Dev3Ctl", std::move(text), std::move(controls)));
  std::vector<CapField> states =
      FlagsOf(status, {{"segment_captured", "SegCaptured", 3}, {"remote_l0p", "RemoteL0p", 4}});
  states.push_back(LinkWidth("initial_link_width", "InitWidth", status & 7));
  text = "InitWidth " + states.back().text + " " + states[0].text + " " + states[1].text;
  cap.fields.push_back(Register("status", "Dev3Sta", std::move(text), std::move(states)));
}

}  // namespace kelvox
