// The header type register (byte 0x0E, read as part of the dword at 0x0C): bits 6:0 give the
// layout of the rest of the header (0 a device, 1 a PCI-PCI bridge, 2 a CardBus bridge), bit 7
// says the device has more functions than function 0.
#pragma once

#include <cstdint>

namespace kelvox {

inline constexpr int kHeaderTypeRegister = 0x0C;

// The layout field of the header type, from the dword at 0x0C.
constexpr int HeaderLayout(uint32_t dword_0c) { return static_cast<int>((dword_0c >> 16) & 0x7F); }

// How many base address registers from 0x10 on a header layout has: 6 for a device, 2 for a
// PCI-PCI bridge, 1 for a CardBus bridge, none for a layout PCI does not define.
constexpr int BaseAddressRegisterCount(int layout) {
  return layout == 0 ? 6 : layout == 1 ? 2 : layout == 2 ? 1 : 0;
}

// Whether the multi-function bit of the header type is set, from the dword at 0x0C.
constexpr bool IsMultiFunction(uint32_t dword_0c) { return (dword_0c & 0x00800000u) != 0; }

}  // namespace kelvox
