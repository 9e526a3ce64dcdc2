#include "cli/run_cli.h"

#include <ostream>

#include "cli/commands.h"
#include "kelvox/version.h"

namespace kelvox::cli {

std::string GeneralHelp() {
  std::string text =
      "Usage: kelvox-cli COMMAND [OPTIONS]\n"
      "       kelvox-cli help [COMMAND]\n"
      "       kelvox-cli --help\n"
      "       kelvox-cli --version\n"
      "\n"
      "Reads PCI configuration space and prints what it finds.\n"
      "\n"
      "Commands:\n";
  for (const Command& command : Commands()) {
    text += "  ";
    text += command.name;
    text += std::string(command.name.size() < 10 ? 10 - command.name.size() : 1, ' ');
    text += command.summary;
    text += '\n';
  }
  text +=
      "\n"
      "Exit status: 0 on success; 2 on any bad input (an unknown command or option, a\n"
      "missing or non-numeric value, a number out of range, an unreadable or malformed\n"
      "file, an output file that cannot be written, a backend that cannot be captured);\n"
      "1 when standard output cannot be written. On bad input a one-line message\n"
      "starting \"kelvox-cli: \" goes to standard error and nothing is printed on standard\n"
      "output.\n";
  for (const Command& command : Commands()) {
    text += '\n';
    text += command.help();
  }
  return text;
}

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  if (args.empty()) return Fail(err, "no command given (try 'kelvox-cli --help')");
  const std::string& first = args[0];
  if (first == "--version") {
    if (args.size() > 1) return Fail(err, "--version takes no arguments");
    out << "kelvox-cli " KELVOX_VERSION "\n";
    return kExitOk;
  }
  if (first == "--help" || first == "-h" || first == "help") {
    if (first != "help" || args.size() == 1) {
      out << GeneralHelp();
      return kExitOk;
    }
    if (args.size() > 2) return Fail(err, "help takes at most one command name");
    const Command* command = FindCommand(args[1]);
    if (command == nullptr) return Fail(err, "unknown command '" + args[1] + "'");
    out << command->help();
    return kExitOk;
  }
  const Command* command = FindCommand(first);
  if (command == nullptr) {
    return Fail(err, "unknown command '" + first + "' (try 'kelvox-cli --help')");
  }
  return command->run(args.subspan(1), out, err);
}

}  // namespace kelvox::cli
