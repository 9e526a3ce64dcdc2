// ReadNamedFile on what a user can name: regular files at and over the caller's limit, missing
// files, folders, device nodes, FIFOs with and without a writer, pipes, and names holding
// control bytes.
#include "files/named_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "testsupport/temp_folder.h"

namespace kelvox {
namespace {

using namespace std::chrono_literals;

class NamedFileTest : public ::testing::Test {
 protected:
  const testing::TempFolder folder_{"kelvox-named-file"};
};

constexpr NamedFileRules kTenBytes = {10, "larger than 10 bytes; not a test file", 150ms};

TEST_F(NamedFileTest, ReadsWholeFilesAndNamesTheFileInEveryRefusal) {
  const std::string exact = folder_.Write("exact.txt", "0123456789");
  const std::string over = folder_.Write("over.txt", "0123456789a");
  const std::string empty = folder_.Write("empty.txt", "");
  const std::string missing = folder_.PathOf("missing.txt");
  const std::string folder = folder_.path();
  const struct {
    std::string path;
    std::optional<std::string> text;
    std::string error;
  } cases[] = {
      {exact, "0123456789", ""},
      {empty, "", ""},
      {over, std::nullopt, over + ": larger than 10 bytes; not a test file"},
      {missing, std::nullopt, missing + ": cannot open: No such file or directory"},
#ifdef _WIN32
      // Windows refuses to open a folder as a file at all.
      {folder, std::nullopt, folder + ": cannot open: Permission denied"},
#else
      {folder, std::nullopt, folder + ": cannot read: Is a directory"},
      // A device would never end, or wait for typing.
      {"/dev/zero", std::nullopt, "/dev/zero: not a file or a pipe"},
#endif
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_EQ(ReadNamedFile(c.path, kTenBytes, error), c.text) << c.path;
    EXPECT_EQ(error, c.error) << c.path;
  }
}

TEST_F(NamedFileTest, ControlBytesInTheNameAreEscapedInTheMessage) {
  const std::string path = folder_.PathOf("a\nb\x1b[2J.txt");
  std::string error;
  EXPECT_EQ(ReadNamedFile(path, kTenBytes, error), std::nullopt);
  EXPECT_TRUE(error.starts_with(folder_.PathOf("a\\nb\\x1B[2J.txt") + ": cannot open: ")) << error;
}

#ifndef _WIN32
TEST_F(NamedFileTest, AFifoWithoutAWriterIsGivenUpAfterTheCallersWait) {
  const std::string fifo = folder_.PathOf("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const auto& [wait, words] : {std::pair{150ms, "150 ms"}, std::pair{1000ms, "a second"}}) {
    const auto started = std::chrono::steady_clock::now();
    std::string error;
    EXPECT_EQ(ReadNamedFile(fifo, {10, "too large", wait}, error), std::nullopt);
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(error, fifo + ": nothing was written to the pipe within " + words);
    EXPECT_GE(took, wait);
    EXPECT_LT(took, wait + 2s);  // room for a slow machine
  }
}

TEST_F(NamedFileTest, AFifoWhoseWriterComesInTimeIsReadToItsEndAndWithinTheLimit) {
  const std::string fifo = folder_.PathOf("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // A writer whose reader gave up gets EPIPE, not the end of the test program.
  signal(SIGPIPE, SIG_IGN);
  const auto write_later = [&fifo](std::string text) {
    return std::thread([&fifo, text] {
      std::this_thread::sleep_for(50ms);
      const int fd = open(fifo.c_str(), O_WRONLY);
      if (fd < 0) return;
      // In two parts, the second after a pause longer than the wait for the writer.
      const size_t half = text.size() / 2;
      (void)!write(fd, text.data(), half);
      std::this_thread::sleep_for(300ms);
      (void)!write(fd, text.data() + half, text.size() - half);
      close(fd);
    });
  };
  std::thread writer = write_later("0123456789");
  std::string error;
  EXPECT_EQ(ReadNamedFile(fifo, kTenBytes, error), "0123456789") << error;
  writer.join();

  writer = write_later("0123456789ab");
  EXPECT_EQ(ReadNamedFile(fifo, kTenBytes, error), std::nullopt);
  EXPECT_EQ(error, fifo + ": larger than 10 bytes; not a test file");
  writer.join();
}
#endif

}  // namespace
}  // namespace kelvox
