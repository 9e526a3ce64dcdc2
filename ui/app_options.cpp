#include "ui/app_options.h"

namespace kelvox {

const char* AppUsage() {
  return "usage: kelvox [--source FILE|sysfs|port] [--ids embedded|system|FILE] "
         "[--measure-startup]";
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
    } else if (IsOption(arg, "--source")) {
      if (!TakeValue(args, i, "--source", "FILE, sysfs or port", parsed.options.source,
                     parsed.error)) {
        return parsed;
      }
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
