// One hexadecimal digit, read from a byte: the rule every reader of hexadecimal text shares
// (typed IDs, captured dumps, sysfs folder names).
#pragma once

namespace kelvox {

// 0-9 for '0'-'9', 10-15 for 'A'-'F' and 'a'-'f'; -1 for any other byte (every byte of 0x80
// and above among them, so a multi-byte character is never taken for a digit).
constexpr int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace kelvox
