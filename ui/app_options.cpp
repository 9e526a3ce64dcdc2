#include "ui/app_options.h"

#include <array>

#include "config/domain_number.h"
#include "options/args.h"
#include "options/shared_options.h"

namespace kelvox {

namespace {
// The window's options, read by the parser kelvox-cli's commands use: "--source X" and
// "--source=X" alike, a flag given a value refused, --help or -h ending the words.
constexpr std::array kAppOptions = {
    OptionSpec{"--source", OptionSpec::Kind::kText, 0, 0, kSourceTakes},
    OptionSpec{"--domain", OptionSpec::Kind::kText, 0, 0, "a hex domain number"},
    OptionSpec{"--ids", OptionSpec::Kind::kText, 0, 0, kIdsTakes},
    OptionSpec{"--measure-startup", OptionSpec::Kind::kFlag},
    OptionSpec{"--version", OptionSpec::Kind::kFlag},
};

constexpr char kUsage[] =
    "usage: kelvox " KELVOX_SOURCE_USAGE " [--domain N] " KELVOX_IDS_USAGE " [--measure-startup]";

constexpr std::string_view kHelpHead =
    "Usage: kelvox [--source X] [--domain N] [--ids X] [--measure-startup]\n"
    "  or:  kelvox --help | --version\n"
    "\n"
    "Shows the PCI bus of this machine in a window: the 32 device numbers of one bus\n"
    "and function with their configuration registers and a Japanese comment naming\n"
    "the class, a details sheet that decodes one device's configuration header, and\n"
    "a search window that names vendor IDs, device IDs and class codes.\n"
    "\n"
    "Options:\n";

constexpr std::string_view kDomainInTheWindow =
    "                 (the context menu switches between the source's domains)\n";

constexpr std::string_view kHelpTail =
    "  --measure-startup  print how long the start-up took until the list was\n"
    "                     filled and the window shown, then quit\n"
    "  -h, --help     print this help and quit\n"
    "  --version      print the version and quit\n"
    "\n"
    "Exit status: 0 when the window is closed; 1 on a bad argument, a --source that\n"
    "cannot be opened, a --domain it does not have, or no display. Without a display\n"
    "(DISPLAY or WAYLAND_DISPLAY) kelvox says so in one line; kelvox-cli shows the\n"
    "same things in a terminal.\n";
}  // namespace

const char* AppUsage() { return kUsage; }

const char* AppHelp() {
  static const std::string help = std::string(kHelpHead) + std::string(kSourceOptionHelp) +
                                  std::string(kDomainOptionHelp) + std::string(kDomainInTheWindow) +
                                  std::string(kIdsOptionHelp) + std::string(kHelpTail);
  return help.c_str();
}

ParsedAppOptions ParseAppOptions(const std::vector<std::string>& args) {
  ParsedAppOptions parsed;
  const ParseResult result = ParseOptions(args, kAppOptions);
  if (!result.ok()) {
    // A word the window does not take is named whole, with the usage after it.
    parsed.error = result.unknown_word.empty()
                       ? "kelvox: " + result.error
                       : "kelvox: unknown argument '" + result.unknown_word + "'; " + AppUsage();
    return parsed;
  }
  const ParsedOptions& options = result.options;
  parsed.options.help = options.help;
  if (parsed.options.help) return parsed;
  parsed.options.version = options.Has("--version");
  parsed.options.measure_startup = options.Has("--measure-startup");
  parsed.options.source = options.Text("--source");
  parsed.options.ids = options.Text("--ids");
  if (const std::optional<std::string> text = options.Text("--domain")) {
    const DomainNumber domain = ParseDomainNumber(*text);
    if (!domain.value) {
      parsed.error = "kelvox: --domain: " + domain.error;
      return parsed;
    }
    parsed.options.domain = domain.value;
  }
  return parsed;
}

ParsedAppOptions ParseAppOptions(int argc, const char* const* argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return ParseAppOptions(args);
}

}  // namespace kelvox
