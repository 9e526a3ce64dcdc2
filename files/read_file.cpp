#include "files/read_file.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace kelvox {

ScopedDescriptor::~ScopedDescriptor() {
  if (fd_ >= 0) close(fd_);
}

ReadAllResult ReadAll(int fd, size_t limit, size_t expected) {
  ReadAllResult result;
  std::string& text = result.text;
  // Read straight into the text. One byte more than the limit tells a file over it; one more
  // than expected lets the end of a file of the expected size be seen without growing.
  const size_t most = limit == SIZE_MAX ? limit : limit + 1;
  text.resize(std::min(most, std::max<size_t>(expected + 1, 4096)));
  size_t used = 0;
  for (;;) {
    if (used == text.size()) text.resize(std::min(most, text.size() * 2));
    const ssize_t got = read(fd, text.data() + used, text.size() - used);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      result.error = errno;
      text.clear();
      return result;
    }
    if (got == 0) break;
    used += static_cast<size_t>(got);
    if (used > limit) {
      result.too_large = true;
      text.clear();
      return result;
    }
  }
  text.resize(used);
  return result;
}

}  // namespace kelvox
