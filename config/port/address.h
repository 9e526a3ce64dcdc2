// The configuration address of PCI configuration mechanism #1: the dword written to port
// 0xCF8 to select one register of one function.
#pragma once

#include <cstdint>

namespace kelvox {

inline constexpr uint16_t kConfigAddressPort = 0xCF8;
inline constexpr uint16_t kConfigDataPort = 0xCFC;
inline constexpr uint32_t kConfigEnableBit = 0x80000000u;

// Each argument is masked to its field width (bus 8 bits, device 5, function 3); a register
// offset that is not a multiple of 4 selects the dword that contains it.
constexpr uint32_t ConfigAddress(int bus, int device, int function, int reg) {
  return kConfigEnableBit | (static_cast<uint32_t>(bus & 0xFF) << 16) |
         (static_cast<uint32_t>(device & 0x1F) << 11) |
         (static_cast<uint32_t>(function & 0x7) << 8) | static_cast<uint32_t>(reg & 0xFC);
}

}  // namespace kelvox
