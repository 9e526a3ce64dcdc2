#include "scan/bus_scan.h"

#include <gtest/gtest.h>

#include "config/capture/simulated_bus.h"

namespace kelvox {
namespace {

TEST(BusScan, GivesAllThirtyTwoRowsInDeviceOrderWithoutSkippingAbsentOnes) {
  SimulatedBus bus;
  bus.AddFunction({2, 0, 3});
  bus.SetRegister({2, 0, 3}, 0x00, 0x12348086);
  bus.AddFunction({2, 31, 3});
  bus.SetRegister({2, 31, 3}, 0x00, 0x5678abcd);
  bus.AddFunction({2, 5, 0});  // another function: not part of this scan
  bus.SetRegister({2, 5, 0}, 0x00, 0x11111111);
  bus.AddFunction({1, 6, 3});  // another bus
  bus.SetRegister({1, 6, 3}, 0x00, 0x22222222);

  const std::vector<DeviceRow> rows = ScanBus(bus, 2, 3);
  ASSERT_EQ(rows.size(), 32u);
  for (int device = 0; device < 32; ++device) {
    EXPECT_EQ(rows[device].device, device);
    const bool present = device == 0 || device == 31;
    EXPECT_EQ(rows[device].vendor_id != 0xFFFF, present) << device;
  }
  EXPECT_EQ(rows[0].vendor_id, 0x8086);
  EXPECT_EQ(rows[31].device_id, 0x5678);
  EXPECT_EQ(rows[5].text, " 5 ffff   ffff ffff ffff ff   ffffff ff  ？？？？");
  EXPECT_EQ(rows[31].text.substr(0, 8), "31 abcd ");
}

TEST(BusScan, EveryRowOfAFaultingBusReadsAllOnes) {
  AllOnesAccess access;
  const std::vector<DeviceRow> rows = ScanBus(access, 0, 0);
  ASSERT_EQ(rows.size(), 32u);
  for (const DeviceRow& row : rows) {
    EXPECT_EQ(row.text.substr(3), "ffff   ffff ffff ffff ff   ffffff ff  ？？？？");
    EXPECT_EQ(row.columns[8], "？？？？");
  }
}

}  // namespace
}  // namespace kelvox
