// Opening a captured bus file the user names, which may be anything: a regular file, a pipe
// from the shell (`--source <(cat capture.txt)`), a FIFO nobody writes to, a device node or a
// folder. Reading never blocks without end and never reads without bound.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace kelvox {

// How long a pipe or FIFO may stay without a writer or data before it is given up.
inline constexpr std::chrono::milliseconds kPipeWait{1000};

// The whole text of the file at `path`, or nothing with `error` set to one line starting with
// the path: "PATH: cannot open: <reason>", "PATH: cannot read: <reason>", "PATH: nothing was
// written to the pipe within a second", "PATH: not a file or a pipe" (a device node, a
// socket), "PATH: too large for a captured bus" (over kMaxCaptureBytes).
std::optional<std::string> ReadCaptureFile(const std::string& path, std::string& error,
                                           std::chrono::milliseconds pipe_wait = kPipeWait);

}  // namespace kelvox
