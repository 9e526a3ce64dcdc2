#include "details/vendor_page.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvox {
namespace {

std::string TextOf(const VendorPage& page, int id) {
  const DetailsField* field = FindField(page, id);
  return field ? field->text : "<missing>";
}

TEST(VendorPageFields, KnownVendorDeviceAndClass) {
  // Intel 82440LX/EX, a host bridge.
  const VendorPage page = VendorPageFields(0x12378086u, 0x06000002u);
  EXPECT_EQ(TextOf(page, kVendorIdControl), "8086");
  EXPECT_EQ(TextOf(page, kVendorShortNameControl), "Intel");
  EXPECT_EQ(TextOf(page, kVendorFullNameControl), "Intel Corporation");
  EXPECT_EQ(TextOf(page, kDeviceIdControl), "1237");
  EXPECT_EQ(TextOf(page, kChipNameControl), "82440LX/EX");
  EXPECT_EQ(TextOf(page, kDeviceDescriptionControl), "PCI & Memory Controller (PMC)");
  EXPECT_EQ(TextOf(page, kClassCodeControl), "060000");
  EXPECT_EQ(TextOf(page, kBaseClassNameControl), "Bridge Device");
  EXPECT_EQ(TextOf(page, kSubClassNameControl), "Host/PCI");
  EXPECT_EQ(TextOf(page, kProgIfNameControl), "");
}

TEST(VendorPageFields, UnknownNamesStayEmptyWhileIdsShow) {
  // 0x1AF4 is not in the tables; a known vendor with an unknown device keeps its own names.
  const VendorPage unknown = VendorPageFields(0x10001AF4u, 0x0C033000u);
  EXPECT_EQ(TextOf(unknown, kVendorIdControl), "1af4");
  EXPECT_EQ(TextOf(unknown, kDeviceIdControl), "1000");
  for (int id : {kVendorShortNameControl, kVendorFullNameControl, kChipNameControl,
                 kDeviceDescriptionControl}) {
    EXPECT_EQ(TextOf(unknown, id), "") << id;
  }
  EXPECT_EQ(TextOf(unknown, kClassCodeControl), "0c0330");
  EXPECT_EQ(TextOf(unknown, kBaseClassNameControl), "Serial Bus Controller");
  EXPECT_EQ(TextOf(unknown, kSubClassNameControl), "USB (Universal Serial Bus)");

  const VendorPage no_device = VendorPageFields(0x0ABC8086u, 0);
  EXPECT_EQ(TextOf(no_device, kVendorShortNameControl), "Intel");
  EXPECT_EQ(TextOf(no_device, kChipNameControl), "");
  EXPECT_EQ(TextOf(no_device, kDeviceDescriptionControl), "");
  EXPECT_EQ(TextOf(no_device, kClassCodeControl), "000000");
}

TEST(VendorPageFields, ClassCodeComesFromTheTopThreeBytes) {
  // The revision byte (bits 7:0) takes no part: 07/01/00 names the first of its two rows.
  const VendorPage page = VendorPageFields(0, 0x070100FFu);
  EXPECT_EQ(TextOf(page, kClassCodeControl), "070100");
  EXPECT_EQ(TextOf(page, kProgIfNameControl), "Standard");
}

}  // namespace
}  // namespace kelvox
