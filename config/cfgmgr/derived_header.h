// The configuration header the cfgmgr access method answers for a device, built from what the
// Windows device manager knows of it, since a program cannot read the device's own registers
// there:
//   0x00 vendor and device; 0x04 the I/O and memory enable bits when the device has such
//   ranges, status 0; 0x08 revision and class code; 0x0C the header type the class implies
//   (PCI-PCI bridge 01, CardBus bridge 02, else 00) with the multi-function bit when asked;
//   the base address registers, one per range in the order Windows lists them (a memory range
//   above 4 GiB as a 64-bit register over two slots, prefetchable where the descriptor allows
//   it); 0x2C the subsystem of a device header; 0x3C the interrupt line (pin unknown, 0).
// Every other register reads 0.
//
// The ranges are the allocated memory, large memory and I/O descriptors, except a bridge's
// windows; when any of them is marked as decoded by a base address register, only the marked
// ones are (the others, such as a display adapter's legacy VGA ranges, are not registers).
// Ranges that find no free register are left out.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "config/access.h"
#include "config/cfgmgr/device_identity.h"
#include "config/cfgmgr/device_manager_api.h"

namespace kelvox {

struct DerivedHeader {
  std::array<uint32_t, kHeaderRegisters> registers{};
  // Per register, the bits a sizing write of all ones would change: each base address
  // register's size mask (above its read-only low bits), the upper half of a 64-bit register
  // the upper half of its mask; 0 for every other register.
  std::array<uint32_t, kHeaderRegisters> sizing{};
};

// The number of the device's first interrupt descriptor, the one its interrupt line names.
std::optional<uint64_t> FirstInterrupt(const std::vector<DeviceResource>& resources);

// The header type's layout field for a class code: 1 for a PCI-PCI bridge (06 04), 2 for a
// CardBus bridge (06 07), else 0.
int LayoutForClass(uint32_t class_code);

DerivedHeader DeriveHeader(const DeviceIdentity& identity,
                           const std::vector<DeviceResource>& resources, bool multi_function);

}  // namespace kelvox
