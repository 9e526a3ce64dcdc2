// The output-file writer's system calls on POSIX systems.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <memory>

#include "files/output_platform.h"

namespace kelvox::output_platform {

namespace {

// `path` with every link, "." and ".." resolved (realpath(3)); "" when that fails.
std::string Canonical(const std::string& path) {
  const std::unique_ptr<char, decltype(&free)> resolved(realpath(path.c_str(), nullptr), &free);
  return resolved ? std::string(resolved.get()) : std::string();
}

}  // namespace

std::optional<int> OwnDescriptor(const std::filesystem::path& name) {
  // The entry's name is the descriptor's number, in decimal.
  const std::string number = name.filename().string();
  int fd = -1;
  const char* end = number.data() + number.size();
  const auto [stop, error] = std::from_chars(number.data(), end, fd);
  if (number.empty() || error != std::errc() || stop != end || fd < 0) return std::nullopt;
  // Linux names the folder /proc/PID/fd (/proc/self/fd and /dev/fd lead there) and, for the
  // calling thread, /proc/PID/task/TID/fd; where /proc is not there, nothing matches.
  const std::string parent = name.parent_path().string();
  const std::string folder = Canonical(parent.empty() ? "." : parent);
  if (folder.empty()) return std::nullopt;
  for (const char* own : {"/proc/self/fd", "/proc/thread-self/fd"}) {
    if (folder == Canonical(own)) return fd;
  }
  return std::nullopt;
}

int StatName(const std::string& path, struct stat& st) { return lstat(path.c_str(), &st); }

int CreateTemporary(char* pattern) { return mkostemp(pattern, O_CLOEXEC); }

int OpenInPlace(const std::string& path, bool fifo, bool truncate) {
  return open(path.c_str(),
              O_WRONLY | O_NOCTTY | O_CLOEXEC | (fifo ? O_NONBLOCK : 0) | (truncate ? O_TRUNC : 0));
}

int Blocking(int fd) {
  const int flags = fcntl(fd, F_GETFL);
  return flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0 ? 0 : errno;
}

int SyncFile(int fd) { return fsync(fd) == 0 ? 0 : errno; }

int SyncFolder(const std::filesystem::path& folder) {
  const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  // File systems that cannot sync a folder say so with EINVAL, which is no failure of the write.
  int error = fsync(fd) != 0 && errno != EINVAL ? errno : 0;
  if (close(fd) != 0 && error == 0) error = errno;
  return error;
}

bool MayTakeOwner(const struct stat& old) { return geteuid() == 0 || old.st_uid == geteuid(); }

int TakeOwnerAndMode(int fd, const struct stat& old) {
  // Owner and group first: changing them clears the set-user-ID and set-group-ID bits, which
  // the mode then puts back. Only root may give a file away; others may give it a group they
  // are in, and the file may already have that group (then nothing changes).
  const uid_t owner = geteuid() == 0 ? old.st_uid : static_cast<uid_t>(-1);
  if (fchown(fd, owner, old.st_gid) != 0) return errno;
  return SetMode(fd, old.st_mode & 07777);
}

int SetMode(int fd, mode_t mode) { return fchmod(fd, mode) == 0 ? 0 : errno; }

}  // namespace kelvox::output_platform
