#include "decode/bar_range.h"

namespace kelvox {

BarRange DecodeBarRange(int offset, uint32_t saved, uint32_t readback) {
  const uint32_t end = SizingEnd(saved, readback);
  BarRange range;
  if (IsExpansionRomOffset(offset)) {
    // Only the enable bit is cleared; bits 10:1 of the saved value stay in the start.
    range.kind = BarKind::kExpansionRom;
    range.start = saved & ~1u;
    range.end = end | 0x3FFu;
    range.decode_enabled = (saved & 1u) != 0;
  } else if ((saved & 1u) != 0) {
    // I/O addresses are shown as 16 bits; bit 1 of the start is kept as it reads.
    range.kind = BarKind::kIo;
    range.start = saved & 0xFFFEu;
    range.end = (end & 0xFFFCu) | 3u;
  } else {
    range.kind = BarKind::kMemory;
    range.start = saved & 0xFFFFFFF0u;
    range.end = end | 0xFu;
    range.memory_type = static_cast<MemoryType>((saved >> 1) & 3u);
    range.prefetchable = (saved & 8u) != 0;
  }
  return range;
}

}  // namespace kelvox
