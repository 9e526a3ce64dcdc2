// --ids on the commands that name things: a pci.ids file's names in list, details and find
// (and their JSON), subsystem names, messages for lists that cannot be used, and which list is
// used when --ids is not given.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "cli/details_command.h"
#include "cli/find_command.h"
#include "cli/ids_option.h"
#include "cli/list_command.h"
#include "cli/testing/command_run.h"
#include "cli/tree_command.h"
#include "iddb/ids_choice.h"
#include "testsupport/environment_value.h"
#include "testsupport/temp_folder.h"

namespace kelvox::cli {
namespace {

using testing::Lines;
using testing::ParsedRoundTrip;
using testing::RunCommand;
using testing::RunFunction;

constexpr char kIds[] =
    "#\tVersion: 2023.04.10\n"
    "1af4  Red Hat, Inc.\n"
    "\t1041  Virtio 1.0 network device\n"
    "\t\t1af4 1100  QEMU Virtual Machine\n"
    "8086  Intel Corporation\n"
    "\t1237  440FX - 82441FX PMC [Natoma]\n"
    "\t\t1af4 1100  Qemu virtual machine\n"
    "C 02  Network controller\n"
    "\t00  Ethernet controller\n"
    "C 06  Bridge\n"
    "\t00  Host bridge\n";

class IdsOption : public ::testing::Test {
 protected:
  void SetUp() override {
    ids_ = folder_.Write("pci.ids", kIds);
    // A host bridge whose 0x2C names a subsystem; a network function with a subsystem the
    // list does not name; a bridge (header type 1) whose 0x2C happens to hold a known pair.
    Add({0, 0, 0}, 0x12378086u, 0x06000002u, 0x00000000u, 0x11001af4u);
    Add({0, 3, 0}, 0x10411af4u, 0x02000001u, 0x00000000u, 0x00011af4u);
    Add({0, 4, 0}, 0x12378086u, 0x06040000u, 0x00010000u, 0x11001af4u);
  }
  void Add(FunctionLocation at, uint32_t id, uint32_t class_reg, uint32_t reg0c, uint32_t reg2c) {
    bus_.AddFunction(at);
    bus_.SetRegister(at, 0x00, id);
    bus_.SetRegister(at, 0x08, class_reg);
    bus_.SetRegister(at, 0x0C, reg0c);
    bus_.SetRegister(at, 0x2C, reg2c);
  }

  const kelvox::testing::TempFolder folder_{"kelvox-cli-ids"};
  std::string ids_;
  SimulatedBus bus_;
};

TEST_F(IdsOption, ListNamesFromTheFileWithSubsystems) {
  const auto r = RunCommand(RunList, {"--ids", ids_}, bus_);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::vector<std::string> expected = {
      "00:00.0 8086:1237 060000  Intel Corporation | 440FX - 82441FX PMC Natoma | Bridge / "
      "Host bridge | Qemu virtual machine",
      "00:03.0 1af4:1041 020000  Red Hat, Inc. | Virtio 1.0 network device | Network controller "
      "/ Ethernet controller",
      "00:04.0 8086:1237 060400  Intel Corporation | 440FX - 82441FX PMC Natoma | Bridge",
  };
  EXPECT_EQ(Lines(r.out), expected);

  // Without --ids the same run names from the embedded list again, in its own words.
  const auto embedded = RunCommand(RunList, {}, bus_);
  EXPECT_EQ(Lines(embedded.out).front(),
            "00:00.0 8086:1237 060000  Intel Corporation | 82440LX/EX PCI & Memory Controller "
            "(PMC) | Bridge Device / Host/PCI");
  EXPECT_EQ(Lines(RunCommand(RunList, {"--ids=embedded"}, bus_).out), Lines(embedded.out));
}

TEST_F(IdsOption, ListJsonHasTheSubsystemKeyOnlyForAFileList) {
  const Json file = ParsedRoundTrip(RunCommand(RunList, {"--ids", ids_, "--json"}, bus_).out);
  const Json& first = file["functions"][0];
  EXPECT_EQ(first["chip_name"], "440FX - 82441FX PMC");
  EXPECT_EQ(first["device_description"], "Natoma");
  EXPECT_EQ(first["sub_class_name"], "Host bridge");
  EXPECT_EQ(first["subsystem_name"], "Qemu virtual machine");
  EXPECT_TRUE(file["functions"][1]["subsystem_name"].is_null());
  std::vector<std::string> keys;
  for (const auto& item : first.items()) keys.push_back(item.key());
  EXPECT_EQ(keys.end()[-2], "subsystem_name");
  EXPECT_EQ(keys.back(), "text");

  const Json embedded = ParsedRoundTrip(RunCommand(RunList, {"--json"}, bus_).out);
  EXPECT_FALSE(embedded["functions"][0].contains("subsystem_name"));
}

TEST_F(IdsOption, DetailsNamesTheSubsystemAfterItsId) {
  const auto r = RunCommand(RunDetails, {"0", "--ids", ids_}, bus_);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> lines = Lines(r.out);
  const auto id = std::find(lines.begin(), lines.end(), "サブシステムID: 1100");
  ASSERT_NE(id, lines.end());
  ASSERT_NE(id + 1, lines.end());
  EXPECT_EQ(id[1], "  Qemu virtual machine");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "  440FX - 82441FX PMC"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "  Natoma"), lines.end());

  const Json json =
      ParsedRoundTrip(RunCommand(RunDetails, {"0", "--ids", ids_, "--json"}, bus_).out);
  EXPECT_EQ(json["subsystem_name"], "Qemu virtual machine");
  const Json bridge =
      ParsedRoundTrip(RunCommand(RunDetails, {"4", "--ids", ids_, "--json"}, bus_).out);
  EXPECT_TRUE(bridge["subsystem_name"].is_null());

  // The embedded list names no subsystem: no line, no key.
  const auto embedded = RunCommand(RunDetails, {"0"}, bus_);
  EXPECT_EQ(embedded.out.find("Qemu"), std::string::npos);
  const std::vector<std::string> embedded_lines = Lines(embedded.out);
  const auto embedded_id =
      std::find(embedded_lines.begin(), embedded_lines.end(), "サブシステムID: 1100");
  ASSERT_NE(embedded_id, embedded_lines.end());
  EXPECT_FALSE((embedded_id + 1) != embedded_lines.end() && embedded_id[1].starts_with("  "));
  EXPECT_FALSE(ParsedRoundTrip(RunCommand(RunDetails, {"0", "--json"}, bus_).out)
                   .contains("subsystem_name"));
}

TEST_F(IdsOption, FindUsesTheFile) {
  std::ostringstream out, err;
  const std::vector<std::string> args = {"--vendor", "1af4", "--device", "1041",
                                         "--class",  "0200", "--ids",    ids_};
  ASSERT_EQ(FindCommand(args, out, err), 0) << err.str();
  EXPECT_EQ(out.str(),
            "ベンダID: 1af4\n  -\n  Red Hat, Inc.\n"
            "デバイスID: 1041\n  -\n  Virtio 1.0 network device\n"
            "クラスコード: 0200\n  Network controller\n  Ethernet controller\n  -\n");
}

TEST_F(IdsOption, UnusableListsFailWithOneLineAndNoOutput) {
  const std::string bad = folder_.Write("bad.ids", "1af4  Red Hat, Inc.\n\t\t\t1041  Too deep\n");
  const std::string missing = folder_.PathOf("none.ids");
  const struct {
    std::string value, message;
  } cases[] = {
      {bad, "--ids: " + bad + ":2: more than two tabs before an entry"},
      {missing, "--ids: " + missing + ": cannot open: No such file or directory"},
  };
  for (const auto& c : cases) {
    const auto list = RunCommand(RunList, {"--ids", c.value}, bus_);
    EXPECT_EQ(list.status, 2);
    EXPECT_EQ(list.out, "");
    EXPECT_EQ(list.err, "kelvox-cli: list: " + c.message + "\n");
    const auto details = RunCommand(RunDetails, {"0", "--ids", c.value, "--json"}, bus_);
    EXPECT_EQ(details.status, 2);
    EXPECT_EQ(details.out, "");
    EXPECT_EQ(details.err, "kelvox-cli: details: " + c.message + "\n");
    std::ostringstream out, err;
    EXPECT_EQ(FindCommand(std::vector<std::string>{"--vendor", "8086", "--ids", c.value}, out, err),
              2);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "kelvox-cli: find: " + c.message + "\n");
  }
  EXPECT_EQ(RunCommand(RunList, {"--ids"}, bus_).err,
            "kelvox-cli: list: --ids needs embedded, system or FILE\n");
  // A failed --ids leaves the embedded list in use.
  EXPECT_EQ(Lines(RunCommand(RunList, {}, bus_).out).size(), 3u);
}

// Whether `text` holds a byte a terminal would obey or that is not UTF-8: a control character
// other than the line break, DEL, a C1 control (raw or UTF-8 encoded), or 0xFE/0xFF.
bool HoldsTerminalControls(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte < 0x20 && byte != '\n') || byte == 0x7F || byte >= 0xFE) return true;
    // A continuation byte of 0x80-0x9F after 0xC2 is a C1 control; one that follows no lead
    // byte is a raw C1 byte.
    if (byte >= 0x80 && byte <= 0x9F) {
      const auto before = i == 0 ? 0 : static_cast<unsigned char>(text[i - 1]);
      if (before == 0xC2 || before < 0x80) return true;
    }
  }
  return false;
}

TEST_F(IdsOption, NamesAndFactsReachTheTerminalEscapedInEveryTextOutput) {
  // A crafted list: names that would retitle the terminal, clear it, ring the bell, move the
  // cursor, and names with C1 controls and bytes that are not UTF-8; Japanese kept as it is.
  const std::string hostile = folder_.Write("hostile.ids",
                                            "1af4  Red\x1b]0;pwned\x07 Hat\r\b\x7f\n"
                                            "\t1041  Virtio\xc2\x9b"
                                            "2J net \xff\xfe\x9b\n"
                                            "C 02  ネットワーク\x1b[31m\n"
                                            "\t00  Ethernet\x01\n");
  FunctionFacts facts;
  facts.driver =
      "drv\xc2\x9b"
      "31m\xff";  // a capture's fact may hold such bytes too
  bus_.SetFacts({0, 3, 0}, facts);
  const std::string vendor = "Red\\x1B]0;pwned\\x07 Hat\\r\\x08\\x7F";
  const std::string device = "Virtio\\xC2\\x9B2J net \\xFF\\xFE\\x9B";
  const std::string class_name = "ネットワーク\\x1B[31m";
  const std::string driver = "drv\\xC2\\x9B31m\\xFF";
  const struct {
    const char* command;
    RunFunction run;  // nothing for find, which reads no configuration space
    std::vector<std::string> args;
    std::vector<std::string> shown;
  } cases[] = {
      {"list", RunList, {}, {vendor, device, class_name}},
      {"details", RunDetails, {"3"}, {vendor, device, class_name, driver}},
      {"tree", RunTree, {}, {vendor, device, class_name, "[" + driver + "]"}},
      {"find",
       nullptr,
       {"--vendor", "1af4", "--device", "1041", "--class", "0200"},
       {vendor, device, class_name}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--ids", hostile});
    testing::CommandRun r;
    if (c.run != nullptr) {
      r = RunCommand(c.run, args, bus_);
    } else {
      std::ostringstream out, err;
      r.status = FindCommand(args, out, err);
      r.out = out.str();
      r.err = err.str();
    }
    ASSERT_EQ(r.status, 0) << c.command << ": " << r.err;
    EXPECT_FALSE(HoldsTerminalControls(r.out)) << c.command << ":\n" << r.out;
    for (const std::string& text : c.shown) {
      EXPECT_NE(r.out.find(text), std::string::npos) << c.command << ": " << text << "\n" << r.out;
    }
  }
  // JSON keeps the names as they are: its strings escape what must be escaped.
  const Json json = ParsedRoundTrip(RunCommand(RunList, {"--ids", hostile, "--json"}, bus_).out);
  EXPECT_EQ(json["functions"][1]["vendor_full_name"], "Red\x1b]0;pwned\x07 Hat\r\b\x7f");
}

}  // namespace
}  // namespace kelvox::cli

namespace kelvox::cli {
namespace {

using kelvox::testing::EnvironmentValue;

// Which list names things: --ids, else KELVOX_IDS, else the distribution's where there is one,
// else the embedded one; the JSON says which, with its version.
TEST_F(IdsOption, TheListInUseIsTheOptionsElseTheEnvironmentsElseTheSystems) {
  const std::optional<std::string> system = FindSystemIdList();
  const struct {
    const char* variable;  // KELVOX_IDS, or null for none
    std::vector<std::string> args;
    std::string source;  // "" for the distribution's list
  } cases[] = {
      {"embedded", {}, "embedded"},
      {ids_.c_str(), {}, ids_},
      {ids_.c_str(), {"--ids", "embedded"}, "embedded"},
      {"embedded", {"--ids", ids_}, ids_},
      {nullptr, {"--ids", "embedded"}, "embedded"},
      {nullptr, {}, system ? "" : "embedded"},
      {"", {}, system ? "" : "embedded"},
  };
  for (const auto& c : cases) {
    const EnvironmentValue variable(
        kIdsVariable, c.variable ? std::optional<std::string>(c.variable) : std::nullopt);
    std::vector<std::string> args = c.args;
    args.push_back("--json");
    const auto r = RunCommand(RunList, args, bus_);
    ASSERT_EQ(r.status, 0) << r.err;
    const Json list = ParsedRoundTrip(r.out)["id_list"];
    EXPECT_EQ(list["source"], c.source.empty() ? *system : c.source)
        << (c.variable ? c.variable : "(unset)");
    if (list["source"] == ids_) {
      EXPECT_EQ(list["version"], "2023.04.10");
    } else if (list["source"] == "embedded") {
      EXPECT_EQ(list["version"], kEmbeddedListVersion);
    }
  }
  // A list KELVOX_IDS names that cannot be used is named as the variable's.
  const EnvironmentValue missing(kIdsVariable, "/nonexistent/pci.ids");
  const auto r = RunCommand(RunList, {}, bus_);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(r.err.starts_with("kelvox-cli: list: KELVOX_IDS: /nonexistent/pci.ids: ")) << r.err;
}

// One-line text writes a vendor as the list writes it, so vendors whose names share their
// first part stay apart; the JSON keeps the split the window's two fields show.
TEST_F(IdsOption, OneLineTextWritesTheVendorWhole) {
  const std::string ids = folder_.Write("brackets.ids",
                                        "1002  Advanced Micro Devices, Inc. [AMD/ATI]\n"
                                        "1022  Advanced Micro Devices, Inc. [AMD]\n");
  SimulatedBus bus;
  bus.AddFunction({0, 1, 0});
  bus.SetRegister({0, 1, 0}, 0x00, 0x73bf1002);
  bus.AddFunction({0, 2, 0});
  bus.SetRegister({0, 2, 0}, 0x00, 0x14501022);
  const auto text = RunCommand(RunList, {"--ids", ids}, bus);
  ASSERT_EQ(Lines(text.out).size(), 2u) << text.err;
  EXPECT_NE(Lines(text.out)[0].find("  Advanced Micro Devices, Inc. [AMD/ATI] | "),
            std::string::npos)
      << text.out;
  EXPECT_NE(Lines(text.out)[1].find("  Advanced Micro Devices, Inc. [AMD] | "), std::string::npos)
      << text.out;
  const Json json = ParsedRoundTrip(RunCommand(RunList, {"--ids", ids, "--json"}, bus).out);
  EXPECT_EQ(json["functions"][0]["vendor_short_name"], "AMD/ATI");
  EXPECT_EQ(json["functions"][0]["vendor_full_name"], "Advanced Micro Devices, Inc.");
}

}  // namespace
}  // namespace kelvox::cli
