// One hexadecimal digit, read from a byte: the rule every reader of hexadecimal text shares
// (typed IDs, captured dumps, sysfs folder names).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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
  // Eight digits at most, so the value always fits. A loop over HexDigitValue rather than
  // std::from_chars: the pci.ids reader reads some 70,000 IDs at start-up, and this is a
  // quarter of from_chars' cost there.
  uint32_t value = 0;
  for (const char c : text) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  return value;
}

// `value` in lower-case hex, zero-padded to `width` digits (more when it needs them), as printf's
// "%0*x" writes it, without printf's cost in loops that format every row.
inline std::string HexText(uint32_t value, int width) {
  int count = 1;
  for (uint32_t rest = value >> 4; rest != 0; rest >>= 4) ++count;
  const int size = width > count ? width : count;
  std::string text(static_cast<size_t>(size), '0');
  for (int at = size - 1; value != 0; --at, value >>= 4) {
    text[static_cast<size_t>(at)] = "0123456789abcdef"[value & 0xF];
  }
  return text;
}

}  // namespace kelvox
