// How long the process has been running, for timing the start-up of the whole program (from
// the kernel's start of the process, not from main()).
#pragma once

#include <optional>

namespace kelvox {

// Milliseconds since the process started (resolution: the kernel's clock tick), or nothing
// where /proc/self/stat cannot be read.
std::optional<double> MillisecondsSinceProcessStart();

}  // namespace kelvox
