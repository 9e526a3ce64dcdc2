#include "config/capture/capture_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifndef _WIN32
#include <poll.h>
#else
// Windows has no FIFOs in its file system and no terminals to become controlling.
#define O_NONBLOCK 0
#define O_NOCTTY 0
#endif
#ifndef S_ISFIFO
#define S_ISFIFO(mode) false
#endif

#include <cerrno>
#include <cstring>

#include "config/capture/capture_text.h"
#include "config/read_file.h"

namespace kelvox {

namespace {

// Waits until the pipe has data or its writer has closed it. A FIFO opened without blocking
// before any writer came reports neither, so a FIFO nobody writes to times out here instead of
// holding the program in open(2) for ever.
bool PipeReady([[maybe_unused]] int fd, [[maybe_unused]] std::chrono::milliseconds wait) {
#ifdef _WIN32
  return true;
#else
  pollfd watched = {fd, POLLIN, 0};
  int ready;
  do {
    ready = poll(&watched, 1, static_cast<int>(wait.count()));
  } while (ready < 0 && errno == EINTR);
  return ready > 0;
#endif
}

// Makes reads wait for data again once a writer is there.
bool Blocking([[maybe_unused]] int fd) {
#ifdef _WIN32
  return true;
#else
  const int flags = fcntl(fd, F_GETFL);
  return flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
#endif
}

}  // namespace

std::optional<std::string> ReadCaptureFile(const std::string& path, std::string& error,
                                           std::chrono::milliseconds pipe_wait) {
  // O_NONBLOCK: a FIFO without a writer would otherwise block the open itself.
  const ScopedDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) {
    error = path + ": cannot open: " + std::strerror(errno);
    return std::nullopt;
  }
  struct stat st = {};
  if (fstat(fd.get(), &st) != 0) {
    error = path + ": cannot open: " + std::strerror(errno);
    return std::nullopt;
  }
  if (S_ISFIFO(st.st_mode)) {
    if (!PipeReady(fd.get(), pipe_wait)) {
      error = path + ": nothing was written to the pipe within a second";
      return std::nullopt;
    }
    // A writer is there: read as usual, waiting for the rest of what it writes.
    if (!Blocking(fd.get())) {
      error = path + ": cannot read: " + std::strerror(errno);
      return std::nullopt;
    }
  } else if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
    error = path + ": not a file or a pipe";
    return std::nullopt;
  }
  const ReadAllResult read = ReadAll(fd.get(), kMaxCaptureBytes);
  if (read.error != 0) {
    error = path + ": cannot read: " + std::strerror(read.error);
    return std::nullopt;
  }
  if (read.too_large) {
    error = path + ": too large for a captured bus";
    return std::nullopt;
  }
  return read.text;
}

}  // namespace kelvox
