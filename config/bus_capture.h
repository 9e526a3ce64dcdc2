// Capturing a machine's bus as a simulated bus that answers every read and every base address
// sizing as the machine's own backend does, so the capture, written as text
// (config/capture/capture_text.h), shows anywhere the same rows, details and decoded ranges as the
// live machine. Nothing is written to any device: only backends that can tell a register's sizing
// without writing to a device (ConfigAccess::SizesWithoutWriting) can be captured.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/access.h"
#include "config/capture/simulated_bus.h"

namespace kelvox {

// The captured bus, or why there is none.
struct BusCapture {
  std::optional<SimulatedBus> bus;  // nothing when the backend cannot be captured
  std::string error;                // one line, starting with the backend's name
  // What the capture could not hold as the machine has it, one line each: functions the
  // backend lists but cannot read or that went away while they were read, functions whose
  // sizes are unknown, and registers the capture sizes differently from the backend ("00:03.0
  // register 30: ..."; a register holding bits its sizing read-back lacks cannot be mimicked
  // by a writable mask, see SizingWritableMask).
  std::vector<std::string> warnings;
};

// Captures the present functions of every domain of `access` (ListEveryDomain), of `bus` only
// when given: every byte of each function's space the backend can read (ConfigAccess::ReadSpace:
// the header, or 256 or 4096 bytes) and its facts (ConfigAccess::Facts), with the
// writable masks under which the capture
// answers sizing as the backend does (ConfigAccess::SizingWithoutWriting); registers 0x10-0x3C
// are then sized on both, and any difference is listed in `warnings`. A backend that would have to
// write all ones into the device's registers to learn their sizes (port I/O) is refused before
// anything is read.
// With `chosen`, only the functions it accepts (it is asked with the function's domain
// selected).
BusCapture CaptureBus(ConfigAccess& access, std::optional<int> bus = std::nullopt,
                      const std::function<bool(FunctionLocation)>& chosen = {});

}  // namespace kelvox
