// What kelvox-cli prints for help: a one-screen overview (--help), and the whole help of one
// command (help COMMAND, COMMAND --help), each made from the command table, so that they always
// name the commands and options the program takes.
#pragma once

#include <string>

#include "cli/command.h"

namespace kelvox::cli {

// The overview: the commands, the options most of them take, three examples, and where to
// read more.
std::string OverviewHelp();

// The command's usage line, unwrapped: "kelvox-cli scan [--bus N] ... [--json]".
std::string CommandUsage(const Command& command);

// The command's whole help: its usage, what it does, its own options, then the shared options
// it takes, each once.
std::string CommandHelpText(const Command& command);

// The whole help of the command called `name` (one of the table's).
std::string CommandHelpTextOf(std::string_view name);

}  // namespace kelvox::cli
