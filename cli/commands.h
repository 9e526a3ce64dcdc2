// The table of kelvox-cli subcommands. A new subcommand lives in its own files and adds one
// entry to this table (commands.cpp).
#pragma once

#include <span>
#include <string_view>

#include "cli/command.h"

namespace kelvox::cli {

// Every subcommand, in the order the help lists them.
std::span<const Command> Commands();

// The subcommand called `name`, or null.
const Command* FindCommand(std::string_view name);

}  // namespace kelvox::cli
