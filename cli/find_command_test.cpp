#include "cli/find_command.h"

#include <gtest/gtest.h>

#include "cli/testing/command_run.h"
#include "text/cp932.h"

namespace kelvox::cli {
namespace {

using testing::Lines;
using testing::ParsedRoundTrip;

struct Printed {
  int status;
  std::string out, err;
};

Printed Find(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = FindCommand(args, out, err);
  return {status, out.str(), err.str()};
}

TEST(FindCommand, PrintsEachGroupAskedForWithItsNames) {
  const Printed r = Find({"--vendor", "10de", "--device", "0110", "--class", "01060"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::vector<std::string> expected = {
      "ベンダID: 10de",
      "  NVIDIA David",
      "  NVIDIA Corporation",
      "デバイスID: 0110",
      "  NV11",
      "  GeForce2 MX / MX 400",
      "クラスコード: 01060",
      "  Mass Storage Controller",
      "  Serial ATA",
      "  -",
  };
  EXPECT_EQ(Lines(r.out), expected);
  EXPECT_EQ(Find({"--class", "zz"}).out, "クラスコード: zz\n  Unknown\n  -\n  -\n");
  // A vendor that is not found leaves its names, and any device's, empty: "-".
  EXPECT_EQ(Find({"--vendor", "10d", "--device", "0110"}).out,
            "ベンダID: 10d\n  -\n  -\nデバイスID: 0110\n  -\n  -\n");
  for (const std::string& line : Lines(r.out)) EXPECT_TRUE(RoundTripsThroughCp932(line)) << line;
}

TEST(FindCommand, BadArgumentsPrintOneLineAndNothingElse) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "find: give --vendor, --device or --class"},
      {{"--device", "0110"}, "find: --device needs --vendor"},
      {{"--vendor", "10de0"}, "find: --vendor: longer than 4 characters"},
      {{"--vendor", "10de", "--device", "01100"}, "find: --device: longer than 4 characters"},
      {{"--class", "0106010"}, "find: --class: longer than 6 characters"},
      {{"--class="}, "find: --class: empty value"},
      {{"10de"}, "find: unexpected argument '10de'"},
      {{"--bus", "0"}, "find: unknown option '--bus'"},
  };
  for (const auto& [args, message] : cases) {
    const Printed r = Find(args);
    EXPECT_EQ(r.status, 2) << message;
    EXPECT_EQ(r.out, "") << message;
    EXPECT_EQ(r.err, "kelvox-cli: " + message + "\n");
  }
  // Six full-width characters are six characters, not eighteen bytes.
  EXPECT_EQ(Find({"--class", "０１０６０１"}).status, 0);
}

TEST(FindCommand, JsonHoldsTheSameNamesWithTheParsedValues) {
  const std::vector<std::string> args = {"--vendor", "10de", "--device", "0110", "--class", "0106"};
  std::vector<std::string> with_json = args;
  with_json.push_back("--json");
  const Printed text = Find(args);
  const Printed json = Find(with_json);
  ASSERT_EQ(json.status, 0) << json.err;
  const Json d = ParsedRoundTrip(json.out);
  EXPECT_EQ(d["command"], "find");
  EXPECT_EQ(d["version"], 1);
  EXPECT_EQ(d["vendor"]["input"], "10de");
  EXPECT_EQ(d["vendor"]["value"], 0x10DE);
  EXPECT_EQ(d["vendor"]["found"], true);
  EXPECT_EQ(d["device"]["value"], 0x0110);
  EXPECT_EQ(d["class"]["base"], 1);
  EXPECT_EQ(d["class"]["sub"], 6);
  EXPECT_EQ(d["class"]["prog_if"], 0xFF);
  const std::vector<std::string> names = {d["vendor"]["short_name"], d["vendor"]["full_name"],
                                          d["device"]["chip_name"],  d["device"]["description"],
                                          d["class"]["base_name"],   d["class"]["sub_name"],
                                          d["class"]["prog_if_name"]};
  const auto lines = Lines(text.out);
  EXPECT_EQ(names, (std::vector<std::string>{lines[1].substr(2), lines[2].substr(2),
                                             lines[4].substr(2), lines[5].substr(2),
                                             lines[7].substr(2), lines[8].substr(2), ""}));
  EXPECT_EQ(lines[9], "  -");  // the empty name

  const Json only_class = ParsedRoundTrip(Find({"--class", "zz", "--json"}).out);
  EXPECT_TRUE(only_class["vendor"].is_null());
  EXPECT_TRUE(only_class["device"].is_null());
  EXPECT_EQ(only_class["class"]["base"], 0xFF);
  const Json missing = ParsedRoundTrip(Find({"--vendor", "zzzz", "--json"}).out);
  EXPECT_EQ(missing["vendor"]["value"], -1);
  EXPECT_EQ(missing["vendor"]["found"], false);
}

}  // namespace
}  // namespace kelvox::cli
