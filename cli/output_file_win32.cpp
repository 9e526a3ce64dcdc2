// Windows: the output file is always written through a temporary file in the same folder,
// renamed over the target.
#include "cli/output_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace kelvox::cli {

namespace {

// The folder part of `path` with its slash ("" for a bare file name).
std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t wrote = write(fd, text.data(), text.size());
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote == 0) errno = EIO;
    if (wrote <= 0) return false;
    text.remove_prefix(static_cast<size_t>(wrote));
  }
  return true;
}

mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

std::string WriteOutputFile(const std::string& path, std::string_view text) {
  const auto failed = [&path](int error) {
    return "cannot write " + path + ": " + std::strerror(error);
  };
  if (path.empty() || path.back() == '/') return failed(EISDIR);
  std::string pattern = FolderOf(path) + ".kelvox-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) return failed(errno);
  const std::string temporary = name.data();

  int error = 0;
  if (!WriteAll(fd, text)) error = errno;
  if (error == 0 && fchmod(fd, NewFileMode()) != 0) error = errno;
  if (error == 0 && fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0) {
    // std::filesystem::rename replaces an existing file on Windows too, where the C library's
    // rename refuses to.
    std::error_code renamed;
    std::filesystem::rename(temporary, path, renamed);
    if (renamed) error = renamed.default_error_condition().value();
  }
  if (error != 0) {
    unlink(temporary.c_str());
    return failed(error);
  }
  return {};
}

}  // namespace kelvox::cli
