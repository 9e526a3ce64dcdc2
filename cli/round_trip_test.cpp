// A capture read back with --source must show what the bus it was taken from shows: the same
// scan rows, list lines and details texts, base address ranges included, as text and as JSON.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <utility>

#include "cli/capture_command.h"
#include "cli/details_command.h"
#include "cli/list_command.h"
#include "cli/scan_command.h"
#include "cli/testing/command_run.h"
#include "config/sysfs/sysfs_access.h"
#include "config/sysfs/testing/fake_sysfs_tree.h"
#include "testsupport/temp_folder.h"

namespace kelvox::cli {
namespace {

namespace fs = std::filesystem;
using testing::CommandRun;
using testing::RunCommand;
using testing::RunFunction;

// Every command line, run on the original and on the capture, prints the same; --json
// documents match but for the backend's name.
void ExpectSameOutput(RunFunction run, std::vector<std::string> args, const AccessOpener& live,
                      const std::string& capture) {
  std::vector<std::string> from_file = args;
  from_file.insert(from_file.end(), {"--source", capture});
  const CommandRun original = RunCommand(run, args, live);
  const CommandRun replayed = RunCommand(run, from_file, OpenSourceAccess);
  std::string line;
  for (const std::string& word : args) line += word + " ";
  ASSERT_EQ(original.status, 0) << line << original.err;
  ASSERT_EQ(replayed.status, 0) << line << replayed.err;
  EXPECT_EQ(replayed.out, original.out) << line;

  args.push_back("--json");
  from_file.push_back("--json");
  Json original_json = Json::parse(RunCommand(run, args, live).out);
  Json replayed_json = Json::parse(RunCommand(run, from_file, OpenSourceAccess).out);
  original_json.erase("backend");
  replayed_json.erase("backend");
  EXPECT_EQ(replayed_json, original_json) << line;
}

// "BB:DD.F register RR", the name a capture warning gives a register.
std::string RegisterName(const FunctionLocation& at, int reg) {
  char name[32];
  std::snprintf(name, sizeof name, "%02x:%02x.%x register %02x", at.bus, at.device, at.function,
                reg);
  return name;
}

// The registers the capture's warnings name. Every line on standard error must be a warning
// that names one.
std::set<std::string> RegistersWarnedOf(const std::string& err) {
  static const std::regex kWarning(
      "kelvox-cli: capture: warning: ([0-9a-f]{2}:[0-9a-f]{2}\\.[0-7] register [0-9a-f]{2}): .+");
  std::set<std::string> registers;
  std::istringstream lines(err);
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    if (std::regex_match(line, match, kWarning)) {
      registers.insert(match[1]);
    } else {
      ADD_FAILURE() << "a capture message that names no register: " << line;
    }
  }
  return registers;
}

// What a register reads back after all ones are written to it (the value is put back after).
uint32_t SizingReadBack(ConfigAccess& access, const FunctionLocation& at, int reg) {
  const uint32_t saved = access.Read(at.bus, at.device, at.function, reg);
  access.Write(at.bus, at.device, at.function, reg, 0xFFFFFFFFu);
  const uint32_t read_back = access.Read(at.bus, at.device, at.function, reg);
  access.Write(at.bus, at.device, at.function, reg, saved);
  return read_back;
}

// The registers 0x10-0x3C of `functions` that size differently on the live bus and from the
// capture file.
std::set<std::string> RegistersSizedDifferently(const std::vector<FunctionLocation>& functions,
                                                const AccessOpener& live,
                                                const std::string& capture) {
  const OpenedAccess original = live(std::nullopt);
  const OpenedAccess replayed = OpenSourceAccess(capture);
  EXPECT_TRUE(original.access && replayed.access) << original.error << replayed.error;
  std::set<std::string> registers;
  if (!original.access || !replayed.access) return registers;
  for (const FunctionLocation& at : functions) {
    for (int reg = 0x10; reg <= 0x3C; reg += 4) {
      if (SizingReadBack(*original.access, at, reg) != SizingReadBack(*replayed.access, at, reg)) {
        registers.insert(RegisterName(at, reg));
      }
    }
  }
  return registers;
}

// Runs every command on every present function of `functions` (and one absent device). A
// register the capture cannot size as the live bus does must be named by a warning, and only
// such registers are; the details of a function with such a register are not compared, since
// its base address ranges differ by design. Returns the registers warned of.
std::set<std::string> ExpectCaptureShowsTheSame(const std::vector<FunctionLocation>& functions,
                                                const AccessOpener& live) {
  // The capture file, in a folder of its own.
  const kelvox::testing::TempFolder folder("kelvox-round-trip");
  const std::string capture = folder.PathOf("bus.txt");
  const CommandRun captured = RunCommand(RunCapture, {"-o", capture}, live);
  EXPECT_EQ(captured.status, 0) << captured.err;
  if (captured.status != 0) return {};
  const std::set<std::string> warned = RegistersWarnedOf(captured.err);
  EXPECT_EQ(warned, RegistersSizedDifferently(functions, live, capture));

  ExpectSameOutput(RunList, {}, live, capture);
  std::set<std::pair<int, int>> scanned;
  for (const FunctionLocation& at : functions) {
    const std::string bus = std::to_string(at.bus), function = std::to_string(at.function);
    if (scanned.insert({at.bus, at.function}).second) {
      ExpectSameOutput(RunScan, {"--bus", bus, "--function", function}, live, capture);
    }
    const std::string prefix = RegisterName(at, 0).substr(0, 7);
    const auto first_warned = warned.lower_bound(prefix);
    if (first_warned != warned.end() && first_warned->starts_with(prefix)) continue;
    ExpectSameOutput(RunDetails, {std::to_string(at.device), "--bus", bus, "--function", function},
                     live, capture);
  }
  ExpectSameOutput(RunDetails, {"31", "--bus", "255", "--function", "7"}, live, capture);
  return warned;
}

// Base address registers of every kind the decoder tells apart, with the writable masks
// hardware would have, on two buses and in a multi-function device.
SimulatedBus EveryDecodeCase() {
  SimulatedBus bus;
  const auto add = [&bus](FunctionLocation at, uint32_t id, uint32_t class_reg, uint32_t header,
                          std::vector<std::pair<uint32_t, uint32_t>> bars,
                          std::pair<uint32_t, uint32_t> rom) {
    bus.AddFunction(at);
    bus.SetRegister(at, 0x00, id);
    bus.SetRegister(at, 0x04, 0x02900007u);
    bus.SetRegister(at, 0x08, class_reg);
    bus.SetRegister(at, 0x0C, header);
    for (size_t i = 0; i < bars.size(); ++i) {
      bus.SetRegister(at, 0x10 + 4 * static_cast<int>(i), bars[i].first);
      bus.SetWritableMask(at, 0x10 + 4 * static_cast<int>(i), bars[i].second);
    }
    bus.SetRegister(at, 0x2C, 0x12341AF4u);
    bus.SetRegister(at, 0x30, rom.first);
    bus.SetWritableMask(at, 0x30, rom.second);
    bus.SetRegister(at, 0x3C, 0x2A01010Bu);
  };
  // 32-bit prefetchable, below 1M, 64-bit (lower and upper halves), I/O, unimplemented;
  // enabled ROM.
  add({0, 3, 0}, 0x802910ECu, 0x02000001u, 0x00004008u,
      {{0xE0000008u, 0xFFF00000u},
       {0x000C0002u, 0xFFFFC000u},
       {0xF0000004u, 0xFFFF0000u},
       {0x00000000u, 0xFFFFFFFFu},
       {0x0000E001u, 0xFFFFFFE0u},
       {0, 0}},
      {0xFFFC0001u, 0xFFFE0001u});
  // Reserved memory type, I/O decoding 16 bits; disabled ROM. Multi-function.
  add({0, 7, 0}, 0x70008086u, 0x06010000u, 0x00800000u,
      {{0xF0000006u, 0xFFFF0000u}, {0x0000D001u, 0x0000FFF0u}}, {0xFE000000u, 0xFFFF0001u});
  add({0, 7, 1}, 0x70108086u, 0x01018000u, 0, {{0x0000FFA1u, 0xFFFFFFF0u}}, {0, 0});
  // Another bus, no ROM.
  add({3, 31, 2}, 0x01101DE0u, 0x0C030000u, 0, {{0xFEBFF000u, 0xFFFFF000u}}, {0, 0});
  return bus;
}

TEST(CaptureRoundTrip, ABusWithEveryDecodeCaseReadsBackAsItself) {
  const SimulatedBus bus = EveryDecodeCase();
  const std::set<std::string> warned =
      ExpectCaptureShowsTheSame(bus.Locations(), [&bus](const std::optional<std::string>&) {
        return OpenedAccess{std::make_unique<SimulatedBus>(bus), {}};
      });
  EXPECT_TRUE(warned.empty());
}

// A register holding bits the kernel reports no region for cannot be sized from the capture as
// the machine sizes it: the capture names exactly that register, and everything else still
// reads back as the live bus.
TEST(CaptureRoundTrip, OnlyTheRegistersTheCaptureCannotSizeAreWarnedOf) {
  kelvox::testing::FakeSysfsTree tree;
  tree.Add("0000:00:01.0", {kelvox::testing::Header({0xFEB00000, 0x0000C001}),
                            {kelvox::testing::Region(0xFEB00000, 0x1000),
                             kelvox::testing::Region(0xC000, 0x20, 0x40101)}});
  // Register 14 reads as prefetchable memory at 0, of which the kernel knows no region.
  tree.Add("0000:00:03.0", {kelvox::testing::Header({0xFEA00000, 0x00000008}),
                            {kelvox::testing::Region(0xFEA00000, 0x100000)}});
  const std::string root = tree.root();
  const AccessOpener live = [root](const std::optional<std::string>&) {
    return OpenedAccess{std::make_unique<SysfsAccess>(root), {}};
  };
  const std::set<std::string> warned =
      ExpectCaptureShowsTheSame(SysfsAccess(root).ListFunctions(std::nullopt).present, live);
  EXPECT_EQ(warned, (std::set<std::string>{"00:03.0 register 14"}));
}

TEST(CaptureRoundTrip, ThisMachineReadsBackAsTheLiveMachine) {
#ifndef __linux__
  GTEST_SKIP() << "the live machine is read through sysfs on Linux only";
#endif
  if (!fs::is_directory(kSysfsDevicesRoot)) GTEST_SKIP() << "no " << kSysfsDevicesRoot;
  const std::vector<FunctionLocation> functions = SysfsAccess().ListFunctions(std::nullopt).present;
  if (functions.empty()) GTEST_SKIP() << "no PCI function in domain 0 on this machine";
  ExpectCaptureShowsTheSame(functions, OpenSourceAccess);
  RecordProperty("functions", static_cast<int>(functions.size()));
}

}  // namespace
}  // namespace kelvox::cli
