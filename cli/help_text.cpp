#include "cli/help_text.h"

#include <array>

#include "cli/commands.h"
#include "cli/common_options.h"

namespace kelvox::cli {

namespace {

// The examples of the overview; the manual page gives more.
constexpr std::string_view kOverviewExamples =
    "  kelvox-cli list                     every function, named\n"
    "  kelvox-cli details 00:03.0          one function, decoded\n"
    "  kelvox-cli capture -o bus.txt       the bus as text, for --source bus.txt\n";

// "Usage: kelvox-cli COMMAND WORDS..." wrapped at the blanks between its words (a bracketed
// option is one word), later lines indented under the command's first word.
std::string WrappedUsage(const std::string& usage, int width = 80) {
  size_t command_end = 0;
  for (int blank = 0; blank < 3 && command_end != std::string::npos; ++blank) {
    command_end = usage.find(' ', command_end == 0 ? 0 : command_end + 1);
  }
  const std::string indent(command_end == std::string::npos ? 8 : command_end + 1, ' ');
  std::string text;
  std::string line;
  size_t start = 0;
  while (start < usage.size()) {
    // One word of the usage: an option in brackets is one word, blanks and all.
    size_t end = start;
    int depth = 0;
    while (end < usage.size() && (depth > 0 || usage[end] != ' ')) {
      if (usage[end] == '[') ++depth;
      if (usage[end] == ']') --depth;
      ++end;
    }
    const std::string word = usage.substr(start, end - start);
    if (!line.empty() && DisplayWidth(line) + 1 + DisplayWidth(word) > width) {
      text += line + '\n';
      line = indent;
    } else if (!line.empty()) {
      line += ' ';
    }
    line += word;
    start = end + 1;
  }
  return text + line + '\n';
}

}  // namespace

std::string OverviewHelp() {
  std::string text =
      "Usage: kelvox-cli COMMAND [OPTIONS]\n"
      "\n"
      "Reads the PCI configuration space of this machine, or of a captured bus, and\n"
      "prints what it finds.\n"
      "\n"
      "Commands:\n";
  std::vector<HelpOption> commands;
  for (const Command& command : Commands()) commands.push_back({command.name, command.summary});
  commands.push_back({"help", "the whole help of a command: kelvox-cli help COMMAND"});
  commands.push_back({"version", "the version (also -V and --version)"});
  text += OptionsText(commands);
  text += "\nOptions most commands take:\n";
  std::vector<HelpOption> common;
  for (const CommonOptionHelp& option : CommonOptions()) common.push_back(option.summary);
  text += OptionsText(common);
  text += "\nExamples:\n";
  text += kOverviewExamples;
  text +=
      "\n"
      "Exit status: 0 done; 1 when -s or -d matched nothing, or output failed; 2 on\n"
      "bad input, with one line on standard error.\n"
      "More: kelvox-cli help COMMAND, man kelvox-cli, and /usr/share/doc/kelvox.\n";
  return text;
}

std::string CommandUsage(const Command& command) {
  const CommandHelp& help = command.help();
  std::string usage = "kelvox-cli " + std::string(command.name);
  if (!help.usage.empty()) usage += " " + std::string(help.usage);
  return usage + CommonUsage(help.common);
}

std::string CommandHelpText(const Command& command) {
  const CommandHelp& help = command.help();
  std::string text = WrappedUsage("Usage: " + CommandUsage(command));
  text += '\n';
  text += WrappedText(help.description, 2);
  std::vector<HelpOption> options(help.options.begin(), help.options.end());
  for (const HelpOption& option : CommonHelp(help.common)) options.push_back(option);
  options.push_back({"-h, --help", "print this help"});
  text += "\nOptions:\n";
  text += OptionsText(options);
  return text;
}

std::string CommandHelpTextOf(std::string_view name) {
  const Command* command = FindCommand(name);
  return command == nullptr ? std::string() : CommandHelpText(*command);
}

}  // namespace kelvox::cli
