// The real device manager's answers. Under Wine on a display there is exactly one PCI device,
// Wine's display adapter, with no location and no ranges; on Windows every device listed is one
// of the PCI enumerator.
#include "config/cfgmgr/api_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "config/cfgmgr/cfgmgr_access.h"
#include "config/cfgmgr/hardware_id_text.h"

namespace kelvox {
namespace {

bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TEST(WindowsDeviceManager, ListsOnlyDevicesOfThePciEnumerator) {
  const DeviceEnumeration found = MakeWindowsDeviceManagerApi()->PciDevices();
  EXPECT_EQ(found.error, "");
  for (const DeviceRecord& device : found.devices) {
    EXPECT_EQ(device.instance_id.rfind("PCI\\", 0), 0u) << device.instance_id;
  }
}

TEST(WindowsDeviceManager, GivesWinesDisplayAdapterWithNoPlaceAndNoRanges) {
  if (!UnderWine()) GTEST_SKIP() << "Wine's own device";
  const DeviceEnumeration found = MakeWindowsDeviceManagerApi()->PciDevices();
  ASSERT_EQ(found.error, "");
  ASSERT_EQ(found.devices.size(), 1u) << "Wine lists its display adapter once a display exists";
  const DeviceRecord& adapter = found.devices[0];
  EXPECT_EQ(adapter.instance_id, "PCI\\VEN_0000&DEV_0000&SUBSYS_00000000&REV_00\\00000000");
  const std::vector<std::string> hardware = SplitMultiString(adapter.hardware_ids);
  ASSERT_FALSE(hardware.empty());
  EXPECT_EQ(hardware[0], "PCI\\VEN_0000&DEV_0000&SUBSYS_00000000&REV_00");
  EXPECT_EQ(adapter.compatible_ids, "");
  EXPECT_FALSE(adapter.bus_number);
  EXPECT_FALSE(adapter.address);
  EXPECT_TRUE(adapter.resources.empty());

  // Through the access: no row, one function with no place.
  CfgmgrAccess access(MakeWindowsDeviceManagerApi());
  const FunctionListing listing = access.ListFunctions(std::nullopt);
  EXPECT_TRUE(listing.present.empty());
  EXPECT_TRUE(listing.skipped.empty());
  ASSERT_EQ(listing.unplaced.size(), 1u);
  EXPECT_EQ(listing.unplaced[0].name, adapter.instance_id);
}

}  // namespace
}  // namespace kelvox
