// Runs the built window program as a separate process with no locale set, as a desktop or a
// service may start it: a --source name reaches the file system byte for byte, whether it is
// UTF-8 or not valid UTF-8 at all, and a source that cannot be opened is named in one line.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "testsupport/run_program.h"
#include "testsupport/temp_folder.h"
#include "ui/testing/gui_test.h"

extern char** environ;

namespace kelvox {
namespace {

using testing::ProgramRun;

// One function on bus 0 in the capture format (a plain `lspci -x` dump).
constexpr const char* kCapture =
    "00:00.0 Host bridge: Intel Corporation Device 0d57\n"
    "00: 86 80 57 0d 00 00 00 00 00 00 00 06 00 00 00 00\n"
    "10: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "20: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "30: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n";

// The changes to this process's environment that leave the program without any locale
// variable, so it runs in the C locale.
testing::RunOptions WithoutLocale() {
  testing::RunOptions options;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view text(*entry);
    if (text.starts_with("LANG=") || text.starts_with("LANGUAGE=") || text.starts_with("LC_")) {
      options.Unset(std::string(text.substr(0, text.find('='))));
    }
  }
  return options;
}

class AppProgram : public ::testing::Test {
 protected:
  void SetUp() override { KELVOX_REQUIRE_DISPLAY(); }

  // Writes the capture under `name` (raw bytes) in the test's folder; returns its path.
  std::string WriteCapture(const std::string& name) { return folder_.Write(name, kCapture); }

  // Runs the program with `args` and no locale, and with `display` as DISPLAY (and no Wayland
  // display) when given; standard output and error are kept apart.
  ProgramRun RunKelvox(const std::vector<std::string>& args,
                       const std::optional<std::string>& display = std::nullopt) {
    std::vector<std::string> argv = {KELVOX_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    testing::RunOptions options = WithoutLocale();
    if (display) options.Unset("WAYLAND_DISPLAY").Set("DISPLAY", *display);
    return testing::RunProgram(argv, options);
  }

  const testing::TempFolder folder_{"kelvox-app-test"};
};

// --measure-startup fills the list, shows the window and quits with status 0, so a run that
// ends that way has opened the capture it was given.
TEST_F(AppProgram, OpensACaptureWhoseNameIsUtf8OrNotValidUtf8) {
  for (const std::string name : {"日本.txt", "bus\xFF\xFE.txt"}) {
    const std::string path = WriteCapture(name);
    const ProgramRun run = RunKelvox({"--source", path, "--measure-startup"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("32 rows listed"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "");
  }
}

TEST_F(AppProgram, ASourceThatCannotBeOpenedIsNamedByteForByteOnOneLine) {
  const std::string missing = folder_.PathOf("gone\xFF\n.txt");
  const ProgramRun run = RunKelvox({"--source", missing, "--measure-startup"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  // The invalid byte as it is, the line break escaped.
  const std::string named = "kelvox: " + folder_.path() + "/gone\xFF\\n.txt: ";
  EXPECT_EQ(run.err.substr(0, named.size()), named) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_TRUE(run.err.ends_with("\n")) << run.err;
}

TEST_F(AppProgram, DomainChoosesTheStartingDomainAndAMissingOneIsNamed) {
  const std::string path = folder_.PathOf("domains.txt");
  std::ofstream(path) << "0000:00:00.0 x\n00: 86 80 37 12\n\nc0e3:00:00.0 y\n00: de 10 b5 20\n";
  ProgramRun run = RunKelvox({"--source", path, "--domain", "c0e3", "--measure-startup"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("32 rows listed"), std::string::npos) << run.out;
  run = RunKelvox({"--source", path, "--domain", "c0e4", "--measure-startup"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "kelvox: --domain: there is no domain c0e4; the domains are 0000, c0e3\n");
}

TEST_F(AppProgram, AnUnknownArgumentIsNamedOnOneLineBeforeAnyWindowOpens) {
  const ProgramRun run = RunKelvox({"--bogus\n\xFF"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.rfind("kelvox: unknown argument '--bogus\\n\xFF'; usage: kelvox ", 0), 0u)
      << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

TEST_F(AppProgram, ADisplayThatCannotBeOpenedIsNamedWithItsControlCharactersEscaped) {
  const ProgramRun run = RunKelvox({}, ":\x1b]0;pwned\x07\r\n\x1b[2J99");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(
      run.err,
      "kelvox: cannot open the display \":\\x1B]0;pwned\\x07\\r\\n\\x1B[2J99\"; run kelvox-cli "
      "for the scan in a terminal\n");
}

}  // namespace
}  // namespace kelvox

#endif  // _WIN32
