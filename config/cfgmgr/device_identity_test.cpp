#include "config/cfgmgr/device_identity.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvox {
namespace {

using namespace std::string_literals;

DeviceRecord Record(std::string instance, std::string hardware, std::string compatible = "") {
  DeviceRecord r;
  r.instance_id = std::move(instance);
  r.hardware_ids = std::move(hardware);
  r.compatible_ids = std::move(compatible);
  return r;
}

DeviceIdentity Identity(const DeviceRecord& record) {
  const IdentityOrProblem found = IdentifyDevice(record);
  EXPECT_TRUE(found.identity) << found.problem;
  return found.identity.value_or(DeviceIdentity{});
}

TEST(DeviceIdentity, GathersIdsAsWindowsListsThem) {
  // Windows 7 and 8: the class IDs sit in the hardware list.
  const DeviceRecord nic = Record(
      "PCI\\VEN_8086&DEV_100E&SUBSYS_001E8086&REV_02\\3&267A616A&0&18",
      "PCI\\VEN_8086&DEV_100E&SUBSYS_001E8086&REV_02\0PCI\\VEN_8086&DEV_100E&SUBSYS_001E8086\0"
      "PCI\\VEN_8086&DEV_100E&CC_020000\0PCI\\VEN_8086&DEV_100E&CC_0200\0\0"s,
      "PCI\\VEN_8086&DEV_100E&REV_02\0PCI\\VEN_8086&DEV_100E\0PCI\\VEN_8086&CC_020000\0"
      "PCI\\VEN_8086&CC_0200\0PCI\\VEN_8086\0PCI\\CC_020000\0PCI\\CC_0200\0\0"s);
  EXPECT_EQ(Identity(nic), (DeviceIdentity{0x8086, 0x100E, 0x001E8086, 0x02, 0x020000}));

  // Windows 10: the class IDs moved to the compatible list, the short form first here.
  const DeviceRecord usb = Record(
      "PCI\\VEN_1022&DEV_149C&SUBSYS_7C561462&REV_00\\4&2D2C4B5&0&0341",
      "PCI\\VEN_1022&DEV_149C&SUBSYS_7C561462&REV_00\0PCI\\VEN_1022&DEV_149C&SUBSYS_7C561462\0\0"s,
      "PCI\\VEN_1022&DEV_149C&REV_00\0PCI\\VEN_1022&DEV_149C\0PCI\\VEN_1022&CC_0C03\0"
      "PCI\\VEN_1022&CC_0C0330\0PCI\\VEN_1022\0PCI\\CC_0C0330\0PCI\\CC_0C03\0\0"s);
  EXPECT_EQ(Identity(usb), (DeviceIdentity{0x1022, 0x149C, 0x7C561462, 0x00, 0x0C0330}));
}

TEST(DeviceIdentity, OddListsStillGiveWhatTheyHold) {
  // No compatible IDs and only the four-digit class: the interface reads 0.
  EXPECT_EQ(Identity(Record("PCI\\VEN_1AF4&DEV_1000\\1", "PCI\\VEN_1AF4&DEV_1000&CC_0200\0\0"s)),
            (DeviceIdentity{0x1AF4, 0x1000, 0, 0, 0x020000}));
  // Lower-case hexadecimal.
  EXPECT_EQ(Identity(Record("x", "PCI\\VEN_15ad&DEV_07a0&SUBSYS_07a015ad&REV_01\0\0"s,
                            "PCI\\CC_060400\0\0"s)),
            (DeviceIdentity{0x15AD, 0x07A0, 0x07A015AD, 0x01, 0x060400}));
  // Wine's display adapter: the IDs are all zero and only the instance ID names them.
  EXPECT_EQ(Identity(Record("PCI\\VEN_0000&DEV_0000&SUBSYS_00000000&REV_00\\00000000", "")),
            (DeviceIdentity{0, 0, 0, 0, 0}));
  // No hardware IDs at all: the instance ID's own part gives the IDs.
  EXPECT_EQ(Identity(Record("PCI\\VEN_10EC&DEV_8168&SUBSYS_86771043&REV_15\\01000000684CE00000", "",
                            "PCI\\CC_020000\0\0"s)),
            (DeviceIdentity{0x10EC, 0x8168, 0x86771043, 0x15, 0x020000}));
  // An ID that does not parse among good ones is passed over.
  EXPECT_EQ(
      Identity(Record("x", "PCI\\VEN_8086&DEV_29C0&WHAT_1\0PCI\\VEN_8086&DEV_29C0&REV_02\0\0"s)),
      (DeviceIdentity{0x8086, 0x29C0, 0, 0x02, 0}));
}

TEST(DeviceIdentity, NeverMixesInTheIdsOfAnotherDevice) {
  // A compatible ID naming another device's revision and class is not this device's.
  EXPECT_EQ(Identity(Record("x", "PCI\\VEN_8086&DEV_1234\0\0"s,
                            "PCI\\VEN_8086&DEV_9999&REV_07&CC_010601\0PCI\\VEN_1022&CC_030000\0"
                            "PCI\\CC_0C0330\0\0"s)),
            (DeviceIdentity{0x8086, 0x1234, 0, 0, 0x0C0330}));
}

TEST(DeviceIdentity, RefusesADeviceWhoseIdsNameNoVendorAndDevice) {
  const IdentityOrProblem junk =
      IdentifyDevice(Record("ROOT\\JUNK\\0000", "PCI\\VEN_80&DEV_1\0PCI\\CC_0300\0\0"s));
  EXPECT_FALSE(junk.identity);
  EXPECT_EQ(junk.problem, "\"PCI\\VEN_80&DEV_1\": VEN_ needs 4 hexadecimal digits, not \"80\"");

  const IdentityOrProblem vendor_only =
      IdentifyDevice(Record("", "PCI\\VEN_8086\0\0"s, "PCI\\CC_0300\0\0"s));
  EXPECT_FALSE(vendor_only.identity);
  EXPECT_EQ(vendor_only.problem, "no ID names VEN_ and DEV_");
}

}  // namespace
}  // namespace kelvox
