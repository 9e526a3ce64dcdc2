#include "ui/app_options.h"

#include "config/domain_number.h"

namespace kelvox {

const char* AppUsage() {
  return "usage: kelvox [--source FILE|sysfs|port] [--domain N] [--ids embedded|system|FILE] "
         "[--measure-startup]";
}

const char* AppHelp() {
  return "Usage: kelvox [--source FILE|sysfs|port] [--domain N] [--ids embedded|system|FILE]\n"
         "  or:  kelvox --help | --version\n"
         "\n"
         "Shows the PCI bus of this machine in a window: the 32 device numbers of one bus\n"
         "and function with their configuration registers and a Japanese comment naming\n"
         "the class, a details sheet that decodes one device's configuration header, and\n"
         "a search window that names vendor IDs, device IDs and class codes.\n"
         "\n"
         "Options:\n"
         "  --source S         read the bus from S: sysfs, port, cfgmgr (Windows' device\n"
         "                     manager), or a file written by 'kelvox-cli capture'\n"
         "                     (default: the machine's own access method)\n"
         "  --domain N         open on PCI domain N, in hex as lspci writes it (default\n"
         "                     0000, or the lowest domain where there is none); with\n"
         "                     several domains the context menu switches between them\n"
         "  --ids L            name devices from L: embedded (the list built in, the\n"
         "                     default), system (the distribution's pci.ids) or a pci.ids\n"
         "                     file\n"
         "  --measure-startup  print how long the start-up took until the list was filled\n"
         "                     and the window shown, then quit\n"
         "  -h, --help         print this help and quit\n"
         "  --version          print the version and quit\n"
         "\n"
         "Exit status: 0 when the window is closed; 1 on a bad argument, a --source that\n"
         "cannot be opened, a --domain it does not have, or no display. Without a display (DISPLAY "
         "or WAYLAND_DISPLAY)\n"
         "kelvox says so in one line; kelvox-cli shows the same things in a terminal.\n";
}

namespace {

// The value of option `flag` at args[i] ("--flag=X", or "--flag X", which takes the next
// word); false, with `error` set, when it has none or an empty one.
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, const std::string& flag,
               const char* what, std::optional<std::string>& value, std::string& error) {
  const std::string& arg = args[i];
  std::string text;
  if (arg == flag) {
    if (i + 1 == args.size()) {
      error = "kelvox: " + flag + " needs " + what;
      return false;
    }
    text = args[++i];
  } else {
    text = arg.substr(flag.size() + 1);
  }
  if (text.empty()) {
    error = "kelvox: " + flag + " needs " + what;
    return false;
  }
  value = text;
  return true;
}

bool IsOption(const std::string& arg, const std::string& flag) {
  return arg == flag || arg.starts_with(flag + "=");
}

}  // namespace

ParsedAppOptions ParseAppOptions(const std::vector<std::string>& args) {
  ParsedAppOptions parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--measure-startup") {
      parsed.options.measure_startup = true;
    } else if (arg == "--help" || arg == "-h") {
      parsed.options.help = true;
    } else if (arg == "--version") {
      parsed.options.version = true;
    } else if (IsOption(arg, "--source")) {
      if (!TakeValue(args, i, "--source", "FILE, sysfs or port", parsed.options.source,
                     parsed.error)) {
        return parsed;
      }
    } else if (IsOption(arg, "--domain")) {
      std::optional<std::string> text;
      if (!TakeValue(args, i, "--domain", "a hex domain number", text, parsed.error)) {
        return parsed;
      }
      const DomainNumber domain = ParseDomainNumber(*text);
      if (!domain.value) {
        parsed.error = "kelvox: --domain: " + domain.error;
        return parsed;
      }
      parsed.options.domain = domain.value;
    } else if (IsOption(arg, "--ids")) {
      if (!TakeValue(args, i, "--ids", "embedded, system or FILE", parsed.options.ids,
                     parsed.error)) {
        return parsed;
      }
    } else {
      parsed.error = "kelvox: unknown argument '" + arg + "'; " + AppUsage();
      return parsed;
    }
  }
  return parsed;
}

ParsedAppOptions ParseAppOptions(int argc, const char* const* argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return ParseAppOptions(args);
}

}  // namespace kelvox
