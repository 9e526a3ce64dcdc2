#include "config/cfgmgr/placement.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace kelvox {
namespace {

using namespace std::string_literals;

DeviceRecord Device(std::string instance, std::string hardware, std::optional<uint32_t> bus,
                    std::optional<uint32_t> address) {
  DeviceRecord r;
  r.instance_id = std::move(instance);
  r.hardware_ids = std::move(hardware);
  r.bus_number = bus;
  r.address = address;
  return r;
}

// "name reg00 reg08 reg2c" for each, in hex.
std::vector<std::string> Texts(const std::vector<UnplacedFunction>& unplaced) {
  std::vector<std::string> texts;
  for (const UnplacedFunction& u : unplaced) {
    char regs[40];
    std::snprintf(regs, sizeof regs, " %08x %08x %08x", u.reg00, u.reg08, u.reg2c);
    texts.push_back(u.name + regs);
  }
  return texts;
}

TEST(CfgmgrPlacement, PlacesDevicesAndKeepsTheRestApart) {
  const std::vector<DeviceRecord> devices = {
      Device("PCI\\VEN_8086&DEV_29C0\\3&1", "PCI\\VEN_8086&DEV_29C0&REV_02&CC_060000\0\0"s, 0, 0),
      // No location: Wine's display adapter.
      Device("PCI\\VEN_0000&DEV_0000&SUBSYS_00000000&REV_00\\00000000", "", std::nullopt,
             std::nullopt),
      Device("PCI\\VEN_1AF4&DEV_1000\\3&2", "PCI\\VEN_1AF4&DEV_1000&SUBSYS_00011AF4&REV_00\0\0"s, 2,
             0x00030001),
      // Claims the slot the first device holds.
      Device("PCI\\VEN_10EC&DEV_8139\\3&3", "PCI\\VEN_10EC&DEV_8139&REV_20&CC_020000\0\0"s, 0, 0),
      // IDs that name no device.
      Device("PCI\\JUNK\\4", "PCI\\VEN_XYZ\0\0"s, 0, 0x00050000),
      // Out of range.
      Device("PCI\\VEN_1234&DEV_1111\\3&5", "PCI\\VEN_1234&DEV_1111&CC_0C0330\0\0"s, 0, 0x00400000),
  };
  const DevicePlacement p = PlaceDevices(devices);

  ASSERT_EQ(p.placed.size(), 2u);
  const PlacedDevice& host = p.placed.at({0, 0, 0});
  EXPECT_EQ(host.instance_id, "PCI\\VEN_8086&DEV_29C0\\3&1");
  EXPECT_EQ(host.identity, (DeviceIdentity{0x8086, 0x29C0, 0, 0x02, 0x060000}));
  EXPECT_EQ(p.placed.at({2, 3, 1}).identity.subsystem, 0x00011AF4u);

  EXPECT_EQ(
      Texts(p.unplaced),
      (std::vector<std::string>{
          "PCI\\VEN_0000&DEV_0000&SUBSYS_00000000&REV_00\\00000000 00000000 00000000 00000000",
          "PCI\\VEN_10EC&DEV_8139\\3&3 813910ec 02000020 00000000",
          "PCI\\VEN_1234&DEV_1111\\3&5 11111234 0c033000 00000000"}));
  EXPECT_EQ(p.warnings,
            (std::vector<std::string>{
                "cfgmgr: PCI\\VEN_10EC&DEV_8139\\3&3: claims 00:00.0, which "
                "PCI\\VEN_8086&DEV_29C0\\3&1 holds; listed without a place",
                "cfgmgr: PCI\\JUNK\\4: skipped: \"PCI\\VEN_XYZ\": VEN_ needs 4 hexadecimal "
                "digits, not \"XYZ\"",
                "cfgmgr: PCI\\VEN_1234&DEV_1111\\3&5: location out of range: bus 0, device 64, "
                "function 0; listed without a place"}));
}

TEST(CfgmgrPlacement, CarriesResourcesAndServiceToThePlacedDevice) {
  DeviceRecord r = Device("PCI\\VEN_8086&DEV_100E\\3&9", "", 0, 0x00030000);
  r.resources = {{DeviceResource::Kind::kMemory, 0xFEBC0000, 0xFEBDFFFF, 0},
                 {DeviceResource::Kind::kIrq, 11, 0, 0}};
  r.service = "E1G60";
  const DevicePlacement p = PlaceDevices({r});
  ASSERT_EQ(p.placed.count({0, 3, 0}), 1u);
  EXPECT_EQ(p.placed.at({0, 3, 0}).resources, r.resources);
  EXPECT_EQ(p.placed.at({0, 3, 0}).service, "E1G60");
  EXPECT_TRUE(p.unplaced.empty());
  EXPECT_TRUE(p.warnings.empty());
  EXPECT_TRUE(PlaceDevices({}).placed.empty());
}

}  // namespace
}  // namespace kelvox
