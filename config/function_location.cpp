#include "config/function_location.h"

#include "text/hex_digit.h"

namespace kelvox {

std::string LocationText(FunctionLocation at) {
  return HexText(static_cast<uint32_t>(at.bus & 0xFF), 2) + ":" +
         HexText(static_cast<uint32_t>(at.device & 0x1F), 2) + "." +
         HexText(static_cast<uint32_t>(at.function & 0x7), 1);
}

std::string DomainText(int domain) { return HexText(static_cast<uint32_t>(domain), 4); }

std::string DomainLocationText(FunctionLocation at) {
  return DomainText(at.domain) + ":" + LocationText(at);
}

std::string AddressText(FunctionLocation at) {
  return at.domain == 0 ? LocationText(at) : DomainLocationText(at);
}

}  // namespace kelvox
