#include "scan/bus_scan.h"

namespace kelvox {

std::vector<DeviceRow> ScanBus(ConfigAccess& access, int bus, int function) {
  std::vector<DeviceRow> rows;
  rows.reserve(kDevicesPerBus);
  for (int device = 0; device < kDevicesPerBus; ++device) {
    rows.push_back(BuildDeviceRow(access, bus, device, function));
  }
  return rows;
}

}  // namespace kelvox
