#include "files/output_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "testsupport/temp_folder.h"

namespace kelvox {
namespace {

namespace fs = std::filesystem;

class OutputFileTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder_.PathOf(name); }
  static std::string Contents(const std::string& path) { return kelvox::testing::FileText(path); }
  // Every name in a folder (the test's own by default): proves no temporary file is left
  // behind.
  std::vector<std::string> Names(const std::string& folder = "") const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.empty() ? folder_.path() : folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  const testing::TempFolder folder_{"kelvox-output"};
};

TEST_F(OutputFileTest, WritesANewFileWithTheUsualPermissions) {
  EXPECT_EQ(WriteOutputFile(Path("bus.txt"), "00:00.0 0600: 8086:0d57\n"), "");
  EXPECT_EQ(Contents(Path("bus.txt")), "00:00.0 0600: 8086:0d57\n");
  EXPECT_EQ(Names(), (std::vector<std::string>{"bus.txt"}));
  struct stat st = {};
  ASSERT_EQ(stat(Path("bus.txt").c_str(), &st), 0);
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
}

TEST_F(OutputFileTest, ReplacesAnExistingFileWhole) {
  std::ofstream(Path("bus.txt")) << std::string(10000, 'x');
  EXPECT_EQ(WriteOutputFile(Path("bus.txt"), "short\n"), "");
  EXPECT_EQ(Contents(Path("bus.txt")), "short\n");
  EXPECT_EQ(Names(), (std::vector<std::string>{"bus.txt"}));
}

TEST_F(OutputFileTest, AnUnwritablePathLeavesNothingBehind) {
  const std::string missing_folder = Path("no/such/bus.txt");
  EXPECT_EQ(WriteOutputFile(missing_folder, "x"),
            "cannot write " + missing_folder + ": No such file or directory");
  std::ofstream(Path("plain")) << "file";
#ifdef _WIN32
  // Windows reports a path through a file as a missing one.
  EXPECT_EQ(WriteOutputFile(Path("plain/bus.txt"), "x"),
            "cannot write " + Path("plain/bus.txt") + ": No such file or directory");
#else
  EXPECT_EQ(WriteOutputFile(Path("plain/bus.txt"), "x"),
            "cannot write " + Path("plain/bus.txt") + ": Not a directory");
#endif
  fs::create_directory(Path("folder"));
  EXPECT_EQ(WriteOutputFile(Path("folder"), "x"),
            "cannot write " + Path("folder") + ": Is a directory");
  EXPECT_EQ(WriteOutputFile(Path("folder") + "/", "x"),
            "cannot write " + Path("folder") + "/: Is a directory");
  EXPECT_EQ(Names(), (std::vector<std::string>{"folder", "plain"}));
  EXPECT_TRUE(fs::is_empty(Path("folder")));
  EXPECT_EQ(Contents(Path("plain")), "file");
}

TEST(TemporaryPattern, TheTemporaryFileIsMadeInTheTargetsOwnFolder) {
#ifdef _WIN32
  const std::string separator = "\\";
#else
  const std::string separator = "/";
#endif
  const struct {
    std::string target, folder;
  } cases[] = {
      {"bus.txt", ""},
      {"/data/bus.txt", "/data"},
      {"data/sub/bus.txt", "data/sub"},
#ifdef _WIN32
      {"C:\\data\\bus.txt", "C:\\data"},
      {"C:\\data/sub\\bus.txt", "C:\\data/sub"},
      {"\\\\server\\share\\bus.txt", "\\\\server\\share"},
#else
      // A backslash is a byte of a name here, not a separator.
      {"C:\\data\\bus.txt", ""},
      {"data/a\\b.txt", "data"},
#endif
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TemporaryPattern(c.target),
              c.folder.empty() ? ".kelvox-XXXXXX" : c.folder + separator + ".kelvox-XXXXXX")
        << c.target;
  }
}

}  // namespace
}  // namespace kelvox
