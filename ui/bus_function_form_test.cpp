#include "ui/bus_function_form.h"

#include <gtest/gtest.h>

namespace kelvox {
namespace {

TEST(BusFunctionForm, TakesBothNumbersWhenBothAreInRange) {
  BusFunctionForm form;
  EXPECT_FALSE(form.Retrieve("255", "7").has_value());
  EXPECT_EQ(form.bus(), 255);
  EXPECT_EQ(form.function(), 7);
  EXPECT_EQ(form.BusText(), "255");
  EXPECT_EQ(form.FunctionText(), "7");
}

TEST(BusFunctionForm, ABadBusStopsTheExchangeAndKeepsBothHeldNumbers) {
  BusFunctionForm form;
  form.Set(4, 2);
  const auto failure = form.Retrieve("256", "5");
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->field, FormField::kBus);
  EXPECT_EQ(failure->message, "0 から 255 までの整数を入力してください。");
  EXPECT_EQ(form.bus(), 4);
  EXPECT_EQ(form.function(), 2);  // never read: the bus failed first
}

TEST(BusFunctionForm, ABadFunctionKeepsTheBusAlreadyTaken) {
  BusFunctionForm form;
  form.Set(4, 2);
  const auto failure = form.Retrieve("9", "8");
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->field, FormField::kFunction);
  EXPECT_EQ(failure->message, "0 から 7 までの整数を入力してください。");
  EXPECT_EQ(form.bus(), 9);
  EXPECT_EQ(form.function(), 2);
}

TEST(BusFunctionForm, TextThatIsNoIntegerGetsTheRangeMessageOfItsField) {
  for (const char* bad : {"", "x", "１", "4294967296", "-1"}) {
    BusFunctionForm form;
    const auto failure = form.Retrieve(bad, "0");
    ASSERT_TRUE(failure.has_value()) << bad;
    EXPECT_EQ(failure->message, "0 から 255 までの整数を入力してください。") << bad;
    const auto function_failure = form.Retrieve("0", bad);
    ASSERT_TRUE(function_failure.has_value()) << bad;
    EXPECT_EQ(function_failure->message, "0 から 7 までの整数を入力してください。") << bad;
  }
}

}  // namespace
}  // namespace kelvox
