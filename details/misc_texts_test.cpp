#include "details/misc_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvox {
namespace {

std::string TextOf(const MiscPage& page, int id) {
  const DetailsField* field = FindField(page, id);
  return field ? field->text : "<missing>";
}

TEST(MiscPageFields, InterruptAndTimingBytesInTheirPositions) {
  const MiscPage page = MiscPageFields(0x80004008u, 0x2A01010Bu, 0, 0x12341AF4u);
  EXPECT_EQ(TextOf(page, kInterruptLineControl), "11");
  EXPECT_EQ(TextOf(page, kInterruptPinControl), "1");
  EXPECT_EQ(TextOf(page, kMinGrantControl), "1");
  EXPECT_EQ(TextOf(page, kMaxLatencyControl), "42");
  EXPECT_EQ(TextOf(page, kBistControl), "80H");
  EXPECT_EQ(TextOf(page, kLatencyTimerControl), "64");
  EXPECT_EQ(TextOf(page, kCacheLineSizeControl), "8");
  EXPECT_EQ(TextOf(page, kSubsystemVendorIdControl), "1af4");
  EXPECT_EQ(TextOf(page, kSubsystemIdControl), "1234");
  EXPECT_EQ(TextOf(page, kCardbusCisControl), "00000000");
}

TEST(MiscPageFields, BytesAreUnsignedAndHexIsPaddedLowerCase) {
  const MiscPage page = MiscPageFields(0x0580FF00u, 0xFE90C880u, 0x00000A0Fu, 0x000B00C0u);
  EXPECT_EQ(TextOf(page, kInterruptLineControl), "128");
  EXPECT_EQ(TextOf(page, kInterruptPinControl), "200");
  EXPECT_EQ(TextOf(page, kMinGrantControl), "144");
  EXPECT_EQ(TextOf(page, kMaxLatencyControl), "254");
  EXPECT_EQ(TextOf(page, kBistControl), "05H");
  EXPECT_EQ(TextOf(page, kLatencyTimerControl), "255");
  EXPECT_EQ(TextOf(page, kCacheLineSizeControl), "0");
  EXPECT_EQ(TextOf(page, kCardbusCisControl), "00000a0f");
  EXPECT_EQ(TextOf(page, kSubsystemVendorIdControl), "00c0");
  EXPECT_EQ(TextOf(page, kSubsystemIdControl), "000b");
}

}  // namespace
}  // namespace kelvox
