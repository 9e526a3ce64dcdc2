// WriteOutputFile as a user other than root, on files whose replacement would change their
// owner or cannot be made: another user's writable file in a sticky folder and in an ordinary
// one, and the user's own file in a folder the user may not write. Root makes the files and
// folders; each write runs in a child process that has become the user "nobody".
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "files/output_file.h"
#include "testsupport/temp_folder.h"

namespace kelvox {
namespace {

namespace fs = std::filesystem;

// Another user than the one the writes run as.
constexpr uid_t kOtherUser = 1234;
constexpr gid_t kOtherGroup = 1234;

class OutputFileOwnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to make files of other users";
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr) GTEST_SKIP() << "no user nobody";
    user_ = nobody->pw_uid;
    group_ = nobody->pw_gid;
    // nobody must reach the folders inside.
    ASSERT_EQ(chmod(folder_.path().c_str(), 0755), 0);
  }

  // A folder in the test's folder with `mode`, owned by root.
  std::string Folder(const std::string& name, mode_t mode) const {
    const std::string path = folder_.PathOf(name);
    EXPECT_EQ(mkdir(path.c_str(), 0700), 0);
    EXPECT_EQ(chmod(path.c_str(), mode), 0);
    return path;
  }
  // A file holding "old\n" with `mode`, owned by `uid`:`gid`.
  static std::string File(const std::string& path, uid_t uid, gid_t gid, mode_t mode) {
    std::ofstream(path) << "old\n";
    EXPECT_EQ(chown(path.c_str(), uid, gid), 0);
    EXPECT_EQ(chmod(path.c_str(), mode), 0);
    return path;
  }
  static std::string Contents(const std::string& path) { return kelvox::testing::FileText(path); }
  static struct stat Lstat(const std::string& path) {
    struct stat st = {};
    EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
    return st;
  }

  // What WriteOutputFile(path, "new\n") returns in a child process running as nobody, or a
  // note saying why the child could not run.
  std::string WriteAsNobody(const std::string& path) const {
    int ends[2];
    if (pipe(ends) != 0) return "no pipe";
    const pid_t child = fork();
    if (child < 0) return "no child process";
    if (child == 0) {
      close(ends[0]);
      std::string result = "cannot become nobody";
      if (setgroups(0, nullptr) == 0 && setresgid(group_, group_, group_) == 0 &&
          setresuid(user_, user_, user_) == 0) {
        result = WriteOutputFile(path, "new\n");
      }
      (void)!write(ends[1], result.data(), result.size());
      _exit(0);
    }
    close(ends[1]);
    std::string result;
    char buffer[512];
    for (ssize_t got; (got = read(ends[0], buffer, sizeof buffer)) > 0;) {
      result.append(buffer, static_cast<size_t>(got));
    }
    close(ends[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "the child failed";
    return result;
  }

  const testing::TempFolder folder_{"kelvox-output-owner"};
  uid_t user_ = 0;
  gid_t group_ = 0;
};

TEST_F(OutputFileOwnerTest, AFileTheReplacementWouldTakeFromItsOwnerIsWrittenInPlace) {
  // Another user's file anyone may write, in a sticky folder (as in /tmp) and in an ordinary
  // folder anyone may write.
  for (const auto& [name, folder_mode] : {std::pair{"sticky", 01777}, std::pair{"shared", 0777}}) {
    const std::string folder = Folder(name, static_cast<mode_t>(folder_mode));
    const std::string path = File(folder + "/bus.txt", kOtherUser, kOtherGroup, 0666);
    const ino_t inode = Lstat(path).st_ino;

    EXPECT_EQ(WriteAsNobody(path), "") << name;
    EXPECT_EQ(Contents(path), "new\n");
    const struct stat st = Lstat(path);
    EXPECT_EQ(st.st_uid, kOtherUser);
    EXPECT_EQ(st.st_gid, kOtherGroup);
    EXPECT_EQ(st.st_mode & 07777, 0666u);
    EXPECT_EQ(st.st_ino, inode);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  }
}

TEST_F(OutputFileOwnerTest, AFileInAFolderTheUserMayNotWriteIsWrittenInPlace) {
  const std::string folder = Folder("closed", 0755);
  const std::string path = File(folder + "/bus.txt", user_, group_, 0640);
  const ino_t inode = Lstat(path).st_ino;

  EXPECT_EQ(WriteAsNobody(path), "");
  EXPECT_EQ(Contents(path), "new\n");
  const struct stat st = Lstat(path);
  EXPECT_EQ(st.st_uid, user_);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(st.st_ino, inode);

  // A new file there cannot be made at all, nor can a file the user may not write be written.
  EXPECT_EQ(WriteAsNobody(folder + "/new.txt"),
            "cannot write " + folder + "/new.txt: Permission denied");
  const std::string other = File(folder + "/other.txt", kOtherUser, kOtherGroup, 0644);
  EXPECT_EQ(WriteAsNobody(other), "cannot write " + other + ": Permission denied");
  EXPECT_EQ(Contents(other), "old\n");
}

TEST_F(OutputFileOwnerTest, TheUsersOwnFileInASharedFolderIsStillReplacedAtomically) {
  const std::string folder = Folder("sticky", 01777);
  const std::string path = File(folder + "/bus.txt", user_, group_, 0604);
  const ino_t inode = Lstat(path).st_ino;

  EXPECT_EQ(WriteAsNobody(path), "");
  EXPECT_EQ(Contents(path), "new\n");
  const struct stat st = Lstat(path);
  EXPECT_EQ(st.st_uid, user_);
  EXPECT_EQ(st.st_mode & 07777, 0604u);
  EXPECT_NE(st.st_ino, inode) << "not replaced by a rename";

  // A new file is the user's.
  EXPECT_EQ(WriteAsNobody(folder + "/new.txt"), "");
  EXPECT_EQ(Lstat(folder + "/new.txt").st_uid, user_);
}

}  // namespace
}  // namespace kelvox
