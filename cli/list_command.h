// kelvox-cli list: one line per present function on every bus (function_list.h), found the
// way the backend allows (ConfigAccess::ListFunctions), as text or as one JSON document.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "cli/access_option.h"

namespace kelvox::cli {

inline constexpr std::string_view kListSummary =
    "print one line per present function on every bus, with its names";

// The text of `kelvox-cli help list`.
std::string ListHelp();

// Parses `args` (--bus, --vendor, --class, --source, --json), opens the backend through
// `open` and prints the present functions the filters accept; a function the backend lists but
// cannot read is left out and named on `err` ("kelvox-cli: list: warning: ..."). On bad input
// prints one line on `err`, nothing on `out`, and returns 2.
int RunList(std::span<const std::string> args, std::ostream& out, std::ostream& err,
            const AccessOpener& open);

// RunList with the real backends: the function the command table calls.
int ListCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace kelvox::cli
