#include "cli/domain_option.h"

#include "config/domain_number.h"

namespace kelvox::cli {

std::string UseDomainOption(const ParsedOptions& options, ConfigAccess& access,
                            std::optional<int> from_address) {
  const std::optional<std::string> text = options.Text("--domain");
  std::optional<int> asked = from_address;
  if (text) {
    const DomainNumber domain = ParseTypedDomainNumber(*text);
    if (!domain.value) return "--domain: " + domain.error;
    if (from_address && *from_address != *domain.value) {
      return "--domain: " + DomainText(*domain.value) + " is not the domain of the address (" +
             DomainText(*from_address) + ")";
    }
    asked = domain.value;
  }
  const std::string error = ChooseDomain(access, asked);
  if (error.empty()) return {};
  return text ? "--domain: " + error : error;
}

}  // namespace kelvox::cli
