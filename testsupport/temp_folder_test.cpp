// TempFolder: a new empty folder each time, the paths and files it gives, and its removal with
// everything in it, also when the test fails or left folders closed and files read-only.
#include "testsupport/temp_folder.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace kelvox::testing {
namespace {

namespace fs = std::filesystem;

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(TempFolder, EachIsANewEmptyFolderOfItsOwnInTheTemporaryFolder) {
  const TempFolder a("kelvox-temp-folder"), b("kelvox-temp-folder");
  EXPECT_NE(a.path(), b.path());
  for (const TempFolder* folder : {&a, &b}) {
    const fs::path path = folder->path();
    ASSERT_TRUE(fs::is_directory(path)) << folder->path();
    EXPECT_TRUE(fs::is_empty(path));
    const std::string name = path.filename().string();
    EXPECT_TRUE(fs::is_directory(fs::temp_directory_path() / name))
        << "not in the temporary folder";
    EXPECT_TRUE(name.starts_with("kelvox-temp-folder-")) << name;
    EXPECT_EQ(name.size(), sizeof "kelvox-temp-folder-" - 1 + 6) << name;
#ifndef _WIN32
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_all) << "open to other users";
#endif
  }
}

TEST(TempFolder, GivesPathsInsideAndWritesFilesByteForByte) {
  const TempFolder folder;
  EXPECT_EQ(folder.PathOf("sub/bus.txt"), folder.path() + "/sub/bus.txt");
  EXPECT_EQ(folder.PathOf("bad\nname\xFF"), folder.path() + "/bad\nname\xFF");
  const std::string bytes("a\0\r\n\xFF", 5);
  const std::string path = folder.Write("bytes.bin", bytes);
  EXPECT_EQ(path, folder.path() + "/bytes.bin");
  EXPECT_EQ(Contents(path), bytes);
  EXPECT_EQ(Contents(folder.Write("bytes.bin", "b")), "b") << "not replaced";
  EXPECT_THROW(folder.Write("missing/bus.txt", "x"), std::runtime_error);
}

TEST(TempFolder, IsRemovedWithEverythingInItButNothingOutside) {
  const TempFolder outside("kelvox-temp-outside");
  const std::string kept = outside.Write("kept.txt", "kept");
  fs::permissions(kept, fs::perms::owner_read);
  std::string path;
  {
    const TempFolder folder;
    path = folder.path();
    fs::create_directories(folder.PathOf("a/b/c"));
    folder.Write("a/b/c/file.txt", "x");
    folder.Write("a/read-only.txt", "x");
    fs::permissions(folder.PathOf("a/read-only.txt"), fs::perms::owner_read);
#ifndef _WIN32
    fs::create_symlink(kept, folder.PathOf("link-to-file"));
    fs::create_directory_symlink(outside.path(), folder.PathOf("link-to-folder"));
    ASSERT_EQ(link(kept.c_str(), folder.PathOf("hard-link").c_str()), 0);
    ASSERT_EQ(mkfifo(folder.PathOf("fifo").c_str(), 0600), 0);
    // Folders the test closed, even to their owner.
    fs::create_directories(folder.PathOf("closed/inner"));
    folder.Write("closed/inner/file.txt", "x");
    fs::permissions(folder.PathOf("closed/inner"), fs::perms::none);
    fs::permissions(folder.PathOf("closed"), fs::perms::owner_read);
#endif
  }
  EXPECT_FALSE(fs::exists(fs::symlink_status(path))) << path;
  EXPECT_EQ(Contents(kept), "kept");
#ifndef _WIN32
  EXPECT_EQ(fs::status(kept).permissions(), fs::perms::owner_read) << "changed through a link";
  EXPECT_EQ(fs::status(outside.path()).permissions(), fs::perms::owner_all);
#endif
}

TEST(TempFolder, IsRemovedWhenTheTestFailsOrThrows) {
  static std::string failed;
  EXPECT_FATAL_FAILURE(
      {
        const TempFolder folder;
        failed = folder.Write("bus.txt", "x");
        FAIL() << "a failing test";
      },
      "a failing test");
  EXPECT_FALSE(failed.empty());
  EXPECT_FALSE(fs::exists(fs::path(failed).parent_path()));

  std::string thrown;
  try {
    const TempFolder folder;
    thrown = folder.path();
    throw std::runtime_error("a throwing test");
  } catch (const std::runtime_error&) {
  }
  EXPECT_FALSE(thrown.empty());
  EXPECT_FALSE(fs::exists(thrown));
}

TEST(TempFolder, AMovedFolderIsRemovedOnceByItsLastOwner) {
  TempFolder first;
  const std::string path = first.path();
  TempFolder second = std::move(first);
  EXPECT_EQ(second.path(), path);
  EXPECT_EQ(first.path(), "");
  first = TempFolder();  // a moved-from folder takes a new one; nothing of the old is removed
  EXPECT_TRUE(fs::is_directory(path));
  second = std::move(first);  // the folder `second` held goes
  EXPECT_FALSE(fs::exists(path));
  EXPECT_TRUE(fs::is_directory(second.path()));
}

// As a fixture's base: each test has a folder of its own, gone when the test is.
class TempFolderFixture : public ::testing::Test, public TempFolder {
 protected:
  static std::string previous_;
};
std::string TempFolderFixture::previous_;

TEST_F(TempFolderFixture, First) {
  EXPECT_TRUE(fs::is_empty(path()));
  if (!previous_.empty()) {
    EXPECT_FALSE(fs::exists(previous_));
  }
  previous_ = Write("bus.txt", "x");
}

TEST_F(TempFolderFixture, Second) {
  EXPECT_TRUE(fs::is_empty(path()));
  if (!previous_.empty()) {
    EXPECT_FALSE(fs::exists(previous_));
  }
  previous_ = Write("bus.txt", "x");
}

}  // namespace
}  // namespace kelvox::testing
