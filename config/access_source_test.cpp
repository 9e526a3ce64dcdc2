#include "config/access_source.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace kelvox {
namespace {

namespace fs = std::filesystem;

class AccessSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/kelvox-source-XXXXXX";
    folder_ = mkdtemp(name);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string File(const std::string& name, const std::string& text) {
    const std::string path = folder_ + "/" + name;
    std::ofstream(path) << text;
    return path;
  }
  std::string folder_;
};

TEST_F(AccessSourceTest, FileLoadsIntoASimulatedBus) {
  const std::string path = File("bus.txt", "00:02.0 x\n00: 86 80 34 12\n");
  const OpenedAccess opened = OpenAccess(path);
  ASSERT_NE(opened.access, nullptr) << opened.error;
  EXPECT_EQ(opened.error, "");
  EXPECT_EQ(opened.access->Name(), "simulated");
  EXPECT_EQ(opened.access->Read(0, 2, 0, 0), 0x12348086u);
  EXPECT_EQ(opened.access->Read(0, 3, 0, 0), kAllOnes);
}

TEST_F(AccessSourceTest, FileErrorsNameTheFile) {
  const std::string bad = File("bad.txt", "00:02.0 x\n00: 86 80\n10: zz\n");
  const std::string empty = File("empty.txt", "nothing here\n");
  const std::string missing = folder_ + "/missing.txt";
  const struct {
    std::string source;
    std::string error;
  } cases[] = {
      {bad, bad + ": line 3: malformed byte 'zz'"},
      {empty, empty + ": no device in the file"},
      {missing, missing + ": cannot open: No such file or directory"},
#ifdef _WIN32
      // Windows refuses to open a folder as a file at all.
      {folder_, folder_ + ": cannot open: Permission denied"},
#else
      {folder_, folder_ + ": cannot read: Is a directory"},
#endif
  };
  for (const auto& c : cases) {
    const OpenedAccess opened = OpenAccess(c.source);
    EXPECT_EQ(opened.access, nullptr) << c.source;
    EXPECT_EQ(opened.error, c.error);
  }
}

TEST_F(AccessSourceTest, SysfsAndPortByName) {
  const OpenedAccess sysfs = OpenAccess("sysfs", folder_);
  ASSERT_NE(sysfs.access, nullptr) << sysfs.error;
  EXPECT_EQ(sysfs.access->Name(), "sysfs");
  const OpenedAccess none = OpenAccess("sysfs", folder_ + "/absent");
  EXPECT_EQ(none.access, nullptr);
  EXPECT_EQ(none.error, "sysfs: cannot open " + folder_ + "/absent: No such file or directory");
#if defined(__x86_64__) || defined(__i386__)
  const OpenedAccess port = OpenAccess("port");
  ASSERT_NE(port.access, nullptr) << port.error;
  EXPECT_EQ(port.access->Name(), "port");
#endif
}

TEST_F(AccessSourceTest, DefaultAccessPrefersSysfsWhereItExists) {
#ifndef __linux__
  GTEST_SKIP() << "sysfs is the default on Linux only";
#endif
  EXPECT_EQ(MakeDefaultAccess(folder_)->Name(), "sysfs");
#if defined(__x86_64__) || defined(__i386__)
  EXPECT_EQ(MakeDefaultAccess(folder_ + "/absent")->Name(), "port");
#else
  EXPECT_EQ(MakeDefaultAccess(folder_ + "/absent")->Name(), "none");
#endif
  EXPECT_EQ(MakeDefaultAccess()->Name(),
            fs::is_directory(kSysfsDevicesRoot) ? "sysfs" : MakeDefaultAccess("")->Name());
}

}  // namespace
}  // namespace kelvox
