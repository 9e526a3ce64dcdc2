// The names of the capability IDs of the PCI-SIG's Code and ID Assignment list: the standard
// capabilities (0x01-0x15) and the extended ones (0x0001-0x0034).
#pragma once

#include <string>

namespace kelvox {

// The name of a standard capability ID, or "Unknown (0xNN)".
std::string StandardCapabilityName(int id);

// The name of an extended capability ID, or "Unknown (0xNNNN)".
std::string ExtendedCapabilityName(int id);

}  // namespace kelvox
