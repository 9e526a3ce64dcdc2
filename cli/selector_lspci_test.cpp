// The selection options against their oracle: lspci reads the same capture with the same -s and
// -d words and must choose the same functions as `kelvox-cli list` (both with -D, so that every
// address carries its domain), or refuse the same words. Skipped where lspci is not installed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "config/capture/capture_text.h"
#include "config/capture/simulated_bus.h"
#include "testsupport/run_program.h"
#include "testsupport/temp_folder.h"

namespace kelvox {
namespace {

using testing::ProgramRun;
using testing::RunProgram;

std::string FindLspci() {
  for (const char* path : {"/usr/bin/lspci", "/bin/lspci", "/usr/sbin/lspci", "/sbin/lspci"}) {
    if (access(path, X_OK) == 0) return path;
  }
  return "";
}

// Functions in two domains, on buses 00, 01 and 0a, at devices 00, 03 and 1f, with functions
// 0, 1 and 7, of three vendors and four classes.
SimulatedBus Machine() {
  SimulatedBus bus;
  const struct {
    FunctionLocation at;
    uint32_t ids, class_code;
  } functions[] = {
      {{0x00, 0x00, 0, 0}, 0x0d578086, 0x060000},    {{0x00, 0x03, 0, 0}, 0x10411af4, 0x020000},
      {{0x00, 0x03, 1, 0}, 0x10421af4, 0x010802},    {{0x00, 0x1f, 7, 0}, 0x22048086, 0x030000},
      {{0x01, 0x00, 0, 0}, 0x220410de, 0x030000},    {{0x01, 0x00, 1, 0}, 0x1aef10de, 0x040300},
      {{0x0a, 0x1f, 0, 0}, 0x10411af4, 0x020000},    {{0x00, 0x03, 0, 1}, 0x0d578086, 0x060400},
      {{0x01, 0x03, 0, 0x10}, 0x10411af4, 0x020000},
  };
  for (const auto& f : functions) {
    bus.AddFunction(f.at);
    bus.SetRegister(f.at, 0x00, f.ids);
    bus.SetRegister(f.at, 0x08, f.class_code << 8 | 0x01);
    // Functions 1 to 7 are seen only behind a multi-function function 0.
    bus.SetRegister(f.at, 0x0C, 0x00800000);
  }
  return bus;
}

// The addresses a listing starts its lines with, in order.
std::vector<std::string> Addresses(const std::string& text) {
  std::vector<std::string> addresses;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty()) addresses.push_back(line.substr(0, line.find(' ')));
  }
  return addresses;
}

TEST(SelectorAgainstLspci, ChoosesTheFunctionsLspciChooses) {
  const std::string lspci = FindLspci();
  if (lspci.empty()) GTEST_SKIP() << "lspci is not installed (Debian package pciutils)";
  const testing::TempFolder folder("kelvox-selector");
  const std::string capture = folder.Write("machine.txt", FormatSimulatedBus(Machine()));

  const std::vector<std::vector<std::string>> selections = {
      // Places: whole addresses, parts left out, wildcards, domains.
      {"-s", "00:03.0"},
      {"-s", "0000:00:03.0"},
      {"-s", "0001:00:03.0"},
      {"-s", "03"},
      {"-s", "03."},
      {"-s", "3.1"},
      {"-s", ".1"},
      {"-s", "00:"},
      {"-s", "1:"},
      {"-s", "0a:1f"},
      {"-s", "*:*.*"},
      {"-s", "*:03.*"},
      {"-s", "0001::"},
      {"-s", "10::"},
      {"-s", "::.0"},
      {"-s", "1f.7"},
      {"-s", "00:04.0"},
      {"-s", "2:"},
      {"-s", "ff:1f.7"},
      // IDs: vendor, device, class, each left out or not.
      {"-d", "8086:"},
      {"-d", "1af4:1041"},
      {"-d", ":2204"},
      {"-d", "::0200"},
      {"-d", "::0300"},
      {"-d", "10de::0403"},
      {"-d", "*:*"},
      {"-d", "8086:1041"},
      {"-d", "1234:"},
      // Both.
      {"-s", "00:", "-d", "1af4:"},
      {"-s", ".0", "-d", "::0300"},
      {"-s", "01:", "-d", "8086:"},
      // Words both refuse.
      {"-s", "100:00.0"},
      {"-s", "00:20.0"},
      {"-s", "00:00.8"},
      {"-s", "zz"},
      {"-s", "1:2:3:4.0"},
      {"-s", "00:g0.0"},
      {"-d", "8086"},
      {"-d", "12345:"},
      {"-d", ":g"},
      {"-d", "::10000"},
  };
  for (const std::vector<std::string>& words : selections) {
    std::string label;
    for (const std::string& word : words) label += word + " ";
    std::vector<std::string> theirs_args = {lspci, "-F", capture, "-D", "-n"};
    std::vector<std::string> ours_args = {KELVOX_CLI_PATH, "list", "--source", capture, "-D"};
    theirs_args.insert(theirs_args.end(), words.begin(), words.end());
    ours_args.insert(ours_args.end(), words.begin(), words.end());
    const ProgramRun theirs = RunProgram(theirs_args);
    const ProgramRun ours = RunProgram(ours_args);
    if (theirs.status != 0) {
      // A word lspci refuses is bad input to kelvox-cli too: one line, nothing printed.
      EXPECT_EQ(ours.status, 2) << label << ours.out << ours.err;
      EXPECT_EQ(ours.out, "") << label;
      EXPECT_EQ(ours.err.find('\n'), ours.err.size() - 1) << label << ours.err;
      continue;
    }
    EXPECT_EQ(Addresses(ours.out), Addresses(theirs.out)) << label << "\n" << ours.err;
    if (Addresses(theirs.out).empty()) {
      // lspci prints nothing; kelvox-cli says so in one line and exits 1.
      EXPECT_EQ(ours.status, 1) << label;
      EXPECT_TRUE(ours.err.starts_with("kelvox-cli: list: no function matches ")) << ours.err;
    } else {
      EXPECT_EQ(ours.status, 0) << label << ours.err;
    }
  }
}

}  // namespace
}  // namespace kelvox
