#include "cli/scan_command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "cli/testing/command_run.h"
#include "config/capture/simulated_bus.h"

namespace kelvox::cli {
namespace {

// Runs `scan` on a simulated bus and records which --source it was asked for.
struct ScanRun {
  SimulatedBus bus;
  std::optional<std::string> source_asked;
  int opens = 0;
  std::ostringstream out, err;

  int Run(std::vector<std::string> args) {
    return RunScan(args, out, err, [this](const std::optional<std::string>& source) {
      ++opens;
      source_asked = source;
      return OpenedAccess{std::make_unique<SimulatedBus>(bus), {}};
    });
  }
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(ScanCommand, DefaultsToBusZeroFunctionZeroAndTheDefaultBackend) {
  ScanRun run;
  run.bus.AddFunction({0, 3, 0});
  run.bus.SetRegister({0, 3, 0}, 0x00, 0x10421af4);
  run.bus.SetRegister({0, 3, 0}, 0x04, 0x00100406);
  run.bus.SetRegister({0, 3, 0}, 0x08, 0x01800001);
  EXPECT_EQ(run.Run({}), 0);
  EXPECT_EQ(run.source_asked, std::nullopt);
  EXPECT_EQ(run.err.str(), "");
  const auto lines = Lines(run.out.str());
  ASSERT_EQ(lines.size(), 32u);
  EXPECT_EQ(lines[3], " 3 1af4   1042 0406 0010 01   018000 00  大容量記憶装置(?)");
  EXPECT_EQ(lines[0], " 0 ffff   ffff ffff ffff ff   ffffff ff  ？？？？");
  EXPECT_EQ(lines[31].substr(0, 8), "31 ffff ");
  EXPECT_EQ(run.out.str().back(), '\n');
}

TEST(ScanCommand, ScansTheBusAndFunctionAskedFor) {
  ScanRun run;
  run.bus.AddFunction({255, 9, 7});
  run.bus.SetRegister({255, 9, 7}, 0x00, 0xabcd1234);
  run.bus.AddFunction({0, 9, 0});  // must not show up
  run.bus.SetRegister({0, 9, 0}, 0x00, 0x11111111);
  EXPECT_EQ(run.Run({"--bus", "255", "--function=7", "--source", "sysfs"}), 0);
  EXPECT_EQ(run.source_asked, "sysfs");
  const auto lines = Lines(run.out.str());
  ASSERT_EQ(lines.size(), 32u);
  EXPECT_EQ(lines[9].substr(0, 14), " 9 1234   abcd");
  for (int device = 0; device < 32; ++device) {
    if (device != 9) {
      EXPECT_EQ(lines[device].substr(3, 4), "ffff") << device;
    }
  }
}

TEST(ScanCommand, BadInputPrintsOneLineOnErrAndNothingOnOut) {
  // Each kind of parse error once; args_test.cpp covers the parser's cases in full.
  const std::vector<std::vector<std::string>> bad = {
      {"--bus", "256"}, {"--function", "1.0"}, {"--bus"}, {"--colour"}, {"extra"}};
  for (const auto& args : bad) {
    ScanRun run;
    EXPECT_EQ(run.Run(args), 2) << args[0];
    EXPECT_EQ(run.out.str(), "") << args[0];
    const std::string err = run.err.str();
    EXPECT_TRUE(err.starts_with("kelvox-cli: scan: ")) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    EXPECT_EQ(run.opens, 0) << "no backend is opened for a bad command line";
  }
}

TEST(ScanCommand, ABackendThatCannotOpenFailsWithItsMessage) {
  std::ostringstream out, err;
  const int status = RunScan(std::vector<std::string>{"--source", "missing.txt"}, out, err,
                             [](const std::optional<std::string>&) {
                               return OpenedAccess{nullptr, "dump: cannot open missing.txt"};
                             });
  EXPECT_EQ(status, 2);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "kelvox-cli: scan: --source: dump: cannot open missing.txt\n");
}

TEST(ScanCommand, JsonHoldsTheRowsTextsWithTheirRegisterValues) {
  ScanRun text_run, json_run;
  for (ScanRun* run : {&text_run, &json_run}) {
    run->bus.AddFunction({2, 3, 1});
    run->bus.SetRegister({2, 3, 1}, 0x00, 0x10421af4);
    run->bus.SetRegister({2, 3, 1}, 0x04, 0x00100406);
    run->bus.SetRegister({2, 3, 1}, 0x08, 0x01800001);
    run->bus.SetRegister({2, 3, 1}, 0x0C, 0x00800010);
  }
  ASSERT_EQ(text_run.Run({"--bus", "2", "--function", "1"}), 0);
  ASSERT_EQ(json_run.Run({"--bus", "2", "--function", "1", "--json"}), 0);
  EXPECT_EQ(json_run.err.str(), "");
  const Json d = testing::ParsedRoundTrip(json_run.out.str());
  EXPECT_EQ(d["command"], "scan");
  EXPECT_EQ(d["version"], 1);
  EXPECT_EQ(d["backend"], "simulated");
  EXPECT_EQ(d["bus"], 2);
  EXPECT_EQ(d["function"], 1);
  const auto lines = Lines(text_run.out.str());
  ASSERT_EQ(d["rows"].size(), 32u);
  for (size_t i = 0; i < 32; ++i) {
    EXPECT_EQ(d["rows"][i]["text"], lines[i]);
    EXPECT_EQ(d["rows"][i]["device"], i);
    EXPECT_EQ(d["rows"][i]["present"], i == 3);
  }
  const Json& row = d["rows"][3];
  EXPECT_EQ(row["vendor_id"], Json::parse(R"({"value":6900,"text":"1af4"})"));
  EXPECT_EQ(row["device_id"], Json::parse(R"({"value":4162,"text":"1042"})"));
  EXPECT_EQ(row["command"], Json::parse(R"({"value":1030,"text":"0406"})"));
  EXPECT_EQ(row["status"], Json::parse(R"({"value":16,"text":"0010"})"));
  EXPECT_EQ(row["revision"], Json::parse(R"({"value":1,"text":"01"})"));
  EXPECT_EQ(row["class_code"], Json::parse(R"({"value":98304,"text":"018000"})"));
  EXPECT_EQ(row["header_type"], Json::parse(R"({"value":128,"text":"80"})"));
  EXPECT_EQ(row["comment"], "大容量記憶装置(?)");
  EXPECT_EQ(d["rows"][0]["vendor_id"], Json::parse(R"({"value":65535,"text":"ffff"})"));
  EXPECT_EQ(d["rows"][0]["comment"], "？？？？");
}

TEST(ScanCommand, HelpGoesToOutAndNamesEveryOption) {
  ScanRun run;
  EXPECT_EQ(run.Run({"--help"}), 0);
  EXPECT_EQ(run.err.str(), "");
  EXPECT_EQ(run.opens, 0);
  const std::string help = run.out.str();
  for (const char* word : {"--bus N", "0 to 255", "--function N", "0 to 7", "--source", "sysfs",
                           "port", "FILE", "default", "--json"}) {
    EXPECT_NE(help.find(word), std::string::npos) << word;
  }
}

}  // namespace
}  // namespace kelvox::cli
