#include "cli/domain_option.h"

#include "config/domain_number.h"

namespace kelvox::cli {

std::string UseDomainOption(const ParsedOptions& options, ConfigAccess& access) {
  const std::optional<std::string> text = options.Text("--domain");
  std::optional<int> asked;
  if (text) {
    const DomainNumber domain = ParseDomainNumber(*text);
    if (!domain.value) return "--domain: " + domain.error;
    asked = domain.value;
  }
  const std::string error = ChooseDomain(access, asked);
  return error.empty() ? "" : "--domain: " + error;
}

}  // namespace kelvox::cli
