#include "cli/tree_command.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "cli/bus_tree.h"
#include "cli/testing/command_run.h"
#include "config/capture/simulated_bus.h"
#include "config/sysfs/sysfs_access.h"
#include "testsupport/temp_folder.h"

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
  Add(bus, {0, 1, 0}, 0x1111, 0x060400, 1);
  Add(bus, {0, 2, 0}, 0x2222, 0x060400, 1);
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

// Each line up to the end of the function's address: the drawing and the address.
std::vector<std::string> Outline(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    if (line.starts_with("ホストブリッジ")) {
      out.push_back(line);
      continue;
    }
    const size_t address = line.find_first_of("0123456789abcdef");
    out.push_back(line.substr(0, line.find(' ', address)));
  }
  return out;
}

FunctionFacts ParentFact(const std::string& parent) {
  FunctionFacts facts;
  facts.parent = parent;
  return facts;
}

TEST(TreeCommand, AParentIsABridgeOfTheFunctionsOwnDomainAboveItsBus) {
  const struct {
    const char* what;
    std::function<void(SimulatedBus&)> make;
    std::vector<std::string> drawn;
  } cases[] = {
      {"a bridge whose secondary bus register reads 0, as on the Windows device manager",
       [](SimulatedBus& bus) {
         Add(bus, {0, 0, 0}, 0x29C0, 0x060000);
         Add(bus, {0, 0x1F, 0}, 0x2916, 0x060100);
         Add(bus, {1, 0, 0}, 0x1234, 0x060400, 1, 0);
       },
       {"ホストブリッジ", "├─ 00:00.0", "├─ 00:1f.0", "└─ 01:00.0"}},
      {"a bridge whose secondary bus is below its own",
       [](SimulatedBus& bus) {
         Add(bus, {1, 0, 0}, 0x10D3, 0x020000);
         Add(bus, {2, 0, 0}, 0x1234, 0x060400, 1, 1);
       },
       {"ホストブリッジ", "├─ 01:00.0", "└─ 02:00.0"}},
      {"a parent fact without a domain names a bridge of the function's own domain",
       [](SimulatedBus& bus) {
         Add(bus, {0, 1, 0}, 0x2940, 0x060400, 1, 1);
         Add(bus, {0, 1, 0, 0xC0E3}, 0x2940, 0x060400, 1, 5);
         Add(bus, {1, 0, 0, 0xC0E3}, 0x10D3, 0x020000);
         Add(bus, {1, 0, 1, 0xC0E3}, 0x10D3, 0x020000);
         Add(bus, {1, 0, 2, 0xC0E3}, 0x10D3, 0x020000);
         bus.SetFacts({1, 0, 0, 0xC0E3}, ParentFact("00:01.0"));
         bus.SetFacts({1, 0, 1, 0xC0E3}, ParentFact("c0e3:00:01.0"));
         // A bridge of another domain is no parent: the function is on top of its own.
         bus.SetFacts({1, 0, 2, 0xC0E3}, ParentFact("0000:00:01.0"));
       },
       {"ホストブリッジ (ドメイン 0000)", "└─ 0000:00:01.0", "ホストブリッジ (ドメイン c0e3)",
        "├─ c0e3:00:01.0", "│  ├─ c0e3:01:00.0", "│  └─ c0e3:01:00.1", "└─ c0e3:01:00.2"}},
      {"a parent fact naming a function that is not a bridge",
       [](SimulatedBus& bus) {
         Add(bus, {0, 2, 0}, 0x10D3, 0x020000);
         Add(bus, {0, 3, 0}, 0x10D3, 0x020000);
         bus.SetFacts({0, 3, 0}, ParentFact("00:02.0"));
       },
       {"ホストブリッジ", "├─ 00:02.0", "└─ 00:03.0"}},
  };
  for (const auto& c : cases) {
    SimulatedBus bus;
    c.make(bus);
    const auto r = RunCommand(RunTree, {}, bus);
    ASSERT_EQ(r.status, 0) << c.what << ": " << r.err;
    EXPECT_EQ(Outline(Lines(r.out)), c.drawn) << c.what << ":\n" << r.out;
  }
}

// A capture of `count` bridges, each named by the `parent` fact of the next, the first naming
// the last: a loop of that length, as no machine has.
std::string ParentChainCapture(int count) {
  std::string text;
  char line[96];
  for (int i = 0; i < count; ++i) {
    const int parent = (i + count - 1) % count;
    std::snprintf(line, sizeof line,
                  "%02x:%02x.%x x\n00: 86 80 48 29 00 00 00 00 00 00 04 06 00 00 01 00\n"
                  "# fact parent %02x:%02x.%x\n\n",
                  i / 256, i / 8 % 32, i % 8, parent / 256, parent / 8 % 32, parent % 8);
    text += line;
  }
  return text;
}

TEST(TreeCommand, ADeepChainOfParentsIsDrawnQuicklyAtABoundedDepth) {
  const kelvox::testing::TempFolder folder("kelvox-tree-chain");
  const auto run = [&folder](int count, std::vector<std::string> args) {
    args.insert(args.end(), {"--source", folder.Write("chain.txt", ParentChainCapture(count))});
    const auto started = std::chrono::steady_clock::now();
    const auto r = RunCommand(RunTree, args, OpenSourceAccess);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
    return r;
  };
  constexpr int kCount = 20000;
  const auto text = run(kCount, {});
  ASSERT_EQ(text.status, 0) << text.err;
  const std::vector<std::string> lines = Lines(text.out);
  ASSERT_EQ(lines.size(), kCount + 1u);
  // The links are taken in address order and the one that would close the loop is dropped:
  // the last bridge (4e:03.7) on top, the first under it, each other one under the one
  // before, down to level kMaxTreeDepth; the rest beside one another at that level.
  const auto indent = [](const std::string& line) { return line.substr(0, line.find("─")); };
  EXPECT_EQ(lines[1].rfind("└─ 4e:03.7 8086:2948", 0), 0u) << lines[1];
  EXPECT_EQ(lines[2].rfind("   └─ 00:00.0 8086:2948", 0), 0u) << lines[2];
  std::string above;  // the blanks before a line at level kMaxTreeDepth - 1
  for (size_t level = 2; level < kMaxTreeDepth; ++level) above += "   ";
  EXPECT_EQ(indent(lines[kMaxTreeDepth - 1]), above + "└");
  EXPECT_EQ(indent(lines[kMaxTreeDepth]), above + "   ├");
  EXPECT_EQ(indent(lines[kMaxTreeDepth + 1]), above + "   ├");
  EXPECT_EQ(indent(lines[kCount - 1]), above + "   ├");
  EXPECT_EQ(indent(lines[kCount]), above + "   └");
  EXPECT_LE(text.out.size(), (kCount + 1) * (kMaxTreeDepth * sizeof "│  " + 100));

  // JSON nests no deeper either, and keeps every function.
  const auto json = run(1000, {"--json"});
  ASSERT_EQ(json.status, 0) << json.err;
  const Json document = ParsedRoundTrip(json.out);
  size_t functions = 0, depth = 0;
  for (const Json* level = &document["functions"]; !level->empty();
       level = &level->back()["children"]) {
    ++depth;
    functions += level->size();
  }
  EXPECT_EQ(depth, kMaxTreeDepth);
  EXPECT_EQ(functions, 1000u);
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
