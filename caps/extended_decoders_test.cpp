// The extended capabilities lspci 3.9 does not decode, or decodes wrongly, worked out by hand
// from their register layouts: a PCI Express function of a given port type and link width
// with one extended capability at 0x100, and the text and values its registers must give.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "caps/capability_list.h"

namespace kelvox {
namespace {

struct Register {
  int offset;  // from the capability
  uint32_t value;
};

// A function whose PCI Express capability says `type` and a link of `width` lanes, with the
// extended capability `id` at 0x100 holding `registers`.
Capability Decoded(int id, std::vector<Register> registers, int type = 0, int width = 4,
                   int version = 1, int size = 4096) {
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  const auto set = [&bytes](int at, uint32_t value) {
    for (int i = 0; i < 4 && at + i < static_cast<int>(bytes.size()); ++i) {
      bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
  };
  set(0x04, 0x00100000);  // the capabilities list
  set(0x34, 0x40);
  set(0x40, 0x0010 | static_cast<uint32_t>(0x02 | type << 4) << 16);
  set(0x4C, static_cast<uint32_t>(width) << 4);
  set(0x100, static_cast<uint32_t>(id) | static_cast<uint32_t>(version) << 16);
  for (const Register& r : registers) set(0x100 + r.offset, r.value);
  const CapabilityList list = DecodeCapabilities(ConfigSpace(std::move(bytes)));
  for (const Capability& capability : list.capabilities) {
    if (capability.extended) return capability;
  }
  return {};
}

// The field at `path` ("status", "lane_equalization/lane1/upstream_tx_preset").
const CapField* Find(const std::vector<CapField>& fields, std::string_view path) {
  const std::string_view key = path.substr(0, path.find('/'));
  for (const CapField& field : fields) {
    if (field.key != key) continue;
    if (key.size() == path.size()) return &field;
    return Find(field.children, path.substr(key.size() + 1));
  }
  return nullptr;
}

std::string TextOf(const Capability& capability, std::string_view path) {
  const CapField* field = Find(capability.fields, path);
  return field == nullptr ? "(no " + std::string(path) + ")" : field->text;
}

struct Expected {
  std::string_view path;
  std::string text;
};

struct Case {
  const char* what;
  Capability capability;
  std::vector<Expected> expected;
  std::string problem = "";
};

void Check(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    for (const Expected& e : c.expected) {
      EXPECT_EQ(TextOf(c.capability, e.path), e.text) << c.what << ": " << e.path;
    }
    EXPECT_EQ(c.capability.problem, c.problem) << c.what;
  }
}

TEST(ExtendedDecoders, PhysicalLayersGiveEqualizationParityAndPresetsPerLane) {
  Check({
      {"16 GT/s: equalization done through phase 2, lanes 1 and 3 of x4 with parity errors",
       Decoded(0x0026, {{0x0C, 0x07}, {0x10, 0x0000000A}, {0x14, 0x10}, {0x20, 0x3F2A1B07}}),
       {{"status",
         "EqualizationComplete+ EqualizationPhase1+ EqualizationPhase2+ "
         "EqualizationPhase3- LinkEqualizationRequest-"},
        {"local_parity_mismatch", "at lane: 1 3"},
        // Lane 4 is past the x4 link's lanes.
        {"retimer1_parity_mismatch", "0"},
        {"lane_equalization/lane0", "DownstreamTxPreset=7 UpstreamTxPreset=0"},
        {"lane_equalization/lane3", "DownstreamTxPreset=15 UpstreamTxPreset=3"},
        {"lane_equalization/lane3/upstream_tx_preset", "3"}}},
      {"16 GT/s on an x1 link has one lane of presets",
       Decoded(0x0026, {{0x20, 0x00000094}}, 0, 1),
       {{"lane_equalization", "Lane0: DownstreamTxPreset=4 UpstreamTxPreset=9"}}},
      {"32 GT/s: abilities, the usage mode chosen, precoding, modified TS data",
       Decoded(0x002A,
               {{0x04, 0x00000302},
                {0x08, 0x00000201},
                {0x0C, 0x00000321},
                {0x10, 0x89ABCDEF},
                {0x14, 0x01234567},
                {0x20, 0x00005100}},
               4, 2),
       {{"capabilities", "EqBypass- NoEqNeeded+ ModTsMode0+ ModTsMode1+ ModTsMode2-"},
        {"control", "EqBypassDis+ NoEqNeededDis- ModTsMode=2"},
        {"status",
         "EqualizationComplete+ EqualizationPhase1- EqualizationPhase2- EqualizationPhase3- "
         "LinkEqualizationRequest- ModTsReceived+ TxPrecodingOn+ TxPrecodeReq+ NoEqNeededRcvd-"},
        {"received_modified_ts", "0123456789abcdef"},
        {"lane_equalization",
         "Lane0: DownstreamTxPreset=0 UpstreamTxPreset=0\n"
         "Lane1: DownstreamTxPreset=1 UpstreamTxPreset=5"}}},
      {"64 GT/s: its presets follow the status",
       Decoded(0x0031, {{0x0C, 0x000000B0}, {0x10, 0x00000021}}, 0, 1),
       {{"status",
         "EqualizationComplete- EqualizationPhase1- EqualizationPhase2- "
         "EqualizationPhase3- LinkEqualizationRequest+ TxPrecodingOn+ TxPrecodeReq- "
         "NoEqNeededRcvd+"},
        {"lane_equalization/lane0/downstream_tx_preset", "1"}}},
      {"Secondary PCI Express: 16 bits of presets and hints a lane",
       Decoded(0x0019, {{0x0C, 0x6A3F5E29}}, 4, 2),
       {{"lane_equalization/lane0",
         "DownstreamTxPreset=9 DownstreamRxHint=2 UpstreamTxPreset=14 UpstreamRxHint=5"},
        {"lane_equalization/lane1",
         "DownstreamTxPreset=15 DownstreamRxHint=3 UpstreamTxPreset=10 UpstreamRxHint=6"}}},
      {"Lane Margining: the port, then each lane's control and status",
       Decoded(0x0027, {{0x04, 0x00030001}, {0x08, 0x9A4B7F53}}, 0, 1),
       {{"capabilities", "DriverSoftware+"},
        {"status", "Ready+ SoftwareReady+"},
        // Control 0x7f53: receiver 3, type 2, usage 1, payload 7f; status 0x9a4b: 3, 1, 1, 9a.
        {"lanes/lane0",
         "Ctl Rcvr=3 Type=2 Usage=1 Payload=7f, Sta Rcvr=3 Type=1 Usage=1 "
         "Payload=9a"},
        {"lanes/lane0/status/payload", "9a"}}},
      {"a width past 32 lanes reads 32 at most, and no lane past the space",
       Decoded(0x0026, {}, 0, 63, 1, 0x128),
       {{"lane_equalization/lane7", "DownstreamTxPreset=0 UpstreamTxPreset=0"},
        {"lane_equalization/lane8", "(no lane_equalization/lane8)"}}},
  });
}

TEST(ExtendedDecoders, LinkFeaturesAndDevice3) {
  Check({
      {"Data Link Feature: scaled flow control here and at the other end",
       Decoded(0x0025, {{0x04, 0x80000001}, {0x08, 0x80400001}}),
       {{"capabilities", "Features=000001 ScaledFC+ ExchangeEn+"},
        {"status", "Features=400001 ScaledFC+ Valid+"}}},
      {"Data Link Feature not exchanged",
       Decoded(0x0025, {{0x04, 0x00000000}, {0x08, 0x00000000}}),
       {{"capabilities", "Features=000000 ScaledFC- ExchangeEn-"}}},
      {"Device 3: 14-bit tags, L0p and its exit latencies, the widths",
       Decoded(0x002F, {{0x04, 0x00000C9E}, {0x08, 0x000000AC}, {0x0C, 0x00000012}}),
       {{"capabilities",
         "DMWrRouting- 14BitTagComp+ 14BitTagReq+ L0p+ UIOComp+ UIOReq+ "
         "PortL0pExit <2us RetimerL0pExit <2us"},
        {"control", "DMWrReq- DMWrEgressBlck- 14BitTagReq+ L0p+ UIOReq+ TargetWidth x4"},
        {"status", "InitWidth x4 SegCaptured- RemoteL0p+"}}},
      {"Device 3: a reserved width and the longest exit latency",
       Decoded(0x002F, {{0x04, 0x00000070}, {0x08, 0x00000070}, {0x0C, 0x00000007}}),
       {{"capabilities/port_l0p_exit_latency", ">64us"},
        {"control/target_link_width", "??7"},
        {"status", "InitWidth ??7 SegCaptured- RemoteL0p-"}}},
  });
}

// Where lspci 3.9 is no yardstick: sizes of 2^32 and more worked out in 32 bits, a run of
// devices ending at 31, DOE's Error bit, and what runs past the bytes.
TEST(ExtendedDecoders, WhatLspciGetsWrongIsRightHere) {
  Check({
      {"a multicast overlay of 2^40 bytes on a root port",
       Decoded(0x0012, {{0x28, 0x00000028}, {0x2C, 0x00000001}}, 4),
       {{"overlay", "OverlaySize 40 (1099511627776 bytes), BaseAddr 0000000100000000"}}},
      {"an endpoint's multicast window of 2^33 bytes",
       Decoded(0x0012, {{0x04, 0x00002100}}, 0),
       {{"capabilities", "MaxGroups 1, WindowSz 33 (8589934592 bytes)"},
        {"overlay", "(no overlay)"}}},
      {"an event collector's devices 28 to 31",
       Decoded(0x0007, {{0x04, 0xF0000001}}, 10),
       {{"devices", "RCiEP at Device(s): 0, 28-31"}}},
      {"an event collector of version 2 names its buses",
       Decoded(0x0007, {{0x04, 0}, {0x08, 0x00201000}}, 10, 0, 2),
       {{"devices", "00000000 [none]"}, {"associated_buses", "10-20"}}},
      {"DOE's Error is bit 2 of its status",
       Decoded(0x002E, {{0x0C, 0x00000004}}),
       {{"status", "Busy- IntSta- Error+ ObjectReady-"}}},
      {"a link declaration of more links than the space holds",
       Decoded(0x0005, {{0x04, 0x00000300}, {0x10, 0x00000003}, {0x18, 0x0ff12345}}, 10, 0, 1,
               0x130),
       {{"link0",
         "Desc: TargetPort=00 TargetComponent=00 AssocRCRB- LinkType=Config "
         "LinkValid+\nAddr: 1f:02.2  CfgSpace=000000000ff12345"}},
       "link 2 of 3 runs past the readable bytes"},
      {"a virtual channel past the space",
       Decoded(0x0002, {{0x04, 0x00000003}}, 4, 0, 1, 0x130),
       {{"vc2", "(no vc2)"}},
       "VC2 runs past the readable bytes"},
  });
}

}  // namespace
}  // namespace kelvox
