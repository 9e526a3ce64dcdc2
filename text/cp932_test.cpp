#include "text/cp932.h"

#include <gtest/gtest.h>

namespace kelvox {
namespace {

TEST(Cp932, ConvertsJapaneseBothWays) {
  // "バス" in CP932: katakana BA = 0x836F, SU = 0x8358.
  const auto bytes = Utf8ToCp932("バス");
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(*bytes, "\x83\x6F\x83\x58");
  EXPECT_EQ(Cp932ToUtf8(*bytes), "バス");
}

TEST(Cp932, HalfWidthKatakanaAndFullWidthFormsRoundTrip) {
  EXPECT_TRUE(RoundTripsThroughCp932("ﾍﾞﾝﾀﾞID"));
  EXPECT_TRUE(RoundTripsThroughCp932("デバイス番号０～３１を検索"));
  EXPECT_TRUE(RoundTripsThroughCp932("ＭＳ ゴシック"));
  EXPECT_EQ(Utf8ToCp932("ｱ"), "\xB1");
}

TEST(Cp932, RejectsWhatCp932CannotHold) {
  EXPECT_FALSE(Utf8ToCp932("Asanté").has_value());
  EXPECT_FALSE(Utf8ToCp932("\xFF").has_value());  // not UTF-8
  EXPECT_FALSE(RoundTripsThroughCp932("é"));
}

TEST(Cp932, LossyConversionKeepsOneNonDigitByteForEachUnmappableCharacter) {
  EXPECT_EQ(Utf8ToCp932Lossy("1é2"), "1\x80"
                                     "2");
  EXPECT_EQ(Utf8ToCp932Lossy("１０"), "\x82\x50\x82\x4F");
  EXPECT_EQ(Utf8ToCp932Lossy(""), "");
}

}  // namespace
}  // namespace kelvox
