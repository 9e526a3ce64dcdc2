// Runs the table generator program on small lists, as the build does, and checks what a
// malformed list leaves behind: a "file:line:" message, a failing exit status and no output.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "testsupport/run_program.h"
#include "testsupport/temp_folder.h"

namespace {

namespace fs = std::filesystem;

const char kVendors[] = "0033\t\tParadyne Corp.\n10de\tnVidia\tnVidia Corporation\n";
const char kDevices[] = "10de\t0110\tNV11\tGeForce2 MX / MX 400\n10de\t0110\tnv11\tgeforcemx\n";
const char kClasses[] = "07\t01\t00\tSimple\tParallel\tStandard\n";

void Write(const fs::path& path, std::string_view content) {
  std::ofstream(path, std::ios::binary) << content;
}

std::string Read(const fs::path& path) { return kelvox::testing::FileText(path.string()); }

class GeneratorProgram : public ::testing::Test {
 protected:
  // A new folder holding the three good lists (the old folder goes).
  void SetUp() override {
    folder_ = kelvox::testing::TempFolder("kelvox-iddb-gen");
    dir_ = folder_.path();
    Write(dir_ / "vendors.tsv", kVendors);
    Write(dir_ / "devices.tsv", kDevices);
    Write(dir_ / "classes.tsv", kClasses);
  }

  // Runs the generator on the three lists in the folder; returns its exit status and keeps
  // what it printed on stderr in `errors_`.
  int Run() {
    const kelvox::testing::ProgramRun run = kelvox::testing::RunProgram(
        {KELVOX_IDDB_GEN, (dir_ / "vendors.tsv").string(), (dir_ / "devices.tsv").string(),
         (dir_ / "classes.tsv").string(), output().string()});
    errors_ = run.err;
    return run.status;
  }

  fs::path output() const { return dir_ / "tables.cpp"; }
  bool LeftTemporaryFile() const { return fs::exists(dir_ / "tables.cpp.tmp"); }

  kelvox::testing::TempFolder folder_;
  fs::path dir_;
  std::string errors_;
};

TEST_F(GeneratorProgram, WritesTheTablesForGoodLists) {
  ASSERT_EQ(Run(), 0) << errors_;
  EXPECT_EQ(errors_, "");
  const std::string source = Read(output());
  EXPECT_NE(source.find("\"Paradyne Corp.\"sv"), std::string::npos);
  EXPECT_NE(source.find("\"geforcemx\"sv"), std::string::npos);
  EXPECT_FALSE(LeftTemporaryFile());
}

TEST_F(GeneratorProgram, MalformedListsStopWithFileAndLineAndWriteNothing) {
  struct Case {
    const char* file;
    const char* content;
    const char* message;  // after the folder
  };
  const Case cases[] = {
      {"vendors.tsv", "0033\t\tParadyne Corp.\n10de\tnVidia\n",
       "/vendors.tsv:2: expected 3 tab-separated fields, found 2\n"},
      {"vendors.tsv", "0033\t\tParadyne Corp.\n10d\tnVidia\tnVidia Corporation\n",
       "/vendors.tsv:2: vendor ID \"10d\" is not 4 hexadecimal digits\n"},
      {"vendors.tsv", "10de\tnVidia\tnVidia Corporation\n0033\t\tParadyne Corp.\n",
       "/vendors.tsv:2: vendor ID 0033 does not rise above the previous row's 10de "
       "(vendor IDs must be strictly ascending)\n"},
      {"devices.tsv", "10de\t0110\tNV11\tGeForce2\n1002\t4c57\tM7\tRadeon\n",
       "/devices.tsv:2: vendor ID 1002 is not in the vendor list\n"},
      {"devices.tsv", "10de\t0110\tNV11\tGeForce2 \\q\n",
       "/devices.tsv:1: unknown escape \\q (only \\\\ \\n \\t)\n"},
      {"classes.tsv", "07\t01\t0\tSimple\tParallel\tStandard\n",
       "/classes.tsv:1: programming interface \"0\" is not 2 hexadecimal digits\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    SetUp();
    Write(dir_ / c.file, c.content);
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(errors_, dir_.string() + c.message);
    EXPECT_FALSE(fs::exists(output()));
    EXPECT_FALSE(LeftTemporaryFile());
  }
}

TEST_F(GeneratorProgram, AFailedRunLeavesThePreviousTablesAsTheyWere) {
  ASSERT_EQ(Run(), 0) << errors_;
  const std::string before = Read(output());
  Write(dir_ / "vendors.tsv", "0033\t\tParadyne Corp.\n10de\tnVidia\tnVidia\\ Corporation\n");
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(Read(output()), before);
  EXPECT_FALSE(LeftTemporaryFile());
}

TEST_F(GeneratorProgram, MissingListIsNamed) {
  fs::remove(dir_ / "classes.tsv");
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(errors_.rfind((dir_ / "classes.tsv").string() + ": cannot open", 0), 0u) << errors_;
  EXPECT_FALSE(fs::exists(output()));
}

}  // namespace
