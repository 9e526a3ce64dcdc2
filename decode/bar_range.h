// The arithmetic of base address register decoding: from a register's offset, its saved value
// and what it read back after all ones were written, the address range it decodes and its
// kind. Pure functions on numbers; the text is made in bar_text.h.
#pragma once

#include <cstdint>

namespace kelvox {

// Which of the three register layouts a value is read as.
enum class BarKind { kExpansionRom, kIo, kMemory };

// Bits 2:1 of a memory base address register.
enum class MemoryType { k32Bit = 0, kBelow1M = 1, k64Bit = 2, kReserved = 3 };

// One decoded register. `memory_type` and `prefetchable` mean something only for kMemory,
// `decode_enabled` only for kExpansionRom.
struct BarRange {
  uint32_t start = 0;
  uint32_t end = 0;
  BarKind kind = BarKind::kMemory;
  MemoryType memory_type = MemoryType::k32Bit;
  bool prefetchable = false;
  bool decode_enabled = false;
  bool operator==(const BarRange&) const = default;
};

// The expansion ROM base address register sits at 0x30; the offset counts by its low 16 bits.
constexpr bool IsExpansionRomOffset(int offset) { return (offset & 0xFFFF) == 0x30; }

// saved + NOT readback in wrapping 32-bit arithmetic: base + size - 1 when the type bits are
// read-only.
constexpr uint32_t SizingEnd(uint32_t saved, uint32_t readback) {
  return static_cast<uint32_t>(saved + ~readback);
}

// The range and kind of the register at `offset`: expansion ROM by offset, else I/O when bit 0
// of `saved` is set, else memory.
BarRange DecodeBarRange(int offset, uint32_t saved, uint32_t readback);

}  // namespace kelvox
