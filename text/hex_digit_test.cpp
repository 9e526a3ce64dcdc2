#include "text/hex_digit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace kelvox {
namespace {

// Written as printf's "%0*x" writes it, and read back as exactly the digits it is.
TEST(HexDigits, TextIsPrintfsAndNumbersAreTheDigitsAlone) {
  for (const uint32_t value :
       {0u, 1u, 0xAu, 0xFFu, 0x100u, 0x8086u, 0xC0E3u, 0x10000u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    for (int width : {0, 1, 2, 4, 6, 8}) {
      char expected[16];
      std::snprintf(expected, sizeof expected, "%0*x", width, value);
      EXPECT_EQ(HexText(value, width), expected) << value << " " << width;
      EXPECT_EQ(HexNumber(expected), value) << expected;
    }
  }
  struct Case {
    const char* text;
    std::optional<uint32_t> value;
  };
  for (const Case& c : {Case{"C0e3", 0xC0E3}, Case{"ffffffff", 0xFFFFFFFF}, Case{"", {}},
                        Case{"123456789", {}}, Case{"0x12", {}}, Case{"-1", {}}, Case{"+1", {}},
                        Case{" 1", {}}, Case{"1 ", {}}, Case{"g", {}}}) {
    EXPECT_EQ(HexNumber(c.text), c.value) << c.text;
  }
}

}  // namespace
}  // namespace kelvox
