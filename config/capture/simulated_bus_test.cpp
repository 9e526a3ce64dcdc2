#include "config/capture/simulated_bus.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kelvox {
namespace {

TEST(SimulatedBus, AbsentFunctionsReadAllOnesAndIgnoreWrites) {
  SimulatedBus bus;
  EXPECT_EQ(bus.Read(0, 0, 0, 0), kAllOnes);
  bus.Write(0, 0, 0, 0x10, 0);
  EXPECT_EQ(bus.Read(0, 0, 0, 0x10), kAllOnes);
  EXPECT_TRUE(bus.Locations().empty());
}

TEST(SimulatedBus, WritesChangeOnlyWritableBitsSoSizingReadsTheMask) {
  SimulatedBus bus;
  bus.AddFunction({1, 2, 3}, {0x86, 0x80, 0x34, 0x12});
  bus.SetRegister({1, 2, 3}, 0x10, 0x0000E001);
  bus.SetWritableMask({1, 2, 3}, 0x10, 0xFFFFFFE0);
  EXPECT_EQ(bus.Read(1, 2, 3, 0x00), 0x12348086u);
  bus.Write(1, 2, 3, 0x00, 0);  // read-only
  EXPECT_EQ(bus.Read(1, 2, 3, 0x00), 0x12348086u);
  bus.Write(1, 2, 3, 0x10, 0xFFFFFFFF);
  EXPECT_EQ(bus.Read(1, 2, 3, 0x10), 0xFFFFFFE1u);
  bus.Write(1, 2, 3, 0x12, 0x0000E001);  // same dword
  EXPECT_EQ(bus.Read(1, 2, 3, 0x13), 0x0000E001u);
}

TEST(SimulatedBus, ArgumentsAreMaskedLikeTheConfigurationAddress) {
  SimulatedBus bus;
  bus.AddFunction({0, 0, 0}, {0xAA, 0xBB, 0xCC, 0xDD});
  EXPECT_EQ(bus.Read(0x100, 32, 8, 0x03), 0xDDCCBBAAu);
  EXPECT_EQ(bus.Read(0, 0, 0, 0x100), 0xDDCCBBAAu);
  EXPECT_NE(bus.Find({0, 32, 8}), nullptr);
}

TEST(SimulatedBus, SetUpRejectsWhatCannotBe) {
  SimulatedBus bus;
  EXPECT_THROW(bus.AddFunction({0, 0, 0}, std::vector<uint8_t>(4097)), std::invalid_argument);
  EXPECT_THROW(bus.SetRegister({0, 1, 0}, 0, 0), std::out_of_range);
  EXPECT_THROW(bus.SetWritableMask({0, 1, 0}, 0, 0), std::out_of_range);
  bus.AddFunction({0, 1, 0}, {1});
  bus.AddFunction({0, 1, 0}, {2});  // replaces
  EXPECT_EQ(bus.Read(0, 1, 0, 0), 2u);
}

}  // namespace
}  // namespace kelvox
