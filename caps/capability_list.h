// Walking a function's capability lists: the standard list from the pointer at 0x34 (0x14 for a
// CardBus bridge) when the status register says there is one, and the extended list from 0x100
// for a function with a PCI Express or PCI-X capability (as lspci does: a function without one
// may answer 0x100 and up with an alias of its header). A list that loops, points into the
// header or past the readable bytes, or holds an extended ID of 0 or 0xffff ends there, with
// the problem named; a capability that runs into the next is marked. Nothing hangs, nothing is
// read out of bounds.
#pragma once

#include "caps/capability.h"
#include "caps/config_space.h"
#include "config/function_location.h"

namespace kelvox {

// Whether the status register says the function has a capability list.
bool HasCapabilityList(const ConfigSpace& space);

// Whether the function may have an extended capability list: its standard list holds a PCI
// Express or a PCI-X capability.
bool HasExtendedList(const ConfigSpace& space);

// Every capability of the function at `at` whose space this is, named, and decoded where a
// decoder knows it.
CapabilityList DecodeCapabilities(const ConfigSpace& space, FunctionLocation at = {});

// The same lists walked with the same guards, each capability named and placed, its
// registers not decoded (what comparing two buses needs, at a fraction of the cost).
CapabilityList ListCapabilities(const ConfigSpace& space, FunctionLocation at = {});

}  // namespace kelvox
