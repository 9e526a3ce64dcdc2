// Reading a whole file a user names (a captured bus with --source, a PCI ID list with --ids),
// which may be anything: a regular file, a pipe from the shell (`--source <(cat capture.txt)`),
// a FIFO nobody writes to, a device node, a folder, or a file that shrinks while it is read.
// Reading never blocks without end (a FIFO gets a bounded wait for its writer), never reads
// without bound (the caller sets the limit) and never maps the file, so a file truncated under
// the reader gives a short text, never a crash.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kelvox {

// How long a pipe or FIFO may stay without a writer or data before it is given up.
inline constexpr std::chrono::milliseconds kPipeWait{1000};

// What the caller allows of the file.
struct NamedFileRules {
  // Files larger than this are refused.
  size_t max_bytes = 0;
  // What the message says of a larger file after "PATH: ", e.g. "too large for a captured bus".
  std::string_view too_large;
  // How long a FIFO may go without a writer or data.
  std::chrono::milliseconds pipe_wait = kPipeWait;
};

// The whole text of the file at `path`, or nothing with `error` set to one line starting with
// the path, its control bytes escaped (text/one_line.h):
//   "PATH: cannot open: <reason>", "PATH: cannot read: <reason>",
//   "PATH: nothing was written to the pipe within <the wait>" ("a second", "2 seconds",
//   "250 ms"), "PATH: not a file or a pipe" (a device node, a socket), "PATH: <too_large>".
std::optional<std::string> ReadNamedFile(const std::string& path, const NamedFileRules& rules,
                                         std::string& error);

}  // namespace kelvox
