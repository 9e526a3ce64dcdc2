// The terminal front end on machines with several PCI domains: list, capture and tree cover
// every domain and write addresses with their domain as lspci does; scan and details take
// --domain; JSON carries "domain"; functions the system cannot place are listed by name.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cli/capture_command.h"
#include "cli/details_command.h"
#include "cli/list_command.h"
#include "cli/scan_command.h"
#include "cli/testing/command_run.h"
#include "cli/tree_command.h"
#include "config/capture/capture_text.h"

namespace kelvox::cli {
namespace {

using testing::Lines;
using testing::ParsedRoundTrip;
using testing::RunCommand;

// A Hyper-V guest's view: the emulated host bridge and a PCI-PCI bridge with a device behind
// it in 0000, a passed-through GPU in c0e3 and an NVMe drive in VMD domain 10000.
constexpr char kThreeDomains[] =
    "0000:00:00.0 Host bridge\n00: 86 80 37 12 06 00 00 00 02 00 00 06 00 00 00 00\n\n"
    "0000:00:01.0 PCI bridge\n00: 86 80 44 24 07 00 10 00 00 00 04 06 00 00 01 00\n"
    "10: 00 00 00 00 00 00 00 00 00 01 01 00 00 00 00 00\n\n"
    "0000:01:00.0 Ethernet\n00: 86 80 0e 10 07 00 10 00 02 00 00 02 00 00 00 00\n\n"
    "c0e3:00:02.0 3D controller\n00: de 10 b5 20 06 00 10 00 a1 00 02 03 00 00 00 00\n\n"
    "10000:00:05.0 NVMe\n00: 4d 14 0a a8 06 04 10 00 01 02 08 01 00 00 00 00\n\n";

class DomainCommands : public ::testing::Test {
 protected:
  SimulatedBus bus_ = ParseSimulatedBus(kThreeDomains);
};

TEST_F(DomainCommands, ListWritesEveryFunctionWithItsDomainOnceOneIsOutside0000) {
  const testing::CommandRun run = RunCommand(RunList, {}, bus_);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].substr(0, 36), "0000:00:00.0 8086:1237 060000  Intel");
  EXPECT_EQ(lines[2].substr(0, 29), "0000:01:00.0 8086:100e 020000");
  EXPECT_EQ(lines[3].substr(0, 29), "c0e3:00:02.0 10de:20b5 030200");
  EXPECT_EQ(lines[4].substr(0, 30), "10000:00:05.0 144d:a80a 010802");
  // --bus keeps to that bus in every domain; the filters apply as before.
  const std::vector<std::string> bus0 = Lines(RunCommand(RunList, {"--bus", "0"}, bus_).out);
  EXPECT_EQ(bus0.size(), 4u);
  EXPECT_EQ(Lines(RunCommand(RunList, {"--vendor", "10de"}, bus_).out),
            (std::vector<std::string>{lines[3]}));
}

TEST_F(DomainCommands, ListJsonCarriesTheDomainOfEveryFunction) {
  const testing::CommandRun run = RunCommand(RunList, {"--json"}, bus_);
  ASSERT_EQ(run.status, 0) << run.err;
  const Json document = ParsedRoundTrip(run.out);
  const Json& functions = document["functions"];
  ASSERT_EQ(functions.size(), 5u);
  EXPECT_EQ(functions[3]["address"], "c0e3:00:02.0");
  EXPECT_EQ(functions[3]["domain"], 0xC0E3);
  EXPECT_EQ(functions[4]["domain"], 0x10000);
  EXPECT_EQ(functions[0]["domain"], 0);
  // "domain" sits just before "bus".
  auto key = functions[0].begin();
  ++key;
  EXPECT_EQ(key.key(), "domain");
  EXPECT_EQ((++key).key(), "bus");
}

TEST_F(DomainCommands, OneDomainKeepsTheShortAddresses) {
  const SimulatedBus one = ParseSimulatedBus("0000:00:03.0 x\n00: f4 1a 45 10\n");
  EXPECT_EQ(RunCommand(RunList, {}, one).out.substr(0, 8), "00:03.0 ");
  const Json document = ParsedRoundTrip(RunCommand(RunList, {"--json"}, one).out);
  EXPECT_EQ(document["functions"][0]["address"], "00:03.0");
  EXPECT_EQ(document["functions"][0]["domain"], 0);
}

TEST_F(DomainCommands, ScanAndDetailsShowTheDomainAsked) {
  testing::CommandRun run = RunCommand(RunScan, {"--domain", "C0E3"}, bus_);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> rows = Lines(run.out);
  ASSERT_EQ(rows.size(), 32u);
  EXPECT_EQ(rows[2].substr(0, 12), " 2 10de   20");
  EXPECT_EQ(rows[0].substr(0, 12), " 0 ffff   ff");
  // Without --domain it is 0000.
  EXPECT_EQ(Lines(RunCommand(RunScan, {}, bus_).out)[0].substr(0, 12), " 0 8086   12");

  run = RunCommand(RunScan, {"--domain=10000", "--json"}, bus_);
  ASSERT_EQ(run.status, 0) << run.err;
  const Json scan = ParsedRoundTrip(run.out);
  EXPECT_EQ(scan["domain"], 0x10000);
  EXPECT_EQ(scan["rows"][5]["vendor_id"]["text"], "144d");

  run = RunCommand(RunDetails, {"2", "--domain", "c0e3"}, bus_);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out)[0], "ドメイン=c0e3, バス番号=0, 機能番号=0, デバイス番号=2 の詳細情報");
  run = RunCommand(RunDetails, {"2", "--domain", "c0e3", "--json"}, bus_);
  ASSERT_EQ(run.status, 0) << run.err;
  const Json details = ParsedRoundTrip(run.out);
  EXPECT_EQ(details["domain"], 0xC0E3);
  EXPECT_EQ(RunCommand(RunDetails, {"0"}, bus_).out.substr(0, 16), "バス番号=0, ");
}

TEST_F(DomainCommands, ADomainThatIsNotThereOrNotANumberIsOneLineAndExit2) {
  const struct {
    std::vector<std::string> args;
    const char* message;
  } bad[] = {
      {{"--domain", "c0e4"},
       "kelvox-cli: scan: --domain: there is no domain c0e4; the domains are 0000, c0e3, "
       "10000\n"},
      {{"--domain", "xyz"}, "kelvox-cli: scan: --domain: domain 'xyz' is not a hex number\n"},
      {{"--domain", "123456789"},
       "kelvox-cli: scan: --domain: domain '123456789' has more than 8 hex digits\n"},
      {{"--domain", "80000000"},
       "kelvox-cli: scan: --domain: domain '80000000' is out of range (at most 7fffffff)\n"},
  };
  for (const auto& b : bad) {
    const testing::CommandRun run = RunCommand(RunScan, b.args, bus_);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, b.message);
  }
  const testing::CommandRun run = RunCommand(RunDetails, {"0", "--domain", "1"}, bus_);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
}

TEST_F(DomainCommands, AMachineWithoutDomain0000StartsOnItsLowestDomain) {
  const SimulatedBus bus =
      ParseSimulatedBus("c0e3:00:00.0 x\n00: de 10 b5 20\n\nc0e4:00:01.0 y\n00: 86 80 37 12\n");
  EXPECT_EQ(Lines(RunCommand(RunScan, {}, bus).out)[0].substr(0, 12), " 0 10de   20");
  const testing::CommandRun run = RunCommand(RunScan, {"--domain", "0"}, bus);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err,
            "kelvox-cli: scan: --domain: there is no domain 0000; the domains are c0e3, c0e4\n");
}

TEST_F(DomainCommands, TreeDrawsOneHostBridgePerDomain) {
  const testing::CommandRun run = RunCommand(RunTree, {}, bus_);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 8u) << run.out;
  EXPECT_EQ(lines[0], "ホストブリッジ (ドメイン 0000)");
  EXPECT_TRUE(lines[1].starts_with("├─ 0000:00:00.0 8086:1237")) << lines[1];
  EXPECT_TRUE(lines[2].starts_with("└─ 0000:00:01.0 8086:2444")) << lines[2];
  // The Ethernet device hangs from the bridge whose secondary bus is 1, in its own domain.
  EXPECT_TRUE(lines[3].starts_with("   └─ 0000:01:00.0 8086:100e")) << lines[3];
  EXPECT_EQ(lines[4], "ホストブリッジ (ドメイン c0e3)");
  EXPECT_TRUE(lines[5].starts_with("└─ c0e3:00:02.0 10de:20b5")) << lines[5];
  EXPECT_EQ(lines[6], "ホストブリッジ (ドメイン 10000)");
  EXPECT_TRUE(lines[7].starts_with("└─ 10000:00:05.0 144d:a80a")) << lines[7];
}

TEST_F(DomainCommands, CaptureWritesEveryDomainAndReadsBackTheSame) {
  const testing::CommandRun run = RunCommand(RunCapture, {}, bus_);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\nc0e3:00:02.0 0302: 10de:20b5 (rev a1)\n"), std::string::npos);
  EXPECT_NE(run.out.find("\n10000:00:05.0 0108: 144d:a80a (rev 01)\n"), std::string::npos);
  const SimulatedBus again = ParseSimulatedBus(run.out);
  EXPECT_EQ(again.Locations(), bus_.Locations());
}

TEST_F(DomainCommands, FunctionsWithNoPlaceAreListedLastByTheirOwnName) {
  // A backend that knows a function it cannot place in a bus, as Windows does.
  class WithUnplaced final : public ConfigAccess {
   public:
    uint32_t Read(int bus, int device, int function, int reg) override {
      return bus_.Read(bus, device, function, reg);
    }
    void Write(int, int, int, int, uint32_t) override {}
    std::string Name() const override { return "test"; }
    FunctionListing ListFunctions(std::optional<int> bus) override {
      FunctionListing listing = bus_.ListFunctions(bus);
      if (bus) return listing;  // a function with no place is on no bus
      listing.unplaced.push_back(
          {"PCI\\VEN_0000&DEV_0000&SUBSYS_00000000&REV_00\\00000000", 0x00000000, 0x03000000, 0});
      return listing;
    }
    SimulatedBus bus_ = ParseSimulatedBus("00:00.0 x\n00: 86 80 37 12 00 00 00 00 02 00 00 06\n");
  };
  const AccessOpener open = [](const std::optional<std::string>&) {
    return OpenedAccess{std::make_unique<WithUnplaced>(), {}};
  };
  testing::CommandRun run = RunCommand(RunList, {}, open);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(0, 8), "00:00.0 ");
  EXPECT_TRUE(lines[1].starts_with(
      "PCI\\VEN_0000&DEV_0000&SUBSYS_00000000&REV_00\\00000000 0000:0000 030000  "))
      << lines[1];
  // It has no bus for --bus to choose it by.
  EXPECT_EQ(Lines(RunCommand(RunList, {"--bus", "0"}, open).out).size(), 1u);
  run = RunCommand(RunList, {"--json"}, open);
  const Json document = ParsedRoundTrip(run.out);
  const Json& unplaced = document["functions"][1];
  EXPECT_EQ(unplaced["address"], "PCI\\VEN_0000&DEV_0000&SUBSYS_00000000&REV_00\\00000000");
  EXPECT_TRUE(unplaced["domain"].is_null());
  EXPECT_TRUE(unplaced["bus"].is_null());
  EXPECT_EQ(unplaced["class_code"]["text"], "030000");
}

}  // namespace
}  // namespace kelvox::cli
