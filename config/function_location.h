// Where a PCI function sits: bus, device, function.
#pragma once

#include <string>

namespace kelvox {

struct FunctionLocation {
  int bus = 0;
  int device = 0;
  int function = 0;
  auto operator<=>(const FunctionLocation&) const = default;
};

// Each number masked to its field width, as the configuration address masks them (bus 8 bits,
// device 5, function 3).
constexpr FunctionLocation MaskedLocation(int bus, int device, int function) {
  return {bus & 0xFF, device & 0x1F, function & 0x7};
}

// "BB:DD.F" in lower-case hex, as lspci writes an address of domain 0000.
std::string LocationText(FunctionLocation at);

}  // namespace kelvox
