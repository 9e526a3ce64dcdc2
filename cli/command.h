// What every kelvox-cli subcommand is: a name, its help, and a function from its arguments and
// two output streams to an exit status. Commands print results on `out` only when they succeed
// and report a failure as one line on `err`.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "options/args.h"
#include "options/help_document.h"

namespace kelvox::cli {

inline constexpr std::string_view kProgramName = "kelvox-cli";

// Exit statuses: success; a selection (-s, -d) that matched no function, or standard output
// that could not be written; any bad input (usage, a value out of range, an unreadable or
// malformed file).
inline constexpr int kExitOk = 0;
inline constexpr int kExitNothing = 1;
inline constexpr int kExitUsage = 2;

// `args` are the words after the command name.
using CommandFunction = int (*)(std::span<const std::string> args, std::ostream& out,
                                std::ostream& err);

// What `help NAME` and `NAME --help` print of a command, and what its manual page says.
struct CommandHelp {
  std::string_view usage;        // the command's own words after its name: "[--bus N] [-o FILE]"
  std::string_view description;  // a text as options/help_document.h reads it
  std::span<const HelpOption> options;  // its own options, in the order it lists them
  unsigned common = 0;  // the shared options it takes (CommonOption bits, common_options.h)
};

struct Command {
  std::string_view name;     // the first word of the command line: "scan"
  std::string_view summary;  // one line for the command list
  const CommandHelp& (*help)();
  CommandFunction run;
  std::span<const OptionSpec> (*options)();  // every option the command takes
};

// Writes "kelvox-cli: <message>" as one line on `err` and returns kExitUsage. Control
// characters in the message (a newline in a file name, say) are written as escapes.
int Fail(std::ostream& err, std::string_view message);

// Writes "kelvox-cli: <message>" as one line on `err`, like Fail, for a problem that does not
// stop the command.
void Warn(std::ostream& err, std::string_view message);

// Writes a command's text output on `out`. Names from a PCI ID list and facts from a capture
// are outside text: control characters, C1 controls and bytes that are not UTF-8 in it are
// written as escapes (TerminalText in text/one_line.h), so a crafted file cannot steer the
// user's terminal. Line breaks and the Japanese texts are written as they are.
void WriteText(std::ostream& out, std::string_view text);

}  // namespace kelvox::cli
