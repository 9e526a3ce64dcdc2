#include "cli/output_file.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace kelvox::cli {

namespace {

// Symbolic links followed before giving up, as the kernel does for a path (ELOOP).
constexpr int kMaxLinks = 40;

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }
  // Closes now, returning close's error (0 when none).
  int Close() {
    const int fd = fd_;
    fd_ = -1;
    return close(fd) == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

// The folder part of `path` with its slash ("" for a bare file name).
std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Writes all of `text`; 0 or the error.
int WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t wrote = write(fd, text.data(), text.size());
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote < 0) return errno;
    if (wrote == 0) return EIO;
    text.remove_prefix(static_cast<size_t>(wrote));
  }
  return 0;
}

mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// The path a chain of symbolic links starting at `path` ends at: the first name that is not a
// link, or does not exist yet (a dangling link names the file to create). Relative links are
// taken from the folder of the link. Sets `error` when a name cannot be examined.
std::string FinalTarget(std::string path, int& error) {
  for (int links = 0;; ++links) {
    struct stat st = {};
    if (lstat(path.c_str(), &st) != 0) {
      if (errno != ENOENT) error = errno;
      return path;
    }
    if (!S_ISLNK(st.st_mode)) return path;
    if (links == kMaxLinks) {
      error = ELOOP;
      return path;
    }
    std::vector<char> target(PATH_MAX + 1);
    const ssize_t length = readlink(path.c_str(), target.data(), target.size());
    if (length < 0 || static_cast<size_t>(length) >= target.size()) {
      error = length < 0 ? errno : ENAMETOOLONG;
      return path;
    }
    const std::string next(target.data(), static_cast<size_t>(length));
    path = next.starts_with('/') ? next : FolderOf(path) + next;
  }
}

// Syncs a folder, so a rename in it survives a crash. File systems that cannot sync a folder
// say so with EINVAL, which is no failure of the write.
int SyncFolder(const std::string& folder) {
  Descriptor fd(open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() < 0) return errno;
  if (fsync(fd.get()) != 0 && errno != EINVAL) return errno;
  return fd.Close();
}

// Replaces the regular file (or creates the file) `target` through a temporary file in its
// folder. `old` is the file being replaced, null for a new file.
int ReplaceAtomically(const std::string& target, const struct stat* old, std::string_view text) {
  const std::string folder = FolderOf(target);
  std::string pattern = folder + ".kelvox-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  Descriptor fd(mkostemp(name.data(), O_CLOEXEC));
  if (fd.get() < 0) return errno;
  const std::string temporary = name.data();

  int error = WriteAll(fd.get(), text);
  if (error == 0 && old != nullptr) {
    // Owner and group first: changing them clears the set-user-ID and set-group-ID bits, which
    // the mode then puts back. Only root may give a file away; anyone may try the group.
    if (fchown(fd.get(), geteuid() == 0 ? old->st_uid : static_cast<uid_t>(-1), old->st_gid) != 0 &&
        geteuid() == 0) {
      error = errno;
    }
  }
  const mode_t mode = old != nullptr ? old->st_mode & 07777 : NewFileMode();
  if (error == 0 && fchmod(fd.get(), mode) != 0) error = errno;
  if (error == 0 && fsync(fd.get()) != 0) error = errno;
  if (const int closed = fd.Close(); error == 0) error = closed;
  if (error == 0 && rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(temporary.c_str());
    return error;
  }
  return SyncFolder(folder);
}

// Writes into a device, FIFO or other special file where it is. A FIFO is opened without
// waiting, so one with no reader fails at once (ENXIO) instead of blocking forever; once open,
// it is written with ordinary blocking writes.
int WriteInPlace(const std::string& path, const struct stat& st, std::string_view text) {
  const bool fifo = S_ISFIFO(st.st_mode);
  Descriptor fd(open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | (fifo ? O_NONBLOCK : 0)));
  if (fd.get() < 0) return errno;
  if (fifo) {
    const int flags = fcntl(fd.get(), F_GETFL);
    if (flags < 0 || fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) return errno;
  }
  int error = WriteAll(fd.get(), text);
  if (const int closed = fd.Close(); error == 0) error = closed;
  return error;
}

}  // namespace

std::string WriteOutputFile(const std::string& path, std::string_view text) {
  const auto failed = [&path](std::string_view why) {
    return "cannot write " + path + ": " + std::string(why);
  };
  const auto failed_with = [&failed](int error) { return failed(std::strerror(error)); };
  if (path.empty()) return failed_with(ENOENT);

  // What the path names once every link is followed. /dev/stdout and the links of /proc name
  // pipes and terminals that have no path of their own, so special files are opened through
  // the path as given.
  struct stat st = {};
  if (stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return failed_with(EISDIR);
    if (access(path.c_str(), W_OK) != 0) return failed_with(errno);
    if (S_ISSOCK(st.st_mode)) return failed("a socket cannot be written as a file");
    if (!S_ISREG(st.st_mode)) {
      const int error = WriteInPlace(path, st, text);
      if (error == ENXIO && S_ISFIFO(st.st_mode)) return failed("no reader on the FIFO");
      return error == 0 ? std::string() : failed_with(error);
    }
    // Root passes access() for any file; a file nobody may write is still left alone.
    if ((st.st_mode & 0222) == 0) return failed("the file is read-only");
  } else if (errno != ENOENT) {
    return failed_with(errno);
  }
  if (path.back() == '/') return failed_with(EISDIR);

  int error = 0;
  const std::string target = FinalTarget(path, error);
  if (error != 0) return failed_with(error);
  struct stat old = {};
  const bool exists = lstat(target.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) return failed_with(EEXIST);
  error = ReplaceAtomically(target, exists ? &old : nullptr, text);
  return error == 0 ? std::string() : failed_with(error);
}

}  // namespace kelvox::cli
