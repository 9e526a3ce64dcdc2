#include "ui/app_options.h"

namespace kelvox {

const char* AppUsage() { return "usage: kelvox [--source FILE|sysfs|port] [--measure-startup]"; }

ParsedAppOptions ParseAppOptions(const std::vector<std::string>& args) {
  ParsedAppOptions parsed;
  const std::string source_flag = "--source";
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--measure-startup") {
      parsed.options.measure_startup = true;
    } else if (arg == source_flag || arg.starts_with(source_flag + "=")) {
      std::string value;
      if (arg == source_flag) {
        if (i + 1 == args.size()) {
          parsed.error = "kelvox: --source needs FILE, sysfs or port";
          return parsed;
        }
        value = args[++i];
      } else {
        value = arg.substr(source_flag.size() + 1);
      }
      if (value.empty()) {
        parsed.error = "kelvox: --source needs FILE, sysfs or port";
        return parsed;
      }
      parsed.options.source = value;
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
