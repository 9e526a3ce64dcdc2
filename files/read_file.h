// Reading a whole file from an open descriptor, up to a limit, so that no file (a device that
// never ends, a huge file) can make the program read without bound.
#pragma once

#include <cstddef>
#include <string>

namespace kelvox {

// Closes a file descriptor when it goes out of scope (a negative one is no descriptor).
class ScopedDescriptor {
 public:
  explicit ScopedDescriptor(int fd) : fd_(fd) {}
  ~ScopedDescriptor();
  ScopedDescriptor(const ScopedDescriptor&) = delete;
  ScopedDescriptor& operator=(const ScopedDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

struct ReadAllResult {
  std::string text;        // what was read
  int error = 0;           // errno of a failed read, else 0
  bool too_large = false;  // more than `limit` bytes were there
  bool ok() const { return error == 0 && !too_large; }
};

// Reads `fd` from where it stands to its end, retrying interrupted reads, and stops with
// too_large as soon as more than `limit` bytes have come. The descriptor stays open.
// `expected` is how many bytes are likely to come (a regular file's size): the text is then
// read in place, without growing on the way; it is only a hint, a file may have changed since.
ReadAllResult ReadAll(int fd, size_t limit, size_t expected = 0);

}  // namespace kelvox
