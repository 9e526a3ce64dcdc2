// Reading a whole file from an open descriptor, up to a limit, so that no file (a device that
// never ends, a huge file) can make the program read without bound.
#pragma once

#include <cstddef>
#include <string>

namespace kelvox {

struct ReadAllResult {
  std::string text;        // what was read
  int error = 0;           // errno of a failed read, else 0
  bool too_large = false;  // more than `limit` bytes were there
  bool ok() const { return error == 0 && !too_large; }
};

// Reads `fd` from where it stands to its end, retrying interrupted reads, and stops with
// too_large as soon as more than `limit` bytes have come. The descriptor stays open.
ReadAllResult ReadAll(int fd, size_t limit);

}  // namespace kelvox
