// kelvox-cli tree: every present function under the bridge it hangs from (bus_tree.h), with its
// IDs, names and driver, as text or as one JSON document.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "cli/access_option.h"
#include "cli/command.h"

namespace kelvox::cli {

inline constexpr std::string_view kTreeSummary =
    "every function under the bridge it hangs from, with its driver";

const CommandHelp& TreeHelp();
std::span<const OptionSpec> TreeOptions();

// Parses `args` (--source, --ids, --json), opens the backend through `open` and prints the
// tree; a function the backend lists but cannot read is left out and named on `err`. On bad
// input prints one line on `err`, nothing on `out`, and returns 2.
int RunTree(std::span<const std::string> args, std::ostream& out, std::ostream& err,
            const AccessOpener& open);

// RunTree with the real backends: the function the command table calls.
int TreeCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace kelvox::cli
