#include "cli/access_option.h"

namespace kelvox::cli {

OpenedAccess OpenSourceAccess(const std::optional<std::string>& source) {
#ifdef _WIN32
  // The default there, opened by name so that a failed enumeration is reported.
  if (!source) return OpenAccess("cfgmgr");
#endif
  if (!source) return {MakeDefaultAccess(), {}};
  return OpenAccess(*source);
}

}  // namespace kelvox::cli
