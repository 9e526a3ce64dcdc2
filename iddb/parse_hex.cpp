#include "iddb/parse_hex.h"

namespace kelvox {

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
