// The judgement of a machine's health on hand-made functions: a root port, and below it what
// each case plants; what is found, of which kind and severity, and what is not.
#include "health/link_health.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvox::health {
namespace {

HealthFunction Port(std::string address, int type, LinkState link, int parent = -1) {
  HealthFunction f;
  f.address = std::move(address);
  f.name = "PCI bridge";
  f.class_code = 0x060400;
  f.port_type = type;
  f.link = link;
  f.parent = parent;
  f.driver = "pcieport";
  return f;
}

HealthFunction Device(std::string address, uint32_t class_code, LinkState link, int parent,
                      int type = kEndpoint) {
  HealthFunction f;
  f.address = std::move(address);
  f.name = "device";
  f.class_code = class_code;
  f.port_type = type;
  f.link = link;
  f.parent = parent;
  f.driver = "somedriver";
  return f;
}

// "kind address": what was found, worst first.
std::vector<std::string> Found(const std::vector<HealthFunction>& functions) {
  std::vector<std::string> found;
  for (const Finding& finding : JudgeHealth(functions)) {
    found.push_back(finding.kind + " " + finding.address);
  }
  return found;
}

std::string TextOf(const std::vector<HealthFunction>& functions, const std::string& kind) {
  for (const Finding& finding : JudgeHealth(functions)) {
    if (finding.kind == kind) return finding.text;
  }
  return "";
}

constexpr LinkState kGen4x16{16, 16, 16, 16};
constexpr LinkState kGen5x16{32, 16, 32, 16};

TEST(LinkHealth, ALinkIsJudgedAgainstWhatBothEndsCanDo) {
  const struct {
    const char* what;
    std::vector<HealthFunction> functions;
    std::vector<std::string> found;
    std::string text;
  } cases[] = {
      {"a Gen4 x16 GPU trained at Gen1 x8 under a Gen4 root port",
       {Port("00:01.0", kRootPort, kGen4x16), Device("01:00.0", 0x030000, {16, 16, 2.5, 8}, 0)},
       {"link 01:00.0"},
       "link 00:01.0 - 01:00.0 at 2.5GT/s x8, both ends can 16GT/s x16"},
      {"a Gen3 x4 NVMe under a Gen5 x16 port: both ends are as fast as the slower can be",
       {Port("00:01.0", kRootPort, {32, 16, 8, 4}), Device("01:00.0", 0x010802, {8, 4, 8, 4}, 0)},
       {},
       ""},
      {"the port's own LnkSta stands in for a device that gives none",
       {Port("00:01.0", kRootPort, {16, 16, 8, 16}),
        Device("01:00.0", 0x020000, {16, 16, 0, 0}, 0)},
       {"link 01:00.0"},
       "link 00:01.0 - 01:00.0 at 8GT/s x16, both ends can 16GT/s x16"},
      {"a port is never judged against itself, however slow its own registers say it runs",
       {Port("00:01.0", kRootPort, {16, 16, 2.5, 1})},
       {},
       ""},
      {"a GPU below its speed is said to be possibly idle",
       {Port("00:01.0", kRootPort, kGen4x16),
        [] {
          HealthFunction gpu = Device("01:00.0", 0x030000, {16, 16, 2.5, 16}, 0);
          gpu.manages_speed = true;
          return gpu;
        }()},
       {"link 01:00.0"},
       "link 00:01.0 - 01:00.0 at 2.5GT/s x16, both ends can 16GT/s x16 (many devices lower "
       "their link speed when idle: check it under load)"},
      {"a switch's Gen3 x4 uplink limits the Gen4 x16 endpoint below it",
       {Port("00:01.0", kRootPort, {8, 4, 8, 4}), Port("01:00.0", kUpstreamPort, {8, 4, 8, 4}, 0),
        Port("02:00.0", kDownstreamPort, kGen4x16, 1), Device("03:00.0", 0x120000, kGen4x16, 2)},
       {"path 03:00.0"},
       "gets 3.94 GB/s per direction, not the 31.51 GB/s of its own link: the link 00:01.0 - "
       "01:00.0 at 8GT/s x4 is the narrowest on its way to the root port"},
      {"unknown speeds judge nothing",
       {Port("00:01.0", kRootPort, {0, 16, 0, 16}), Device("01:00.0", 0x020000, {0, 16, 0, 16}, 0)},
       {},
       ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Found(c.functions), c.found) << c.what;
    if (!c.text.empty()) {
      EXPECT_EQ(TextOf(c.functions, c.found.front().substr(0, c.found.front().find(' '))), c.text)
          << c.what;
    }
  }
  EXPECT_NEAR(Bandwidth(2.5, 1), 0.25, 1e-9);
  EXPECT_NEAR(Bandwidth(8, 16), 15.754, 1e-3);
  EXPECT_NEAR(Bandwidth(64, 16), 128, 1e-9);
}

TEST(LinkHealth, ErrorsDownLinksAndMissingDriversAreFoundNotesAreNot) {
  HealthFunction counted = Device("01:00.0", 0x020000, kGen4x16, 0);
  counted.counters = {{"correctable", "RxErr", 3},         {"correctable", "BadTLP", 0},
                      {"correctable", "TOTAL_ERR_COR", 3}, {"fatal", "TOTAL_ERR_FATAL", 0},
                      {"nonfatal", "CmpltTO", 1},          {"nonfatal", "TOTAL_ERR_NONFATAL", 1}};
  HealthFunction quiet = Device("01:00.0", 0x020000, kGen4x16, 0);
  quiet.counters = {{"correctable", "RxErr", 0}, {"correctable", "TOTAL_ERR_COR", 0}};
  HealthFunction flagged = Device("01:00.0", 0x020000, kGen4x16, 0);
  flagged.uncorrectable_now = {"DLP", "SDES"};
  HealthFunction down = Port("00:01.0", kRootPort, kGen4x16);
  down.link_active = false;
  HealthFunction lonely = down;  // nothing below it: an empty slot
  HealthFunction nic = Device("01:00.0", 0x020000, kGen4x16, 0);
  nic.driver = "";
  HealthFunction host = Device("00:00.0", 0x060000, {}, -1, -1);
  host.driver = "";
  HealthFunction unknown = nic;
  unknown.driver.reset();  // a capture that does not say
  HealthFunction asleep = Device("01:00.0", 0x020000, kGen4x16, 0);
  asleep.power_state = "D3cold";
  const HealthFunction port = Port("00:01.0", kRootPort, kGen4x16);
  const struct {
    const char* what;
    std::vector<HealthFunction> functions;
    std::vector<std::string> found;
    bool any;
  } cases[] = {
      {"non-zero counters, the worst first",
       {port, counted},
       {"aer_counter 01:00.0", "aer_counter 01:00.0"},
       true},
      {"zero counters", {port, quiet}, {}, false},
      {"AER status bits set now", {port, flagged}, {"aer_status 01:00.0"}, true},
      {"a port whose link is down with a device below",
       {down, Device("01:00.0", 0x020000, kGen4x16, 0)},
       {"link_down 00:01.0"},
       true},
      {"an empty slot's link down", {lonely}, {}, false},
      {"a NIC without a driver beside a host bridge without one",
       {host, port, nic},
       {"no_driver 01:00.0"},
       true},
      {"a driver not known", {port, unknown}, {}, false},
      {"a function in D3cold is a note only", {port, asleep}, {"d3cold 01:00.0"}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Found(c.functions), c.found) << c.what;
    EXPECT_EQ(AnyFound(JudgeHealth(c.functions)), c.any) << c.what;
  }
  const std::vector<Finding> findings = JudgeHealth({port, counted});
  ASSERT_EQ(findings.size(), 2u);
  EXPECT_EQ(findings[0].severity, Severity::kError);
  EXPECT_EQ(findings[0].text, "AER counts 1 non-fatal errors since boot: CmpltTO 1");
  EXPECT_EQ(findings[1].text, "AER counts 3 correctable errors since boot: RxErr 3");
  EXPECT_EQ(SummaryLine(findings, 2),
            "health: 2 findings (1 error, 1 warning), 2 functions checked");
  EXPECT_EQ(SummaryLine(JudgeHealth({port, asleep}), 2),
            "health: no findings, 1 note, 2 functions checked");
}

}  // namespace
}  // namespace kelvox::health
