#include "ui/app_options.h"

#include <array>
#include <cstdlib>

#include "config/domain_number.h"
#include "options/args.h"
#include "options/shared_options.h"

namespace kelvox {

namespace {
// The window's options, read by the parser kelvox-cli's commands use: "--source X" and
// "--source=X" alike, a flag given a value refused, --help or -h ending the words.
constexpr std::array kAppOptions = {
    kSourceSpec,
    kDomainSpec,
    kIdsSpec,
    OptionSpec{"--topology", OptionSpec::Kind::kFlag},
    OptionSpec{"--measure-startup", OptionSpec::Kind::kFlag},
    OptionSpec{"--version", OptionSpec::Kind::kFlag},
};

constexpr char kUsage[] = "usage: kelvox " KELVOX_SOURCE_USAGE " [--domain N] " KELVOX_IDS_USAGE
                          " [--topology] [--measure-startup]";

constexpr std::string_view kDescription =
    "Shows the PCI bus of this machine in a window: the 32 device numbers of one bus and "
    "function with their configuration registers and a Japanese comment naming the class, a "
    "details sheet that decodes one device's configuration header, and a search window that "
    "names vendor IDs, device IDs and class codes. Without a display (DISPLAY or "
    "WAYLAND_DISPLAY) it says so in one line; kelvox-cli shows the same things in a terminal.";

constexpr std::array kHelpOptions = {
    kSourceHelp,
    HelpOption{"--domain N",
               "the PCI domain (segment) to open on, in hexadecimal as lspci writes it (c0e3, "
               "or 0xc0e3); default 0000, or the lowest domain where there is none. The "
               "context menu switches between the source's domains"},
    HelpOption{"--ids X", KELVOX_IDS_VALUES_HELP
               "\n"
               "Default: what the environment variable KELVOX_IDS names (embedded, system or a "
               "file), else embedded. The context menu switches between the embedded list and "
               "the distribution's."},
    HelpOption{"--topology",
               "opens the \"PCIバス構成\" window beside the main dialog: every domain's "
               "functions as a tree with their driver, link and the health check's findings "
               "(the context menu's \"PCIバス構成\", Ctrl+T, opens it too)"},
    HelpOption{"--measure-startup",
               "print how long the start-up took until the filled list "
               "was first painted (with --topology, until the topology window's tree was), "
               "then quit"},
    HelpOption{"-h, --help", "print this help and quit"},
    HelpOption{"--version", "print the version and quit"},
};

constexpr std::string_view kExitStatus =
    "Exit status: 0 when the window is closed; 1 on a bad argument, a --source that cannot be "
    "opened, a --domain it does not have, or no display.";
}  // namespace

const char* AppUsage() { return kUsage; }

std::string_view AppDescription() { return kDescription; }
std::span<const HelpOption> AppOptionsHelp() { return kHelpOptions; }

const char* AppHelp() {
  static const std::string help =
      "Usage: kelvox [--source X] [--domain N] [--ids X] [--topology]\n"
      "              [--measure-startup]\n"
      "  or:  kelvox --help | --version\n\n" +
      WrappedText(kDescription, 0) + "\nOptions:\n" + OptionsText(kHelpOptions) + "\n" +
      WrappedText(kExitStatus, 0);
  return help.c_str();
}

std::optional<std::string> IdsToUse(const AppOptions& options) {
  if (options.ids) return options.ids;
  const char* variable = std::getenv("KELVOX_IDS");
  if (variable != nullptr && *variable != '\0') return std::string(variable);
  return std::nullopt;
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
  parsed.options.topology = options.Has("--topology");
  parsed.options.source = options.Text("--source");
  parsed.options.ids = options.Text("--ids");
  if (const std::optional<std::string> text = options.Text("--domain")) {
    const DomainNumber domain = ParseTypedDomainNumber(*text);
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
