// The window program's command line: which bus to view, which PCI ID list names things and
// whether to time the start-up, read by the option parser kelvox-cli uses (options/args.h).
//   kelvox [--source X] [--domain N] [--ids X] [--topology] [--measure-startup]
//   kelvox --help | --version
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "options/help_document.h"

namespace kelvox {

struct AppOptions {
  // The backend to open ("sysfs", "port", "cfgmgr" or a captured bus file); none means the
  // default.
  std::optional<std::string> source;
  // The PCI domain to open on (--domain, hex); none means domain 0, or the lowest one where
  // the source has no domain 0.
  std::optional<int> domain;
  // The PCI ID list ("embedded", "system" or a pci.ids file); none means what KELVOX_IDS
  // names, else the embedded one (IdsToUse).
  std::optional<std::string> ids;
  // Print how long the start-up took until the list was filled and the window shown, then quit.
  bool measure_startup = false;
  // Open the topology window at start-up too.
  bool topology = false;
  // Print the help (--help, -h) or the version (--version) and quit, without a display. The
  // words after --help are not read.
  bool help = false;
  bool version = false;
};

struct ParsedAppOptions {
  AppOptions options;
  std::string error;  // one line when the command line is wrong, else empty
};

// Reads the arguments after the program name; "--source=X" and "--source X" both work, and
// the same for --domain and --ids. An error is one line starting "kelvox: "; one naming a word
// the program does not take ends with the usage.
ParsedAppOptions ParseAppOptions(const std::vector<std::string>& args);

// Reads the command line as main() receives it: argv[1] to argv[argc - 1], byte for byte. A
// file name is kept exactly as the system gave it, whatever the locale and whether or not it is
// valid UTF-8, so it opens the file that was named.
ParsedAppOptions ParseAppOptions(int argc, const char* const* argv);

// The list the window names things from: --ids, else the value of the environment variable
// KELVOX_IDS when it is set and not empty, else nothing (the embedded list).
std::optional<std::string> IdsToUse(const AppOptions& options);

// The one-line usage text, with the words --source and --ids take.
const char* AppUsage();

// What --help prints: the usage, what the program does, every option and the exit statuses.
const char* AppHelp();

// What the program does and its options, as the help and the manual page kelvox(1) say them.
std::string_view AppDescription();
std::span<const HelpOption> AppOptionsHelp();

}  // namespace kelvox
