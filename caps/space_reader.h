// Reading as much of a function's configuration space as its capabilities need, and no more, as
// lspci does: every byte read costs a configuration access (through sysfs, one of the kernel's
// for each 4 bytes), and reading the extended space of a device in D3cold wakes it.
//   the header; then, when the status register says there is a capability list, up to 0x100;
//   then, when that list holds a PCI Express or PCI-X capability, the extended space.
#pragma once

#include "caps/config_space.h"
#include "config/access.h"

namespace kelvox {

// The bytes of the function at `at` (in its own domain) that its capabilities lie in, with why
// no more could be read where that stopped short; empty, with kNoFunctionText, for an absent
// function.
ConfigSpace ReadCapabilitySpace(ConfigAccess& access, FunctionLocation at);

}  // namespace kelvox
