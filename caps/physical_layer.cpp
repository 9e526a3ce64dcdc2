// The physical layer past 8 GT/s: the Physical Layer 16.0, 32.0 and 64.0 GT/s capabilities
// (0x0026, 0x002A, 0x0031: how equalization at that rate went, the lanes whose data parity
// failed, and each lane's transmitter presets), Lane Margining at the Receiver (0x0027), and
// the per-lane equalization of Secondary PCI Express. lspci 3.9 decodes none of them; they are
// written in its terse style ("Name+", "Key=value").
#include "caps/cap_field.h"
#include "caps/decoders.h"

namespace kelvox {

namespace {

constexpr int kMaxLanes = 32;

constexpr const char* kLaneKeys[kMaxLanes] = {
    "lane0",  "lane1",  "lane2",  "lane3",  "lane4",  "lane5",  "lane6",  "lane7",
    "lane8",  "lane9",  "lane10", "lane11", "lane12", "lane13", "lane14", "lane15",
    "lane16", "lane17", "lane18", "lane19", "lane20", "lane21", "lane22", "lane23",
    "lane24", "lane25", "lane26", "lane27", "lane28", "lane29", "lane30", "lane31"};
constexpr const char* kLaneLabels[kMaxLanes] = {
    "Lane0",  "Lane1",  "Lane2",  "Lane3",  "Lane4",  "Lane5",  "Lane6",  "Lane7",
    "Lane8",  "Lane9",  "Lane10", "Lane11", "Lane12", "Lane13", "Lane14", "Lane15",
    "Lane16", "Lane17", "Lane18", "Lane19", "Lane20", "Lane21", "Lane22", "Lane23",
    "Lane24", "Lane25", "Lane26", "Lane27", "Lane28", "Lane29", "Lane30", "Lane31"};

// The lanes of the link, as many as its maximum width, within what the space holds.
int LanesAt(const ConfigSpace& space, const FunctionContext& function, int at, int bytes_per_lane) {
  int lanes = function.express_link_width < kMaxLanes ? function.express_link_width : kMaxLanes;
  while (lanes > 0 && !space.Readable(at, lanes * bytes_per_lane)) --lanes;
  return lanes;
}

// "0" or "at lane: 0 3": the lanes whose bit is set in `bits`.
CapField LaneBits(std::string_view key, std::string_view label, uint32_t bits, int lanes) {
  std::vector<std::string> set;
  std::string text;
  for (int lane = 0; lane < lanes; ++lane) {
    if ((bits >> lane & 1) == 0) continue;
    set.push_back(std::to_string(lane));
    text += " " + set.back();
  }
  CapField field = Text(key, label, set.empty() ? "0" : "at lane:" + text);
  field.value = std::move(set);
  return field;
}

// A shown list of lanes: one line per lane in the text, an array in JSON.
CapField LaneList(std::string_view key, std::string_view label, std::vector<CapField> lanes) {
  std::string text;
  for (const CapField& lane : lanes) {
    text += (text.empty() ? "" : "\n") + std::string(lane.label) + ": " + lane.text;
  }
  CapField list = Register(key, label, std::move(text), std::move(lanes));
  list.list = true;
  return list;
}

// The equalization status bits every rate shares.
std::vector<FlagBit> EqualizationBits() {
  return {{"equalization_complete", "EqualizationComplete", 0},
          {"equalization_phase1", "EqualizationPhase1", 1},
          {"equalization_phase2", "EqualizationPhase2", 2},
          {"equalization_phase3", "EqualizationPhase3", 3},
          {"equalization_request", "LinkEqualizationRequest", 4}};
}

// Each lane's byte of transmitter presets at 16, 32 and 64 GT/s.
CapField PresetBytes(const ConfigSpace& space, const FunctionContext& function, int at) {
  const int lanes = LanesAt(space, function, at, 1);
  std::vector<CapField> entries;
  for (int lane = 0; lane < lanes; ++lane) {
    const int byte = space.Byte(at + lane);
    const int downstream = byte & 0xF, upstream = byte >> 4;
    entries.push_back(Register(kLaneKeys[lane], kLaneLabels[lane],
                               "DownstreamTxPreset=" + std::to_string(downstream) +
                                   " UpstreamTxPreset=" + std::to_string(upstream),
                               Fields(Number("lane", "Lane", lane, std::to_string(lane)),
                                      Number("downstream_tx_preset", "DownstreamTxPreset",
                                             downstream, std::to_string(downstream)),
                                      Number("upstream_tx_preset", "UpstreamTxPreset", upstream,
                                             std::to_string(upstream)))));
  }
  return LaneList("lane_equalization", "LaneEqCtl", std::move(entries));
}

// The status and parity registers at 16 GT/s and past it.
void AddStatus(const ConfigSpace& space, Capability& cap, std::string_view label,
               std::vector<FlagBit> bits) {
  std::vector<CapField> flags;
  const uint32_t status = space.Dword(cap.offset + 12);
  for (const FlagBit& bit : bits)
    flags.push_back(Flag(bit.key, bit.label, (status >> bit.bit & 1) != 0));
  cap.fields.push_back(FlagsRegister("status", label, std::move(flags)));
}

}  // namespace

CapField SecondaryLaneEqualization(const ConfigSpace& space, const FunctionContext& function,
                                   int at) {
  const int lanes = LanesAt(space, function, at, 2);
  std::vector<CapField> entries;
  for (int lane = 0; lane < lanes; ++lane) {
    const uint16_t word = space.Word(at + 2 * lane);
    const int down_tx = word & 0xF, down_rx = word >> 4 & 7;
    const int up_tx = word >> 8 & 0xF, up_rx = word >> 12 & 7;
    entries.push_back(Register(
        kLaneKeys[lane], kLaneLabels[lane],
        "DownstreamTxPreset=" + std::to_string(down_tx) + " DownstreamRxHint=" +
            std::to_string(down_rx) + " UpstreamTxPreset=" + std::to_string(up_tx) +
            " UpstreamRxHint=" + std::to_string(up_rx),
        Fields(
            Number("lane", "Lane", lane, std::to_string(lane)),
            Number("downstream_tx_preset", "DownstreamTxPreset", down_tx, std::to_string(down_tx)),
            Number("downstream_rx_hint", "DownstreamRxHint", down_rx, std::to_string(down_rx)),
            Number("upstream_tx_preset", "UpstreamTxPreset", up_tx, std::to_string(up_tx)),
            Number("upstream_rx_hint", "UpstreamRxHint", up_rx, std::to_string(up_rx)))));
  }
  return LaneList("lane_equalization", "LaneEqCtl", std::move(entries));
}

void DecodePhysicalLayer16(const ConfigSpace& space, const FunctionContext& function,
                           Capability& cap) {
  if (!RequireBytes(space, cap, 0x20)) return;
  AddStatus(space, cap, "Phy16Sta", EqualizationBits());
  const int lanes =
      function.express_link_width < kMaxLanes ? function.express_link_width : kMaxLanes;
  cap.fields.push_back(LaneBits("local_parity_mismatch", "LocalParityMismatch",
                                space.Dword(cap.offset + 0x10), lanes));
  cap.fields.push_back(LaneBits("retimer1_parity_mismatch", "Retimer1ParityMismatch",
                                space.Dword(cap.offset + 0x14), lanes));
  cap.fields.push_back(LaneBits("retimer2_parity_mismatch", "Retimer2ParityMismatch",
                                space.Dword(cap.offset + 0x18), lanes));
  cap.fields.push_back(PresetBytes(space, function, cap.offset + 0x20));
}

void DecodePhysicalLayer32(const ConfigSpace& space, const FunctionContext& function,
                           Capability& cap) {
  if (!RequireBytes(space, cap, 0x20)) return;
  const uint32_t capability = space.Dword(cap.offset + 4), control = space.Dword(cap.offset + 8);
  cap.fields.push_back(
      FlagsRegister("capabilities", "Phy32Cap",
                    FlagsOf(capability, {{"equalization_bypass", "EqBypass", 0},
                                         {"no_equalization_needed", "NoEqNeeded", 1},
                                         {"modified_ts_mode0", "ModTsMode0", 8},
                                         {"modified_ts_mode1", "ModTsMode1", 9},
                                         {"modified_ts_mode2", "ModTsMode2", 10}})));
  std::vector<CapField> controls =
      FlagsOf(control, {{"equalization_bypass_disable", "EqBypassDis", 0},
                        {"no_equalization_needed_disable", "NoEqNeededDis", 1}});
  std::string text = FlagsText(controls);
  const int mode = static_cast<int>(control >> 8 & 7);
  controls.push_back(Number("modified_ts_mode", "ModTsMode", mode, std::to_string(mode)));
  text += " ModTsMode=" + std::to_string(mode);
  cap.fields.push_back(Register("control", "Phy32Ctl", std::move(text), std::move(controls)));
  std::vector<FlagBit> bits = EqualizationBits();
  bits.push_back({"modified_ts_received", "ModTsReceived", 5});
  bits.push_back({"precoding_on", "TxPrecodingOn", 8});
  bits.push_back({"precode_request", "TxPrecodeReq", 9});
  bits.push_back({"no_equalization_needed_received", "NoEqNeededRcvd", 10});
  AddStatus(space, cap, "Phy32Sta", std::move(bits));
  const auto modified = [&](std::string_view key, std::string_view label, int at) {
    const uint64_t data = static_cast<uint64_t>(space.Dword(at + 4)) << 32 | space.Dword(at);
    cap.fields.push_back(Text(key, label, Hex(data, 16)));
  };
  modified("received_modified_ts", "RcvdModTsData", cap.offset + 0x10);
  modified("transmitted_modified_ts", "TxModTsData", cap.offset + 0x18);
  cap.fields.push_back(PresetBytes(space, function, cap.offset + 0x20));
}

void DecodePhysicalLayer64(const ConfigSpace& space, const FunctionContext& function,
                           Capability& cap) {
  if (!RequireBytes(space, cap, 0x10)) return;
  std::vector<FlagBit> bits = EqualizationBits();
  bits.push_back({"precoding_on", "TxPrecodingOn", 5});
  bits.push_back({"precode_request", "TxPrecodeReq", 6});
  bits.push_back({"no_equalization_needed_received", "NoEqNeededRcvd", 7});
  AddStatus(space, cap, "Phy64Sta", std::move(bits));
  cap.fields.push_back(PresetBytes(space, function, cap.offset + 0x10));
}

void DecodeLaneMargining(const ConfigSpace& space, const FunctionContext& function,
                         Capability& cap) {
  if (!RequireBytes(space, cap, 8)) return;
  const uint16_t capability = space.Word(cap.offset + 4), status = space.Word(cap.offset + 6);
  cap.fields.push_back(FlagsRegister("capabilities", "MarginCap",
                                     FlagsOf(capability, {{"uses_driver", "DriverSoftware", 0}})));
  cap.fields.push_back(FlagsRegister(
      "status", "MarginSta",
      FlagsOf(status, {{"ready", "Ready", 0}, {"software_ready", "SoftwareReady", 1}})));
  const int lanes = LanesAt(space, function, cap.offset + 8, 4);
  std::vector<CapField> entries;
  // A lane's control and its status share one layout: the receiver, the margin type, the
  // usage model and the payload.
  const auto part = [](uint16_t word, std::string& text) {
    const int receiver = word & 7, type = word >> 3 & 7, usage = word >> 6 & 1, payload = word >> 8;
    text += "Rcvr=" + std::to_string(receiver) + " Type=" + std::to_string(type) +
            " Usage=" + std::to_string(usage) + " Payload=" + Hex(payload, 2);
    return Fields(Number("receiver", "Rcvr", receiver, std::to_string(receiver)),
                  Number("margin_type", "Type", type, std::to_string(type)),
                  Number("usage_model", "Usage", usage, std::to_string(usage)),
                  Number("payload", "Payload", payload, Hex(payload, 2)));
  };
  for (int lane = 0; lane < lanes; ++lane) {
    std::string text = "Ctl ";
    CapField control =
        Register("control", "Ctl", "", part(space.Word(cap.offset + 8 + 4 * lane), text));
    text += ", Sta ";
    CapField state =
        Register("status", "Sta", "", part(space.Word(cap.offset + 10 + 4 * lane), text));
    control.text = text.substr(4, text.find(',') - 4);
    state.text = text.substr(text.find(", Sta ") + 6);
    entries.push_back(Register(kLaneKeys[lane], kLaneLabels[lane], std::move(text),
                               Fields(Number("lane", "Lane", lane, std::to_string(lane)),
                                      std::move(control), std::move(state))));
  }
  cap.fields.push_back(LaneList("lanes", "Lanes", std::move(entries)));
}

}  // namespace kelvox
