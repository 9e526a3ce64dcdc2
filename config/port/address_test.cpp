#include "config/port/address.h"

#include <gtest/gtest.h>

namespace kelvox {
namespace {

TEST(ConfigAddress, PlacesEachFieldWithTheEnableBit) {
  EXPECT_EQ(ConfigAddress(0, 0, 0, 0), 0x80000000u);
  EXPECT_EQ(ConfigAddress(0xFF, 31, 7, 0xFC), 0x80FFFFFCu);
  EXPECT_EQ(ConfigAddress(0x12, 0x0A, 5, 0x3C), 0x8012553Cu);
}

TEST(ConfigAddress, MasksEachArgumentToItsField) {
  EXPECT_EQ(ConfigAddress(0, 32, 0, 0), ConfigAddress(0, 0, 0, 0));       // device 32 -> 0
  EXPECT_EQ(ConfigAddress(0, 0, 8, 0), ConfigAddress(0, 0, 0, 0));        // function 8 -> 0
  EXPECT_EQ(ConfigAddress(0, 0, 0, 0x3F), ConfigAddress(0, 0, 0, 0x3C));  // dword at 0x3C
  EXPECT_EQ(ConfigAddress(0x100, 0, 0, 0), 0x80000000u);                  // bus 256 -> 0
  EXPECT_EQ(ConfigAddress(0, 0, 0, 0x101), 0x80000000u);  // no bits past the register
  EXPECT_EQ(ConfigAddress(-1, -1, -1, -1), 0x80FFFFFCu);
}

}  // namespace
}  // namespace kelvox
