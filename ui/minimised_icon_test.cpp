#include "ui/minimised_icon.h"

#include <gtest/gtest.h>

namespace kelvox {
namespace {

TEST(MinimisedIconOrigin, CentresWithTheOddPixelToTheRightAndBelow) {
  EXPECT_EQ(MinimisedIconOrigin({32, 32}, {32, 32}), wxPoint(0, 0));
  EXPECT_EQ(MinimisedIconOrigin({160, 28}, {32, 32}), wxPoint(64, -1));
  // An odd spare pixel goes to the left and top side: (37 - 32 + 1) / 2 = 3.
  EXPECT_EQ(MinimisedIconOrigin({37, 33}, {32, 32}), wxPoint(3, 1));
  EXPECT_EQ(MinimisedIconOrigin({36, 16}, {16, 16}), wxPoint(10, 0));
  // Truncation toward zero where the client is smaller than the icon: (30 - 32 + 1) / 2 = 0.
  EXPECT_EQ(MinimisedIconOrigin({30, 29}, {32, 32}), wxPoint(0, -1));
}

}  // namespace
}  // namespace kelvox
