#include "ui/number_field.h"

#include <gtest/gtest.h>

namespace kelvox {
namespace {

TEST(ParseFieldInteger, TakesDecimalIntegersWithSignAndSurroundingBlanks) {
  EXPECT_EQ(ParseFieldInteger("0"), 0);
  EXPECT_EQ(ParseFieldInteger("255"), 255);
  EXPECT_EQ(ParseFieldInteger("  17\t"), 17);
  EXPECT_EQ(ParseFieldInteger("-3"), -3);
  EXPECT_EQ(ParseFieldInteger("+7"), 7);
  EXPECT_EQ(ParseFieldInteger("007"), 7);
  EXPECT_EQ(ParseFieldInteger("2147483647"), INT32_MAX);
  EXPECT_EQ(ParseFieldInteger("-2147483648"), INT32_MIN);
}

TEST(ParseFieldInteger, RejectsWhatIsNotAnInteger) {
  for (const char* text : {"", " ", "abc", "12a", "1 2", "0x10", "+", "-", "1.5", "２５５",
                           "2147483648", "-2147483649", "99999999999999999999"}) {
    EXPECT_FALSE(ParseFieldInteger(text).has_value()) << text;
  }
}

TEST(RangeMessage, FillsTheBoundsIntoTheMessage) {
  EXPECT_EQ(RangeMessage({0, 255}), "0 から 255 までの整数を入力してください。");
  EXPECT_EQ(RangeMessage({0, 7}), "0 から 7 までの整数を入力してください。");
}

TEST(StepFieldNumber, StepsTheFieldsValueAndStopsAtTheEnds) {
  const IntRange bus{0, 255};
  EXPECT_EQ(StepFieldNumber(10, 0, +1, bus), 11);
  EXPECT_EQ(StepFieldNumber(10, 0, -1, bus), 9);
  EXPECT_EQ(StepFieldNumber(255, 255, +1, bus), 255);
  EXPECT_EQ(StepFieldNumber(0, 0, -1, bus), 0);
}

TEST(StepFieldNumber, StartsFromTheHeldPositionWhenTheFieldIsNotAValidNumber) {
  const IntRange function{0, 7};
  EXPECT_EQ(StepFieldNumber(std::nullopt, 3, +1, function), 4);
  EXPECT_EQ(StepFieldNumber(300, 5, -1, function), 4);
  EXPECT_EQ(StepFieldNumber(-1, 0, -1, function), 0);
}

}  // namespace
}  // namespace kelvox
