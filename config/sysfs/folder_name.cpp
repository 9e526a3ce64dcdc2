#include "config/sysfs/folder_name.h"

#include <cstdint>

#include "text/hex_digit.h"

namespace kelvox {

namespace {

// The value of 1 to 8 lower-case hex digits, or -1 when one is not such a digit. The kernel
// writes lower case; a name in upper case is no folder of its own, and reading it under the
// name the kernel would give finds nothing.
int64_t HexField(std::string_view text) {
  if (text.find_first_of("ABCDEF") != std::string_view::npos) return -1;
  const std::optional<uint32_t> value = HexNumber(text);
  return value ? int64_t{*value} : -1;
}

}  // namespace

std::string SysfsFolderName(FunctionLocation at) { return DomainLocationText(MaskedLocation(at)); }

std::optional<FunctionLocation> ParseSysfsFolderName(std::string_view name) {
  // "BB:DD.F" is the last 7 characters; the domain and its colon come before them.
  if (name.size() < 12 || name.size() > 16) return std::nullopt;
  const size_t domain_digits = name.size() - 8;
  const std::string_view rest = name.substr(domain_digits);
  if (rest[0] != ':' || rest[3] != ':' || rest[6] != '.') return std::nullopt;
  const int64_t domain = HexField(name.substr(0, domain_digits));
  const int64_t bus = HexField(rest.substr(1, 2));
  const int64_t device = HexField(rest.substr(4, 2));
  const int64_t function = HexField(rest.substr(7, 1));
  if (domain < 0 || domain > kMaxDomain || bus < 0 || device < 0 || device > 31 || function < 0 ||
      function > 7) {
    return std::nullopt;
  }
  return FunctionLocation{static_cast<int>(bus), static_cast<int>(device),
                          static_cast<int>(function), static_cast<int>(domain)};
}

}  // namespace kelvox
