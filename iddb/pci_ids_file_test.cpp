// Loading pci.ids files: plain and gzip-compressed files, files that cannot be read, the
// choice of list by --ids value, and the distribution's own list when it is installed.
#include "iddb/pci_ids_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>

#include "iddb/ids_choice.h"
#include "testsupport/run_program.h"
#include "testsupport/temp_folder.h"

#if KELVOX_HAVE_ZLIB
#include <zlib.h>
#endif
#ifdef __linux__
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <future>
#endif

namespace kelvox {
namespace {

class PciIdsFile : public ::testing::Test {
 protected:
  const testing::TempFolder folder_{"kelvox-ids"};
};

constexpr char kList[] =
    "#\tVersion: 2023.04.10\n"
    "1af4  Red Hat, Inc.\n"
    "\t1041  Virtio 1.0 network device\n";

TEST_F(PciIdsFile, LoadsAPlainFile) {
  const PciIdsRead read = LoadPciIdsFile(folder_.Write("pci.ids", kList));
  ASSERT_EQ(read.error, "");
  EXPECT_EQ(read.list->version, "2023.04.10");
  std::string_view chip = "x", description = "x";
  EXPECT_TRUE(read.list->FindDevice(0x1af4, 0x1041, chip, description));
  EXPECT_EQ(description, "Virtio 1.0 network device");
}

TEST_F(PciIdsFile, MissingUnreadableAndMalformedFilesAreNamed) {
  const std::string missing = folder_.PathOf("none.ids");
  EXPECT_EQ(LoadPciIdsFile(missing).error, missing + ": cannot open: No such file or directory");
  const std::string bad = folder_.Write("bad.ids", "1af4  Red Hat, Inc.\n\t10x1  Bad\n");
  const PciIdsRead read = LoadPciIdsFile(bad);
  EXPECT_EQ(read.list, nullptr);
  EXPECT_EQ(read.error, bad + ":2: device ID '10x1' is not 4 hexadecimal digits");
#ifndef _WIN32
  EXPECT_EQ(LoadPciIdsFile(folder_.path()).error, folder_.path() + ": cannot read: Is a directory");
#endif
}

#ifdef __linux__
TEST_F(PciIdsFile, ReadsAPipe) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  std::thread writer([&] {
    const std::string text = kList;
    EXPECT_EQ(write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    close(ends[1]);
  });
  const PciIdsRead read = LoadPciIdsFile("/dev/fd/" + std::to_string(ends[0]));
  writer.join();
  close(ends[0]);
  ASSERT_EQ(read.error, "");
  EXPECT_EQ(read.list->version, "2023.04.10");
}
#endif

// Windows' file systems take no control characters in a name.
#ifndef _WIN32
TEST_F(PciIdsFile, AFileNameWithControlBytesIsEscapedInTheMessage) {
  const std::string bad =
      folder_.Write("bad\nname\x1b[2J.ids", "1af4  Red Hat, Inc.\n\t10x1  Bad\n");
  EXPECT_EQ(LoadPciIdsFile(bad).error, folder_.PathOf("bad\\nname\\x1B[2J.ids") +
                                           ":2: device ID '10x1' is not 4 hexadecimal digits");
}
#endif

#ifdef __linux__
TEST_F(PciIdsFile, AFifoWithoutAWriterIsGivenUpAndADeviceIsRefused) {
  const std::string fifo = folder_.PathOf("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  auto loaded = std::async(std::launch::async, [&fifo] { return LoadPciIdsFile(fifo); });
  if (loaded.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
    // Give the blocked reader a writer, so the test ends.
    close(open(fifo.c_str(), O_WRONLY));
    loaded.wait();
    FAIL() << "the load waited for a writer";
  }
  EXPECT_EQ(loaded.get().error, fifo + ": nothing was written to the pipe within a second");
  EXPECT_EQ(LoadPciIdsFile("/dev/zero").error, "/dev/zero: not a file or a pipe");
}

// A list of `vendors` vendors with a device each, some hundred kilobytes for 4000.
std::string LongList(int vendors) {
  std::string text = "#\tVersion: 2024.01.01\n";
  char line[96];
  for (int v = 0; v < vendors; ++v) {
    std::snprintf(line, sizeof line, "%04x  Vendor number %d of the list\n\t0001  Its device %d\n",
                  v, v, v);
    text += line;
  }
  return text;
}

// Every vendor's and device's name read, byte by byte: a name whose bytes are gone ends the
// process here.
size_t TouchEveryName(const PciIdList& list) {
  size_t sum = 0;
  for (const PciIdVendor& vendor : list.vendors) {
    for (const char c : list.NameOf(vendor.name)) sum += static_cast<unsigned char>(c);
  }
  for (const PciIdDevice& device : list.devices) {
    for (const char c : list.NameOf(device.name)) sum += static_cast<unsigned char>(c);
  }
  return sum;
}

TEST_F(PciIdsFile, AListTruncatedOrRewrittenWhileInUseDoesNotEndTheProgram) {
  const std::string text = LongList(4000);
  const std::string path = folder_.Write("pci.ids", text);
  // In a child process, so that a signal ends the child and the test can say so.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // A list loaded, then its file emptied, as a package upgrade may do to it.
    const PciIdsRead before = LoadPciIdsFile(path);
    if (before.list == nullptr) _exit(3);
    const size_t sum = TouchEveryName(*before.list);
    if (truncate(path.c_str(), 0) != 0) _exit(4);
    if (TouchEveryName(*before.list) != sum) _exit(5);
    // Then loads and lookups, over and over, while another thread truncates and rewrites the
    // file.
    std::atomic<bool> done = false;
    std::thread rewriter([&] {
      while (!done) {
        const int fd = open(path.c_str(), O_WRONLY);
        if (fd < 0) continue;
        (void)!ftruncate(fd, 0);
        (void)!write(fd, text.data(), text.size());
        (void)!ftruncate(fd, static_cast<off_t>(text.size() / 2));
        close(fd);
      }
    });
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (std::chrono::steady_clock::now() < end) {
      const PciIdsRead read = LoadPciIdsFile(path);
      if (read.list != nullptr) TouchEveryName(*read.list);
      (void)!truncate(path.c_str(), static_cast<off_t>(text.size() / 3));
      if (read.list != nullptr) TouchEveryName(*read.list);
    }
    done = true;
    rewriter.join();
    _exit(TouchEveryName(*before.list) == sum ? 0 : 6);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_FALSE(WIFSIGNALED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}
#endif

#if KELVOX_HAVE_ZLIB
std::string Gzip(const std::string& text) {
  z_stream stream{};
  EXPECT_EQ(deflateInit2(&stream, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
  std::string packed(deflateBound(&stream, text.size()), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  stream.next_out = reinterpret_cast<Bytef*>(packed.data());
  stream.avail_out = static_cast<uInt>(packed.size());
  EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
  packed.resize(stream.total_out);
  deflateEnd(&stream);
  return packed;
}

TEST_F(PciIdsFile, InflatesGzipFiles) {
  const PciIdsRead read = LoadPciIdsFile(folder_.Write("pci.ids.gz", Gzip(kList)));
  ASSERT_EQ(read.error, "");
  std::string_view short_name, full_name;
  EXPECT_TRUE(read.list->FindVendor(0x1af4, short_name, full_name));
  EXPECT_EQ(full_name, "Red Hat, Inc.");
  // A line number in a compressed file counts the inflated lines.
  const std::string bad = folder_.Write("bad.ids.gz", Gzip("1af4  A\n\n\t1  B\n"));
  EXPECT_EQ(LoadPciIdsFile(bad).error, bad + ":3: device ID '1' is not 4 hexadecimal digits");
  std::string cut = Gzip(kList);
  cut.resize(cut.size() / 2);
  const std::string truncated = folder_.Write("cut.ids.gz", cut);
  EXPECT_TRUE(LoadPciIdsFile(truncated).error.starts_with(truncated + ": damaged gzip data"));
}
#else
TEST_F(PciIdsFile, RefusesGzipFilesWithoutZlib) {
  const std::string path = folder_.Write("pci.ids.gz", std::string("\x1f\x8b\x08\x00", 4));
  EXPECT_EQ(LoadPciIdsFile(path).error,
            path + ": gzip-compressed lists are not supported in this build");
}
#endif

TEST_F(PciIdsFile, IdsValuesChooseTheList) {
  const std::string first = folder_.PathOf("first.ids");
  const std::string second = folder_.Write("second.ids", kList);
  const std::string_view paths[] = {first, second};
  // embedded: no list to load.
  const IdsChoice embedded = LoadIdsChoice("embedded", paths);
  EXPECT_TRUE(embedded.ok());
  EXPECT_EQ(embedded.list, nullptr);
  // system: the first path that exists.
  const IdsChoice system = LoadIdsChoice("system", paths);
  ASSERT_TRUE(system.ok()) << system.error;
  EXPECT_EQ(system.list->version, "2023.04.10");
  EXPECT_EQ(FindSystemIdList(paths), second);
  // A file by name.
  const IdsChoice file = LoadIdsChoice(second, paths);
  ASSERT_TRUE(file.ok());
  EXPECT_EQ(IdListVersionLabel(file.list.get()), "2023.04.10");
  EXPECT_EQ(IdListVersionLabel(nullptr), "");

  const std::string_view none[] = {first};
  const IdsChoice missing = LoadIdsChoice("system", none);
  EXPECT_EQ(missing.list, nullptr);
  EXPECT_EQ(missing.error, "--ids system: no PCI ID list installed (tried " + first + ")");
  EXPECT_EQ(LoadIdsChoice(first, paths).error, first + ": cannot open: No such file or directory");
}

#ifndef _WIN32
// The number of lines of `path` that match the Perl-style pattern, counted by grep.
long GrepCount(const std::string& pattern, const std::string& path) {
  const testing::ProgramRun grep = testing::RunProgram({"grep", "-c", "-P", pattern, path});
  long count = -1;
  if (std::sscanf(grep.out.c_str(), "%ld", &count) != 1) count = -1;
  return count;
}

TEST(SystemPciIds, HoldsEveryVendorDeviceAndSubsystemLineOfTheDistributionsList) {
  const std::optional<std::string> path = FindSystemIdList();
  if (!path) GTEST_SKIP() << "no pci.ids installed";
  const PciIdsRead read = LoadPciIdsFile(*path);
  ASSERT_EQ(read.error, "");
  EXPECT_EQ(static_cast<long>(read.list->vendors.size()), GrepCount("^[0-9a-f]{4}\\s", *path));
  EXPECT_EQ(static_cast<long>(read.list->devices.size()), GrepCount("^\\t[0-9a-f]{4}\\s", *path));
  EXPECT_EQ(static_cast<long>(read.list->subsystems.size()),
            GrepCount("^\\t\\t[0-9a-f]{4} [0-9a-f]{4}\\s", *path));
  EXPECT_EQ(static_cast<long>(read.list->base_classes.size()),
            GrepCount("^C [0-9a-f]{2}\\s", *path));
  EXPECT_FALSE(read.list->version.empty());
}
#endif

}  // namespace
}  // namespace kelvox
