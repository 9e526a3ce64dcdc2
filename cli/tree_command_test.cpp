#include "cli/tree_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "cli/testing/command_run.h"
#include "config/capture/simulated_bus.h"
#include "config/sysfs/sysfs_access.h"

namespace kelvox::cli {
namespace {

using testing::Lines;
using testing::ParsedRoundTrip;
using testing::RunCommand;

// A function with vendor 8086, device `device`, the class code and header type given; a
// bridge (type 1) forwards to `secondary`.
void Add(SimulatedBus& bus, FunctionLocation at, uint32_t device, uint32_t class_code,
         uint32_t header_type = 0, int secondary = 0) {
  bus.AddFunction(at);
  bus.SetRegister(at, 0x00, device << 16 | 0x8086);
  bus.SetRegister(at, 0x08, class_code << 8);
  bus.SetRegister(at, 0x0C, header_type << 16);
  if (header_type == 1) bus.SetRegister(at, 0x18, 0x00000000u | secondary << 16 | secondary << 8);
}

// Host bridge 00:00.0; root port 00:1c.0 to bus 1, where a switch's port 01:00.0 leads to bus 2
// holding 02:00.0 and 02:00.1; and 00:1f.0 on bus 0. No facts: the bus numbers place them.
SimulatedBus TwoLevels() {
  SimulatedBus bus;
  Add(bus, {0, 0, 0}, 0x29C0, 0x060000);
  Add(bus, {0, 0x1C, 0}, 0x2940, 0x060400, 1, 1);
  Add(bus, {0, 0x1F, 0}, 0x2916, 0x060100);
  Add(bus, {1, 0, 0}, 0x1234, 0x060400, 1, 2);
  Add(bus, {2, 0, 0}, 0x10D3, 0x020000);
  Add(bus, {2, 0, 1}, 0x10D3, 0x020000);
  return bus;
}

std::vector<std::string> Addresses(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    const size_t at = line.find_first_of("0123456789abcdef");
    out.push_back(line.substr(0, at) + (at == std::string::npos ? "" : line.substr(at, 7)));
  }
  return out;
}

TEST(TreeCommand, PlacesFunctionsUnderTheBridgeOfTheirBus) {
  const auto r = RunCommand(RunTree, {}, TwoLevels());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Addresses(Lines(r.out)), (std::vector<std::string>{
                                         "ホストブリッジ",
                                         "├─ 00:00.0",
                                         "├─ 00:1c.0",
                                         "│  └─ 01:00.0",
                                         "│     ├─ 02:00.0",
                                         "│     └─ 02:00.1",
                                         "└─ 00:1f.0",
                                     }));
  // Each line is the function's list line; no driver where the access method does not know.
  EXPECT_EQ(Lines(r.out)[4],
            "│     ├─ 02:00.0 8086:10d3 020000  Intel Corporation | - | Network Controller / "
            "Ethernet");
}

TEST(TreeCommand, TheSystemsWordOnParentAndDriverComesFirst) {
  SimulatedBus bus = TwoLevels();
  FunctionFacts facts;
  facts.driver = "e1000e";
  facts.parent = "00:1c.0";  // the system says 02:00.1 hangs from the root port directly
  bus.SetFacts({2, 0, 1}, facts);
  FunctionFacts top;
  top.driver = "";
  top.parent = "";  // and the switch port from the host bridge
  bus.SetFacts({1, 0, 0}, top);
  const auto r = RunCommand(RunTree, {}, bus);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> lines = Lines(r.out);
  EXPECT_EQ(Addresses(lines), (std::vector<std::string>{
                                  "ホストブリッジ",
                                  "├─ 00:00.0",
                                  "├─ 00:1c.0",
                                  "│  └─ 02:00.1",
                                  "├─ 00:1f.0",
                                  "└─ 01:00.0",
                                  "   └─ 02:00.0",
                              }));
  EXPECT_TRUE(lines[3].ends_with("  [e1000e]")) << lines[3];
  EXPECT_TRUE(lines[5].ends_with("  [ドライバなし]")) << lines[5];
}

TEST(TreeCommand, ALoopOrAMissingBridgeLeavesFunctionsOnTop) {
  SimulatedBus bus;
  Add(bus, {0, 1, 0}, 0x1111, 0x060400);
  Add(bus, {0, 2, 0}, 0x2222, 0x060400);
  Add(bus, {0, 3, 0}, 0x3333, 0x020000);
  FunctionFacts to_two, to_one, to_nowhere;
  to_two.parent = "00:02.0";
  to_one.parent = "00:01.0";
  to_nowhere.parent = "05:00.0";
  bus.SetFacts({0, 1, 0}, to_two);
  bus.SetFacts({0, 2, 0}, to_one);
  bus.SetFacts({0, 3, 0}, to_nowhere);
  const auto r = RunCommand(RunTree, {}, bus);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Addresses(Lines(r.out)), (std::vector<std::string>{"ホストブリッジ", "├─ 00:02.0",
                                                               "│  └─ 00:01.0", "└─ 00:03.0"}));
}

TEST(TreeCommand, JsonNestsChildrenWithTheirDriver) {
  SimulatedBus bus = TwoLevels();
  FunctionFacts facts;
  facts.driver = "e1000e";
  bus.SetFacts({2, 0, 0}, facts);
  const auto r = RunCommand(RunTree, {"--json"}, bus);
  ASSERT_EQ(r.status, 0) << r.err;
  const Json d = ParsedRoundTrip(r.out);
  EXPECT_EQ(d["command"], "tree");
  EXPECT_EQ(d["backend"], "simulated");
  ASSERT_EQ(d["functions"].size(), 3u);
  const Json& port = d["functions"][1]["children"][0];
  EXPECT_EQ(port["address"], "01:00.0");
  EXPECT_TRUE(port["driver"].is_null());
  EXPECT_EQ(port["children"][0]["address"], "02:00.0");
  EXPECT_EQ(port["children"][0]["driver"], "e1000e");
  EXPECT_EQ(port["children"][1]["children"].size(), 0u);
}

TEST(TreeCommand, BadArgumentsPrintOneLine) {
  const auto r = RunCommand(RunTree, {"--bus", "1"}, TwoLevels());
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(Lines(r.err).size(), 1u);
}

TEST(TreeCommand, ThisMachineShowsEveryListedFunctionOnce) {
  if (!std::filesystem::is_directory(kSysfsDevicesRoot)) GTEST_SKIP() << "no sysfs here";
  const auto r = RunCommand(RunTree, {"--source", "sysfs"}, OpenSourceAccess);
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> addresses = Addresses(Lines(r.out));
  addresses.erase(addresses.begin());
  std::vector<std::string> shown;
  for (const std::string& a : addresses) shown.push_back(a.substr(a.size() - 7));
  std::sort(shown.begin(), shown.end());
  std::vector<std::string> listed;
  for (const FunctionLocation& at : SysfsAccess().ListFunctions(std::nullopt).present) {
    char text[16];
    std::snprintf(text, sizeof text, "%02x:%02x.%x", at.bus, at.device, at.function);
    listed.push_back(text);
  }
  EXPECT_EQ(shown, listed);
}

}  // namespace
}  // namespace kelvox::cli
