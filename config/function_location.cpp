#include "config/function_location.h"

#include <cstdio>

namespace kelvox {

std::string LocationText(FunctionLocation at) {
  char text[16];
  std::snprintf(text, sizeof text, "%02x:%02x.%x", at.bus & 0xFF, at.device & 0x1F,
                at.function & 0x7);
  return text;
}

std::string DomainText(int domain) {
  char text[16];
  std::snprintf(text, sizeof text, "%04x", static_cast<unsigned>(domain));
  return text;
}

std::string DomainLocationText(FunctionLocation at) {
  return DomainText(at.domain) + ":" + LocationText(at);
}

std::string AddressText(FunctionLocation at) {
  return at.domain == 0 ? LocationText(at) : DomainLocationText(at);
}

}  // namespace kelvox
