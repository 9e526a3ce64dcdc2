#include "files/named_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifndef _WIN32
#include <poll.h>
#endif

#include <cerrno>
#include <cstring>

#include "files/read_file.h"
#include "text/one_line.h"

#ifndef S_ISFIFO
#define S_ISFIFO(mode) false
#endif

namespace kelvox {

namespace {

#ifdef _WIN32
// Windows has no FIFOs in its file system and no terminals to become controlling; its files are
// opened binary (no newline translation) and not inherited by programs started later.
constexpr int kOpenFlags = O_RDONLY | O_BINARY | O_NOINHERIT;
#else
// O_NONBLOCK: a FIFO without a writer would otherwise block the open itself.
constexpr int kOpenFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
#endif

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

// The wait as a message says it: "a second", "2 seconds", "250 ms".
std::string WaitText(std::chrono::milliseconds wait) {
  const long long ms = wait.count();
  if (ms == 1000) return "a second";
  if (ms > 0 && ms % 1000 == 0) return std::to_string(ms / 1000) + " seconds";
  return std::to_string(ms) + " ms";
}

}  // namespace

std::optional<std::string> ReadNamedFile(const std::string& path, const NamedFileRules& rules,
                                         std::string& error) {
  const std::string name = OneLine(path);
  const auto fail = [&](std::string_view why) {
    error = name + ": " + std::string(why);
    return std::nullopt;
  };
  const ScopedDescriptor fd(open(path.c_str(), kOpenFlags));
  if (fd.get() < 0) return fail(std::string("cannot open: ") + std::strerror(errno));
  struct stat st = {};
  if (fstat(fd.get(), &st) != 0) return fail(std::string("cannot open: ") + std::strerror(errno));
  if (S_ISFIFO(st.st_mode)) {
    if (!PipeReady(fd.get(), rules.pipe_wait)) {
      return fail("nothing was written to the pipe within " + WaitText(rules.pipe_wait));
    }
    // A writer is there: read as usual, waiting for the rest of what it writes.
    if (!Blocking(fd.get())) return fail(std::string("cannot read: ") + std::strerror(errno));
  } else if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
    // A device would never end (/dev/zero) or wait for typing (a terminal).
    return fail("not a file or a pipe");
  }
  // A folder is let through to the read, which names the reason (EISDIR).
  const size_t expected = S_ISREG(st.st_mode) ? static_cast<size_t>(st.st_size) : 0;
  ReadAllResult read = ReadAll(fd.get(), rules.max_bytes, expected);
  if (read.error != 0) return fail(std::string("cannot read: ") + std::strerror(read.error));
  if (read.too_large) return fail(rules.too_large);
  return std::move(read.text);
}

}  // namespace kelvox
