#include "iddb/generator/id_lists.h"

#include <gtest/gtest.h>

#include "iddb/generator/tsv_reader.h"

namespace kelvox::iddb_gen {
namespace {

template <typename Parse>
std::string FaultOf(Parse parse) {
  try {
    parse();
  } catch (const DataError& error) {
    return error.what();
  }
  return "";
}

TEST(IdField, TakesExactlyTheGivenNumberOfDigitsInEitherCase) {
  EXPECT_EQ(ParseIdField("00a0", 4), 0xA0u);
  EXPECT_EQ(ParseIdField("FA57", 4), 0xFA57u);
  EXPECT_EQ(ParseIdField("fF", 2), 0xFFu);
  for (const char* bad : {"", "fa5", "0fa57", "12g4", "+123", "-123", "0x12", " 123", "123 "}) {
    EXPECT_EQ(ParseIdField(bad, 4), std::nullopt) << '"' << bad << '"';
  }
  EXPECT_EQ(ParseIdField("0", 2), std::nullopt);
}

TEST(VendorList, KeepsRowsAndNames) {
  const auto vendors = ParseVendors({"vendors.tsv", "0033\t\tParadyne Corp.\nFA57\tA\\tB\tC\n"});
  ASSERT_EQ(vendors.size(), 2u);
  EXPECT_EQ(vendors[0].vendor_id, 0x0033);
  EXPECT_EQ(vendors[0].short_name, "");
  EXPECT_EQ(vendors[0].full_name, "Paradyne Corp.");
  EXPECT_EQ(vendors[1].vendor_id, 0xFA57);
  EXPECT_EQ(vendors[1].short_name, "A\tB");
}

TEST(VendorList, FaultsNameFileAndLine) {
  const auto fault = [](const char* content) {
    return FaultOf([&] { ParseVendors({"vendors.tsv", content}); });
  };
  EXPECT_EQ(fault("0001\ta\tb\n002\ta\tb\n"),
            "vendors.tsv:2: vendor ID \"002\" is not 4 hexadecimal digits");
  EXPECT_EQ(fault("0001\ta\tb\n0x02\ta\tb\n"),
            "vendors.tsv:2: vendor ID \"0x02\" is not 4 hexadecimal digits");
  EXPECT_EQ(fault("0001\ta\tb\n0002\ta\tb\n0002\tc\td\n"),
            "vendors.tsv:3: vendor ID 0002 does not rise above the previous row's 0002 "
            "(vendor IDs must be strictly ascending)");
  EXPECT_EQ(fault("0010\ta\tb\n000f\ta\tb\n"),
            "vendors.tsv:2: vendor ID 000f does not rise above the previous row's 0010 "
            "(vendor IDs must be strictly ascending)");
  EXPECT_EQ(fault("0001\ta\tb\nffff\ta\tb\n"),
            "vendors.tsv:2: vendor ID ffff is reserved: it reads as no device");
  EXPECT_EQ(fault("0001\ta\n"), "vendors.tsv:1: expected 3 tab-separated fields, found 2");
}

TEST(DeviceList, KeepsStoredOrderAndDuplicates) {
  const auto vendors = ParseVendors({"vendors.tsv", "10de\tnVidia\tnVidia Corporation\n"});
  const auto devices = ParseDevices(
      {"devices.tsv", "10de\t0110\tNV11\tGeForce2 MX\n10de\t0100\t\t\n10DE\t0110\tnv11\tgf\n"},
      vendors);
  ASSERT_EQ(devices.size(), 3u);
  EXPECT_EQ(devices[0].chip_name, "NV11");
  EXPECT_EQ(devices[1].device_id, 0x0100);
  EXPECT_EQ(devices[2].vendor_id, 0x10DE);
  EXPECT_EQ(devices[2].chip_name, "nv11");
}

TEST(DeviceList, FaultsNameFileAndLine) {
  const auto vendors = ParseVendors({"vendors.tsv", "0010\ta\tb\n0030\tc\td\n"});
  const auto fault = [&](const char* content) {
    return FaultOf([&] { ParseDevices({"devices.tsv", content}, vendors); });
  };
  EXPECT_EQ(fault("0030\t0001\t\t\n0020\t0001\t\t\n"),
            "devices.tsv:2: vendor ID 0020 is not in the vendor list");
  EXPECT_EQ(fault("0040\t0001\t\t\n"), "devices.tsv:1: vendor ID 0040 is not in the vendor list");
  EXPECT_EQ(fault("0010\t12G4\t\t\n"),
            "devices.tsv:1: device ID \"12G4\" is not 4 hexadecimal digits");
  EXPECT_EQ(fault("0010\t0001\tchip\n"), "devices.tsv:1: expected 4 tab-separated fields, found 3");
}

TEST(ClassList, TwoDigitCodesInEitherCase) {
  const auto classes = ParseClasses({"classes.tsv", "FF\t00\t0a\tUnknown\tDevice\tUDF\n"});
  ASSERT_EQ(classes.size(), 1u);
  EXPECT_EQ(classes[0].base, 0xFF);
  EXPECT_EQ(classes[0].prog_if, 0x0A);
  EXPECT_EQ(classes[0].prog_if_name, "UDF");
  EXPECT_EQ(FaultOf([] {
              ParseClasses({"classes.tsv", "01\t005\t00\ta\tb\t\n"});
            }),
            "classes.tsv:1: sub-class \"005\" is not 2 hexadecimal digits");
}

}  // namespace
}  // namespace kelvox::iddb_gen
