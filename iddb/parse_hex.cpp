#include "iddb/parse_hex.h"

namespace kelvox {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::int32_t ParseHex(const char* text, int count) {
  if (count <= 0) return 0;
  if (text == nullptr) return -1;
  // Unsigned arithmetic: digits shifted past bit 31 are dropped, never overflow.
  std::uint32_t value = 0;
  for (int i = 0; i < count; ++i) {
    const int digit = HexDigitValue(text[i]);
    if (digit < 0) return -1;
    value = (value << 4) | static_cast<std::uint32_t>(digit);
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace kelvox
