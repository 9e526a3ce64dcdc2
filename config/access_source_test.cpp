#include "config/access_source.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "testsupport/temp_folder.h"

namespace kelvox {
namespace {

namespace fs = std::filesystem;

class AccessSourceTest : public ::testing::Test {
 protected:
  std::string File(const std::string& name, const std::string& text) {
    const std::string path = folder_.PathOf(name);
    std::ofstream(path) << text;
    return path;
  }
  const testing::TempFolder folder_{"kelvox-source"};
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
  const std::string missing = folder_.PathOf("missing.txt");
  const struct {
    std::string source;
    std::string error;
  } cases[] = {
      {bad, bad + ": line 3: malformed byte 'zz'"},
      {empty, empty + ": no device in the file"},
      {missing, missing + ": cannot open: No such file or directory"},
#ifdef _WIN32
      // Windows refuses to open a folder as a file at all.
      {folder_.path(), folder_.path() + ": cannot open: Permission denied"},
#else
      {folder_.path(), folder_.path() + ": cannot read: Is a directory"},
#endif
  };
  for (const auto& c : cases) {
    const OpenedAccess opened = OpenAccess(c.source);
    EXPECT_EQ(opened.access, nullptr) << c.source;
    EXPECT_EQ(opened.error, c.error);
  }
}

#ifndef _WIN32
TEST_F(AccessSourceTest, AFifoWithoutAWriterEndsWithinASecond) {
  const std::string fifo = folder_.PathOf("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const auto started = std::chrono::steady_clock::now();
  const OpenedAccess opened = OpenAccess(fifo);
  const auto took = std::chrono::steady_clock::now() - started;
  EXPECT_EQ(opened.access, nullptr);
  EXPECT_EQ(opened.error, fifo + ": nothing was written to the pipe within a second");
  EXPECT_LT(took, std::chrono::seconds(3));  // a second of waiting, with room for a slow machine
}

TEST_F(AccessSourceTest, APipeWithAWriterIsReadToItsEnd) {
  // A FIFO whose writer comes a little after the open, and writes in two parts.
  const std::string fifo = folder_.PathOf("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&fifo] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const int fd = open(fifo.c_str(), O_WRONLY);
    if (fd < 0) return;
    const std::string first = "00:02.0 x\n00: 86 80 ";
    const std::string second = "12 34\n";
    (void)!write(fd, first.data(), first.size());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    (void)!write(fd, second.data(), second.size());
    close(fd);
  });
  const OpenedAccess opened = OpenAccess(fifo);
  writer.join();
  ASSERT_NE(opened.access, nullptr) << opened.error;
  EXPECT_EQ(opened.access->Read(0, 2, 0, 0), 0x34128086u);

  // An anonymous pipe named through /dev/fd, as the shell's <(...) gives it.
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  const std::string text = "00:03.0 x\n00: f4 1a 00 10\n";
  ASSERT_EQ(write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
  close(ends[1]);
  const OpenedAccess piped = OpenAccess("/dev/fd/" + std::to_string(ends[0]));
  close(ends[0]);
  ASSERT_NE(piped.access, nullptr) << piped.error;
  EXPECT_EQ(piped.access->Read(0, 3, 0, 0), 0x10001AF4u);
}

TEST_F(AccessSourceTest, DeviceNodesAreNotCaptures) {
  // /dev/zero would never end and a terminal would wait for typing.
  const OpenedAccess zero = OpenAccess("/dev/zero");
  EXPECT_EQ(zero.access, nullptr);
  EXPECT_EQ(zero.error, "/dev/zero: not a file or a pipe");
}
#endif

TEST_F(AccessSourceTest, SysfsAndPortByName) {
  const OpenedAccess sysfs = OpenAccess("sysfs", folder_.path());
  ASSERT_NE(sysfs.access, nullptr) << sysfs.error;
  EXPECT_EQ(sysfs.access->Name(), "sysfs");
  const OpenedAccess none = OpenAccess("sysfs", folder_.PathOf("absent"));
  EXPECT_EQ(none.access, nullptr);
  EXPECT_EQ(none.error,
            "sysfs: cannot open " + folder_.path() + "/absent: No such file or directory");
#if defined(__x86_64__) || defined(__i386__)
  const OpenedAccess port = OpenAccess("port");
  ASSERT_NE(port.access, nullptr) << port.error;
  EXPECT_EQ(port.access->Name(), "port");
#endif
}

TEST_F(AccessSourceTest, CfgmgrByNameOnWindowsOnly) {
  const OpenedAccess cfgmgr = OpenAccess("cfgmgr");
#ifdef _WIN32
  ASSERT_NE(cfgmgr.access, nullptr) << cfgmgr.error;
  EXPECT_EQ(cfgmgr.access->Name(), "cfgmgr");
  EXPECT_EQ(MakeDefaultAccess()->Name(), "cfgmgr");
#else
  EXPECT_EQ(cfgmgr.access, nullptr);
  EXPECT_EQ(cfgmgr.error, "cfgmgr: the Windows device manager exists only on Windows");
#endif
  // A file of that name is reached through a path.
  const OpenedAccess file = OpenAccess("./cfgmgr");
  EXPECT_EQ(file.access, nullptr);
  EXPECT_TRUE(file.error.starts_with("./cfgmgr: ")) << file.error;
}

TEST_F(AccessSourceTest, DefaultAccessPrefersSysfsWhereItExists) {
#ifndef __linux__
  GTEST_SKIP() << "sysfs is the default on Linux only";
#endif
  EXPECT_EQ(MakeDefaultAccess(folder_.path())->Name(), "sysfs");
#if defined(__x86_64__) || defined(__i386__)
  EXPECT_EQ(MakeDefaultAccess(folder_.PathOf("absent"))->Name(), "port");
#else
  EXPECT_EQ(MakeDefaultAccess(folder_.PathOf("absent"))->Name(), "none");
#endif
  EXPECT_EQ(MakeDefaultAccess()->Name(),
            fs::is_directory(kSysfsDevicesRoot) ? "sysfs" : MakeDefaultAccess("")->Name());
}

}  // namespace
}  // namespace kelvox
