// kelvox-cli scan: prints the 32 device rows of one bus and function, one per line, in UTF-8.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "cli/access_option.h"

namespace kelvox::cli {

inline constexpr std::string_view kScanSummary =
    "print the rows of device numbers 0 to 31 on one bus and function";

// The text of `kelvox-cli help scan`.
std::string ScanHelp();

// Parses `args` (--bus, --function, --source), opens the backend through `open`, scans and
// prints the rows; on bad input prints one line on `err`, nothing on `out`, and returns 2.
int RunScan(std::span<const std::string> args, std::ostream& out, std::ostream& err,
            const AccessOpener& open);

// RunScan with the real backends: the function the command table calls.
int ScanCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace kelvox::cli
