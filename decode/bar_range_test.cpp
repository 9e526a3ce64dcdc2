// Every expected range below is worked out by hand from the PCI sizing rule: after all ones
// are written, the register reads back zeros in the address bits the device decodes itself;
// with the type bits (memory 3:0, I/O 1:0, ROM 10:0) cleared, the size is the two's complement
// of that read-back, and the range runs from the base to base + size - 1. Where the program
// keeps a bit of the value as read, the comment beside the case says so.
#include "decode/bar_range.h"

#include <gtest/gtest.h>

namespace kelvox {
namespace {

TEST(SizingEnd, WrapsInThirtyTwoBits) {
  // 0xE0000008 + 0x000FFFF7 (the read-back 0xFFF00008 inverted).
  EXPECT_EQ(SizingEnd(0xE0000008u, 0xFFF00008u), 0xE00FFFFFu);
  EXPECT_EQ(SizingEnd(0, 0), 0xFFFFFFFFu);                // nothing writable
  EXPECT_EQ(SizingEnd(0, 0xFFFFFFFFu), 0u);               // everything writable
  EXPECT_EQ(SizingEnd(0xFFFFFFF0u, 0xFFFFFF00u), 0xEFu);  // base + size passes 2^32
}

TEST(DecodeBarRange, ThirtyTwoBitMemory) {
  // Read-back 0xFFFFF000: size 0x1000, 4 KiB from 0xFEBF0000.
  EXPECT_EQ(DecodeBarRange(0x10, 0xFEBF0000u, 0xFFFFF000u),
            (BarRange{.start = 0xFEBF0000u,
                      .end = 0xFEBF0FFFu,
                      .kind = BarKind::kMemory,
                      .memory_type = MemoryType::k32Bit,
                      .prefetchable = false}));
  // Prefetchable (bit 3); read-back 0xFFF00008: size 0x100000, 1 MiB from 0xE0000000.
  EXPECT_EQ(DecodeBarRange(0x10, 0xE0000008u, 0xFFF00008u),
            (BarRange{.start = 0xE0000000u,
                      .end = 0xE00FFFFFu,
                      .kind = BarKind::kMemory,
                      .memory_type = MemoryType::k32Bit,
                      .prefetchable = true}));
}

TEST(DecodeBarRange, MemoryTypesFromBitsTwoAndOne) {
  // Type 01 (below 1 MiB), read-back 0xFFFF0002: 64 KiB from 0x000F0000.
  EXPECT_EQ(DecodeBarRange(0x14, 0x000F0002u, 0xFFFF0002u),
            (BarRange{.start = 0x000F0000u,
                      .end = 0x000FFFFFu,
                      .kind = BarKind::kMemory,
                      .memory_type = MemoryType::kBelow1M}));
  // Type 10, the lower half of a 64-bit register: 64 KiB from 0xC0000000, not prefetchable.
  EXPECT_EQ(DecodeBarRange(0x14, 0xC0000004u, 0xFFFF0004u),
            (BarRange{.start = 0xC0000000u,
                      .end = 0xC000FFFFu,
                      .kind = BarKind::kMemory,
                      .memory_type = MemoryType::k64Bit}));
  // Type 11 is reserved; the range is worked out all the same.
  EXPECT_EQ(DecodeBarRange(0x14, 0xC000000Eu, 0xFFFF000Eu),
            (BarRange{.start = 0xC0000000u,
                      .end = 0xC000FFFFu,
                      .kind = BarKind::kMemory,
                      .memory_type = MemoryType::kReserved,
                      .prefetchable = true}));
}

TEST(DecodeBarRange, MemoryStartDropsTheTypeBitsAndTheEndAlwaysEndsInF) {
  EXPECT_EQ(DecodeBarRange(0x18, 0x1234567Eu, 0).start, 0x12345670u);
  // Every bit writable: the end is 0 + 0 with the low four bits set.
  EXPECT_EQ(DecodeBarRange(0x18, 0, 0xFFFFFFFFu).end, 0x0000000Fu);
  // Nothing writable (an unimplemented register reads zero both times): 0 + 0xFFFFFFFF.
  EXPECT_EQ(DecodeBarRange(0x18, 0, 0).end, 0xFFFFFFFFu);
}

TEST(DecodeBarRange, IoRangeIsCutToSixteenBits) {
  // Read-back 0xFFFFFFE1: with bits 1:0 cleared 0xFFFFFFE0, size 0x20: 0xE000 to 0xE01F.
  const BarRange io{.start = 0xE000u, .end = 0xE01Fu, .kind = BarKind::kIo};
  EXPECT_EQ(DecodeBarRange(0x20, 0x0000E001u, 0xFFFFFFE1u), io);
  // A decoder that implements only 16 address bits reads back zeros above them.
  EXPECT_EQ(DecodeBarRange(0x20, 0x0000E001u, 0x0000FFE1u), io);
  // Bits above 15 of the saved value are dropped. The reserved bit 1 stays in the start, and
  // the end counts from the value as read: 0xE003 + 0x1E = 0xE021, low two bits set: 0xE023.
  EXPECT_EQ(DecodeBarRange(0x20, 0x0012E003u, 0xFFFFFFE1u),
            (BarRange{.start = 0xE002u, .end = 0xE023u, .kind = BarKind::kIo}));
  // 256 ports (read-back 0xFFFFFF01) from 0xC000.
  EXPECT_EQ(DecodeBarRange(0x24, 0x0000C001u, 0xFFFFFF01u),
            (BarRange{.start = 0xC000u, .end = 0xC0FFu, .kind = BarKind::kIo}));
}

TEST(DecodeBarRange, ExpansionRomIsChosenByOffsetBeforeTheIoBit) {
  // Enabled (bit 0); read-back 0xFFFE0001: size 0x20000, 128 KiB from 0xFFFC0000.
  EXPECT_EQ(DecodeBarRange(0x30, 0xFFFC0001u, 0xFFFE0001u),
            (BarRange{.start = 0xFFFC0000u,
                      .end = 0xFFFDFFFFu,
                      .kind = BarKind::kExpansionRom,
                      .decode_enabled = true}));
  EXPECT_EQ(DecodeBarRange(0x30, 0xFFFC0000u, 0xFFFE0000u),
            (BarRange{.start = 0xFFFC0000u,
                      .end = 0xFFFDFFFFu,
                      .kind = BarKind::kExpansionRom,
                      .decode_enabled = false}));
  // Only the enable bit is cleared from the start: 0x7FF shows as 0x7FE. The end counts from
  // the value as read, 0x7FF + 0x7FE = 0xFFD, and always ends on a 1 KiB boundary: 0xFFF.
  EXPECT_EQ(DecodeBarRange(0x30, 0x000007FFu, 0xFFFFF801u),
            (BarRange{.start = 0x000007FEu,
                      .end = 0x00000FFFu,
                      .kind = BarKind::kExpansionRom,
                      .decode_enabled = true}));
  EXPECT_EQ(DecodeBarRange(0x30, 0x00010000u, 0xFFFFFFFFu).end, 0x000103FFu);
  // The offset counts by its low 16 bits only.
  EXPECT_EQ(DecodeBarRange(0x10030, 0xFFFC0001u, 0xFFFE0001u).kind, BarKind::kExpansionRom);
  EXPECT_EQ(DecodeBarRange(0x34, 0xFFFC0001u, 0xFFFE0001u).kind, BarKind::kIo);
  EXPECT_EQ(DecodeBarRange(0x31, 0xFFFC0001u, 0xFFFE0001u).kind, BarKind::kIo);
}

}  // namespace
}  // namespace kelvox
