#include "config/cfgmgr/cfgmgr_access.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/capture/simulated_bus.h"

namespace kelvox {
namespace {

using namespace std::string_literals;
using Kind = DeviceResource::Kind;

// Answers with recorded devices, or with a failure, and counts the calls.
class RecordedApi : public DeviceManagerApi {
 public:
  RecordedApi(DeviceEnumeration answer, int& calls) : answer_(std::move(answer)), calls_(calls) {}
  DeviceEnumeration PciDevices() override {
    ++calls_;
    return answer_;
  }

 private:
  DeviceEnumeration answer_;
  int& calls_;
};

DeviceRecord Device(std::string instance, std::string hardware, std::string compatible,
                    std::optional<uint32_t> bus, std::optional<uint32_t> address,
                    std::vector<DeviceResource> resources = {}) {
  DeviceRecord r;
  r.instance_id = std::move(instance);
  r.hardware_ids = std::move(hardware);
  r.compatible_ids = std::move(compatible);
  r.bus_number = bus;
  r.address = address;
  r.resources = std::move(resources);
  return r;
}

// A small Windows 10 machine as SetupAPI lists it, in its own order.
std::vector<DeviceRecord> Machine() {
  return {
      Device(
          "PCI\\VEN_10DE&DEV_1C82&SUBSYS_11BF1458&REV_A1\\4&1A2B&0&0008",
          "PCI\\VEN_10DE&DEV_1C82&SUBSYS_11BF1458&REV_A1\0PCI\\VEN_10DE&DEV_1C82&SUBSYS_11BF1458\0\0"s,
          "PCI\\VEN_10DE&DEV_1C82&REV_A1\0PCI\\VEN_10DE&CC_030000\0PCI\\CC_030000\0PCI\\CC_0300\0\0"s,
          1, 0x00000000,
          {{Kind::kMemory, 0xF6000000, 0xF6FFFFFF, 0x83},
           {Kind::kLargeMemory, 0x800000000, 0x80FFFFFFF, 0x87},
           {Kind::kIo, 0xE000, 0xE07F, 0x101},
           {Kind::kMemory, 0xA0000, 0xBFFFF, 0x3},
           {Kind::kIrq, 0xFFFFFFF9, 0, 0}}),
      Device("PCI\\VEN_8086&DEV_A340&SUBSYS_86941043&REV_F0\\3&11583659&0&E0",
             "PCI\\VEN_8086&DEV_A340&SUBSYS_86941043&REV_F0\0\0"s, "PCI\\CC_060400\0\0"s, 0,
             0x001C0000, {{Kind::kMemory, 0xF6000000, 0xF70FFFFF, 0x40}, {Kind::kIrq, 16, 0, 0}}),
      Device("PCI\\VEN_10DE&DEV_0FB9&SUBSYS_11BF1458&REV_A1\\4&1A2B&0&0108",
             "PCI\\VEN_10DE&DEV_0FB9&SUBSYS_11BF1458&REV_A1\0\0"s, "PCI\\CC_040300\0\0"s, 1,
             0x00000001, {{Kind::kMemory, 0xF7080000, 0xF7083FFF, 0x83}, {Kind::kIrq, 17, 0, 0}}),
      Device("PCI\\VEN_8086&DEV_3E30&SUBSYS_86941043&REV_0D\\3&11583659&0&00",
             "PCI\\VEN_8086&DEV_3E30&SUBSYS_86941043&REV_0D\0\0"s, "PCI\\CC_060000\0\0"s, 0, 0),
      Device("PCI\\VEN_0000&DEV_0000&SUBSYS_00000000&REV_00\\00000000", "", "", std::nullopt,
             std::nullopt),
      Device("PCI\\VEN_BAD\\1", "PCI\\VEN_BAD\0\0"s, "", 0, 0x00050000),
  };
}

class CfgmgrAccessTest : public ::testing::Test {
 protected:
  CfgmgrAccess& Open(DeviceEnumeration answer) {
    access_ =
        std::make_unique<CfgmgrAccess>(std::make_unique<RecordedApi>(std::move(answer), calls_));
    return *access_;
  }
  int calls_ = 0;
  std::unique_ptr<CfgmgrAccess> access_;
};

TEST_F(CfgmgrAccessTest, ListsPlacedFunctionsInOrderAndTheRestApart) {
  CfgmgrAccess& access = Open({Machine(), ""});
  EXPECT_EQ(access.Name(), "cfgmgr");
  EXPECT_EQ(calls_, 0);  // nothing is asked before the first use
  const FunctionListing all = access.ListFunctions(std::nullopt);
  EXPECT_EQ(all.present,
            (std::vector<FunctionLocation>{{0, 0, 0}, {0, 0x1C, 0}, {1, 0, 0}, {1, 0, 1}}));
  ASSERT_EQ(all.unplaced.size(), 1u);
  EXPECT_EQ(all.unplaced[0].name, "PCI\\VEN_0000&DEV_0000&SUBSYS_00000000&REV_00\\00000000");
  EXPECT_EQ(all.skipped, (std::vector<std::string>{
                             "cfgmgr: PCI\\VEN_BAD\\1: skipped: \"PCI\\VEN_BAD\": VEN_ needs 4 "
                             "hexadecimal digits, not \"BAD\""}));

  const FunctionListing bus1 = access.ListFunctions(1);
  EXPECT_EQ(bus1.present, (std::vector<FunctionLocation>{{1, 0, 0}, {1, 0, 1}}));
  EXPECT_TRUE(bus1.unplaced.empty());
  EXPECT_TRUE(access.ListFunctions(7).present.empty());
  EXPECT_EQ(calls_, 1);  // asked once

  EXPECT_EQ(access.Domains(), std::vector<int>{0});
  EXPECT_FALSE(access.SelectDomain(1));
}

TEST_F(CfgmgrAccessTest, AnswersTheDerivedHeader) {
  CfgmgrAccess& access = Open({Machine(), ""});
  // The display adapter, function 0 of a device whose function 1 is present.
  const uint32_t gpu[] = {0x1C8210DE, 0x00000003, 0x030000A1, 0x00800000, 0xF6000000, 0x0000000C,
                          0x00000008, 0x0000E001, 0,          0,          0,          0x11BF1458,
                          0,          0,          0,          0};
  for (int i = 0; i < kHeaderRegisters; ++i) EXPECT_EQ(access.Read(1, 0, 0, 4 * i), gpu[i]) << i;
  EXPECT_EQ(access.Read(1, 0, 1, 0x0C), 0x00800000u);
  EXPECT_EQ(access.Read(1, 0, 1, 0x3C), 17u);
  // The bridge.
  EXPECT_EQ(access.Read(0, 0x1C, 0, 0x0C), 0x00010000u);
  EXPECT_EQ(access.Read(0, 0x1C, 0, 0x08), 0x060400F0u);
  EXPECT_EQ(access.Read(0, 0x1C, 0, 0x3C), 16u);
  // The host bridge has no ranges: no enable bits.
  EXPECT_EQ(access.Read(0, 0, 0, 0x04), 0u);
  EXPECT_EQ(access.Read(0, 0, 0, 0x00), 0x3E308086u);
  // Beyond the header: 0. Absent functions, and the device refused, read all ones.
  EXPECT_EQ(access.Read(1, 0, 0, 0x40), 0u);
  EXPECT_EQ(access.Read(1, 0, 0, 0xFC), 0u);
  EXPECT_EQ(access.Read(1, 0, 0, 0x102), 0x1C8210DEu);  // masked as the configuration address
  EXPECT_EQ(access.Read(0, 5, 0, 0x00), kAllOnes);
  EXPECT_EQ(access.Read(0, 1, 0, 0x00), kAllOnes);
  EXPECT_EQ(access.Read(1, 0, 2, 0x00), kAllOnes);
  EXPECT_EQ(access.Read(1 + 256, 0, 0, 0x00), 0x1C8210DEu);
}

TEST_F(CfgmgrAccessTest, SizingIsAnsweredFromTheRangesAndNothingElseChanges) {
  CfgmgrAccess& access = Open({Machine(), ""});
  EXPECT_TRUE(access.SizesWithoutWriting());
  // The sizing sequence: all ones, read back, restore.
  access.Write(1, 0, 0, 0x10, kAllOnes);
  EXPECT_EQ(access.Read(1, 0, 0, 0x10), 0xFF000000u);
  access.Write(1, 0, 0, 0x10, 0xF6000000u);
  EXPECT_EQ(access.Read(1, 0, 0, 0x10), 0xF6000000u);
  // The 64-bit prefetchable register's halves.
  access.Write(1, 0, 0, 0x14, kAllOnes);
  access.Write(1, 0, 0, 0x18, kAllOnes);
  EXPECT_EQ(access.Read(1, 0, 0, 0x14), 0xF000000Cu);
  EXPECT_EQ(access.Read(1, 0, 0, 0x18), 0xFFFFFFFFu);
  access.Write(1, 0, 0, 0x14, 0x0000000Cu);
  access.Write(1, 0, 0, 0x18, 0x00000008u);
  EXPECT_EQ(access.Read(1, 0, 0, 0x14), 0x0000000Cu);
  EXPECT_EQ(access.Read(1, 0, 0, 0x18), 0x00000008u);
  access.Write(1, 0, 0, 0x1C, kAllOnes);
  EXPECT_EQ(access.Read(1, 0, 0, 0x1C), 0xFFFFFF81u);
  access.Write(1, 0, 0, 0x1C, 0xE001);
  // An unused register, the command register, any other value: nothing changes.
  for (int reg : {0x00, 0x04, 0x0C, 0x20, 0x30, 0x3C, 0x40}) {
    const uint32_t before = access.Read(1, 0, 0, reg);
    access.Write(1, 0, 0, reg, kAllOnes);
    EXPECT_EQ(access.Read(1, 0, 0, reg), before) << reg;
  }
  access.Write(1, 0, 0, 0x10, 0x12345670u);
  EXPECT_EQ(access.Read(1, 0, 0, 0x10), 0xF6000000u);
  // Writes to an absent function are dropped.
  access.Write(0, 5, 0, 0x10, kAllOnes);
  EXPECT_EQ(access.Read(0, 5, 0, 0x10), kAllOnes);

  const std::optional<HeaderSizing> sizing = access.SizingWithoutWriting({1, 0, 0});
  ASSERT_TRUE(sizing);
  EXPECT_EQ(sizing->problem, "");
  const std::array<uint32_t, kHeaderRegisters> expected = {
      0, 0, 0, 0, 0xFF000000, 0xF0000000, 0xFFFFFFFF, 0xFFFFFF80, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(sizing->writable, expected);
  EXPECT_FALSE(access.SizingWithoutWriting({0, 5, 0}));
}

TEST_F(CfgmgrAccessTest, ACopyWithTheSizingMasksSizesAsTheAccessDoes) {
  // What a capture keeps: the registers and the writable masks. A simulated function holding
  // them must answer every sizing write as the access itself does.
  CfgmgrAccess& access = Open({Machine(), ""});
  for (const FunctionLocation at : access.ListFunctions(std::nullopt).present) {
    const std::optional<HeaderSizing> sizing = access.SizingWithoutWriting(at);
    ASSERT_TRUE(sizing);
    SimulatedBus copy;
    copy.AddFunction(at);
    for (int i = 0; i < kHeaderRegisters; ++i) {
      copy.SetRegister(at, 4 * i, access.Read(at.bus, at.device, at.function, 4 * i));
      copy.SetWritableMask(at, 4 * i, sizing->writable[i]);
    }
    for (int reg = 0; reg < kHeaderBytes; reg += 4) {
      const uint32_t saved = access.Read(at.bus, at.device, at.function, reg);
      access.Write(at.bus, at.device, at.function, reg, kAllOnes);
      copy.Write(at.bus, at.device, at.function, reg, kAllOnes);
      EXPECT_EQ(copy.Read(at.bus, at.device, at.function, reg),
                access.Read(at.bus, at.device, at.function, reg))
          << LocationText(at) << " " << reg;
      access.Write(at.bus, at.device, at.function, reg, saved);
    }
  }
}

TEST_F(CfgmgrAccessTest, FactsAreTheServiceAndTheInterrupt) {
  std::vector<DeviceRecord> devices = Machine();
  devices[1].service = "pci";
  devices[0].service = "nvlddmkm";
  CfgmgrAccess& access = Open({devices, ""});
  const std::optional<FunctionFacts> bridge = access.Facts({0, 0x1C, 0});
  ASSERT_TRUE(bridge);
  EXPECT_EQ(bridge->driver, "pci");
  EXPECT_EQ(bridge->irq, 16);
  EXPECT_FALSE(bridge->power_state);
  // A message-signalled interrupt's number is beyond an int here: the driver alone.
  const std::optional<FunctionFacts> gpu = access.Facts({1, 0, 0});
  ASSERT_TRUE(gpu);
  EXPECT_EQ(gpu->driver, "nvlddmkm");
  EXPECT_FALSE(gpu->irq);
  // Nothing known: no facts. Absent: no facts.
  EXPECT_FALSE(access.Facts({0, 0, 0}));
  EXPECT_FALSE(access.Facts({0, 5, 0}));
}

// The bridge a device hangs from is the one the device manager names as its parent, whatever
// its bus numbers (which this method cannot read); a parent that is no PCI function is the
// root bus.
TEST_F(CfgmgrAccessTest, TheParentFactIsTheDeviceManagersParent) {
  std::vector<DeviceRecord> devices = Machine();
  devices[0].parent_instance_id = "pci\\ven_8086&dev_a340&subsys_86941043&rev_f0\\3&11583659&0&e0";
  devices[1].parent_instance_id = "ACPI\\PNP0A08\\0";
  CfgmgrAccess& access = Open({devices, ""});
  EXPECT_EQ(access.Facts({1, 0, 0})->parent, "00:1c.0");
  EXPECT_EQ(access.Facts({0, 0x1C, 0})->parent, "");
  // Not asked of the device manager: not known.
  EXPECT_FALSE(access.Facts({1, 0, 1})->parent);
}

TEST_F(CfgmgrAccessTest, AFailedEnumerationIsReportedAndShowsNothing) {
  CfgmgrAccess& access = Open({{}, "SetupDiGetClassDevs: Access is denied. (error 5)"});
  const std::string expected =
      "cfgmgr: cannot list the PCI devices: SetupDiGetClassDevs: Access is denied. (error 5)";
  EXPECT_EQ(access.Enumerate(), expected);
  const FunctionListing listing = access.ListFunctions(std::nullopt);
  EXPECT_TRUE(listing.present.empty());
  EXPECT_EQ(listing.skipped, std::vector<std::string>{expected});
  EXPECT_EQ(access.Read(0, 0, 0, 0), kAllOnes);
  EXPECT_EQ(calls_, 1);

  // Wine's one device: listed with no place, every row all ones.
  CfgmgrAccess& wine = Open({{Machine()[4]}, ""});
  EXPECT_EQ(wine.Enumerate(), "");
  const FunctionListing only = wine.ListFunctions(std::nullopt);
  EXPECT_TRUE(only.present.empty());
  EXPECT_TRUE(only.skipped.empty());
  ASSERT_EQ(only.unplaced.size(), 1u);
  EXPECT_EQ(only.unplaced[0].reg00, 0u);
  for (int device = 0; device < 32; ++device) EXPECT_EQ(wine.Read(0, device, 0, 0), kAllOnes);
}

}  // namespace
}  // namespace kelvox
