// The --ids option of the commands that name things (list, details, find, tree): which PCI ID
// list the names come from. Its values are explained in common_options.h. Without it, the
// terminal names things as today's tools do: from the list the environment variable
// KELVOX_IDS names, else from the distribution's list where one is installed, else from the
// embedded list of 2005.
#pragma once

#include <iosfwd>
#include <string>

#include "cli/json_output.h"
#include "options/args.h"
#include "options/shared_options.h"

namespace kelvox::cli {

// The environment variable that sets the default list of both programs.
inline constexpr char kIdsVariable[] = "KELVOX_IDS";

// Puts the list the options' --ids chooses in use for the lookups, or the default one when
// --ids is not given. Returns "" on success, else a one-line message (without the program
// and command names) naming the file and line, or the paths tried for "system". A default
// distribution list that cannot be read is not an error: a warning line goes to `err` and the
// embedded list is used.
std::string UseIdsOption(const ParsedOptions& options, std::ostream& err);

// The list in use, as the JSON documents name it: {"source": "embedded" or the file read,
// "version": its version line, or for the embedded list the date of its snapshot}.
Json IdListJson();

// The date of the embedded list's snapshot.
inline constexpr char kEmbeddedListVersion[] = "2005-03-06";

}  // namespace kelvox::cli
