// One hexadecimal digit, read from a byte: the rule every reader of hexadecimal text shares
// (typed IDs, captured dumps, sysfs folder names).
#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace kelvox {

// 0-9 for '0'-'9', 10-15 for 'A'-'F' and 'a'-'f'; -1 for any other byte (every byte of 0x80
// and above among them, so a multi-byte character is never taken for a digit).
constexpr int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The value of `text` when it is 1 to 8 hexadecimal digits in either case and nothing else: no
// sign, no blanks, no "0x". Nothing for anything else.
inline std::optional<uint32_t> HexNumber(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  uint32_t value = 0;
  const char* end = text.data() + text.size();
  // from_chars takes no sign and no "0x" for an unsigned type, so only digits pass.
  const auto [stop, error] = std::from_chars(text.data(), end, value, 16);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

// `value` in lower-case hex, zero-padded to `width` digits (more when it needs them), as printf's
// "%0*x" writes it, without printf's cost in loops that format every row.
inline std::string HexText(uint32_t value, int width) {
  char digits[8];
  int count = 0;
  do {
    digits[count++] = "0123456789abcdef"[value & 0xF];
    value >>= 4;
  } while (value != 0);
  std::string text(width > count ? static_cast<size_t>(width - count) : 0, '0');
  while (count > 0) text += digits[--count];
  return text;
}

}  // namespace kelvox
