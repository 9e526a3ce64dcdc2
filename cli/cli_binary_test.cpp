// Runs the built kelvox-cli program as a separate process: exit statuses, what goes to which
// stream, and the scan of this machine's bus 0 against what the kernel reports in sysfs.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "testsupport/run_program.h"
#include "testsupport/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using kelvox::testing::ProgramRun;
using kelvox::testing::TempFolder;

// Runs kelvox-cli with `args`, its standard output and error captured separately.
ProgramRun RunCli(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {KELVOX_CLI_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  return kelvox::testing::RunProgram(argv);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(CliProgram, SeparatesResultsFromErrorsAndExitsWithTheRightStatus) {
  const ProgramRun help = RunCli({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("\n  scan "), std::string::npos) << help.out;
  EXPECT_EQ(help.err, "");

  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"scan", "--bus", "256"},
                                             {"scan", "--function", "x"},
                                             {"scan", "--what"},
                                             {"frobnicate"},
                                             {}}) {
    const ProgramRun r = RunCli(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.starts_with("kelvox-cli: ")) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  }

  const ProgramRun scan = RunCli({"scan", "--bus", "255", "--function", "7"});
  EXPECT_EQ(scan.status, 0);
  EXPECT_EQ(scan.err, "");
  EXPECT_EQ(Lines(scan.out).size(), 32u);
}

TEST(CliProgram, EveryCommandRejectsBadArgumentsTheSameWay) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"list", "--vendor", "80"},
                                             {"details", "32"},
                                             {"find", "--device", "1234"},
                                             {"capture", "-o", "/nonexistent/kelvox/bus.txt"},
                                             {"capture", "--source", "port"}}) {
    const ProgramRun r = RunCli(args);
    EXPECT_EQ(r.status, 2) << args[0];
    EXPECT_EQ(r.out, "") << args[0];
    EXPECT_TRUE(r.err.starts_with("kelvox-cli: " + args[0] + ": ")) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  }
  EXPECT_FALSE(fs::exists("/nonexistent/kelvox"));

  const ProgramRun find = RunCli({"find", "--vendor", "8086", "--json"});
  EXPECT_EQ(find.status, 0) << find.err;
  EXPECT_NE(find.out.find("\"full_name\": \"Intel Corporation\""), std::string::npos) << find.out;
}

TEST(CliProgram, ScansACapturedBusAndRejectsABadCapture) {
  const TempFolder folder("kelvox-cli-dump");
  const std::string good = folder.Write("good.txt",
                                        "00:00.0 Host bridge: Intel Corporation Device 0d57\n"
                                        "00: 86 80 57 0d 00 00 00 00 00 00 00 06 00 00 00 00\n"
                                        "\n"
                                        "00:1f.0 SATA controller\n"
                                        "00: 86 80 02 a3 07 04 B0 02 10 01 06 01 00 00 80 00\n");
  const ProgramRun scan = RunCli({"scan", "--source", good});
  EXPECT_EQ(scan.status, 0) << scan.err;
  EXPECT_EQ(scan.err, "");
  const std::vector<std::string> lines = Lines(scan.out);
  ASSERT_EQ(lines.size(), 32u);
  EXPECT_EQ(lines[0], " 0 8086   0d57 0000 0000 00   060000 00  ブリッジ(ホスト)");
  EXPECT_EQ(lines[31], "31 8086   a302 0407 02b0 10   010601 80  大容量記憶装置(Serial ATA)");
  EXPECT_EQ(lines[1], " 1 ffff   ffff ffff ffff ff   ffffff ff  ？？？？");

  const std::string bad = folder.Write("bad.txt", "00:00.0 Host bridge\n00: 86 80 5x 0d\n");
  const ProgramRun malformed = RunCli({"scan", "--source", bad});
  EXPECT_EQ(malformed.status, 2);
  EXPECT_EQ(malformed.out, "");
  EXPECT_TRUE(malformed.err.starts_with("kelvox-cli: scan: --source: " + bad + ": line 2"))
      << malformed.err;
  EXPECT_EQ(malformed.err.find('\n'), malformed.err.size() - 1) << malformed.err;

  const ProgramRun missing = RunCli({"scan", "--source", "/nonexistent/kelvox/dump.txt"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.out, "");
  EXPECT_TRUE(missing.err.starts_with(
      "kelvox-cli: scan: --source: /nonexistent/kelvox/dump.txt: cannot open"))
      << missing.err;
}

// The first line of a sysfs attribute file, without its "0x".
std::string SysfsHex(const fs::path& file) {
  std::string text;
  std::ifstream(file) >> text;
  return text.starts_with("0x") ? text.substr(2) : text;
}

TEST(CliProgram, ScanOfBusZeroMatchesWhatTheKernelReports) {
  const fs::path devices = "/sys/bus/pci/devices";
  if (!fs::is_directory(devices)) GTEST_SKIP() << "no " << devices << " on this machine";

  const ProgramRun r = RunCli({"scan"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 32u);
  int present = 0;
  for (int device = 0; device < 32; ++device) {
    char name[16];
    std::snprintf(name, sizeof name, "0000:00:%02x.0", device);
    const fs::path dir = devices / name;
    std::istringstream words(lines[device]);
    std::string number, vendor, device_id, command, status, revision, class_code, header;
    words >> number >> vendor >> device_id >> command >> status >> revision >> class_code >> header;
    EXPECT_EQ(number, std::to_string(device));
    if (!fs::exists(dir)) {
      EXPECT_EQ(lines[device].substr(3), "ffff   ffff ffff ffff ff   ffffff ff  ？？？？");
      continue;
    }
    ++present;
    EXPECT_EQ(vendor, SysfsHex(dir / "vendor")) << name;
    EXPECT_EQ(device_id, SysfsHex(dir / "device")) << name;
    EXPECT_EQ(class_code, SysfsHex(dir / "class")) << name;
    EXPECT_EQ(revision, SysfsHex(dir / "revision")) << name;
    // The kernel has no attribute for the header type; it is byte 0x0E of the config file.
    std::ifstream config(dir / "config", std::ios::binary);
    config.seekg(0x0E);
    const int header_byte = config.get();
    ASSERT_TRUE(config.good()) << name;
    char expected[3];
    std::snprintf(expected, sizeof expected, "%02x", header_byte);
    EXPECT_EQ(header, expected) << name;
  }
  RecordProperty("present_devices", present);
}

// A newline or another control character in an argument or a file name is escaped, so the
// message stays on one line.
TEST(CliProgram, MessagesStayOnOneLineWhateverTheArgumentsHold) {
  const TempFolder folder("kelvox-cli-dump");
  const std::string capture = folder.Write("dump.txt",
                                           "00:00.0 Host bridge\n"
                                           "00: 86 80 57 0d 00 00 00 00 00 00 00 06 00 00 00 00\n");
  const struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"scan", "--bu\ns"}, "kelvox-cli: scan: unknown option '--bu\\ns'\n"},
      {{"frob\r\nnicate\x1b[2J"},
       "kelvox-cli: unknown command 'frob\\r\\nnicate\\x1B[2J' (try 'kelvox-cli --help')\n"},
      {{"details", "3\t"},
       "kelvox-cli: details: '3\\t' is neither an address (00:03.0) nor a device number\n"},
      {{"scan", "--source", "/nonexistent/kelvox/a\nb.txt"},
       "kelvox-cli: scan: --source: /nonexistent/kelvox/a\\nb.txt: cannot open"},
      {{"capture", "--source", capture, "-o", "/nonexistent/kelvox/a\nb.txt"},
       "kelvox-cli: capture: cannot write /nonexistent/kelvox/a\\nb.txt: "},
  };
  for (const auto& c : cases) {
    const ProgramRun r = RunCli(c.args);
    EXPECT_EQ(r.status, 2) << c.err;
    EXPECT_EQ(r.out, "") << c.err;
    EXPECT_TRUE(r.err.starts_with(c.err)) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  }

  // A malformed file whose name holds a newline.
  const std::string bad = folder.Write("bad\nname.txt", "00:00.0 Host bridge\n00: 86 80 5x 0d\n");
  const ProgramRun malformed = RunCli({"scan", "--source", bad});
  EXPECT_EQ(malformed.status, 2);
  EXPECT_EQ(malformed.err.substr(0, malformed.err.find(": line")),
            "kelvox-cli: scan: --source: " + folder.path() + "/bad\\nname.txt")
      << malformed.err;
  EXPECT_EQ(malformed.err.find('\n'), malformed.err.size() - 1) << malformed.err;
}

}  // namespace
