// Which functions are present on a backend, without reading all 65,536 addresses where the
// backend can say: a sysfs tree lists its folders, a captured bus holds its functions, and any
// other backend is probed the way PCI enumeration probes a bus.
#pragma once

#include <optional>
#include <vector>

#include "config/access.h"
#include "config/simulated_bus.h"

namespace kelvox {

// The present functions, in bus, device, function order; only those of `bus` when one is
// given. SysfsAccess: its folders; SimulatedBus: what it holds; any other backend:
// ProbeFunctions.
std::vector<FunctionLocation> PresentFunctions(ConfigAccess& access,
                                               std::optional<int> bus = std::nullopt);

// Probes buses first_bus to last_bus as PCI enumeration does: function 0 of every device (a
// vendor ID of ffff means no device), and functions 1 to 7 only of a device whose function 0
// is there and multi-function (bit 7 of the header type).
std::vector<FunctionLocation> ProbeFunctions(ConfigAccess& access, int first_bus, int last_bus);

}  // namespace kelvox
