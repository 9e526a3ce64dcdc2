// The PCI Express capability (0x10): its first line (version, port type, slot, interrupt
// message number) and the device registers: DevCap, DevCtl, DevSta, and from version 2 DevCap2
// and DevCtl2. The link, slot and root port registers are in pci_express_link.cpp.
#include <array>

#include "caps/cap_field.h"
#include "caps/decoders.h"
#include "caps/pci_express_parts.h"
#include "text/concat.h"

namespace kelvox {

namespace pcie {

namespace {

std::string PortTypeName(int type, bool slot) {
  switch (type) {
    case kEndpoint:
      return "Endpoint";
    case kLegacyEndpoint:
      return "Legacy Endpoint";
    case kRootPort:
      return std::string("Root Port (Slot") + (slot ? "+" : "-") + ")";
    case kUpstreamPort:
      return "Upstream Port";
    case kDownstreamPort:
      return std::string("Downstream Port (Slot") + (slot ? "+" : "-") + ")";
    case kPcieToPciBridge:
      return "PCI-Express to PCI/PCI-X Bridge";
    case kPciToPcieBridge:
      return std::string("PCI/PCI-X to PCI-Express Bridge (Slot") + (slot ? "+" : "-") + ")";
    case kRootComplexEndpoint:
      return "Root Complex Integrated Endpoint";
    case kRootComplexEventCollector:
      return "Root Complex Event Collector";
    default:
      return "Unknown type " + std::to_string(type);
  }
}

// The port type without the slot: what JSON's "port_type" says.
std::string PortTypeKey(int type) {
  const std::string name = PortTypeName(type, false);
  const size_t slot = name.find(" (Slot");
  return slot == std::string::npos ? name : name.substr(0, slot);
}

bool IsEndpoint(int type) { return type == kEndpoint || type == kLegacyEndpoint; }

}  // namespace

std::string LinkSpeedText(int encoding) {
  static constexpr std::array<const char*, 7> kSpeeds = {"unknown", "2.5GT/s", "5GT/s", "8GT/s",
                                                         "16GT/s",  "32GT/s",  "64GT/s"};
  return encoding >= 1 && encoding <= 6 ? kSpeeds[encoding] : "unknown";
}

std::string L0sLatencyText(int code) {
  static constexpr std::array<const char*, 8> kLatencies = {
      "<64ns", "<128ns", "<256ns", "<512ns", "<1us", "<2us", "<4us", "unlimited"};
  return kLatencies[code & 7];
}

std::string L1LatencyText(int code) {
  static constexpr std::array<const char*, 8> kLatencies = {"<1us",  "<2us",  "<4us",  "<8us",
                                                            "<16us", "<32us", "<64us", "unlimited"};
  return kLatencies[code & 7];
}

void AddDeviceRegisters(const ConfigSpace& space, Capability& cap, int type) {
  const int at = cap.offset;
  const uint32_t devcap = space.Dword(at + 0x04);
  const int max_payload = 128 << (devcap & 0x7);
  const int phantom = (1 << (devcap >> 3 & 0x3)) - 1;
  std::vector<CapField> fields;
  fields.reserve(12);  // two values, two latencies, the flags and the power limit
  fields.push_back(
      Number("max_payload", "MaxPayload", max_payload, std::to_string(max_payload) + " bytes"));
  fields.push_back(Number("phantom_functions", "PhantFunc", phantom, std::to_string(phantom)));
  std::string text;
  text.reserve(128);
  ConcatTo(text, "MaxPayload ", fields[0].text, ", PhantFunc ", fields[1].text);
  if (IsEndpoint(type)) {
    fields.push_back(Text("l0s_latency", "Latency L0s", L0sLatencyText(devcap >> 6 & 7)));
    fields.push_back(Text("l1_latency", "L1", L1LatencyText(devcap >> 9 & 7)));
    ConcatTo(text, ", Latency L0s ", fields[2].text, ", L1 ", fields[3].text);
  }
  std::vector<CapField> flags;
  flags.reserve(7);
  flags.push_back(Flag("extended_tag", "ExtTag", (devcap & 1 << 5) != 0));
  if (IsEndpoint(type) || type == kUpstreamPort || type == kPcieToPciBridge) {
    flags.push_back(Flag("attention_button", "AttnBtn", (devcap & 1 << 12) != 0));
    flags.push_back(Flag("attention_indicator", "AttnInd", (devcap & 1 << 13) != 0));
    flags.push_back(Flag("power_indicator", "PwrInd", (devcap & 1 << 14) != 0));
  }
  flags.push_back(Flag("role_based_error", "RBE", (devcap & 1 << 15) != 0));
  const bool flr = (devcap & 1 << 28) != 0;
  if (IsEndpoint(type) || type == kRootComplexEndpoint) {
    flags.push_back(Flag("function_level_reset", "FLReset", flr));
  }
  ConcatTo(text, "\n", FlagsText(flags));
  if (type == kEndpoint || type == kUpstreamPort || type == kPcieToPciBridge) {
    const std::string power = PowerText(devcap >> 18 & 0xFF, devcap >> 26 & 0x3);
    flags.push_back(Text("slot_power_limit", "SlotPowerLimit", power));
    ConcatTo(text, " SlotPowerLimit ", power);
  }
  Append(fields, std::move(flags));
  cap.fields.push_back(
      Register("device_capabilities", "DevCap", std::move(text), std::move(fields)));

  const uint16_t devctl = space.Word(at + 0x08);
  const int payload = 128 << (devctl >> 5 & 0x7);
  const int read_request = 128 << (devctl >> 12 & 0x7);
  std::vector<CapField> control;
  control.reserve(13);
  std::string control_text;
  control_text.reserve(128);
  ConcatTo(control_text, AppendFlags(control, devctl,
                                     {{"correctable", "CorrErr", 0},
                                      {"non_fatal", "NonFatalErr", 1},
                                      {"fatal", "FatalErr", 2},
                                      {"unsupported_request", "UnsupReq", 3}}));
  ConcatTo(control_text, "\n",
           AppendFlags(control, devctl,
                       {{"relaxed_ordering", "RlxdOrd", 4},
                        {"extended_tag", "ExtTag", 8},
                        {"phantom_functions", "PhantFunc", 9},
                        {"aux_power", "AuxPwr", 10},
                        {"no_snoop", "NoSnoop", 11}}));
  if (type == kPcieToPciBridge) {
    ConcatTo(control_text, " ",
             AppendFlags(control, devctl, {{"bridge_config_retry", "BrConfRtry", 15}}));
  }
  if ((IsEndpoint(type) || type == kRootComplexEndpoint) && flr) {
    ConcatTo(control_text, " ",
             AppendFlags(control, devctl, {{"function_level_reset", "FLReset", 15}}));
  }
  control.push_back(
      Number("max_payload", "MaxPayload", payload, std::to_string(payload) + " bytes"));
  control.push_back(Number("max_read_request", "MaxReadReq", read_request,
                           std::to_string(read_request) + " bytes"));
  ConcatTo(control_text, "\nMaxPayload ", std::to_string(payload), " bytes, MaxReadReq ",
           std::to_string(read_request), " bytes");
  cap.fields.push_back(
      Register("device_control", "DevCtl", std::move(control_text), std::move(control)));

  cap.fields.push_back(
      FlagsRegister("device_status", "DevSta",
                    FlagsOf(space.Word(at + 0x0A), {{"correctable", "CorrErr", 0},
                                                    {"non_fatal", "NonFatalErr", 1},
                                                    {"fatal", "FatalErr", 2},
                                                    {"unsupported_request", "UnsupReq", 3},
                                                    {"aux_power", "AuxPwr", 4},
                                                    {"transactions_pending", "TransPend", 5}})));
}

}  // namespace pcie

void DecodePciExpress(const ConfigSpace& space, const FunctionContext& function, Capability& cap) {
  using namespace pcie;
  if (!RequireBytes(space, cap, 4)) return;
  const uint16_t capabilities = space.Word(cap.offset + 2);
  cap.version = capabilities & 0xF;
  const int type = capabilities >> 4 & 0xF;
  const bool slot = (capabilities & 1 << 8) != 0;
  const int message = capabilities >> 9 & 0x1F;
  cap.summary = Concat(PortTypeName(type, slot), ", MSI ", Hex(static_cast<uint32_t>(message), 2));
  cap.fields.reserve(24);  // every register with its hidden values
  cap.fields.push_back(Hidden(Text("port_type", "Type", PortTypeKey(type))));
  cap.fields.push_back(Hidden(Flag("slot_implemented", "Slot", slot)));
  cap.fields.push_back(
      Hidden(Number("interrupt_message", "MSI", message, Hex(static_cast<uint32_t>(message), 2))));

  if (!RequireBytes(space, cap, 0x0C)) return;
  AddDeviceRegisters(space, cap, type);
  const bool link = type != kRootComplexEndpoint && type != kRootComplexEventCollector;
  if (link) {
    if (!RequireBytes(space, cap, 0x14)) return;
    AddLinkRegisters(space, cap, type);
  }
  if (slot && (type == kRootPort || type == kDownstreamPort || type == kPciToPcieBridge)) {
    if (!RequireBytes(space, cap, 0x1C)) return;
    AddSlotRegisters(space, cap);
  }
  if (type == kRootPort || type == kRootComplexEventCollector) {
    if (!RequireBytes(space, cap, 0x24)) return;
    AddRootRegisters(space, cap);
  }
  if (cap.version < 2) return;
  if (!RequireBytes(space, cap, 0x2C)) return;
  AddDevice2Registers(space, cap, type);
  if (link) {
    if (!RequireBytes(space, cap, 0x34)) return;
    AddLink2Registers(space, cap, type, function.device == 0 && function.function == 0);
  }
}

}  // namespace kelvox
