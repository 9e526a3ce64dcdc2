// kelvox-cli scan: prints the 32 device rows of one bus and function, one per line, in UTF-8.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "cli/access_option.h"
#include "cli/command.h"

namespace kelvox::cli {

inline constexpr std::string_view kScanSummary =
    "the rows of device numbers 0 to 31 on one bus and function";

const CommandHelp& ScanHelp();
std::span<const OptionSpec> ScanOptions();

// Parses `args`, opens the backend through `open`, scans and prints the rows; on bad input
// prints one line on `err`, nothing on `out`, and returns 2; when -s or -d choose no row,
// says so on `err` and returns 1.
int RunScan(std::span<const std::string> args, std::ostream& out, std::ostream& err,
            const AccessOpener& open);

// RunScan with the real backends: the function the command table calls.
int ScanCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace kelvox::cli
