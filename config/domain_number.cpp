#include "config/domain_number.h"

#include <algorithm>
#include <cstdint>

#include "config/function_location.h"
#include "text/hex_digit.h"

namespace kelvox {

DomainNumber ParseDomainNumber(std::string_view text) {
  const std::string quoted = "'" + std::string(text) + "'";
  if (text.empty()) return {std::nullopt, "the domain is empty: give it in hex, as in c0e3"};
  for (char c : text) {
    if (HexDigitValue(c) < 0) return {std::nullopt, "domain " + quoted + " is not a hex number"};
  }
  if (text.size() > 8) return {std::nullopt, "domain " + quoted + " has more than 8 hex digits"};
  const uint32_t value = HexNumber(text).value_or(0);
  if (value > static_cast<uint32_t>(kMaxDomain)) {
    return {std::nullopt,
            "domain " + quoted + " is out of range (at most " + DomainText(kMaxDomain) + ")"};
  }
  return {static_cast<int>(value), ""};
}

DomainNumber ParseTypedDomainNumber(std::string_view text) {
  if (text.starts_with("0x") || text.starts_with("0X")) {
    DomainNumber domain = ParseDomainNumber(text.substr(2));
    if (!domain.value) domain.error = ParseDomainNumber(text).error;
    return domain;
  }
  return ParseDomainNumber(text);
}

std::string DomainListText(const std::vector<int>& domains) {
  std::string text;
  for (int domain : domains) {
    if (!text.empty()) text += ", ";
    text += DomainText(domain);
  }
  return text;
}

int StartingDomain(const std::vector<int>& domains) {
  if (domains.empty() || std::find(domains.begin(), domains.end(), 0) != domains.end()) return 0;
  return *std::min_element(domains.begin(), domains.end());
}

std::string ChooseDomain(ConfigAccess& access, std::optional<int> asked) {
  const std::vector<int> domains = access.Domains();
  if (!asked) {
    access.SelectDomain(StartingDomain(domains));
    return "";
  }
  if (std::find(domains.begin(), domains.end(), *asked) == domains.end() ||
      !access.SelectDomain(*asked)) {
    return "there is no domain " + DomainText(*asked) + "; the domains are " +
           DomainListText(domains);
  }
  return "";
}

}  // namespace kelvox
