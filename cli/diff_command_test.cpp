// kelvox-cli diff on captures: a bus against itself is the same (exit 0); against copies with
// one kind of change each, that change is named once, and nothing else (exit 1).
#include "cli/diff_command.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cli/testing/command_run.h"
#include "config/capture/capture_text.h"
#include "config/capture/simulated_bus.h"
#include "testsupport/temp_folder.h"

namespace kelvox {
namespace {

// Two functions: a bridge at 00:01.0 and a network controller at 01:00.0 with a 16K memory
// region, a PCI Express capability and facts.
SimulatedBus Golden() {
  SimulatedBus bus;
  bus.AddFunction({0, 1, 0});
  bus.SetRegister({0, 1, 0}, 0x00, 0x12348086);
  bus.SetRegister({0, 1, 0}, 0x08, 0x06040001);
  bus.SetRegister({0, 1, 0}, 0x0C, 0x00010000);
  bus.SetRegister({0, 1, 0}, 0x18, 0x00010100);
  const FunctionLocation nic{1, 0, 0};
  bus.AddFunction(nic);
  bus.SetRegister(nic, 0x00, 0x15338086);
  bus.SetRegister(nic, 0x04, 0x00100000);
  bus.SetRegister(nic, 0x08, 0x02000003);
  bus.SetRegister(nic, 0x10, 0xFE000000);
  bus.SetWritableMask(nic, 0x10, 0xFFFFC000);
  bus.SetRegister(nic, 0x2C, 0x00011028);
  bus.SetRegister(nic, 0x34, 0x40);
  bus.SetRegister(nic, 0x40, 0x00020010);
  FunctionFacts facts;
  facts.driver = "igb";
  facts.iommu_group = "7";
  facts.current_link_speed = "5.0 GT/s PCIe";
  facts.max_link_speed = "5.0 GT/s PCIe";
  facts.current_link_width = 4;
  facts.max_link_width = 4;
  bus.SetFacts(nic, facts);
  return bus;
}

TEST(DiffCommand, NamesEachKindOfChangeOnce) {
  const testing::TempFolder folder("kelvox-diff");
  const std::string golden = folder.Write("golden.txt", FormatSimulatedBus(Golden()));
  const FunctionLocation nic{1, 0, 0};
  const auto facts_with = [&](const std::function<void(FunctionFacts&)>& edit) {
    return [edit, nic](SimulatedBus& bus) {
      FunctionFacts facts = *bus.FindFacts(nic);
      edit(facts);
      bus.SetFacts(nic, facts);
    };
  };
  const struct {
    const char* what;
    std::function<void(SimulatedBus&)> edit;
    std::string out;
  } cases[] = {
      {"the same bus", [](SimulatedBus&) {}, "diff: no differences\n"},
      {"a device ID", [&](SimulatedBus& b) { b.SetRegister(nic, 0x00, 0x15368086); },
       "~ 01:00.0 ids: 8086:1533 -> 8086:1536\n"},
      {"a class", [&](SimulatedBus& b) { b.SetRegister(nic, 0x08, 0x02800003); },
       "~ 01:00.0 class: 020000 -> 028000\n"},
      {"a revision", [&](SimulatedBus& b) { b.SetRegister(nic, 0x08, 0x02000004); },
       "~ 01:00.0 revision: 03 -> 04\n"},
      {"a subsystem", [&](SimulatedBus& b) { b.SetRegister(nic, 0x2C, 0x00021028); },
       "~ 01:00.0 subsystem: 1028:0001 -> 1028:0002\n"},
      {"a region size", [&](SimulatedBus& b) { b.SetWritableMask(nic, 0x10, 0xFFFF8000); },
       "~ 01:00.0 region_sizes: Region 0 16K -> Region 0 32K\n"},
      {"a link that trained slower",
       facts_with([](FunctionFacts& f) { f.current_link_speed = "2.5 GT/s PCIe"; }),
       "~ 01:00.0 link: 5GT/s x4 -> 2.5GT/s x4\n"},
      {"a narrower link at most", facts_with([](FunctionFacts& f) { f.max_link_width = 2; }),
       "~ 01:00.0 max_link: 5GT/s x4 -> 5GT/s x2\n"},
      {"a driver", facts_with([](FunctionFacts& f) { f.driver = ""; }),
       "~ 01:00.0 driver: igb -> (none)\n"},
      {"an IOMMU group", facts_with([](FunctionFacts& f) { f.iommu_group = "9"; }),
       "~ 01:00.0 iommu_group: 7 -> 9\n"},
      {"a capability list", [&](SimulatedBus& b) { b.SetRegister(nic, 0x40, 0x00020011); },
       "~ 01:00.0 capabilities: PCI Express [40] -> MSI-X [40]\n"},
  };
  for (const auto& c : cases) {
    SimulatedBus edited = Golden();
    c.edit(edited);
    const std::string path = folder.Write("edited.txt", FormatSimulatedBus(edited));
    const cli::testing::CommandRun run =
        cli::testing::RunCommand(cli::RunDiff, {golden, path}, cli::OpenSourceAccess);
    const bool same = c.out == "diff: no differences\n";
    EXPECT_EQ(run.status, same ? 0 : 1) << c.what << run.err;
    EXPECT_EQ(run.out, same ? c.out : c.out + "diff: 0 removed, 0 added, 1 changed\n") << c.what;
  }

  SimulatedBus moved = Golden();
  moved.AddFunction({1, 0, 1});
  moved.SetRegister({1, 0, 1}, 0x00, 0x15338086);
  moved.SetRegister({1, 0, 1}, 0x08, 0x02000003);
  SimulatedBus fewer;
  fewer.AddFunction({1, 0, 1});
  fewer.SetRegister({1, 0, 1}, 0x00, 0x15338086);
  fewer.SetRegister({1, 0, 1}, 0x08, 0x02000003);
  const std::string path = folder.Write("other.txt", FormatSimulatedBus(fewer));
  const cli::testing::CommandRun run =
      cli::testing::RunCommand(cli::RunDiff, {golden, path}, cli::OpenSourceAccess);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out,
            "- 00:01.0 8086:1234 060400 (only in A)\n"
            "- 01:00.0 8086:1533 020000 (only in A)\n"
            "+ 01:00.1 8086:1533 020000 (only in B)\n"
            "diff: 2 removed, 1 added, 0 changed\n");
  const cli::testing::CommandRun json =
      cli::testing::RunCommand(cli::RunDiff, {golden, path, "--json"}, cli::OpenSourceAccess);
  const cli::Json document = cli::Json::parse(json.out);
  EXPECT_EQ(document["removed"].size(), 2u);
  EXPECT_EQ(document["added"][0]["address"], "01:00.1");
  EXPECT_EQ(document["differ"], true);
  EXPECT_EQ(cli::testing::RunCommand(cli::RunDiff, {golden}, cli::OpenSourceAccess).status, 2);
  EXPECT_EQ(
      cli::testing::RunCommand(cli::RunDiff, {golden, folder.PathOf("none")}, cli::OpenSourceAccess)
          .status,
      2);
}

}  // namespace
}  // namespace kelvox
