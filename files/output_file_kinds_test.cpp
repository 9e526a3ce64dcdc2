// WriteOutputFile on what a path can name besides a plain new file: a file with its own
// permissions, a read-only file, symbolic links, FIFOs, devices, pipes and descriptors already
// open.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>
#include <vector>

#include "files/output_file.h"
#include "testsupport/temp_folder.h"

namespace kelvox {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class OutputFileKindsTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder_.PathOf(name); }
  static std::string Contents(const std::string& path) { return kelvox::testing::FileText(path); }
  static struct stat Lstat(const std::string& path) {
    struct stat st = {};
    EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
    return st;
  }
  std::vector<std::string> Names(const std::string& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  const testing::TempFolder folder_{"kelvox-output-kinds"};
};

TEST_F(OutputFileKindsTest, AReplacedFileKeepsItsPermissionsAndOwner) {
  const std::string path = Path("bus.txt");
  std::ofstream(path) << "old\n";
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(chown(path.c_str(), 1234, 5678), 0);
  }
  const ino_t old_inode = Lstat(path).st_ino;

  EXPECT_EQ(WriteOutputFile(path, "new\n"), "");
  EXPECT_EQ(Contents(path), "new\n");
  const struct stat st = Lstat(path);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_NE(st.st_ino, old_inode) << "not replaced by a rename";
  if (root) {
    EXPECT_EQ(st.st_uid, 1234u);
    EXPECT_EQ(st.st_gid, 5678u);
  }
  EXPECT_EQ(Names(folder_.path()), (std::vector<std::string>{"bus.txt"}));
}

TEST_F(OutputFileKindsTest, AReadOnlyFileIsRefusedAndLeftAsItIs) {
  const std::string path = Path("bus.txt");
  std::ofstream(path) << "keep\n";
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  const ino_t old_inode = Lstat(path).st_ino;

  // Root may write any file, but a file nobody may write is refused for root too.
  const std::string error = WriteOutputFile(path, "new\n");
  EXPECT_EQ(error, "cannot write " + path +
                       (geteuid() == 0 ? ": the file is read-only" : ": Permission denied"));
  EXPECT_EQ(Contents(path), "keep\n");
  const struct stat st = Lstat(path);
  EXPECT_EQ(st.st_mode & 07777, 0444u);
  EXPECT_EQ(st.st_ino, old_inode);
  EXPECT_EQ(Names(folder_.path()), (std::vector<std::string>{"bus.txt"}));
}

TEST_F(OutputFileKindsTest, AChainOfLinksStaysAndItsFinalTargetIsReplaced) {
  // first -> second (relative, same folder) -> data/bus.txt (relative, another folder).
  fs::create_directory(Path("data"));
  std::ofstream(Path("data/bus.txt")) << "old\n";
  ASSERT_EQ(chmod(Path("data/bus.txt").c_str(), 0600), 0);
  ASSERT_EQ(symlink("data/bus.txt", Path("second").c_str()), 0);
  ASSERT_EQ(symlink("second", Path("first").c_str()), 0);

  EXPECT_EQ(WriteOutputFile(Path("first"), "new\n"), "");
  EXPECT_TRUE(S_ISLNK(Lstat(Path("first")).st_mode));
  EXPECT_TRUE(S_ISLNK(Lstat(Path("second")).st_mode));
  EXPECT_EQ(fs::read_symlink(Path("first")), "second");
  EXPECT_EQ(fs::read_symlink(Path("second")), "data/bus.txt");
  const struct stat target = Lstat(Path("data/bus.txt"));
  EXPECT_TRUE(S_ISREG(target.st_mode));
  EXPECT_EQ(target.st_mode & 07777, 0600u);
  EXPECT_EQ(Contents(Path("data/bus.txt")), "new\n");
  EXPECT_EQ(Names(folder_.path()), (std::vector<std::string>{"data", "first", "second"}));
  EXPECT_EQ(Names(Path("data")), (std::vector<std::string>{"bus.txt"}));

  // An absolute link to a file not there yet creates the file and keeps the link.
  ASSERT_EQ(symlink(Path("data/new.txt").c_str(), Path("dangling").c_str()), 0);
  EXPECT_EQ(WriteOutputFile(Path("dangling"), "created\n"), "");
  EXPECT_TRUE(S_ISLNK(Lstat(Path("dangling")).st_mode));
  EXPECT_EQ(Contents(Path("data/new.txt")), "created\n");

  // A loop of links is refused.
  ASSERT_EQ(symlink("loop-b", Path("loop-a").c_str()), 0);
  ASSERT_EQ(symlink("loop-a", Path("loop-b").c_str()), 0);
  EXPECT_EQ(WriteOutputFile(Path("loop-a"), "x"),
            "cannot write " + Path("loop-a") + ": Too many levels of symbolic links");
  EXPECT_TRUE(S_ISLNK(Lstat(Path("loop-a")).st_mode));
}

TEST_F(OutputFileKindsTest, AFifoWithAReaderGetsTheWholeText) {
  const std::string path = Path("fifo");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  // The reader end is open before the write starts, so the FIFO has a reader; the text is
  // larger than a pipe holds, so the writer has to wait for the reader thread to drain it.
  const int reader = open(path.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  const std::string text(1 << 20, 'k');
  std::string received;
  std::thread drain([&] {
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    char buffer[65536];
    while (received.size() < text.size() && std::chrono::steady_clock::now() < deadline) {
      pollfd ready = {reader, POLLIN, 0};
      poll(&ready, 1, 100);
      const ssize_t got = read(reader, buffer, sizeof buffer);
      if (got > 0) received.append(buffer, static_cast<size_t>(got));
    }
  });
  EXPECT_EQ(WriteOutputFile(path, text), "");
  drain.join();
  close(reader);
  EXPECT_EQ(received.size(), text.size());
  EXPECT_TRUE(received == text);
  EXPECT_TRUE(S_ISFIFO(Lstat(path).st_mode));
}

TEST_F(OutputFileKindsTest, AFifoWithoutAReaderFailsAtOnce) {
  const std::string path = Path("fifo");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  auto result = std::async(std::launch::async, [&path] { return WriteOutputFile(path, "x\n"); });
  if (result.wait_for(10s) != std::future_status::ready) {
    // Give the blocked writer a reader, so the test ends.
    const int reader = open(path.c_str(), O_RDONLY | O_NONBLOCK);
    result.wait();
    close(reader);
    FAIL() << "the write waited for a reader";
  }
  EXPECT_EQ(result.get(), "cannot write " + path + ": no reader on the FIFO");
  EXPECT_TRUE(S_ISFIFO(Lstat(path).st_mode));
  EXPECT_EQ(Names(folder_.path()), (std::vector<std::string>{"fifo"}));
}

TEST_F(OutputFileKindsTest, APipeNamedThroughProcIsWrittenInPlace) {
  // /proc/self/fd/N is what /dev/stdout leads to; for a pipe it has no path of its own.
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  const std::string path = "/proc/self/fd/" + std::to_string(ends[1]);
  if (!fs::exists(path)) GTEST_SKIP() << "no " << path;
  EXPECT_EQ(WriteOutputFile(path, "through the pipe\n"), "");
  close(ends[1]);
  std::string received;
  char buffer[256];
  for (ssize_t got; (got = read(ends[0], buffer, sizeof buffer)) > 0;) {
    received.append(buffer, static_cast<size_t>(got));
  }
  close(ends[0]);
  EXPECT_EQ(received, "through the pipe\n");
}

TEST_F(OutputFileKindsTest, AnOpenDescriptorIsWrittenWhereItStandsAndStaysOpen) {
  if (!fs::is_directory("/proc/self/fd")) GTEST_SKIP() << "no /proc/self/fd";
  // A file open for writing at an offset, one open to append (whose offset is wherever the
  // last read left it), and names that lead to them: the descriptor folder itself, /dev/fd,
  // and a link of the user's own to /dev/fd.
  const std::string at_offset = Path("at-offset.txt"), appended = Path("appended.txt");
  std::ofstream(at_offset) << "A\n";
  std::ofstream(appended) << "log\n";
  const int offset_fd = open(at_offset.c_str(), O_WRONLY);
  const int append_fd = open(appended.c_str(), O_RDWR | O_APPEND);
  ASSERT_GE(offset_fd, 0);
  ASSERT_GE(append_fd, 0);
  ASSERT_EQ(lseek(offset_fd, 2, SEEK_SET), 2);
  const ino_t offset_inode = Lstat(at_offset).st_ino, append_inode = Lstat(appended).st_ino;
  ASSERT_EQ(symlink(("/dev/fd/" + std::to_string(append_fd)).c_str(), Path("link").c_str()), 0);

  EXPECT_EQ(WriteOutputFile("/proc/self/fd/" + std::to_string(offset_fd), "capture\n"), "");
  EXPECT_EQ(write(offset_fd, "B\n", 2), 2) << "the descriptor was closed";
  EXPECT_EQ(Contents(at_offset), "A\ncapture\nB\n");
  EXPECT_EQ(Lstat(at_offset).st_ino, offset_inode);

  EXPECT_EQ(WriteOutputFile("/dev/fd/" + std::to_string(append_fd), "first\n"), "");
  ASSERT_EQ(lseek(append_fd, 0, SEEK_SET), 0);
  EXPECT_EQ(WriteOutputFile(Path("link"), "second\n"), "");
  EXPECT_EQ(Contents(appended), "log\nfirst\nsecond\n");
  EXPECT_EQ(Lstat(appended).st_ino, append_inode);
  EXPECT_TRUE(S_ISLNK(Lstat(Path("link")).st_mode));
  close(offset_fd);
  close(append_fd);

  // A descriptor that is not open is named, and nothing is created.
  const std::string closed = "/proc/self/fd/" + std::to_string(offset_fd);
  EXPECT_EQ(WriteOutputFile(closed, "x"), "cannot write " + closed + ": Bad file descriptor");
  EXPECT_EQ(Names(folder_.path()),
            (std::vector<std::string>{"appended.txt", "at-offset.txt", "link"}));
}

TEST_F(OutputFileKindsTest, ADeviceIsWrittenInPlaceAndStaysADevice) {
  // A private null device (1, 3), and a link to it, where only root may make one.
  const std::string null = Path("null");
  if (mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
    GTEST_SKIP() << "cannot make a device node here (not root?)";
  }
  ASSERT_EQ(symlink("null", Path("to-null").c_str()), 0);
  EXPECT_EQ(WriteOutputFile(null, "discarded\n"), "");
  EXPECT_EQ(WriteOutputFile(Path("to-null"), "discarded\n"), "");
  const struct stat st = Lstat(null);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  EXPECT_EQ(st.st_rdev, makedev(1, 3));
  EXPECT_TRUE(S_ISLNK(Lstat(Path("to-null")).st_mode));
  EXPECT_EQ(Names(folder_.path()), (std::vector<std::string>{"null", "to-null"}));
}

TEST_F(OutputFileKindsTest, AFullDeviceGivesTheSystemsReason) {
  // A private full device (1, 7) where root may make one; root must not try the system's own,
  // which a faulty write could replace.
  std::string full = Path("full");
  if (mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) {
    if (geteuid() == 0 || !fs::is_character_file("/dev/full")) GTEST_SKIP() << "no full device";
    full = "/dev/full";
  }
  EXPECT_EQ(WriteOutputFile(full, "x\n"), "cannot write " + full + ": No space left on device");
  EXPECT_TRUE(fs::is_character_file(full));
}

}  // namespace
}  // namespace kelvox
