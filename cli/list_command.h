// kelvox-cli list: one line per present function on every bus (function_list.h), found the
// way the backend allows (ConfigAccess::ListFunctions), as text or as one JSON document.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "cli/access_option.h"
#include "cli/command.h"

namespace kelvox::cli {

inline constexpr std::string_view kListSummary =
    "one line per present function of every bus, with its names";

const CommandHelp& ListHelp();
std::span<const OptionSpec> ListOptions();

// Parses `args`, opens the backend through `open` and prints the present functions the
// filters accept; a function the backend lists but cannot read is left out and named on `err`
// ("kelvox-cli: list: warning: ..."). On bad input prints one line on `err`, nothing on `out`,
// and returns 2; when -s or -d choose no function, says so on `err` and returns 1.
int RunList(std::span<const std::string> args, std::ostream& out, std::ostream& err,
            const AccessOpener& open);

// RunList with the real backends: the function the command table calls.
int ListCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace kelvox::cli
