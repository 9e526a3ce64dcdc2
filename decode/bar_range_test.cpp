#include "decode/bar_range.h"

#include <gtest/gtest.h>

namespace kelvox {
namespace {

TEST(SizingEnd, WrapsInThirtyTwoBits) {
  EXPECT_EQ(SizingEnd(0xE0000008u, 0xFFF00008u), 0xE00FFFFFu);
  EXPECT_EQ(SizingEnd(0, 0), 0xFFFFFFFFu);                // nothing writable
  EXPECT_EQ(SizingEnd(0, 0xFFFFFFFFu), 0u);               // everything writable
  EXPECT_EQ(SizingEnd(0xFFFFFFF0u, 0xFFFFFF00u), 0xEFu);  // base + size passes 2^32
}

TEST(DecodeBarRange, MemoryRangeTypeAndPrefetch) {
  const BarRange r = DecodeBarRange(0x10, 0xE0000008u, 0xFFF00008u);
  EXPECT_EQ(r.kind, BarKind::kMemory);
  EXPECT_EQ(r.start, 0xE0000000u);
  EXPECT_EQ(r.end, 0xE00FFFFFu);
  EXPECT_EQ(r.memory_type, MemoryType::k32Bit);
  EXPECT_TRUE(r.prefetchable);

  EXPECT_EQ(DecodeBarRange(0x14, 0x000F0002u, 0xFFFF0002u).memory_type, MemoryType::kBelow1M);
  EXPECT_EQ(DecodeBarRange(0x14, 0xC0000004u, 0xFFFF0004u).memory_type, MemoryType::k64Bit);
  EXPECT_EQ(DecodeBarRange(0x14, 0xC0000006u, 0xFFFF0006u).memory_type, MemoryType::kReserved);
  EXPECT_FALSE(DecodeBarRange(0x14, 0xC0000004u, 0xFFFF0004u).prefetchable);
  // The low four bits never reach the shown start; the end always ends in f.
  EXPECT_EQ(DecodeBarRange(0x18, 0x1234567Fu & ~1u, 0).start, 0x12345670u);
  EXPECT_EQ(DecodeBarRange(0x18, 0, 0xFFFFFFFFu).end, 0xFu);
}

TEST(DecodeBarRange, IoRangeIsCutToSixteenBits) {
  const BarRange r = DecodeBarRange(0x20, 0x0000E001u, 0xFFFFFFE1u);
  EXPECT_EQ(r.kind, BarKind::kIo);
  EXPECT_EQ(r.start, 0xE000u);
  EXPECT_EQ(r.end, 0xE01Fu);
  // A decoder that implements only 16 address bits reads back zeros above them.
  EXPECT_EQ(DecodeBarRange(0x20, 0x0000E001u, 0x0000FFE1u), r);
  // Bits above 15 of the saved value are dropped; the reserved bit 1 stays in the start.
  const BarRange high = DecodeBarRange(0x20, 0x0012E003u, 0xFFFFFFE1u);
  EXPECT_EQ(high.start, 0xE002u);
  EXPECT_EQ(high.end, (SizingEnd(0x0012E003u, 0xFFFFFFE1u) & 0xFFFCu) | 3u);
}

TEST(DecodeBarRange, ExpansionRomIsChosenByOffsetBeforeTheIoBit) {
  const BarRange r = DecodeBarRange(0x30, 0xFFFC0001u, 0xFFFE0001u);
  EXPECT_EQ(r.kind, BarKind::kExpansionRom);
  EXPECT_EQ(r.start, 0xFFFC0000u);
  EXPECT_EQ(r.end, 0xFFFDFFFFu);
  EXPECT_TRUE(r.decode_enabled);
  // Only the enable bit is cleared from the start; the end always covers 1 KiB granules.
  EXPECT_EQ(DecodeBarRange(0x30, 0x000007FFu, 0xFFFFF801u).start, 0x000007FEu);
  EXPECT_EQ(DecodeBarRange(0x30, 0x00010000u, 0xFFFFFFFFu).end, 0x000103FFu);
  EXPECT_FALSE(DecodeBarRange(0x30, 0xFFFC0000u, 0xFFFE0000u).decode_enabled);
  // The offset counts by its low 16 bits only.
  EXPECT_EQ(DecodeBarRange(0x10030, 0xFFFC0001u, 0xFFFE0001u).kind, BarKind::kExpansionRom);
  EXPECT_EQ(DecodeBarRange(0x34, 0xFFFC0001u, 0xFFFE0001u).kind, BarKind::kIo);
  EXPECT_EQ(DecodeBarRange(0x31, 0xFFFC0001u, 0xFFFE0001u).kind, BarKind::kIo);
}

}  // namespace
}  // namespace kelvox
