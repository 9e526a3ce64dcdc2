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

// Only the registers a function's link and error status are read from: the status register,
// the header type and the capability pointer, each capability's first dword, the PCI Express
// capability's 60 bytes and Advanced Error Reporting's 72; every other byte reads as zero.
// Through sysfs every byte of configuration space read costs the kernel a configuration
// access, so this is a small part of ReadCapabilitySpace's cost. For the health check, not for
// showing the capabilities: their other registers are not there.
ConfigSpace ReadLinkAndErrorRegisters(ConfigAccess& access, FunctionLocation at);

}  // namespace kelvox
