#include "config/cfgmgr/derived_header.h"

#include <gtest/gtest.h>

#include <map>

namespace kelvox {
namespace {

using Kind = DeviceResource::Kind;
using Registers = std::map<int, uint32_t>;  // offset -> value, every other register 0

DeviceResource Mem(uint64_t start, uint64_t end, uint32_t flags = 0) {
  return {Kind::kMemory, start, end, flags};
}
DeviceResource Large(uint64_t start, uint64_t end, uint32_t flags = 0) {
  return {Kind::kLargeMemory, start, end, flags};
}
DeviceResource Io(uint64_t start, uint64_t end, uint32_t flags = 0x1) {
  return {Kind::kIo, start, end, flags};
}
DeviceResource Irq(uint64_t number) { return {Kind::kIrq, number, 0, 0}; }

// The registers that are not 0, by offset.
Registers NonZero(const std::array<uint32_t, kHeaderRegisters>& registers) {
  Registers found;
  for (int i = 0; i < kHeaderRegisters; ++i) {
    if (registers[i] != 0) found[4 * i] = registers[i];
  }
  return found;
}

TEST(CfgmgrHeader, DeviceWithMemoryIoAndInterrupt) {
  // An 82540EM as QEMU gives it to Windows: 128 KiB of memory, 64 I/O ports, IRQ 11.
  const DerivedHeader h =
      DeriveHeader({0x8086, 0x100E, 0x001E8086, 0x03, 0x020000},
                   {Mem(0xFEBC0000, 0xFEBDFFFF, 0x3), Io(0xC000, 0xC03F), Irq(11)}, false);
  EXPECT_EQ(NonZero(h.registers), (Registers{{0x00, 0x100E8086},
                                             {0x04, 0x00000003},
                                             {0x08, 0x02000003},
                                             {0x10, 0xFEBC0000},
                                             {0x14, 0x0000C001},
                                             {0x2C, 0x001E8086},
                                             {0x3C, 0x0000000B}}));
  EXPECT_EQ(NonZero(h.sizing), (Registers{{0x10, 0xFFFE0000}, {0x14, 0xFFFFFFC0}}));
}

TEST(CfgmgrHeader, SixtyFourBitPrefetchableRangesAboveFourGiBTakeTwoSlots) {
  // A display adapter on Windows 10: its base address registers are marked, its legacy VGA
  // ranges are not and stay out; its interrupt is message-signalled (a number no line holds).
  const DerivedHeader h = DeriveHeader(
      {0x10DE, 0x1C82, 0x11BF1458, 0xA1, 0x030000},
      {Mem(0xF6000000, 0xF6FFFFFF, 0x80 | 0x3), Large(0x800000000, 0x80FFFFFFF, 0x80 | 0x4 | 0x3),
       Large(0x810000000, 0x811FFFFFF, 0x80 | 0x4 | 0x3), Io(0xE000, 0xE07F, 0x100 | 0x1),
       Mem(0xA0000, 0xBFFFF, 0x3), Io(0x3B0, 0x3BB, 0x11), Io(0x3C0, 0x3DF, 0x11), Irq(0xFFFFFFF9)},
      true);
  EXPECT_EQ(NonZero(h.registers), (Registers{{0x00, 0x1C8210DE},
                                             {0x04, 0x00000003},
                                             {0x08, 0x030000A1},
                                             {0x0C, 0x00800000},
                                             {0x10, 0xF6000000},
                                             {0x14, 0x0000000C},
                                             {0x18, 0x00000008},
                                             {0x1C, 0x1000000C},
                                             {0x20, 0x00000008},
                                             {0x24, 0x0000E001},
                                             {0x2C, 0x11BF1458}}));
  EXPECT_EQ(NonZero(h.sizing), (Registers{{0x10, 0xFF000000},
                                          {0x14, 0xF0000000},
                                          {0x18, 0xFFFFFFFF},
                                          {0x1C, 0xFE000000},
                                          {0x20, 0xFFFFFFFF},
                                          {0x24, 0xFFFFFF80}}));
}

TEST(CfgmgrHeader, RangesWithoutMarksAreTakenInOrderAndRoundedToTheirDecodedSize) {
  // Older Windows marks no descriptor: every range is a register. A 32-bit prefetchable range,
  // a 12 KiB range (decodes 16 KiB), 4 bytes of memory (decodes 16), 8 ports, a large memory
  // range below 4 GiB (one slot) and 16 GiB above 4 GiB at 0x4_0000_0000.
  const DerivedHeader h = DeriveHeader(
      {0x1234, 0x5678, 0, 0, 0x010802},
      {Mem(0xE0000000, 0xEFFFFFFF, 0x4), Mem(0xFE000000, 0xFE002FFF), Mem(0xFE100000, 0xFE100003),
       Io(0xD000, 0xD007), Large(0xC0000000, 0xC00FFFFF), Irq(255)},
      false);
  EXPECT_EQ(NonZero(h.registers), (Registers{{0x00, 0x56781234},
                                             {0x04, 0x00000003},
                                             {0x08, 0x01080200},
                                             {0x10, 0xE0000008},
                                             {0x14, 0xFE000000},
                                             {0x18, 0xFE100000},
                                             {0x1C, 0x0000D001},
                                             {0x20, 0xC0000000}}));
  EXPECT_EQ(NonZero(h.sizing), (Registers{{0x10, 0xF0000000},
                                          {0x14, 0xFFFFC000},
                                          {0x18, 0xFFFFFFF0},
                                          {0x1C, 0xFFFFFFF8},
                                          {0x20, 0xFFF00000}}));

  // A 64-bit range with one slot left finds no register; the range after it takes that slot.
  const DerivedHeader full =
      DeriveHeader({0x1234, 0x5678, 0, 0, 0},
                   {Io(0x1000, 0x100F), Io(0x1010, 0x101F), Io(0x1020, 0x102F), Io(0x1030, 0x103F),
                    Io(0x1040, 0x104F), Large(0x400000000, 0x7FFFFFFFF, 0x4), Io(0x1050, 0x105F)},
                   false);
  EXPECT_EQ(full.registers[0x24 / 4], 0x1051u);
  EXPECT_EQ(full.sizing[0x24 / 4], 0xFFFFFFF0u);
  EXPECT_EQ(full.registers[0x20 / 4], 0x1041u);
  EXPECT_EQ(full.registers[0x04 / 4], 0x3u);

  const DerivedHeader wide =
      DeriveHeader({0x1234, 0x5678, 0, 0, 0}, {Large(0x400000000, 0x7FFFFFFFF, 0x4)}, false);
  EXPECT_EQ(NonZero(wide.registers),
            (Registers{{0x00, 0x56781234}, {0x04, 0x2}, {0x10, 0x0000000C}, {0x14, 0x4}}));
  EXPECT_EQ(NonZero(wide.sizing), (Registers{{0x14, 0xFFFFFFFC}}));
}

TEST(CfgmgrHeader, BridgesKeepTheirOwnLayout) {
  // A PCI-PCI bridge: its windows are not registers, and 0x2C is not a subsystem there.
  const DerivedHeader bridge = DeriveHeader(
      {0x8086, 0xA340, 0x86941043, 0xF0, 0x060400},
      {Mem(0xFE600000, 0xFE6FFFFF, 0x40), Io(0xD000, 0xDFFF, 0x80 | 0x1), Irq(16)}, true);
  EXPECT_EQ(NonZero(bridge.registers), (Registers{{0x00, 0xA3408086},
                                                  {0x04, 0x00000003},
                                                  {0x08, 0x060400F0},
                                                  {0x0C, 0x00810000},
                                                  {0x3C, 0x00000010}}));
  EXPECT_EQ(NonZero(bridge.sizing), Registers{});

  // Two registers at most in a PCI-PCI bridge, one in a CardBus bridge.
  const std::vector<DeviceResource> three = {Mem(0xF0000000, 0xF0000FFF), Io(0x2000, 0x20FF),
                                             Mem(0xF0001000, 0xF0001FFF)};
  EXPECT_EQ(NonZero(DeriveHeader({1, 2, 0, 0, 0x060400}, three, false).sizing),
            (Registers{{0x10, 0xFFFFF000}, {0x14, 0xFFFFFF00}}));
  const DerivedHeader cardbus = DeriveHeader({1, 2, 0x11112222, 0, 0x060700}, three, false);
  EXPECT_EQ(NonZero(cardbus.registers), (Registers{{0x00, 0x00020001},
                                                   {0x04, 0x00000003},
                                                   {0x08, 0x06070000},
                                                   {0x0C, 0x00020000},
                                                   {0x10, 0xF0000000}}));

  EXPECT_EQ(LayoutForClass(0x060400), 1);
  EXPECT_EQ(LayoutForClass(0x060401), 1);
  EXPECT_EQ(LayoutForClass(0x060700), 2);
  EXPECT_EQ(LayoutForClass(0x060000), 0);
  EXPECT_EQ(LayoutForClass(0x040600), 0);
  EXPECT_EQ(LayoutForClass(0x000000), 0);
}

TEST(CfgmgrHeader, NoResourcesGiveOnlyTheIds) {
  const DerivedHeader h = DeriveHeader({0, 0, 0, 0, 0}, {}, false);
  EXPECT_EQ(NonZero(h.registers), Registers{});
  EXPECT_EQ(NonZero(h.sizing), Registers{});
  // A range whose end lies before its start is no range; an interrupt alone sets no enable bit.
  const DerivedHeader odd =
      DeriveHeader({0x1AF4, 0x1000, 0, 0, 0x020000}, {Irq(5), Mem(0x2000, 0x1000)}, false);
  EXPECT_EQ(NonZero(odd.sizing), Registers{});
  EXPECT_EQ(odd.registers[0x10 / 4], 0u);
  EXPECT_EQ(odd.registers[0x04 / 4], 0u);
  EXPECT_EQ(odd.registers[0x3C / 4], 5u);
}

}  // namespace
}  // namespace kelvox
