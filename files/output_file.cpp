#include "files/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "files/output_platform.h"
#include "text/one_line.h"

#ifndef S_ISSOCK
#define S_ISSOCK(mode) false
#endif
#ifndef S_ISFIFO
#define S_ISFIFO(mode) false
#endif

namespace kelvox {

namespace fs = std::filesystem;
namespace platform = output_platform;

namespace {

// Symbolic links followed before giving up, as the kernel does for a path (ELOOP).
constexpr int kMaxLinks = 40;

// The errno value of a std::filesystem error.
int ErrnoOf(const std::error_code& error) { return error.default_error_condition().value(); }

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

// Writes all of `text` at the descriptor's offset; 0 or the error.
int WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const auto wrote = write(fd, text.data(), text.size());
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote < 0) return errno;
    if (wrote == 0) return EIO;
    text.remove_prefix(static_cast<size_t>(wrote));
  }
  return 0;
}

// The permissions a newly created file gets: 0666 less the umask.
mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return static_cast<mode_t>(0666 & ~mask);
}

// Where a chain of symbolic links starting at a path leads.
struct Destination {
  // The first name that is not a link, or does not exist yet (a dangling link names the file
  // to create).
  std::string target;
  // Set instead when a name on the way is an entry of the process's descriptor folder.
  std::optional<int> descriptor;
  // Set when a name cannot be examined, or the links loop.
  int error = 0;
};

// Follows `path` link by link; relative links are taken from the folder of the link.
Destination Follow(const std::string& path) {
  Destination destination;
  fs::path name = path;
  for (int links = 0;; ++links) {
    destination.descriptor = platform::OwnDescriptor(name);
    if (destination.descriptor) return destination;
    destination.target = name.string();
    std::error_code error;
    const fs::file_status status = fs::symlink_status(name, error);
    if (error) {
      if (error != std::errc::no_such_file_or_directory) destination.error = ErrnoOf(error);
      return destination;
    }
    if (!fs::is_symlink(status)) return destination;
    if (links == kMaxLinks) {
      destination.error = ELOOP;
      return destination;
    }
    const fs::path next = fs::read_symlink(name, error);
    if (error) {
      destination.error = ErrnoOf(error);
      return destination;
    }
    name = next.is_absolute() ? next : name.parent_path() / next;
  }
}

// The result of an atomic replacement.
struct Replaced {
  int error = 0;
  // The replacement could not be made as it should for lack of rights: the folder let no
  // temporary file be created or renamed, or the file's owner or group could not be kept.
  bool denied = false;
};

bool Denied(int error) { return error == EPERM || error == EACCES; }

// Replaces the regular file (or creates the file) `target` through a temporary file in its
// folder. `old` is the file being replaced, null for a new file.
Replaced ReplaceAtomically(const std::string& target, const struct stat* old,
                           std::string_view text) {
  const std::string pattern = TemporaryPattern(target);
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  Descriptor fd(platform::CreateTemporary(name.data()));
  if (fd.get() < 0) return {errno, Denied(errno)};
  const std::string temporary = name.data();

  Replaced replaced;
  replaced.error = WriteAll(fd.get(), text);
  if (replaced.error == 0) {
    replaced.error = old != nullptr ? platform::TakeOwnerAndMode(fd.get(), *old)
                                    : platform::SetMode(fd.get(), NewFileMode());
    replaced.denied = old != nullptr && Denied(replaced.error);
  }
  if (replaced.error == 0) replaced.error = platform::SyncFile(fd.get());
  if (const int closed = fd.Close(); replaced.error == 0) replaced.error = closed;
  if (replaced.error == 0) {
    // std::filesystem::rename replaces an existing file on Windows too, where the C library's
    // rename refuses to.
    std::error_code renamed;
    fs::rename(temporary, target, renamed);
    replaced.error = renamed ? ErrnoOf(renamed) : 0;
    replaced.denied = Denied(replaced.error);
  }
  if (replaced.error != 0) {
    unlink(temporary.c_str());
    return replaced;
  }
  return {platform::SyncFolder(fs::path(target).parent_path()), false};
}

// Writes into an existing file where it is: a device, FIFO or other special file, or a regular
// file that is emptied first (`truncate`). A FIFO is opened without waiting, so one with no
// reader fails at once (ENXIO) instead of blocking forever; once open, it is written with
// ordinary blocking writes.
int WriteInPlace(const std::string& path, bool fifo, bool truncate, std::string_view text) {
  Descriptor fd(platform::OpenInPlace(path, fifo, truncate));
  if (fd.get() < 0) return errno;
  if (fifo) {
    if (const int error = platform::Blocking(fd.get()); error != 0) return error;
  }
  int error = WriteAll(fd.get(), text);
  if (error == 0 && truncate) error = platform::SyncFile(fd.get());
  if (const int closed = fd.Close(); error == 0) error = closed;
  return error;
}

}  // namespace

std::string TemporaryPattern(const std::string& target) {
  return (fs::path(target).parent_path() / ".kelvox-XXXXXX").string();
}

std::string WriteOutputFile(const std::string& path, std::string_view text) {
  const auto failed = [&path](std::string_view why) {
    return "cannot write " + OneLine(path) + ": " + std::string(why);
  };
  const auto failed_with = [&failed](int error) {
    return error == 0 ? std::string() : failed(std::strerror(error));
  };
  if (path.empty()) return failed_with(ENOENT);

  const Destination destination = Follow(path);
  // A descriptor already open (standard output, most often) is written where it stands; it
  // stays open for whoever else writes to it.
  if (destination.descriptor) return failed_with(WriteAll(*destination.descriptor, text));

  // What the path names once every link is followed: pipes and terminals have no path of their
  // own, so special files are opened through the path as given.
  struct stat st = {};
  if (stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return failed_with(EISDIR);
    if (access(path.c_str(), W_OK) != 0) return failed_with(errno);
    if (S_ISSOCK(st.st_mode)) return failed("a socket cannot be written as a file");
    if (!S_ISREG(st.st_mode)) {
      const bool fifo = S_ISFIFO(st.st_mode);
      const int error = WriteInPlace(path, fifo, false, text);
      if (error == ENXIO && fifo) return failed("no reader on the FIFO");
      return failed_with(error);
    }
    // Root passes access() for any file; a file nobody may write is still left alone.
    if ((st.st_mode & 0222) == 0) return failed("the file is read-only");
  } else if (errno != ENOENT) {
    return failed_with(errno);
  }
  if (!fs::path(path).has_filename()) return failed_with(EISDIR);

  if (destination.error != 0) return failed_with(destination.error);
  const std::string& target = destination.target;
  struct stat old = {};
  const bool exists = platform::StatName(target, old) == 0;
  if (!exists) return failed_with(ReplaceAtomically(target, nullptr, text).error);
  if (!S_ISREG(old.st_mode)) return failed_with(EEXIST);
  if (platform::MayTakeOwner(old)) {
    const Replaced replaced = ReplaceAtomically(target, &old, text);
    if (!replaced.denied) return failed_with(replaced.error);
  }
  // A replacement would take the file from its owner or group, or its folder lets none be
  // made: the file itself is writable (checked above), so it is written where it is.
  return failed_with(WriteInPlace(target, false, true, text));
}

}  // namespace kelvox
