#include "files/read_file.h"

#include <unistd.h>

#include <cerrno>

namespace kelvox {

ScopedDescriptor::~ScopedDescriptor() {
  if (fd_ >= 0) close(fd_);
}

ReadAllResult ReadAll(int fd, size_t limit) {
  ReadAllResult result;
  char chunk[65536];
  for (;;) {
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      result.error = errno;
      return result;
    }
    if (got == 0) return result;
    if (static_cast<size_t>(got) > limit - result.text.size()) {
      result.too_large = true;
      return result;
    }
    result.text.append(chunk, static_cast<size_t>(got));
  }
}

}  // namespace kelvox
