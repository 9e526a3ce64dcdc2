// `kelvox-cli capture -o` through the real program started by the shell, where what matters is
// what the shell opened for it: standard output named as /dev/stdout, /dev/fd/1 or
// /proc/self/fd/1 is written where it stands, so a log appended to keeps what it held and text
// the shell writes around the capture stays.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "testsupport/run_program.h"
#include "testsupport/temp_folder.h"

namespace {

constexpr char kCapture[] =
    "00:00.0 Host bridge\n"
    "00: 86 80 57 0d 00 00 00 00 00 00 00 06 00 00 00 00\n";

class CaptureOutputTest : public ::testing::Test {
 protected:
  CaptureOutputTest() { folder_.Write("source.txt", kCapture); }

  static std::string Contents(const std::string& path) { return kelvox::testing::FileText(path); }
  // Runs `script` with sh in the test's folder, `cli` the capture command; its exit status.
  int Shell(const std::string& script) const {
    const std::string command = "cd '" + folder_.path() + "' && cli() { '" + KELVOX_CLI_PATH +
                                "' capture --source source.txt \"$@\"; } && " + script;
    return kelvox::testing::RunShell(command).status;
  }
  // What the capture writes to a file of its own.
  std::string CaptureText() const {
    EXPECT_EQ(Shell("cli -o alone.txt"), 0);
    return Contents(folder_.PathOf("alone.txt"));
  }

  const kelvox::testing::TempFolder folder_{"kelvox-capture-output"};
};

TEST_F(CaptureOutputTest, StandardOutputByNameIsWrittenWhereItStands) {
  const std::string capture = CaptureText();
  ASSERT_NE(capture.find("00:00.0 0600: 8086:0d57"), std::string::npos) << capture;
  for (const std::string name : {"/dev/stdout", "/dev/fd/1", "/proc/self/fd/1"}) {
    // A log appended to keeps what it held.
    EXPECT_EQ(Shell("printf 'log\\n' > log.txt && cli -o " + name + " >> log.txt"), 0) << name;
    EXPECT_EQ(Contents(folder_.PathOf("log.txt")), "log\n" + capture) << name;
    // What the shell writes before and after the capture, to the same open file, stays.
    EXPECT_EQ(Shell("{ echo A; cli -o " + name + "; echo B; } > f.txt"), 0) << name;
    EXPECT_EQ(Contents(folder_.PathOf("f.txt")), "A\n" + capture + "B\n") << name;
  }
  // Standard error by name too.
  EXPECT_EQ(Shell("{ echo A >&2; cli -o /dev/stderr; echo B >&2; } 2> e.txt"), 0);
  EXPECT_EQ(Contents(folder_.PathOf("e.txt")), "A\n" + capture + "B\n");
}

TEST_F(CaptureOutputTest, AFileNamedOnItsOwnIsStillReplacedWhole) {
  const std::string capture = CaptureText();
  // Named by its path, the same file as standard output is replaced, not appended to.
  EXPECT_EQ(Shell("printf 'old log\\n' > log.txt && cli -o log.txt >> log.txt"), 0);
  EXPECT_EQ(Contents(folder_.PathOf("log.txt")), capture);
}

}  // namespace
