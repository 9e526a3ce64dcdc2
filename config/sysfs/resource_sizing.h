// What a base address register or expansion ROM register would read back after all ones were
// written to it, worked out from the kernel's `resource` file of the function instead of from
// the device itself. The sysfs access uses it so that sizing never writes a live device.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace kelvox {

// One line of a sysfs `resource` file: "0x%016llx 0x%016llx 0x%016llx", start, end, flags.
// Lines 0-5 are the base address registers, line 6 the expansion ROM.
struct ResourceRegion {
  uint64_t start = 0;
  uint64_t end = 0;
  uint64_t flags = 0;
  // Bytes the region decodes; 0 for a line that describes no region (the kernel writes
  // "0x0 0x0 flags" for an unused register), that is, unless the end lies above the start.
  uint64_t Size() const;
};

// The regions of a `resource` file, or nothing when a line does not parse or there are fewer
// than the seven lines every function has.
std::optional<std::vector<ResourceRegion>> ParseResourceFile(std::string_view text);

// The register's current value, by offset.
using RegisterReader = std::function<uint32_t(int reg)>;

// Whether `reg` is a base address register or the expansion ROM register of a function with
// this header type (type 0: 0x10-0x24 and 0x30; type 1: 0x10, 0x14 and 0x38; type 2: 0x10).
bool IsSizedRegister(int header_type, int reg);

// The sizing read-back of `reg` (a register IsSizedRegister accepts): the address bits at and
// above the region's size set and the register's read-only low bits as it holds them now
// (I/O: bits 1:0; memory: bits 3:0; ROM: the enable bit, with address bits 31:11). A register
// with no region reads 0. The upper half of a 64-bit memory register reads the upper 32 bits
// of the size mask of the region its lower half decodes. `current` gives register values.
uint32_t SizingReadBack(int reg, const RegisterReader& current,
                        const std::vector<ResourceRegion>& regions);

// The writable bits a device would need for its sizing read-back to be SizingReadBack: the
// read-back without the bits the register keeps as they are (I/O: 1:0; memory: 3:0; ROM: 10:0,
// the enable bit included, since the read-back keeps it; none in the upper half of a 64-bit
// register). 0 for a register that is not sized. A function given this mask reads back
// `current(reg) | mask`, which is SizingReadBack whenever the register holds no bit the
// read-back lacks (a register that is not aligned to its region, or that holds a value while
// the kernel reports no region for it, cannot be mimicked this way).
uint32_t SizingWritableMask(int reg, const RegisterReader& current,
                            const std::vector<ResourceRegion>& regions);

}  // namespace kelvox
