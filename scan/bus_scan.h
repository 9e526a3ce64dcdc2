// The scan of one bus and function: a row for every device number 0 to 31, present or not.
#pragma once

#include <vector>

#include "config/access.h"
#include "scan/device_row.h"

namespace kelvox {

inline constexpr int kDevicesPerBus = 32;

// The 32 rows in device order; absent devices read all ones and are not skipped.
std::vector<DeviceRow> ScanBus(ConfigAccess& access, int bus, int function);

}  // namespace kelvox
