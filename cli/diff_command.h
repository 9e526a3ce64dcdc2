// kelvox-cli diff A B: what differs between two buses, each a capture file or a live source
// (sysfs, sysfs:DIR): functions added and removed, and per function the fields of
// bus_snapshot.h that differ. Exit status 1 when they differ, as diff(1).
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "cli/access_option.h"
#include "cli/command.h"

namespace kelvox::cli {

inline constexpr std::string_view kDiffSummary =
    "what differs between two buses (captures or the live one)";

const CommandHelp& DiffHelp();
std::span<const OptionSpec> DiffOptions();

// Opens both sources through `open`; returns 0 when they are the same, 1 when they differ, 2
// on bad input.
int RunDiff(std::span<const std::string> args, std::ostream& out, std::ostream& err,
            const AccessOpener& open);

int DiffCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace kelvox::cli
