#include "config/bus_capture.h"

#include <gtest/gtest.h>

#include <vector>

#include "config/capture/capture_text.h"
#include "config/recording_access.h"
#include "config/sysfs/sysfs_access.h"
#include "config/sysfs/testing/fake_sysfs_tree.h"
#include "config/testing/read_write_only.h"

namespace kelvox {
namespace {

using testing::Header;
using testing::Region;

// What `access` reads back from `reg` after all ones are written; the register is restored.
uint32_t SizingReadBackOf(ConfigAccess& access, FunctionLocation at, int reg) {
  const uint32_t saved = access.Read(at.bus, at.device, at.function, reg);
  access.Write(at.bus, at.device, at.function, reg, kAllOnes);
  const uint32_t readback = access.Read(at.bus, at.device, at.function, reg);
  access.Write(at.bus, at.device, at.function, reg, saved);
  return readback;
}

// A tree with every kind of register sizing answers: 64-bit prefetchable memory, 32-bit and
// below-1M memory, I/O, an unimplemented register and an enabled ROM; a disabled ROM; a region
// above 4 GiB; a bridge with its ROM at 0x38; and a function on another bus.
void FillTree(testing::FakeSysfsTree& tree) {
  tree.Add("0000:00:01.0",
           {Header({0x0000000C, 0x00000040, 0xFEB00000, 0x000C0002, 0x0000C001, 0}, 0xFEA00001),
            {Region(0x4000000000, 0x80000, 0x14220C),
             {},
             Region(0xFEB00000, 0x1000),
             Region(0xC0000, 0x4000),
             Region(0xC000, 0x20, 0x40101),
             {},
             Region(0xFEA00000, 0x40000, 0x46200)}});
  tree.Add("0000:00:02.0",
           {Header({}, 0xFE800000), {{}, {}, {}, {}, {}, {}, Region(0xFE800000, 0x800)}});
  tree.Add("0000:00:04.0",
           {Header({0x0000000C, 0x00000004, 0x0000D001}),
            {Region(0x400000000, 0x200000000, 0x14220C), {}, Region(0xD000, 0x100, 0x40101)}});
  std::vector<uint32_t> bridge = Header({0xFE000000}, 0, 1);
  bridge[6] = 0x00020100;
  bridge[14] = 0xFD000001;
  tree.Add("0000:00:05.0",
           {bridge, {Region(0xFE000000, 0x4000), {}, {}, {}, {}, {}, Region(0xFD000000, 0x10000)}});
  tree.Add("0000:02:00.0", {Header({0xF0000000}), {Region(0xF0000000, 0x100000)}});
}

TEST(CaptureBus, AWrittenSysfsCaptureReadsAndSizesAsTheTree) {
  testing::FakeSysfsTree tree;
  FillTree(tree);
  SysfsAccess sysfs(tree.root());
  const BusCapture capture = CaptureBus(sysfs);
  ASSERT_TRUE(capture.bus.has_value()) << capture.error;
  EXPECT_TRUE(capture.warnings.empty()) << capture.warnings.front();

  // Through the text format and back, as a capture file is used.
  SimulatedBus loaded = ParseSimulatedBus(FormatSimulatedBus(*capture.bus));
  const std::vector<FunctionLocation> present = sysfs.ListFunctions(std::nullopt).present;
  EXPECT_EQ(loaded.Locations(), present);
  for (const FunctionLocation& at : present) {
    for (int reg = 0; reg < 0x40; reg += 4) {
      EXPECT_EQ(loaded.Read(at.bus, at.device, at.function, reg),
                sysfs.Read(at.bus, at.device, at.function, reg));
      EXPECT_EQ(SizingReadBackOf(loaded, at, reg), SizingReadBackOf(sysfs, at, reg))
          << "device " << at.device << " register " << reg;
    }
  }
  // Registers past the header are not captured.
  EXPECT_EQ(loaded.Read(0, 1, 0, 0x40), 0u);
}

TEST(CaptureBus, KeepsToOneBusWhenAsked) {
  testing::FakeSysfsTree tree;
  FillTree(tree);
  SysfsAccess sysfs(tree.root());
  const BusCapture capture = CaptureBus(sysfs, 2);
  ASSERT_TRUE(capture.bus.has_value());
  EXPECT_EQ(capture.bus->Locations(), (std::vector<FunctionLocation>{{2, 0, 0}}));
}

TEST(CaptureBus, NamesARegisterItCannotSizeAsTheMachineDoes) {
  // The register says 64-bit memory but the kernel gave it no region: sysfs sizes it as 0,
  // while any device holding 0000000c reads back at least 0000000c.
  testing::FakeSysfsTree tree;
  tree.Add("0000:00:03.0", {Header({0x0000000C}), {}});
  SysfsAccess sysfs(tree.root());
  const BusCapture capture = CaptureBus(sysfs);
  ASSERT_TRUE(capture.bus.has_value());
  EXPECT_EQ(capture.warnings,
            (std::vector<std::string>{"00:03.0 register 10: sizing reads back 00000000 live but "
                                      "0000000c from the capture"}));
}

TEST(CaptureBus, SaysWhatItCouldNotCapture) {
  testing::FakeSysfsTree tree;
  FillTree(tree);
  // A function whose config file is too short to be one, and one whose resource file is
  // malformed: the first is left out, the second captured with sizing that fails, and both
  // are named.
  const std::string short_config = tree.Add("0000:00:06.0", {Header({}), {}});
  testing::FakeSysfsTree::WriteFile(short_config + "/config", "\xf4\x1a");
  const std::string bad_resource = tree.Add("0000:00:07.0", {Header({0xF0000000}), {}});
  testing::FakeSysfsTree::WriteFile(bad_resource + "/resource", "garbage\n");
  SysfsAccess sysfs(tree.root());
  BusCapture capture = CaptureBus(sysfs, 0);
  ASSERT_TRUE(capture.bus.has_value());
  EXPECT_EQ(capture.bus->Find({0, 6, 0}), nullptr);
  ASSERT_NE(capture.bus->Find({0, 7, 0}), nullptr);
  EXPECT_EQ(SizingReadBackOf(*capture.bus, {0, 7, 0}, 0x10), kAllOnes);
  ASSERT_EQ(capture.warnings.size(), 2u);
  EXPECT_NE(capture.warnings[0].find("sysfs: 00:06.0: skipped: "), std::string::npos);
  EXPECT_NE(capture.warnings[1].find("sysfs: 00:07.0: base address sizes unknown: "),
            std::string::npos);
  EXPECT_NE(capture.warnings[1].find("is not a resource file"), std::string::npos);
}

// Lists one function that is gone by the time it is read, as a device unplugged mid-capture.
class VanishingBus final : public ConfigAccess {
 public:
  uint32_t Read(int bus, int device, int function, int reg) override {
    return bus_.Read(bus, device, function, reg);
  }
  void Write(int bus, int device, int function, int reg, uint32_t value) override {
    bus_.Write(bus, device, function, reg, value);
  }
  std::string Name() const override { return "vanishing"; }
  FunctionListing ListFunctions(std::optional<int>) override {
    return {{{0, 0, 0}, {0, 1, 0}}, {}, {}};
  }
  bool SizesWithoutWriting() const override { return true; }
  std::optional<HeaderSizing> SizingWithoutWriting(FunctionLocation at) override {
    return bus_.SizingWithoutWriting(at);
  }
  SimulatedBus bus_;
};

TEST(CaptureBus, AFunctionThatGoesAwayWhileReadIsNamed) {
  VanishingBus vanishing;
  vanishing.bus_.AddFunction({0, 0, 0}, {0x86, 0x80, 0x57, 0x0d});
  const BusCapture capture = CaptureBus(vanishing);
  ASSERT_TRUE(capture.bus.has_value());
  EXPECT_EQ(capture.bus->Locations(), (std::vector<FunctionLocation>{{0, 0, 0}}));
  EXPECT_EQ(
      capture.warnings,
      (std::vector<std::string>{"vanishing: 00:01.0: skipped: it went away while it was read"}));
}

TEST(CaptureBus, ACapturedBusIsCopiedWithItsMasks) {
  SimulatedBus source;
  std::vector<uint8_t> bytes(256, 0);
  bytes[0] = 0xF4;
  bytes[0x3F] = 0x01;
  bytes[0xFF] = 0x5A;  // a byte past the header, as an lspci -xxx dump holds
  source.AddFunction({0, 3, 0}, bytes);
  source.SetWritableMask({0, 3, 0}, 0x10, 0xFFF00000u);
  source.SetWritableMask({0, 3, 0}, 0x04, 0x00000007u);
  source.AddFunction({1, 0, 0});
  const BusCapture all = CaptureBus(source);
  ASSERT_TRUE(all.bus.has_value());
  EXPECT_TRUE(all.warnings.empty());
  // Every byte the source holds, past the header too, and the masks.
  EXPECT_EQ(FormatSimulatedBus(*all.bus), FormatSimulatedBus(source));
  const BusCapture one = CaptureBus(source, 1);
  EXPECT_EQ(one.bus->Locations(), (std::vector<FunctionLocation>{{1, 0, 0}}));
}

TEST(CaptureBus, RefusesABackendThatWouldHaveToWriteTheDevice) {
  SimulatedBus bus;
  bus.AddFunction({0, 0, 0});
  RecordingAccess recorded(bus);
  testing::ReadWriteOnly port_like(recorded);  // as port I/O: it cannot size without writing
  const BusCapture capture = CaptureBus(port_like);
  EXPECT_FALSE(capture.bus.has_value());
  EXPECT_EQ(capture.error,
            "simulated: cannot capture: learning base address sizes here means writing all ones "
            "into the devices' registers (capture reads sysfs or a captured file)");
  EXPECT_TRUE(recorded.records().empty());
}

}  // namespace
}  // namespace kelvox
