// The PCI Express capability's link, slot and root port registers, and those that version 2
// adds: LnkCap/LnkCtl/LnkSta, SltCap/SltCtl/SltSta, RootCap/RootCtl/RootSta, DevCap2/DevCtl2,
// LnkCap2/LnkCtl2/LnkSta2. Texts are lspci's, register by register.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "caps/cap_field.h"
#include "caps/pci_express_parts.h"
#include "text/concat.h"

namespace kelvox::pcie {

namespace {

bool Bit(uint32_t value, int bit) { return (value >> bit & 1) != 0; }

// Whether a link below this end's maximum is worth calling "downgraded": not at a port that
// faces down (a root or downstream port, a PCI to PCI Express bridge), whose maximum says
// nothing of the device under it.
bool FacesUpstream(int type) {
  return type != kRootPort && type != kDownstreamPort && type != kPciToPcieBridge;
}

}  // namespace

std::string PowerText(int value, int scale) {
  // At scale 1.0 the values from 0xF0 name 250 W to 600 W in steps of 25 W, and above.
  if (scale == 0 && value >= 0xF0) {
    return value == 0xFF ? ">600W" : std::to_string(250 + 25 * (value - 0xF0)) + "W";
  }
  char text[32];
  std::snprintf(text, sizeof text, "%gW", value * std::pow(10.0, -scale));
  return text;
}

namespace {

std::string Indicator(int code) {
  static constexpr std::array<const char*, 4> kStates = {"Unknown", "On", "Blink", "Off"};
  return kStates[code & 3];
}

std::string SupportedSpeeds(uint32_t vector) {
  int highest = 0;
  for (int bit = 1; bit <= 7; ++bit) {
    if (Bit(vector, bit)) highest = bit;
  }
  if (highest == 1) return "2.5GT/s";
  if (highest >= 2 && highest <= 5) return "2.5-" + LinkSpeedText(highest);
  return highest == 0 ? "Unknown" : "RsvdP";
}

std::string TargetSpeed(int code) {
  if (code == 0) return "2.5GT/s";
  return code <= 6 ? LinkSpeedText(code) : "Unknown";
}

std::string TransmitMargin(int code) {
  if (code == 0) return "Normal Operating Range";
  if (code == 1) return "800-1200mV(full-swing)/400-700mV(half-swing)";
  if (code <= 5) return "200-400mV(full-swing)/100-200mV(half-swing)";
  return "Unknown";
}

std::string CompliancePreset(int code) {
  static constexpr std::array<const char*, 10> kPresets = {
      "-6dB de-emphasis, 0dB preshoot",     "-3.5dB de-emphasis, 0dB preshoot",
      "-4.4dB de-emphasis, 0dB preshoot",   "-2.5dB de-emphasis, 0dB preshoot",
      "0dB de-emphasis, 0dB preshoot",      "0dB de-emphasis, 1.9dB preshoot",
      "0dB de-emphasis, 2.5dB preshoot",    "-6.0dB de-emphasis, 3.5dB preshoot",
      "-3.5dB de-emphasis, 3.5dB preshoot", "0dB de-emphasis, 3.5dB preshoot"};
  return code < static_cast<int>(kPresets.size()) ? kPresets[code] : "Unknown";
}

// The completion timeout ranges a function supports: the encodings the standard allows.
std::string CompletionTimeoutRanges(int ranges) {
  switch (ranges) {
    case 0x0:
      return "Not Supported";
    case 0x1:
      return "Range A";
    case 0x2:
      return "Range B";
    case 0x3:
      return "Range AB";
    case 0x6:
      return "Range BC";
    case 0x7:
      return "Range ABC";
    case 0xE:
      return "Range BCD";
    case 0xF:
      return "Range ABCD";
    default:
      return "Unknown";
  }
}

std::string CompletionTimeoutValue(int code) {
  switch (code) {
    case 0x0:
      return "50us to 50ms";
    case 0x1:
      return "50us to 100us";
    case 0x2:
      return "1ms to 10ms";
    case 0x5:
      return "16ms to 55ms";
    case 0x6:
      return "65ms to 210ms";
    case 0x9:
      return "260ms to 900ms";
    case 0xA:
      return "1s to 3.5s";
    case 0xD:
      return "4s to 13s";
    case 0xE:
      return "17s to 64s";
    default:
      return "Unknown";
  }
}

}  // namespace

void AddLinkRegisters(const ConfigSpace& space, Capability& cap, int type) {
  const int at = cap.offset;
  const uint32_t lnkcap = space.Dword(at + 0x0C);
  const int port = static_cast<int>(lnkcap >> 24);
  const int cap_speed = static_cast<int>(lnkcap & 0xF);
  const int cap_width = static_cast<int>(lnkcap >> 4 & 0x3F);
  const int aspm = static_cast<int>(lnkcap >> 10 & 0x3);
  static constexpr std::array<const char*, 4> kAspmSupport = {"not supported", "L0s", "L1",
                                                              "L0s L1"};
  std::vector<CapField> fields;
  fields.reserve(11);  // four values, two latencies, five flags
  fields.push_back(Number("port", "Port", port, "#" + std::to_string(port)));
  fields.push_back(Text("speed", "Speed", LinkSpeedText(cap_speed)));
  fields.push_back(Number("width", "Width", cap_width, "x" + std::to_string(cap_width)));
  fields.push_back(Text("aspm", "ASPM", kAspmSupport[aspm]));
  std::string text;
  text.reserve(160);
  ConcatTo(text, "Port ", fields[0].text, ", Speed ", fields[1].text, ", Width ", fields[2].text,
           ", ASPM ", fields[3].text);
  if (aspm != 0) {
    text += ", Exit Latency ";
    if (aspm & 1) {
      fields.push_back(Text("l0s_exit_latency", "L0s", L0sLatencyText(lnkcap >> 12 & 7)));
      ConcatTo(text, "L0s ", fields.back().text);
    }
    if (aspm & 2) {
      fields.push_back(Text("l1_exit_latency", "L1", L1LatencyText(lnkcap >> 15 & 7)));
      ConcatTo(text, aspm & 1 ? ", L1 " : "L1 ", fields.back().text);
    }
  }
  const std::string flags = AppendFlags(fields, lnkcap,
                                        {{"clock_pm", "ClockPM", 18},
                                         {"surprise_down", "Surprise", 19},
                                         {"link_active_reporting", "LLActRep", 20},
                                         {"bandwidth_notification", "BwNot", 21},
                                         {"aspm_optionality", "ASPMOptComp", 22}});
  ConcatTo(text, "\n", flags);
  cap.fields.push_back(Register("link_capabilities", "LnkCap", std::move(text), std::move(fields)));

  const uint16_t lnkctl = space.Word(at + 0x10);
  static constexpr std::array<const char*, 4> kAspmEnabled = {"Disabled", "L0s Enabled",
                                                              "L1 Enabled", "L0s L1 Enabled"};
  std::vector<CapField> control;
  control.reserve(9);
  control.push_back(Text("aspm", "ASPM", kAspmEnabled[lnkctl & 3]));
  std::string control_text;
  control_text.reserve(128);
  ConcatTo(control_text, "ASPM ", kAspmEnabled[lnkctl & 3], ";");
  if (type == kRootPort || type == kEndpoint || type == kLegacyEndpoint ||
      type == kPcieToPciBridge) {
    const int rcb = Bit(lnkctl, 3) ? 128 : 64;
    control.push_back(
        Number("read_completion_boundary", "RCB", rcb, std::to_string(rcb) + " bytes"));
    ConcatTo(control_text, " RCB ", control.back().text, ",");
  }
  const std::string first = AppendFlags(
      control, lnkctl, {{"link_disable", "Disabled", 4}, {"common_clock", "CommClk", 6}});
  const std::string second = AppendFlags(control, lnkctl,
                                         {{"extended_synch", "ExtSynch", 7},
                                          {"clock_pm", "ClockPM", 8},
                                          {"autonomous_width_disable", "AutWidDis", 9},
                                          {"bandwidth_interrupt", "BWInt", 10},
                                          {"autonomous_bandwidth_interrupt", "AutBWInt", 11}});
  ConcatTo(control_text, " ", first, "\n", second);
  cap.fields.push_back(
      Register("link_control", "LnkCtl", std::move(control_text), std::move(control)));

  const uint16_t lnksta = space.Word(at + 0x12);
  const int speed = lnksta & 0xF;
  const int width = lnksta >> 4 & 0x3F;
  const bool judged = FacesUpstream(type);
  std::vector<CapField> status =
      Fields(Text("speed", "Speed", LinkSpeedText(speed)),
             Number("width", "Width", width, "x" + std::to_string(width)));
  // Above what this end can do is wrong whatever the port; below it says something only of a
  // port that faces up (a downstream port's own maximum says nothing of the device under it).
  const auto judgement = [judged](int now, int most) -> std::string {
    if (now > most) return " (overdriven)";
    return judged && now < most ? " (downgraded)" : "";
  };
  const std::string slower = judgement(speed, cap_speed);
  const std::string narrower = judgement(width, cap_width);
  const std::string state = AppendFlags(status, lnksta,
                                        {{"training_error", "TrErr", 10},
                                         {"training", "Train", 11},
                                         {"slot_clock", "SlotClk", 12},
                                         {"data_link_active", "DLActive", 13},
                                         {"bandwidth_management", "BWMgmt", 14},
                                         {"autonomous_bandwidth", "ABWMgmt", 15}});
  std::string status_text =
      Concat("Speed ", status[0].text, slower, ", Width ", status[1].text, narrower, "\n", state);
  cap.fields.push_back(
      Register("link_status", "LnkSta", std::move(status_text), std::move(status)));
}

void AddSlotRegisters(const ConfigSpace& space, Capability& cap) {
  const int at = cap.offset;
  const uint32_t sltcap = space.Dword(at + 0x14);
  std::vector<CapField> fields;
  const std::string present = AppendFlags(fields, sltcap,
                                          {{"attention_button", "AttnBtn", 0},
                                           {"power_controller", "PwrCtrl", 1},
                                           {"mrl_sensor", "MRL", 2},
                                           {"attention_indicator", "AttnInd", 3},
                                           {"power_indicator", "PwrInd", 4},
                                           {"hot_plug", "HotPlug", 6},
                                           {"hot_plug_surprise", "Surprise", 5}});
  const int slot = static_cast<int>(sltcap >> 19);
  const std::string power = PowerText(sltcap >> 7 & 0xFF, sltcap >> 15 & 3);
  fields.push_back(Number("slot", "Slot", slot, "#" + std::to_string(slot)));
  fields.push_back(Text("power_limit", "PowerLimit", power));
  const std::string more = AppendFlags(
      fields, sltcap, {{"interlock", "Interlock", 17}, {"no_command_completed", "NoCompl", 18}});
  cap.fields.push_back(
      Register("slot_capabilities", "SltCap",
               present + "\nSlot #" + std::to_string(slot) + ", PowerLimit " + power + "; " + more,
               std::move(fields)));

  const uint16_t sltctl = space.Word(at + 0x18);
  std::vector<CapField> control;
  std::string control_text = "Enable: " + AppendFlags(control, sltctl,
                                                      {{"attention_button", "AttnBtn", 0},
                                                       {"power_fault", "PwrFlt", 1},
                                                       {"mrl_changed", "MRL", 2},
                                                       {"presence_detect", "PresDet", 3},
                                                       {"command_completed", "CmdCplt", 4},
                                                       {"hot_plug_interrupt", "HPIrq", 5},
                                                       {"link_changed", "LinkChg", 12}});
  control.push_back(Text("attention_indicator", "AttnInd", Indicator(sltctl >> 6)));
  control.push_back(Text("power_indicator", "PwrInd", Indicator(sltctl >> 8)));
  const std::string switches =
      AppendFlags(control, sltctl, {{"power_off", "Power", 10}, {"interlock", "Interlock", 11}});
  control_text += "\nControl: AttnInd " + Indicator(sltctl >> 6) + ", PwrInd " +
                  Indicator(sltctl >> 8) + ", " + switches;
  cap.fields.push_back(
      Register("slot_control", "SltCtl", std::move(control_text), std::move(control)));

  const uint16_t sltsta = space.Word(at + 0x1A);
  std::vector<CapField> status;
  const std::string now = AppendFlags(status, sltsta,
                                      {{"attention_button", "AttnBtn", 0},
                                       {"power_fault", "PowerFlt", 1},
                                       {"mrl_open", "MRL", 5},
                                       {"command_completed", "CmdCplt", 4},
                                       {"presence", "PresDet", 6},
                                       {"interlock", "Interlock", 7}});
  const std::string changed = AppendFlags(status, sltsta,
                                          {{"mrl_changed", "MRL", 2},
                                           {"presence_changed", "PresDet", 3},
                                           {"link_changed", "LinkState", 8}});
  cap.fields.push_back(Register("slot_status", "SltSta", "Status: " + now + "\nChanged: " + changed,
                                std::move(status)));
}

void AddRootRegisters(const ConfigSpace& space, Capability& cap) {
  const int at = cap.offset;
  cap.fields.push_back(
      FlagsRegister("root_capabilities", "RootCap",
                    FlagsOf(space.Word(at + 0x1E), {{"crs_visibility", "CRSVisible", 0}})));
  cap.fields.push_back(
      FlagsRegister("root_control", "RootCtl",
                    FlagsOf(space.Word(at + 0x1C), {{"correctable_error", "ErrCorrectable", 0},
                                                    {"non_fatal_error", "ErrNon-Fatal", 1},
                                                    {"fatal_error", "ErrFatal", 2},
                                                    {"pme_interrupt", "PMEIntEna", 3},
                                                    {"crs_visibility", "CRSVisible", 4}})));
  const uint32_t root_sta = space.Dword(at + 0x20);
  std::vector<CapField> status =
      Fields(Number("pme_requester", "PME ReqID", root_sta & 0xFFFF, Hex(root_sta & 0xFFFF, 4)));
  const std::string pme = AppendFlags(
      status, root_sta, {{"pme_status", "PMEStatus", 16}, {"pme_pending", "PMEPending", 17}});
  std::string text = "PME ReqID " + status[0].text + ", " + pme;
  cap.fields.push_back(Register("root_status", "RootSta", std::move(text), std::move(status)));
}

void AddDevice2Registers(const ConfigSpace& space, Capability& cap, int type) {
  const int at = cap.offset;
  const uint32_t devcap2 = space.Dword(at + 0x24);
  static constexpr std::array<const char*, 4> kObffSupport = {"Not Supported", "Via message",
                                                              "Via WAKE#", "Via message/WAKE#"};
  static constexpr std::array<const char*, 4> kEmergencyPower = {
      "Not Supported", "Dev Specific", "Form Factor Dev Specific", "Reserved"};
  static constexpr std::array<const char*, 4> kCacheLines = {"Not Supported", "64byte cachelines",
                                                             "128byte cachelines", "Reserved"};
  std::vector<CapField> fields;
  fields.reserve(22);
  fields.push_back(Text("completion_timeout_ranges", "Completion Timeout",
                        CompletionTimeoutRanges(devcap2 & 0xF)));
  const std::string line1 = AppendFlags(fields, devcap2,
                                        {{"completion_timeout_disable", "TimeoutDis", 4},
                                         {"no_ro_enabled_pr_pr", "NROPrPrP", 10},
                                         {"ltr", "LTR", 11}});
  const std::string tags = AppendFlags(
      fields, devcap2,
      {{"10bit_tag_completer", "10BitTagComp", 16}, {"10bit_tag_requester", "10BitTagReq", 17}});
  const char* const obff = kObffSupport[devcap2 >> 18 & 3];
  fields.push_back(Text("obff", "OBFF", obff));
  const std::string prefix = AppendFlags(
      fields, devcap2, {{"extended_fmt", "ExtFmt", 20}, {"end_end_tlp_prefix", "EETLPPrefix", 21}});
  std::string text;
  text.reserve(256);
  ConcatTo(text, "Completion Timeout: ", fields[0].text, ", ", line1, "\n ", tags, " OBFF ", obff,
           ", ", prefix);
  if (Bit(devcap2, 21)) {
    const int prefixes = (devcap2 >> 22 & 3) == 0 ? 4 : static_cast<int>(devcap2 >> 22 & 3);
    fields.push_back(
        Number("max_end_end_tlp_prefixes", "MaxEETLPPrefixes", prefixes, std::to_string(prefixes)));
    ConcatTo(text, ", MaxEETLPPrefixes ", std::to_string(prefixes));
  }
  const std::string emergency = kEmergencyPower[devcap2 >> 24 & 3];
  fields.push_back(Text("emergency_power_reduction", "EmergencyPowerReduction", emergency));
  fields.push_back(
      Flag("emergency_power_reduction_init", "EmergencyPowerReductionInit", Bit(devcap2, 26)));
  ConcatTo(text, "\n EmergencyPowerReduction ", emergency, ", ", fields.back().text);
  fields.push_back(Flag("frs", "FRS", Bit(devcap2, 31)));
  ConcatTo(text, "\n ", fields.back().text);
  if (type == kRootPort) {
    const std::string lines = kCacheLines[devcap2 >> 14 & 3];
    fields.push_back(Text("ln_system_cls", "LN System CLS", lines));
    ConcatTo(text, " LN System CLS ", lines, ",");
  }
  // lspci leaves the TPH completer bits out when only the extended one is set.
  const bool tph_shown = !(Bit(devcap2, 13) && !Bit(devcap2, 12));
  if ((type == kEndpoint || type == kRootPort) && tph_shown) {
    ConcatTo(text, " ",
             AppendFlags(
                 fields, devcap2,
                 {{"tph_completer", "TPHComp", 12}, {"extended_tph_completer", "ExtTPHComp", 13}}));
  }
  if (type == kRootPort || type == kDownstreamPort) {
    fields.push_back(Flag("ari_forwarding", "ARIFwd", Bit(devcap2, 5)));
    ConcatTo(text, " ", fields.back().text);
  }
  if (type == kRootPort || type == kUpstreamPort || type == kDownstreamPort) {
    ConcatTo(text,
             "\n AtomicOpsCap: ", AppendFlags(fields, devcap2, {{"atomic_routing", "Routing", 6}}));
    if (type == kRootPort) {
      ConcatTo(text, " ",
               AppendFlags(fields, devcap2,
                           {{"atomic_32bit", "32bit", 7},
                            {"atomic_64bit", "64bit", 8},
                            {"atomic_128bit_cas", "128bitCAS", 9}}));
    }
  }
  cap.fields.push_back(
      Register("device_capabilities2", "DevCap2", std::move(text), std::move(fields)));

  const uint16_t devctl2 = space.Word(at + 0x28);
  static constexpr std::array<const char*, 4> kObffEnable = {"Disabled", "Via message A",
                                                             "Via message B", "Via WAKE#"};
  std::vector<CapField> control;
  control.reserve(9);
  control.push_back(
      Text("completion_timeout", "Completion Timeout", CompletionTimeoutValue(devctl2 & 0xF)));
  const std::string enables = AppendFlags(control, devctl2,
                                          {{"completion_timeout_disable", "TimeoutDis", 4},
                                           {"ltr", "LTR", 10},
                                           {"10bit_tag_requester", "10BitTagReq", 12}});
  const char* const obff_enable = kObffEnable[devctl2 >> 13 & 3];
  control.push_back(Text("obff", "OBFF", obff_enable));
  std::string control_text;
  control_text.reserve(160);
  ConcatTo(control_text, "Completion Timeout: ", control[0].text, ", ", enables, " OBFF ",
           obff_enable, ",");
  if (type == kRootPort || type == kDownstreamPort) {
    control.push_back(Flag("ari_forwarding", "ARIFwd", Bit(devctl2, 5)));
    ConcatTo(control_text, " ", control.back().text);
  }
  std::string atomics;
  if (type == kEndpoint || type == kLegacyEndpoint || type == kRootPort ||
      type == kRootComplexEndpoint) {
    atomics = AppendFlags(control, devctl2, {{"atomic_requester", "ReqEn", 6}});
  }
  if (type == kRootPort || type == kUpstreamPort || type == kDownstreamPort) {
    if (!atomics.empty()) atomics += ' ';
    atomics += AppendFlags(control, devctl2, {{"atomic_egress_blocking", "EgressBlck", 7}});
  }
  if (!atomics.empty()) ConcatTo(control_text, "\n AtomicOpsCtl: ", atomics);
  cap.fields.push_back(
      Register("device_control2", "DevCtl2", std::move(control_text), std::move(control)));
}

void AddLink2Registers(const ConfigSpace& space, Capability& cap, int type, bool function_zero) {
  const int at = cap.offset;
  // lspci leaves out LnkCap2 and LnkCtl2 of an endpoint that is not function 0 of device 0.
  const bool other_function = (type == kEndpoint || type == kLegacyEndpoint) && !function_zero;
  const uint32_t lnkcap2 = space.Dword(at + 0x2C);
  if (lnkcap2 != 0 && !other_function) {
    const std::string speeds = SupportedSpeeds(lnkcap2);
    std::vector<CapField> fields;
    fields.reserve(6);
    fields.push_back(Text("supported_speeds", "Supported Link Speeds", speeds));
    std::vector<std::string> each;
    for (int bit = 1; bit <= 6; ++bit) {
      if (Bit(lnkcap2, bit)) each.push_back(LinkSpeedText(bit));
    }
    CapField& list = fields.emplace_back();
    list.key = "speeds";
    list.label = "Speeds";
    list.value = std::move(each);
    const std::string flags = AppendFlags(fields, lnkcap2,
                                          {{"crosslink", "Crosslink", 8},
                                           {"retimer", "Retimer", 23},
                                           {"two_retimers", "2Retimers", 24},
                                           {"drs", "DRS", 31}});
    cap.fields.push_back(Register("link_capabilities2", "LnkCap2",
                                  Concat("Supported Link Speeds: ", speeds, ", ", flags),
                                  std::move(fields)));
  }
  if (!other_function) {
    const uint16_t lnkctl2 = space.Word(at + 0x30);
    std::vector<CapField> fields;
    fields.reserve(8);
    fields.push_back(Text("target_speed", "Target Link Speed", TargetSpeed(lnkctl2 & 0xF)));
    const std::string first =
        AppendFlags(fields, lnkctl2,
                    {{"enter_compliance", "EnterCompliance", 4}, {"speed_disable", "SpeedDis", 5}});
    std::string text;
    text.reserve(192);
    ConcatTo(text, "Target Link Speed: ", fields[0].text, ", ", first);
    if (type == kDownstreamPort) {
      fields.push_back(Text("selectable_de_emphasis", "Selectable De-emphasis",
                            Bit(lnkctl2, 6) ? "-3.5dB" : "-6dB"));
      ConcatTo(text, ", Selectable De-emphasis: ", fields.back().text);
    }
    const std::string margin = TransmitMargin(lnkctl2 >> 7 & 7);
    fields.push_back(Text("transmit_margin", "Transmit Margin", margin));
    const std::string second =
        AppendFlags(fields, lnkctl2,
                    {{"enter_modified_compliance", "EnterModifiedCompliance", 10},
                     {"compliance_sos", "ComplianceSOS", 11}});
    const std::string preset = CompliancePreset(lnkctl2 >> 12 & 0xF);
    fields.push_back(Text("compliance_preset", "Compliance Preset/De-emphasis", preset));
    ConcatTo(text, "\n Transmit Margin: ", margin, ", ", second,
             "\n Compliance Preset/De-emphasis: ", preset);
    cap.fields.push_back(Register("link_control2", "LnkCtl2", std::move(text), std::move(fields)));
  }
  const uint16_t lnksta2 = space.Word(at + 0x32);
  static constexpr std::array<const char*, 4> kCrosslink = {"unsupported", "Upstream Port",
                                                            "Downstream Port", "incomplete"};
  std::vector<CapField> fields;
  fields.reserve(11);
  fields.push_back(
      Text("de_emphasis", "Current De-emphasis Level", Bit(lnksta2, 0) ? "-3.5dB" : "-6dB"));
  const std::string first = AppendFlags(fields, lnksta2,
                                        {{"equalization_complete", "EqualizationComplete", 1},
                                         {"equalization_phase1", "EqualizationPhase1", 2}});
  const std::string second =
      AppendFlags(fields, lnksta2,
                  {{"equalization_phase2", "EqualizationPhase2", 3},
                   {"equalization_phase3", "EqualizationPhase3", 4},
                   {"link_equalization_request", "LinkEqualizationRequest", 5}});
  const std::string third =
      AppendFlags(fields, lnksta2,
                  {{"retimer_present", "Retimer", 6}, {"two_retimers_present", "2Retimers", 7}});
  const char* const crosslink = kCrosslink[lnksta2 >> 8 & 3];
  fields.push_back(Text("crosslink_resolution", "CrosslinkRes", crosslink));
  std::string text;
  text.reserve(224);
  ConcatTo(text, "Current De-emphasis Level: ", fields[0].text, ", ", first, "\n ", second, "\n ",
           third, " CrosslinkRes: ", crosslink);
  // Device Readiness Status, at a port facing down whose link supports it.
  if (Bit(lnkcap2, 31) &&
      (type == kRootPort || type == kDownstreamPort || type == kPciToPcieBridge)) {
    fields.push_back(Flag("drs_received", "DRS", Bit(lnksta2, 15)));
    ConcatTo(text, ", ", fields.back().text);
    static constexpr std::array<const char*, 8> kPresence = {"Link Down - Not Determined",
                                                             "Link Down - Not Present",
                                                             "Link Down - Present",
                                                             "Reserved",
                                                             "Link Up - Present",
                                                             "Link Up - Present and DRS Received",
                                                             "Reserved",
                                                             "Reserved"};
    // For JSON and the window only: lspci prints it only now and then.
    fields.push_back(
        Hidden(Text("downstream_component", "DownstreamComp", kPresence[lnksta2 >> 12 & 7])));
  }
  cap.fields.push_back(Register("link_status2", "LnkSta2", std::move(text), std::move(fields)));
}

}  // namespace kelvox::pcie
