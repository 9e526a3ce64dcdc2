#include "ui/minimised_icon.h"

#include <gtest/gtest.h>

namespace kelvox {
namespace {

// The spare room is split in two; when it is odd, the extra pixel goes to the left of the icon
// and above it.
TEST(MinimisedIconOrigin, CentresWithTheOddSparePixelToTheLeftAndAbove) {
  EXPECT_EQ(MinimisedIconOrigin({32, 32}, {32, 32}), wxPoint(0, 0));
  EXPECT_EQ(MinimisedIconOrigin({160, 28}, {32, 32}), wxPoint(64, -1));
  // Five spare columns: three left, two right; one spare row: it is above the icon.
  EXPECT_EQ(MinimisedIconOrigin({37, 33}, {32, 32}), wxPoint(3, 1));
  EXPECT_EQ(MinimisedIconOrigin({36, 16}, {16, 16}), wxPoint(10, 0));
  // Truncation toward zero where the client is smaller than the icon: (30 - 32 + 1) / 2 = 0.
  EXPECT_EQ(MinimisedIconOrigin({30, 29}, {32, 32}), wxPoint(0, -1));
}

}  // namespace
}  // namespace kelvox
