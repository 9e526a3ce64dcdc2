#include "cli/run_cli.h"

#include <ostream>

#include "cli/commands.h"
#include "cli/help_text.h"
#include "kelvox/version.h"

namespace kelvox::cli {

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  if (args.empty()) return Fail(err, "no command given (try 'kelvox-cli --help')");
  const std::string& first = args[0];
  if (first == "--version" || first == "-V" || first == "version") {
    if (args.size() > 1) return Fail(err, first + " takes no arguments");
    out << "kelvox-cli " KELVOX_VERSION "\n";
    return kExitOk;
  }
  if (first == "--help" || first == "-h" || first == "help") {
    if (first != "help" || args.size() == 1) {
      out << OverviewHelp();
      return kExitOk;
    }
    if (args.size() > 2) return Fail(err, "help takes at most one command name");
    const Command* command = FindCommand(args[1]);
    if (command == nullptr) return Fail(err, "unknown command '" + args[1] + "'");
    out << CommandHelpText(*command);
    return kExitOk;
  }
  const Command* command = FindCommand(first);
  if (command == nullptr) {
    return Fail(err, "unknown command '" + first + "' (try 'kelvox-cli --help')");
  }
  return command->run(args.subspan(1), out, err);
}

}  // namespace kelvox::cli
