// What each command does with -s and -d (the grammar itself is checked against lspci in
// selector_lspci_test.cpp): which functions, rows or tree lines it prints, and that a selection
// choosing nothing ends with one line and status 1.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/capture_command.h"
#include "cli/details_command.h"
#include "cli/list_command.h"
#include "cli/scan_command.h"
#include "cli/testing/command_run.h"
#include "cli/tree_command.h"
#include "config/capture/capture_text.h"
#include "config/capture/simulated_bus.h"

namespace kelvox::cli {
namespace {

using testing::Lines;
using testing::ParsedRoundTrip;
using testing::RunCommand;
using testing::RunFunction;

void Add(SimulatedBus& bus, FunctionLocation at, uint32_t ids, uint32_t class_code,
         uint32_t header = 0x00800000, uint32_t bus_numbers = 0) {
  bus.AddFunction(at);
  bus.SetRegister(at, 0x00, ids);
  bus.SetRegister(at, 0x08, class_code << 8);
  bus.SetRegister(at, 0x0C, header);
  bus.SetRegister(at, 0x18, bus_numbers);
}

// A host bridge, a network function and a storage function at 00:03, a root port at 00:1c
// leading to bus 1 with a display function there, and one function in domain 0001.
SimulatedBus Machine() {
  SimulatedBus bus;
  Add(bus, {0, 0x00, 0}, 0x0d578086, 0x060000);
  Add(bus, {0, 0x03, 0}, 0x10411af4, 0x020000);
  Add(bus, {0, 0x03, 1}, 0x10421af4, 0x018000);
  Add(bus, {0, 0x1c, 0}, 0x29408086, 0x060400, 0x00810000, 0x00010100);
  Add(bus, {1, 0x00, 0}, 0x220410de, 0x030000);
  Add(bus, {0, 0x02, 0, 1}, 0x10411af4, 0x020000);
  return bus;
}

// The first word of each line: the addresses of `list`, the device numbers of `scan`.
std::vector<std::string> FirstWords(const std::string& text) {
  std::vector<std::string> words;
  for (const std::string& line : Lines(text)) words.push_back(line.substr(0, line.find(' ', 1)));
  return words;
}

TEST(Selection, EachCommandPrintsWhatItChooses) {
  const struct {
    RunFunction run;
    std::vector<std::string> args;
    std::vector<std::string> first_words;
  } cases[] = {
      {RunList, {"-s", "00:03"}, {"0000:00:03.0", "0000:00:03.1"}},
      {RunList, {"-s", "0001:00:02.0"}, {"0001:00:02.0"}},
      {RunList, {"-d", "1af4:1041"}, {"0000:00:03.0", "0001:00:02.0"}},
      // Bus 0 of every domain, as lspci reads "0:".
      {RunList, {"-s", "0:", "-d", "1af4:"}, {"0000:00:03.0", "0000:00:03.1", "0001:00:02.0"}},
      {RunList, {"-d", "::0300"}, {"0000:01:00.0"}},
      // scan: -s chooses the bus, the function and the row.
      {RunScan, {"-s", "00:03.1"}, {" 3"}},
      {RunScan, {"-s", "01:"}, {" 0", " 1", " 2"}},
      {RunScan, {"-d", "8086:"}, {" 0", "28"}},
      {RunScan, {"--bus", "0x1"}, {" 0", " 1", " 2"}},
      // details: every function chosen, a blank line between.
      {RunDetails, {"-d", "1af4:", "-s", "00:"}, {"バス番号=0,", "バス番号=0,"}},
      {RunDetails, {"03.1"}, {"バス番号=0,"}},
  };
  for (const auto& c : cases) {
    std::string label;
    for (const std::string& word : c.args) label += word + " ";
    const auto r = RunCommand(c.run, c.args, Machine());
    ASSERT_EQ(r.status, 0) << label << r.err;
    std::vector<std::string> words = FirstWords(r.out);
    if (c.run == RunScan && words.size() > 3) words.resize(c.first_words.size());
    if (c.run == RunDetails) {
      std::vector<std::string> captions;
      for (const std::string& word : words) {
        if (word.starts_with("バス番号")) captions.push_back(word);
      }
      words = captions;
    }
    EXPECT_EQ(words, c.first_words) << label << "\n" << r.out;
  }
}

TEST(Selection, TreeKeepsTheChosenFunctionsAndTheBridgesAboveThem) {
  const auto r = RunCommand(RunTree, {"-d", "10de:"}, Machine());
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 3u) << r.out;  // the host bridge, 00:1c.0, 01:00.0 under it
  EXPECT_NE(lines[1].find("00:1c.0 8086:2940"), std::string::npos) << r.out;
  EXPECT_NE(lines[2].find("01:00.0 10de:2204"), std::string::npos) << r.out;
}

TEST(Selection, CaptureHoldsOnlyTheChosenFunctions) {
  const auto r = RunCommand(RunCapture, {"-d", "1af4:"}, Machine());
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<FunctionLocation> expected = {{0, 3, 0}, {0, 3, 1}, {0, 2, 0, 1}};
  EXPECT_EQ(ParseSimulatedBus(r.out).Locations(), expected);
}

TEST(Selection, DetailsOfSeveralIsOneJsonDocumentWithEachFunction) {
  const Json document =
      ParsedRoundTrip(RunCommand(RunDetails, {"-s", "03", "--json"}, Machine()).out);
  ASSERT_EQ(document["functions"].size(), 2u);
  EXPECT_EQ(document["functions"][1]["function"], 1);
  EXPECT_EQ(document["id_list"]["source"], "embedded");
  // One function named by its address is the document of one function, as before.
  const Json one = ParsedRoundTrip(RunCommand(RunDetails, {"00:03.1", "--json"}, Machine()).out);
  EXPECT_EQ(one["function"], 1);
  EXPECT_FALSE(one.contains("functions"));
}

// Nothing chosen: one line on stderr, nothing on stdout, status 1, whichever command.
TEST(Selection, ChoosingNothingSaysSoAndEndsWithOne) {
  const struct {
    RunFunction run;
    std::string name;
  } commands[] = {{RunList, "list"},
                  {RunScan, "scan"},
                  {RunTree, "tree"},
                  {RunDetails, "details"},
                  {RunCapture, "capture"}};
  for (const auto& c : commands) {
    const auto r = RunCommand(c.run, {"-s", "00:04.0", "-d", "1af4:"}, Machine());
    EXPECT_EQ(r.status, 1) << c.name;
    EXPECT_EQ(r.out, "") << c.name;
    EXPECT_EQ(r.err, "kelvox-cli: " + c.name + ": no function matches -s 00:04.0 -d 1af4:\n");
  }
}

// An address of a function that is not there shows the empty slot, as the window does, and
// says so once.
TEST(Selection, DetailsOfAnAbsentFunctionWarnsAndShowsAllOnes) {
  const auto r = RunCommand(RunDetails, {"00:1f.0"}, Machine());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err,
            "kelvox-cli: details: warning: no function answers at 00:1f.0; the sheet shows what "
            "an empty slot reads (all ones)\n");
  EXPECT_NE(r.out.find("ベンダID: ffff"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace kelvox::cli
