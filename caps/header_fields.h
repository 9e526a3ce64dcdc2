// What lspci -v shows of a function's 64-byte header, decoded: the command and status bits by
// name, each region with its whole address, kind and size, and for a PCI-PCI bridge its bus
// numbers, the windows it forwards, its secondary status and its bridge control bits. The
// registers stay as they are; this reads the bytes it is given and writes nothing.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "caps/capability.h"
#include "caps/config_space.h"

namespace kelvox {

// What each base address register read back after all ones were written to it (the registers
// at 0x10 to 0x24, then the expansion ROM's at 0x30): its size. Nothing for one not sized.
using RegionSizing = std::array<std::optional<uint32_t>, 7>;

// The header's decoded registers, in lspci's order: "Control", "Status", then one field keyed
// "region" per region that is there ("Region 0", "Expansion ROM"), then a bridge's "Bus",
// windows, "Secondary status" and "BridgeCtl". Empty when the header is not readable.
std::vector<CapField> DecodeHeaderFields(const ConfigSpace& space, const RegionSizing& sizing = {});

// lspci's size text: " [size=512K]" in the largest unit that divides it, "" for 0.
std::string SizeText(uint64_t bytes);

}  // namespace kelvox
