#include "cli/access_option.h"

#include "cli/command.h"

namespace kelvox::cli {

OpenedAccess OpenSourceAccess(const std::optional<std::string>& source) {
#ifdef _WIN32
  // The default there, opened by name so that a failed enumeration is reported.
  if (!source) return OpenAccess("cfgmgr");
#endif
  if (!source) return {MakeDefaultAccess(), {}};
  return OpenAccess(*source);
}

void WarnReadProblem(std::string_view command, const ConfigAccess& access, std::ostream& err) {
  if (const std::string problem = access.ReadProblem(); !problem.empty()) {
    Warn(err, std::string(command) + ": warning: " + problem);
  }
}

std::string OpenFailure(std::string_view command, const std::optional<std::string>& source,
                        const OpenedAccess& opened) {
  return std::string(command) + (source ? ": --source: " : ": ") + opened.error;
}

}  // namespace kelvox::cli
