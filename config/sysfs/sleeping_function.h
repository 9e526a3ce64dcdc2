// A function asleep in D3cold, seen without waking it. Reading any byte of its `config` file
// resumes the device (a laptop's discrete GPU takes a second or more, and stays awake until
// its driver lets it sleep again), so a listing takes what it needs from the attribute files
// the kernel filled when it enumerated the function: `vendor`, `device`, `class`, `revision`,
// `subsystem_vendor`, `subsystem_device`, and for a bridge the bus folder under it
// (`pci_bus/DDDD:BB`). The function's `power_state` file says whether it sleeps.
#pragma once

#include <optional>
#include <string>

#include "config/access.h"
#include "config/sysfs/sysfs_facts.h"

namespace kelvox {

// Whether the function whose folder is `folder` sleeps in D3cold (its `power_state` says so).
bool SleepsInD3cold(const std::string& folder, const FactsOpenFunction& open);

// The kept registers of the function whose folder is `folder` when its `power_state` reads
// "D3cold"; nothing when it reads anything else or cannot be read, or when the `vendor`,
// `device` or `class` file is missing or malformed (the function is read as any other then).
std::optional<KeptRegisters> ReadSleepingRegisters(const std::string& folder,
                                                   const FactsOpenFunction& open);

}  // namespace kelvox
