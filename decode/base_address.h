// Decoding one base address register (or the expansion ROM base address register) of a PCI
// function into a line of text: the register is sized by writing all ones, reading back which
// address bits stick, and putting the saved value back.
#pragma once

#include <cstdint>
#include <string>

#include "config/access.h"

namespace kelvox {

// The registers decoded for every function, in the order they are shown: the six base
// address registers, then the expansion ROM base address register.
inline constexpr int kBaseAddressOffsets[] = {0x10, 0x14, 0x18, 0x1C, 0x20, 0x24, 0x30};

// Sizes the register at `offset` and sets `text` to its range and kind, or to "no device"
// (with nothing written) when it reads all ones. Returns the value first read, as signed
// (-1 for all ones). The register holds its saved value again when this returns.
int32_t DecodeBaseAddressRegister(ConfigAccess& access, int bus, int device, int function,
                                  int offset, std::string& text);

}  // namespace kelvox
