// The kelvox-cli command line as a whole: picks the subcommand named by the first word and
// answers `--help`, `help`, `help COMMAND` and the version (`--version`, `-V`, `version`).
// main() is only this plus the real streams.
#pragma once

#include <iosfwd>
#include <span>
#include <string>

namespace kelvox::cli {

// Runs the command line `args` (without the program name) and returns the exit status.
int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace kelvox::cli
