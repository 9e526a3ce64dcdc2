// Tables generated from testdata/, whose names hold every kind of byte the generator must
// escape, compiled by the real compiler: each name must come back byte for byte.
#include <gtest/gtest.h>

#include "iddb/tables.h"

namespace kelvox {
namespace {

using namespace std::string_view_literals;

TEST(GeneratedSource, QuotesBackslashesAndTrigraphLookalikesSurvive) {
  const auto vendors = VendorTable();
  ASSERT_EQ(vendors.size(), 3u);
  EXPECT_EQ(vendors[0].vendor_id, 0x0001);
  EXPECT_EQ(vendors[0].short_name, "Quote\"d");
  EXPECT_EQ(vendors[0].full_name, "Back\\slash and trigraphs ?\?- ?\?/ ?\?= ?\?( end?");
  EXPECT_EQ(vendors[1].short_name, "Tab\there");
  EXPECT_EQ(vendors[1].full_name, "New\nline and a final backslash \\");
}

TEST(GeneratedSource, NonAsciiBytesFollowedByDigitsAndHexLettersSurvive) {
  const auto vendors = VendorTable();
  ASSERT_EQ(vendors.size(), 3u);
  EXPECT_EQ(vendors[2].vendor_id, 0x00AB);
  EXPECT_EQ(vendors[2].reserved, 0);
  EXPECT_EQ(vendors[2].short_name, "");
  EXPECT_EQ(vendors[2].full_name, "é1 µ0 éab Гнев ™");
  EXPECT_EQ(vendors[2].full_name.data()[vendors[2].full_name.size()], '\0');
}

TEST(GeneratedSource, DevicesAndClassesKeepOrderDuplicatesAndEmptyNames) {
  const auto devices = DeviceTable();
  ASSERT_EQ(devices.size(), 3u);
  EXPECT_EQ(devices[0].device_id, 0xFFFF);
  EXPECT_EQ(devices[0].chip_name, "\"");
  EXPECT_EQ(devices[0].description, "");
  EXPECT_EQ(devices[1].description, "\\n is not a newline");
  EXPECT_EQ(devices[2].vendor_id, 0x0001);
  EXPECT_EQ(devices[2].device_id, 0xFFFF);
  EXPECT_EQ(devices[2].chip_name, "second");

  const auto classes = ClassTable();
  ASSERT_EQ(classes.size(), 2u);
  EXPECT_EQ(classes[0].base, 0xFF);
  EXPECT_EQ(classes[0].sub, 0xFF);
  EXPECT_EQ(classes[0].prog_if, 0x0A);
  EXPECT_EQ(classes[0].reserved, 0);
  EXPECT_EQ(classes[0].sub_name, "");
  EXPECT_EQ(classes[1].prog_if_name, "?\?\?");
}

}  // namespace
}  // namespace kelvox
