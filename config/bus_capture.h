// Capturing a machine's bus as a simulated bus that answers every read and every base address
// sizing as the machine's own backend does, so the capture, written as text
// (simulated_bus_file.h), shows anywhere the same rows, details and decoded ranges as the live
// machine. Nothing is written to any device: only backends that answer sizing without writing
// a device can be captured.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config/access.h"
#include "config/simulated_bus.h"

namespace kelvox {

// The captured bus, or why there is none.
struct BusCapture {
  std::optional<SimulatedBus> bus;  // nothing when the backend cannot be captured
  std::string error;                // one line, starting with the backend's name
  // Registers the capture sizes differently from the backend, one line each ("00:03.0
  // register 30: ..."): a register holding bits its sizing read-back lacks (see
  // SizingWritableMask) cannot be mimicked by a writable mask.
  std::vector<std::string> mismatches;
};

// Captures the present functions of `access` (present_functions.h), of `bus` only when given.
// SysfsAccess: registers 0x00-0x3F of each function, with the writable masks that make the
// capture answer sizing as sysfs does (SysfsAccess::SizingMask); every sized register is then
// sized on both, and any difference is listed in `mismatches`. SimulatedBus: its functions as
// they are, masks and all. Any other backend (port I/O) would have to write all ones into the
// device's registers to learn their sizes, so it is refused before anything is read.
BusCapture CaptureBus(ConfigAccess& access, std::optional<int> bus = std::nullopt);

}  // namespace kelvox
