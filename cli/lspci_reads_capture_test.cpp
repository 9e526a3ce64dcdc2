// The capture format is the one `lspci -F FILE` reads: a capture written by `kelvox-cli
// capture` is fed to the real lspci, whose dump of what it read must hold the same functions
// with the same registers. Skipped where lspci is not installed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "config/capture/capture_text.h"
#include "config/capture/simulated_bus.h"
#include "testsupport/run_program.h"
#include "testsupport/temp_folder.h"

namespace kelvox {
namespace {

namespace fs = std::filesystem;

using testing::ProgramRun;
using testing::RunProgram;

std::string FindLspci() {
  for (const char* path : {"/usr/bin/lspci", "/bin/lspci", "/usr/sbin/lspci", "/sbin/lspci"}) {
    if (access(path, X_OK) == 0) return path;
  }
  return "";
}

class LspciReadsCapture : public ::testing::Test {
 protected:
  void SetUp() override {
    lspci_ = FindLspci();
    if (lspci_.empty()) GTEST_SKIP() << "lspci is not installed (Debian package pciutils)";
  }

  // Captures `source` with kelvox-cli, reads the capture with lspci, and expects lspci to have
  // read every function and every header byte as kelvox-cli wrote them.
  void ExpectLspciReadsTheCaptureOf(const std::string& source) {
    const std::string capture = folder_.PathOf("capture.txt");
    const ProgramRun captured =
        RunProgram({KELVOX_CLI_PATH, "capture", "--source", source, "-o", capture});
    ASSERT_EQ(captured.status, 0) << "capture of " << source << ": " << captured.err;
    std::ifstream in(capture, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    const SimulatedBus ours = ParseSimulatedBus(written);
    ASSERT_FALSE(ours.Locations().empty());

    // -n: numbers only, so no ID list is needed; -x: the 64 header bytes.
    const ProgramRun lspci = RunProgram({lspci_, "-F", capture, "-n", "-x"});
    ASSERT_EQ(lspci.status, 0) << lspci.err << lspci.out;
    const std::string& dump = lspci.out;
    const SimulatedBus theirs = ParseSimulatedBus(dump);
    ASSERT_EQ(theirs.Locations(), ours.Locations()) << dump;
    for (const FunctionLocation& at : ours.Locations()) {
      for (int reg = 0; reg < 0x40; reg += 4) {
        EXPECT_EQ(theirs.Find(at)->Dword(reg), ours.Find(at)->Dword(reg))
            << "function " << at.bus << ":" << at.device << "." << at.function << " register "
            << reg;
      }
    }
  }

  std::string lspci_;
  const testing::TempFolder folder_{"kelvox-lspci"};
};

TEST_F(LspciReadsCapture, ACaptureOfSeveralBusesAndFunctions) {
  // Three buses, a multi-function device, a bridge, and registers that differ in every byte.
  const std::string source = folder_.PathOf("source.txt");
  std::ofstream(source) << "00:00.0 Host bridge\n"
                           "00: 86 80 57 0d 06 00 00 00 01 00 00 06 00 00 80 00\n"
                           "10: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
                           "\n"
                           "00:00.3 Function three\n"
                           "00: 86 80 58 0d 07 00 10 02 02 01 80 0c 10 20 00 00\n"
                           "10: 01 c0 00 00 00 00 b0 fe 0c 00 00 00 40 00 00 00\n"
                           "30: 01 00 a0 fe 40 00 00 00 00 00 00 00 0b 01 02 03\n"
                           "# writable 10 ffffffe0\n"
                           "\n"
                           "00:1f.0 Bridge\n"
                           "00: 86 80 44 24 07 00 10 00 05 00 04 06 10 00 01 00\n"
                           "10: 00 00 00 fe 00 00 00 00 00 02 05 00 f0 00 00 00\n"
                           "\n"
                           "7f:10.2 Last bus\n"
                           "00: f4 1a 00 10 07 05 10 00 00 00 00 02 00 00 00 00\n";
  ExpectLspciReadsTheCaptureOf(source);
}

// Hyper-V puts each passed-through device in a domain of its own and Intel VMD numbers its
// domains from 10000: lspci reads every domain of such a capture, and kelvox-cli lists the same
// addresses, IDs and classes as lspci -F does from the same file.
TEST_F(LspciReadsCapture, ACaptureOfSeveralDomainsIsReadAndListedAsLspciDoes) {
  const std::string source = folder_.PathOf("domains.txt");
  std::ofstream(source) << "0000:00:00.0 Host bridge\n"
                           "00: 86 80 37 12 06 00 00 00 02 00 00 06 00 00 00 00\n"
                           "\n"
                           "c0e3:00:00.0 3D controller\n"
                           "00: de 10 b5 20 06 00 10 00 a1 00 02 03 00 00 00 00\n"
                           "\n"
                           "10000:e1:00.0 Non-Volatile memory controller\n"
                           "00: 4d 14 0a a8 06 04 10 00 01 02 08 01 00 00 00 00\n";
  ExpectLspciReadsTheCaptureOf(source);

  const ProgramRun lspci = RunProgram({lspci_, "-F", source, "-n"});
  ASSERT_EQ(lspci.status, 0) << lspci.err << lspci.out;
  const ProgramRun list = RunProgram({KELVOX_CLI_PATH, "list", "--source", source});
  ASSERT_EQ(list.status, 0) << list.err << list.out;
  const std::string &theirs = lspci.out, &ours = list.out;
  // lspci -n: "ADDRESS CCCC: VVVV:DDDD (rev RR)"; list: "ADDRESS VVVV:DDDD CCCCCC  NAMES".
  std::istringstream their_lines(theirs), our_lines(ours);
  std::string their_line, our_line;
  int compared = 0;
  while (std::getline(their_lines, their_line)) {
    ASSERT_TRUE(std::getline(our_lines, our_line)) << "list has fewer lines than lspci";
    std::istringstream their_words(their_line), our_words(our_line);
    std::string their_address, their_class, their_ids, our_address, our_ids, our_class;
    their_words >> their_address >> their_class >> their_ids;
    our_words >> our_address >> our_ids >> our_class;
    EXPECT_EQ(our_address, their_address);
    EXPECT_EQ(our_ids, their_ids);
    EXPECT_EQ(our_class.substr(0, 4) + ":", their_class);
    ++compared;
  }
  EXPECT_EQ(compared, 3);
  EXPECT_FALSE(std::getline(our_lines, our_line)) << "list has more lines than lspci";
}

TEST_F(LspciReadsCapture, ACaptureOfThisMachine) {
  if (!fs::is_directory("/sys/bus/pci/devices")) GTEST_SKIP() << "no sysfs PCI tree here";
  ExpectLspciReadsTheCaptureOf("sysfs");
}

// The capability lines of lspci -vvv: "\tCapabilities: ..." and every line under one.
std::string CapabilityLines(const std::string& lspci) {
  std::istringstream in(lspci);
  std::string lines;
  bool in_capability = false;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("\tCapabilities:")) {
      in_capability = true;
    } else if (!line.starts_with("\t\t")) {
      in_capability = false;
    }
    if (in_capability || (!line.empty() && line[0] != '\t')) lines += line + "\n";
  }
  return lines;
}

// As root a capture keeps every byte of each function's space (4096 for a PCI Express one), so
// lspci decodes the same capabilities from it as from the machine itself.
TEST_F(LspciReadsCapture, ACaptureOfThisMachineHoldsWhatLspciDecodesOfIt) {
  if (!fs::is_directory("/sys/bus/pci/devices")) GTEST_SKIP() << "no sysfs PCI tree here";
  if (geteuid() != 0) GTEST_SKIP() << "only root reads past the header through sysfs";
  const std::string capture = folder_.PathOf("whole.txt");
  const ProgramRun captured = RunProgram({KELVOX_CLI_PATH, "capture", "-o", capture});
  ASSERT_EQ(captured.status, 0) << captured.err;
  const ProgramRun from_capture = RunProgram({lspci_, "-F", capture, "-vvv", "-n"});
  const ProgramRun live = RunProgram({lspci_, "-vvv", "-n"});
  ASSERT_EQ(from_capture.status, 0) << from_capture.err;
  ASSERT_EQ(live.status, 0) << live.err;
  const std::string theirs = CapabilityLines(live.out);
  EXPECT_NE(theirs.find("\tCapabilities:"), std::string::npos) << live.out;
  EXPECT_EQ(CapabilityLines(from_capture.out), theirs);
}

}  // namespace
}  // namespace kelvox
