// The name the PCI ID list in use gives a function's subsystem, for the commands that print
// it when a list other than the embedded one (which names no subsystems) is in use.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kelvox::cli {

// True when the list in use can name subsystems (any list read from a file).
bool IdListNamesSubsystems();

// The subsystem name for registers 0x00 (vendor and device IDs), 0x0C (header type in bits
// 22:16) and 0x2C (subsystem vendor and subsystem IDs), or nothing. Only a header of type 0
// holds subsystem IDs at 0x2C; a bridge's 0x2C is an address.
std::optional<std::string_view> SubsystemName(uint32_t reg00, uint32_t reg0c, uint32_t reg2c);

}  // namespace kelvox::cli
