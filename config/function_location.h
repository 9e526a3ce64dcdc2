// Where a PCI function sits: domain (segment), bus, device, function.
#pragma once

#include <compare>
#include <string>
#include <tuple>

namespace kelvox {

struct FunctionLocation {
  int bus = 0;
  int device = 0;
  int function = 0;
  // The PCI domain (segment): 0 on machines with one host bridge hierarchy; up to 16 bits on
  // most, and beyond 0xffff for Intel VMD domains. Last, so that {bus, device, function}
  // keeps meaning domain 0.
  int domain = 0;

  // Domain first, then bus, device and function: the order lspci lists functions in.
  friend auto operator<=>(const FunctionLocation& a, const FunctionLocation& b) {
    return std::tie(a.domain, a.bus, a.device, a.function) <=>
           std::tie(b.domain, b.bus, b.device, b.function);
  }
  friend bool operator==(const FunctionLocation&, const FunctionLocation&) = default;
};

// The largest domain number: domains are non-negative ints, as the kernel numbers them.
inline constexpr int kMaxDomain = 0x7FFFFFFF;

// Each number masked to its field width, as the configuration address masks them (bus 8 bits,
// device 5, function 3).
constexpr FunctionLocation MaskedLocation(int bus, int device, int function) {
  return {bus & 0xFF, device & 0x1F, function & 0x7};
}
// The same for a location, whose domain is kept.
constexpr FunctionLocation MaskedLocation(FunctionLocation at) {
  return {at.bus & 0xFF, at.device & 0x1F, at.function & 0x7, at.domain};
}

// "BB:DD.F" in lower-case hex, as lspci writes an address when every function is in domain
// 0000. The domain is left out.
std::string LocationText(FunctionLocation at);

// "DDDD:BB:DD.F": the domain in at least four lower-case hex digits, as lspci writes every
// address once a function outside domain 0000 is present.
std::string DomainLocationText(FunctionLocation at);

// The address as a message names it: "BB:DD.F" in domain 0000, "DDDD:BB:DD.F" elsewhere.
std::string AddressText(FunctionLocation at);

// "DDDD": a domain in at least four lower-case hex digits.
std::string DomainText(int domain);

}  // namespace kelvox
