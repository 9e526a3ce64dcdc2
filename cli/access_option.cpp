#include "cli/access_option.h"

namespace kelvox::cli {

OpenedAccess OpenSourceAccess(const std::optional<std::string>& source) {
  if (!source) return {MakeDefaultAccess(), {}};
  return OpenAccess(*source);
}

}  // namespace kelvox::cli
