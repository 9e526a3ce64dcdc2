#include "iddb/parse_hex.h"

#include <cstdint>
#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "text/cp932.h"

namespace kelvox {
namespace {

TEST(HexDigitValue, AllTwentyTwoDigitsAndNothingElse) {
  const char* digits = "0123456789abcdefABCDEF";
  const int values[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                        11, 12, 13, 14, 15, 10, 11, 12, 13, 14, 15};
  for (int i = 0; i < 22; ++i) EXPECT_EQ(HexDigitValue(digits[i]), values[i]) << digits[i];
  int accepted = 0;
  for (int byte = 0; byte < 256; ++byte) {
    if (HexDigitValue(static_cast<char>(byte)) >= 0) ++accepted;
  }
  EXPECT_EQ(accepted, 22);
}

TEST(ParseHex, ReadsBigEndianDigitsInEitherCase) {
  EXPECT_EQ(ParseHex("00a0", 4), 0xA0);
  EXPECT_EQ(ParseHex("00A0", 4), 0xA0);
  EXPECT_EQ(ParseHex("010601", 6), 0x10601);
  EXPECT_EQ(ParseHex("10De", 4), 0x10DE);
  EXPECT_EQ(ParseHex("fa57", 4), 0xFA57);
  EXPECT_EQ(ParseHex("FFFF", 4), 0xFFFF);
  // Only `count` characters are read.
  EXPECT_EQ(ParseHex("12345678", 2), 0x12);
  EXPECT_EQ(ParseHex("12zz", 2), 0x12);
}

TEST(ParseHex, EightDigitsFillAllThirtyTwoBitsAndWrapIntoTheSignBit) {
  EXPECT_EQ(ParseHex("7fffffff", 8), 2147483647);
  EXPECT_EQ(ParseHex("80000000", 8), INT32_MIN);
  EXPECT_EQ(ParseHex("ffffffff", 8), -1);
  EXPECT_EQ(ParseHex("FFFFFFFE", 8), -2);
  EXPECT_EQ(ParseHex("12345678", 8), 305419896);
  // Mixed case, with the top digit in the sign bit or not.
  EXPECT_EQ(ParseHex("DeadBeef", 8), -559038737);
  EXPECT_EQ(ParseHex("7FfFfFfF", 8), 2147483647);
  EXPECT_EQ(ParseHex("8000000a", 8), INT32_MIN + 10);
  EXPECT_EQ(ParseHex("aBcDeF01", 8), -1412567295);
  // A bad eighth digit still fails the whole field.
  EXPECT_EQ(ParseHex("1234567g", 8), -1);
}

TEST(ParseHex, AnyNonDigitGivesMinusOne) {
  EXPECT_EQ(ParseHex("12G4", 4), -1);
  EXPECT_EQ(ParseHex("zz", 2), -1);
  EXPECT_EQ(ParseHex("0x10", 4), -1);
  EXPECT_EQ(ParseHex(" 10D", 4), -1);
  EXPECT_EQ(ParseHex("-1", 2), -1);
}

TEST(ParseHex, NonPositiveCountGivesZero) {
  EXPECT_EQ(ParseHex("zz", 0), 0);
  EXPECT_EQ(ParseHex("12", -3), 0);
  EXPECT_EQ(ParseHex(nullptr, 0), 0);
  EXPECT_EQ(ParseHex(nullptr, 4), -1);
}

TEST(ParseHex, BytesOfMultiByteCharactersAreNeverDigits) {
  // Full-width "１０ＤＥ" as the CP932 bytes the search window parses: 8 bytes, all >= 0x80
  // at lead position; as 4 characters it must fail, never read as 0x10DE.
  const std::optional<std::string> full_width = Utf8ToCp932("１０ＤＥ");
  ASSERT_TRUE(full_width.has_value());
  ASSERT_EQ(full_width->size(), 8u);
  EXPECT_EQ(ParseHex(full_width->c_str(), 4), -1);
  EXPECT_EQ(ParseHex(full_width->c_str(), 8), -1);
  // A trail byte can be a hexadecimal letter ("ア" is 83 41): the lead byte still fails.
  const std::string katakana = "1" + Utf8ToCp932("ア").value_or("") + "0";
  ASSERT_EQ(katakana,
            "1\x83"
            "A0");
  EXPECT_EQ(ParseHex(katakana.c_str(), 4), -1);
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    const char text[] = {static_cast<char>(byte), '\0'};
    EXPECT_EQ(ParseHex(text, 1), -1) << byte;
  }
}

TEST(ParseHex, StopsAtTheEndOfAShortText) {
  // Exactly two bytes allocated, count 4: the terminating NUL fails the parse before any byte
  // past the allocation is read (AddressSanitizer builds would catch an overrun).
  const auto text = std::make_unique<char[]>(2);
  std::memcpy(text.get(), "1", 2);
  EXPECT_EQ(ParseHex(text.get(), 4), -1);
}

}  // namespace
}  // namespace kelvox
