// Opening a captured bus file the user names (--source FILE): a file a user names
// (files/named_file.h), read up to the largest capture the program writes.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "files/named_file.h"

namespace kelvox {

// The whole text of the file at `path`, or nothing with `error` set to one line starting with
// the path, as ReadNamedFile gives it; a file over kMaxCaptureBytes is "PATH: too large for a
// captured bus".
std::optional<std::string> ReadCaptureFile(const std::string& path, std::string& error,
                                           std::chrono::milliseconds pipe_wait = kPipeWait);

}  // namespace kelvox
