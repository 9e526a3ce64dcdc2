#include "cli/capture_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#ifdef __linux__
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>

#include "cli/testing/command_run.h"
#include "config/capture/capture_text.h"
#include "config/recording_access.h"
#include "config/sysfs/sysfs_access.h"
#include "config/sysfs/testing/fake_sysfs_tree.h"
#include "config/testing/read_write_only.h"
#include "testsupport/temp_folder.h"

namespace kelvox::cli {
namespace {

namespace fs = std::filesystem;
using testing::RunCommand;

SimulatedBus SmallBus() {
  SimulatedBus bus;
  bus.AddFunction({0, 3, 0});
  bus.SetRegister({0, 3, 0}, 0x00, 0x802910ECu);
  bus.SetRegister({0, 3, 0}, 0x10, 0xE0000008u);
  bus.SetWritableMask({0, 3, 0}, 0x10, 0xFFF00000u);
  bus.AddFunction({4, 0, 0});
  bus.SetRegister({4, 0, 0}, 0x00, 0x10001AF4u);
  return bus;
}

// The opener of a sysfs tree: what the default backend is on Linux.
AccessOpener SysfsOpener(const std::string& root) {
  return [root](const std::optional<std::string>&) {
    return OpenedAccess{std::make_unique<SysfsAccess>(root), {}};
  };
}

TEST(CaptureCommand, WritesTheBusToStandardOutputByDefault) {
  const SimulatedBus bus = SmallBus();
  const auto all = RunCommand(RunCapture, {}, bus);
  ASSERT_EQ(all.status, 0) << all.err;
  EXPECT_EQ(all.err, "");
  EXPECT_EQ(all.out, FormatSimulatedBus(bus));
  EXPECT_NE(all.out.find("# writable 10 fff00000\n"), std::string::npos);
  EXPECT_EQ(RunCommand(RunCapture, {"--all", "-o", "-"}, bus).out, all.out);
  const auto one = RunCommand(RunCapture, {"--bus", "4"}, bus);
  EXPECT_EQ(one.out.substr(0, 8), "04:00.0 ");
  EXPECT_EQ(one.out.find("00:03.0"), std::string::npos);
}

// The dump lines of zeros from `from` up to `to`, as a capture writes them.
std::string ZeroLines(int from, int to) {
  std::string lines;
  char line[8];
  for (int offset = from; offset < to; offset += 16) {
    std::snprintf(line, sizeof line, "%02x:", offset);
    lines += line;
    for (int i = 0; i < 16; ++i) lines += " 00";
    lines += "\n";
  }
  return lines;
}

// Every byte of the config file the kernel gives: here its 256.
TEST(CaptureCommand, ASysfsCaptureCarriesTheMasksOfTheKernelsRegions) {
  kelvox::testing::FakeSysfsTree tree;
  tree.Add("0000:00:01.0", {kelvox::testing::Header({0xFEB00000, 0x0000C001}),
                            {kelvox::testing::Region(0xFEB00000, 0x1000),
                             kelvox::testing::Region(0xC000, 0x20, 0x40101)}});
  const auto r = RunCommand(RunCapture, {}, SysfsOpener(tree.root()));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "00:01.0 0604: 1af4:1045 (rev 01)\n"
            "00: f4 1a 45 10 07 00 10 00 01 00 04 06 00 00 00 00\n"
            "10: 00 00 b0 fe 01 c0 00 00 00 00 00 00 00 00 00 00\n"
            "20: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
            "30: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n" +
                ZeroLines(0x40, 0x100) +
                "# writable 10 fffff000\n"
                "# writable 14 ffffffe0\n"
                // What sysfs knows of it: no driver, no MSI vector, no IOMMU group, under the host
                // bridge (the fake tree has none of the other files).
                "# fact driver\n"
                "# fact msi_irqs 0\n"
                "# fact iommu_group\n"
                "# fact parent\n"
                "\n");
}

TEST(CaptureCommand, WarnsOfARegisterItCannotSizeAsTheMachineDoesAndStillWrites) {
  kelvox::testing::FakeSysfsTree tree;
  tree.Add("0000:00:03.0", {kelvox::testing::Header({0x0000000C}), {}});
  const auto r = RunCommand(RunCapture, {}, SysfsOpener(tree.root()));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err,
            "kelvox-cli: capture: warning: 00:03.0 register 10: sizing reads back 00000000 live "
            "but 0000000c from the capture\n");
  EXPECT_EQ(r.out.substr(0, 8), "00:03.0 ");
}

TEST(CaptureCommand, FailuresPrintOneLineAndWriteNothing) {
  const kelvox::testing::TempFolder temp("kelvox-capture");
  const std::string folder = temp.path();
  const std::string target = folder + "/bus.txt";
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--bus", "1", "--all", "-o", target}, "capture: --bus and --all exclude each other"},
      {{"--all=yes"}, "capture: --all takes no value"},
      {{"--json"}, "capture: unknown option '--json'"},
      {{"--bus", "9", "-o", target}, "capture: no function present on bus 9"},
      {{"-o", folder + "/missing/bus.txt"},
       "capture: cannot write " + folder + "/missing/bus.txt: No such file or directory"},
      // A control character in the path is escaped, so the message stays one line.
      {{"-o", folder + "/missing\n/bus.txt"},
       "capture: cannot write " + folder + "/missing\\n/bus.txt: " +
#ifdef _WIN32
           // Windows refuses a control character in a file name before it looks for the folder.
           "Invalid argument"},
#else
           "No such file or directory"},
#endif
  };
  for (const auto& [args, message] : cases) {
    const auto r = RunCommand(RunCapture, args, SmallBus());
    EXPECT_EQ(r.status, 2) << message;
    EXPECT_EQ(r.out, "") << message;
    EXPECT_EQ(r.err, "kelvox-cli: " + message + "\n");
  }
  EXPECT_TRUE(fs::is_empty(folder));

#ifdef __linux__
  // A device that takes nothing: a private full device (1, 7) where root may make one, since a
  // faulty write as root could replace the system's own.
  std::string full = folder + "/full";
  if (mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) full = "/dev/full";
  if (geteuid() != 0 || full != "/dev/full") {
    const auto r = RunCommand(RunCapture, {"-o", full}, SmallBus());
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "kelvox-cli: capture: cannot write " + full + ": No space left on device\n");
    EXPECT_TRUE(fs::is_character_file(full));
    fs::remove(folder + "/full");
  }
#endif

  // A backend that would have to write the devices is refused before anything is read.
  SimulatedBus bus = SmallBus();
  const auto port = RunCommand(
      RunCapture, {"--source", "port", "-o", target}, [&bus](const std::optional<std::string>&) {
        return OpenedAccess{std::make_unique<kelvox::testing::ReadWriteOnly>(bus), {}};
      });
  EXPECT_EQ(port.status, 2);
  EXPECT_EQ(port.out, "");
  EXPECT_TRUE(
      port.err.starts_with("kelvox-cli: capture: simulated: cannot capture: learning "
                           "base address sizes here means writing all ones"))
      << port.err;
  EXPECT_TRUE(fs::is_empty(folder));

  const auto written = RunCommand(RunCapture, {"-o", target}, SmallBus());
  EXPECT_EQ(written.status, 0) << written.err;
  EXPECT_EQ(written.out, "");
  EXPECT_EQ(kelvox::testing::FileText(target), FormatSimulatedBus(SmallBus()));
}

}  // namespace
}  // namespace kelvox::cli
