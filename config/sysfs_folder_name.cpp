#include "config/sysfs_folder_name.h"

#include <cstdio>

#include "text/hex_digit.h"

namespace kelvox {

namespace {

// The value of the hex digits of `text`, or -1 when one is not a hex digit.
int HexField(std::string_view text) {
  int value = 0;
  for (char c : text) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return -1;
    value = value << 4 | digit;
  }
  return value;
}

}  // namespace

std::string SysfsFolderName(FunctionLocation at) {
  char name[16];
  std::snprintf(name, sizeof name, "0000:%02x:%02x.%x", at.bus & 0xFF, at.device & 0x1F,
                at.function & 0x7);
  return name;
}

std::optional<FunctionLocation> ParseSysfsFolderName(std::string_view name) {
  if (name.size() != 12 || name[4] != ':' || name[7] != ':' || name[10] != '.') {
    return std::nullopt;
  }
  const int domain = HexField(name.substr(0, 4));
  const int bus = HexField(name.substr(5, 2));
  const int device = HexField(name.substr(8, 2));
  const int function = HexField(name.substr(11, 1));
  if (domain != 0 || bus < 0 || device < 0 || device > 31 || function < 0 || function > 7) {
    return std::nullopt;
  }
  return FunctionLocation{bus, device, function};
}

}  // namespace kelvox
