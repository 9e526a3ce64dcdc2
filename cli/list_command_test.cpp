#include "cli/list_command.h"

#include <gtest/gtest.h>

#include "cli/testing/command_run.h"
#include "config/recording_access.h"

namespace kelvox::cli {
namespace {

using testing::Lines;
using testing::ParsedRoundTrip;
using testing::RunCommand;

void AddFunction(SimulatedBus& bus, FunctionLocation at, uint32_t id, uint32_t class_reg,
                 bool multi_function = false) {
  bus.AddFunction(at);
  bus.SetRegister(at, 0x00, id);
  bus.SetRegister(at, 0x08, class_reg);
  bus.SetRegister(at, 0x0C, multi_function ? 0x00800000u : 0u);
}

// A host bridge, a multi-function Intel chipset device whose function 1 is IDE, a Realtek card
// on bus 2 and a function whose vendor the list does not know, with a function 1 of a
// single-function device that only a capture shows.
SimulatedBus Machine() {
  SimulatedBus bus;
  AddFunction(bus, {0, 0, 0}, 0x12378086u, 0x06000002u);
  AddFunction(bus, {0, 7, 0}, 0x70008086u, 0x06010000u, true);
  AddFunction(bus, {0, 7, 1}, 0x70108086u, 0x01018000u);
  AddFunction(bus, {0, 9, 0}, 0x00011af4u, 0xff000000u);
  AddFunction(bus, {0, 9, 1}, 0x00011af4u, 0xff000000u);
  AddFunction(bus, {2, 31, 0}, 0x802910ECu, 0x02000001u);
  return bus;
}

TEST(ListCommand, OneLinePerFunctionInAddressOrderWithItsNames) {
  const auto r = RunCommand(RunList, {}, Machine());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::vector<std::string> expected = {
      "00:00.0 8086:1237 060000  Intel Corporation | 82440LX/EX PCI & Memory Controller (PMC) | "
      "Bridge Device / Host/PCI",
      "00:07.0 8086:7000 060100  Intel Corporation | 82371SB PIIX3 PCI-to-ISA Bridge (Triton "
      "II) | Bridge Device / PCI/ISA",
      "00:07.1 8086:7010 010180  Intel Corporation | 82371SB PIIX3 IDE Interface (Triton II) | "
      "Mass Storage Controller / IDE",
      "00:09.0 1af4:0001 ff0000  - | - | Unknown / Device Does Not Fit In Class Codes / UDF",
      "00:09.1 1af4:0001 ff0000  - | - | Unknown / Device Does Not Fit In Class Codes / UDF",
      "02:1f.0 10ec:8029 020000  Realtek Semiconductor | RTL8029 NE2000 compatible Ethernet | "
      "Network Controller / Ethernet",
  };
  EXPECT_EQ(Lines(r.out), expected);
}

TEST(ListCommand, FiltersByBusVendorAndClassPrefix) {
  const SimulatedBus bus = Machine();
  const auto first_column = [&bus](std::vector<std::string> args) {
    std::vector<std::string> addresses;
    for (const std::string& line : Lines(RunCommand(RunList, args, bus).out)) {
      addresses.push_back(line.substr(0, 7));
    }
    return addresses;
  };
  using Addresses = std::vector<std::string>;
  EXPECT_EQ(first_column({"--bus", "2"}), (Addresses{"02:1f.0"}));
  EXPECT_EQ(first_column({"--bus", "1"}), (Addresses{}));
  EXPECT_EQ(first_column({"--vendor", "8086"}), (Addresses{"00:00.0", "00:07.0", "00:07.1"}));
  EXPECT_EQ(first_column({"--vendor", "10EC"}), (Addresses{"02:1f.0"}));
  EXPECT_EQ(first_column({"--class", "06"}), (Addresses{"00:00.0", "00:07.0"}));
  EXPECT_EQ(first_column({"--class", "0601"}), (Addresses{"00:07.0"}));
  EXPECT_EQ(first_column({"--class", "010180"}), (Addresses{"00:07.1"}));
  EXPECT_EQ(first_column({"--class", "0600", "--vendor", "8086", "--bus", "0"}),
            (Addresses{"00:00.0"}));
}

// Forwards to a simulated bus without being one, as the port I/O backend is to the lister.
class ProbedOnly final : public ConfigAccess {
 public:
  explicit ProbedOnly(SimulatedBus bus) : bus_(std::move(bus)) {}
  uint32_t Read(int b, int d, int f, int r) override { return bus_.Read(b, d, f, r); }
  void Write(int b, int d, int f, int r, uint32_t v) override { bus_.Write(b, d, f, r, v); }
  std::string Name() const override { return "port"; }

 private:
  SimulatedBus bus_;
};

TEST(ListCommand, ABackendThatCannotListIsProbedAsPciEnumerationDoes) {
  const auto r = RunCommand(RunList, {"--source", "port"}, [](const std::optional<std::string>&) {
    return OpenedAccess{std::make_unique<ProbedOnly>(Machine()), {}};
  });
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> addresses;
  for (const std::string& line : Lines(r.out)) addresses.push_back(line.substr(0, 7));
  // 00:09.1 belongs to a single-function device: never probed.
  EXPECT_EQ(addresses,
            (std::vector<std::string>{"00:00.0", "00:07.0", "00:07.1", "00:09.0", "02:1f.0"}));
}

TEST(ListCommand, BadArgumentsPrintOneLineAndNothingElse) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--vendor", "808"}, "list: --vendor: '808' is not 4 hexadecimal digits"},
      {{"--vendor", "80g6"}, "list: --vendor: '80g6' is not 4 hexadecimal digits"},
      {{"--class", "010"}, "list: --class: '010' is not 2, 4 or 6 hexadecimal digits"},
      {{"--class", "0x"}, "list: --class: '0x' is not 2, 4 or 6 hexadecimal digits"},
      {{"--function", "0"}, "list: unknown option '--function'"},
  };
  for (const auto& [args, message] : cases) {
    const auto r = RunCommand(RunList, args, Machine());
    EXPECT_EQ(r.status, 2) << message;
    EXPECT_EQ(r.out, "") << message;
    EXPECT_EQ(r.err, "kelvox-cli: " + message + "\n");
  }
}

TEST(ListCommand, JsonHoldsTheSameLinesWithTheirValues) {
  const SimulatedBus bus = Machine();
  const auto text = RunCommand(RunList, {"--bus", "0"}, bus);
  const auto json = RunCommand(RunList, {"--bus", "0", "--json"}, bus);
  ASSERT_EQ(json.status, 0) << json.err;
  const Json d = ParsedRoundTrip(json.out);
  EXPECT_EQ(d["command"], "list");
  EXPECT_EQ(d["version"], 1);
  EXPECT_EQ(d["backend"], "simulated");
  const auto lines = Lines(text.out);
  ASSERT_EQ(d["functions"].size(), lines.size());
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(d["functions"][i]["text"], lines[i]);
  const Json& ide = d["functions"][2];
  EXPECT_EQ(ide["address"], "00:07.1");
  EXPECT_EQ(ide["bus"], 0);
  EXPECT_EQ(ide["device"], 7);
  EXPECT_EQ(ide["function"], 1);
  EXPECT_EQ(ide["vendor_id"], Json::parse(R"({"value":32902,"text":"8086"})"));
  EXPECT_EQ(ide["device_id"], Json::parse(R"({"value":28688,"text":"7010"})"));
  EXPECT_EQ(ide["class_code"], Json::parse(R"({"value":65920,"text":"010180"})"));
  EXPECT_EQ(ide["vendor_short_name"], "Intel");
  EXPECT_EQ(ide["chip_name"], "82371SB");
  EXPECT_EQ(ide["device_description"], "PIIX3 IDE Interface (Triton II)");
  EXPECT_EQ(ide["sub_class_name"], "IDE");
  EXPECT_EQ(ide["prog_if_name"], "");
  EXPECT_EQ(ParsedRoundTrip(RunCommand(RunList, {"--bus", "5", "--json"}, bus).out)["functions"],
            Json::array());
}

}  // namespace
}  // namespace kelvox::cli
