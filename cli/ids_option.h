// The --ids option of the commands that name things (list, details, find, tree): which PCI ID
// list the names come from. Its usage words and help are options/shared_options.h's.
#pragma once

#include <string>

#include "options/args.h"
#include "options/shared_options.h"

namespace kelvox::cli {

inline constexpr OptionSpec kIdsOption{"--ids", OptionSpec::Kind::kText};

// Puts the list the options' --ids chooses in use for the lookups, or the embedded list when
// --ids is not given. Returns "" on success, else a one-line message (without the program
// and command names) naming the file and line, or the paths tried for "system".
std::string UseIdsOption(const ParsedOptions& options);

}  // namespace kelvox::cli
