#include "iddb/parse_hex.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace kelvox {

std::int32_t ParseHex(const char* text, int count) {
  if (count <= 0) return 0;
  if (text == nullptr) return -1;
  // A NUL before `count` bytes is not a digit, and nothing after it is read.
  const std::string_view digits(text, strnlen(text, static_cast<size_t>(count)));
  if (digits.size() < static_cast<size_t>(count)) return -1;
  // Digits past the last eight would be shifted out of 32 bits: they only need to be digits.
  const size_t kept = std::min<size_t>(digits.size(), 8);
  const std::string_view dropped = digits.substr(0, digits.size() - kept);
  if (!std::all_of(dropped.begin(), dropped.end(), [](char c) { return HexDigitValue(c) >= 0; }))
    return -1;
  const std::optional<std::uint32_t> value = HexNumber(digits.substr(digits.size() - kept));
  return value ? static_cast<std::int32_t>(*value) : -1;
}

}  // namespace kelvox
