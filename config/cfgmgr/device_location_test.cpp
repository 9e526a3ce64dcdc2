#include "config/cfgmgr/device_location.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvox {
namespace {

DeviceRecord At(std::optional<uint32_t> bus, std::optional<uint32_t> address,
                std::optional<std::string> text = std::nullopt, std::string instance = "") {
  DeviceRecord r;
  r.bus_number = bus;
  r.address = address;
  r.location_text = std::move(text);
  r.instance_id = std::move(instance);
  return r;
}

TEST(DeviceLocation, ReadsTheTextsWindowsWrites) {
  EXPECT_EQ(ParseLocationNumbers("PCI bus 0, device 2, function 0"), (LocationNumbers{0, 2, 0}));
  // Decimal on real Windows: device 31 is "31", not "1f".
  EXPECT_EQ(ParseLocationNumbers("PCI bus 12, device 31, function 7"),
            (LocationNumbers{12, 31, 7}));
  EXPECT_EQ(ParseLocationNumbers("pci BUS 1, DEVICE 0, Function 1"), (LocationNumbers{1, 0, 1}));
  // Words around it.
  EXPECT_EQ(ParseLocationNumbers("PCI Slot 4 (PCI bus 2, device 0, function 0)"),
            (LocationNumbers{2, 0, 0}));
  // The indirect text the registry stores, with its arguments.
  EXPECT_EQ(ParseLocationNumbers(
                "@System32\\drivers\\pci.sys,#65536;PCI bus %1, device %2, function %3;(3,0,1)"),
            (LocationNumbers{3, 0, 1}));
  EXPECT_FALSE(ParseLocationNumbers("@x.sys,#1;PCI bus %1, device %2, function %3;(3,0)"));
  EXPECT_FALSE(ParseLocationNumbers("Slot;(3,0,1)"));
  // The short form is hexadecimal, two digits each, in a location text or an instance ID.
  EXPECT_EQ(ParseLocationNumbers("BUS_0A&DEV_1F&FUNC_03"), (LocationNumbers{10, 31, 3}));
  EXPECT_EQ(ParseLocationNumbers("PCI\\VEN_8086&DEV_1234\\BUS_02&DEV_1c&FUNC_00"),
            (LocationNumbers{2, 28, 0}));
  // Numbers out of range are read as they are; LocateDevice refuses them.
  EXPECT_EQ(ParseLocationNumbers("PCI bus 300, device 40, function 9"),
            (LocationNumbers{300, 40, 9}));

  for (const char* none : {"", "PCI bus , device 2, function 0", "PCI bus 0 device 2 function 0",
                           "PCI bus 0, device 2", "BUS_1&DEV_02&FUNC_00", "BUS_01&DEV_02&FUNC_0",
                           "BUS_01&DEV_0x&FUNC_00", "Internal PCI Express Root Port",
                           "PCI Slot 4 (PCI bus 2, device x, function 0)"}) {
    EXPECT_FALSE(ParseLocationNumbers(none)) << none;
  }
}

TEST(DeviceLocation, PrefersTheNumberPropertiesAndFillsWhatIsMissing) {
  // Device 0x1f, function 3.
  EXPECT_EQ(LocateDevice(At(0, 0x1F0003, "PCI bus 9, device 9, function 1")).at,
            (FunctionLocation{0, 31, 3}));
  EXPECT_EQ(LocateDevice(At(std::nullopt, std::nullopt, "PCI bus 4, device 0, function 1")).at,
            (FunctionLocation{4, 0, 1}));
  // Bus known, address missing: device and function from the text.
  EXPECT_EQ(LocateDevice(At(2, std::nullopt, "PCI bus 7, device 5, function 6")).at,
            (FunctionLocation{2, 5, 6}));
  // Address known, bus missing.
  EXPECT_EQ(LocateDevice(At(std::nullopt, 0x00030001, "PCI bus 7, device 5, function 6")).at,
            (FunctionLocation{7, 3, 1}));
  // No text: the instance ID.
  EXPECT_EQ(LocateDevice(At(std::nullopt, std::nullopt, std::nullopt,
                            "PCI\\VEN_1234&DEV_5678\\BUS_01&DEV_02&FUNC_03"))
                .at,
            (FunctionLocation{1, 2, 3}));
  // A text that says nothing of the place, then the instance ID.
  EXPECT_EQ(LocateDevice(At(std::nullopt, std::nullopt, "Onboard LAN",
                            "PCI\\VEN_1234&DEV_5678\\BUS_01&DEV_02&FUNC_03"))
                .at,
            (FunctionLocation{1, 2, 3}));
}

TEST(DeviceLocation, NoLocationOrOneOutOfRangeGivesNoPlace) {
  const PlaceOrProblem wine =
      LocateDevice(At(std::nullopt, std::nullopt, std::nullopt,
                      "PCI\\VEN_0000&DEV_0000&SUBSYS_00000000&REV_00\\00000000"));
  EXPECT_FALSE(wine.at);
  EXPECT_EQ(wine.problem, "");
  // Only the bus is known.
  EXPECT_FALSE(LocateDevice(At(0, std::nullopt)).at);

  struct Case {
    DeviceRecord record;
    std::string problem;
  };
  const Case cases[] = {
      {At(256, 0x00020000), "location out of range: bus 256, device 2, function 0"},
      {At(0, 0x00200000), "location out of range: bus 0, device 32, function 0"},
      {At(0, 0x00020008), "location out of range: bus 0, device 2, function 8"},
      {At(0, 0xFFFFFFFF), "location out of range: bus 0, device 65535, function 65535"},
      {At(std::nullopt, std::nullopt, "PCI bus 99999999999999999999, device 0, function 0"),
       "location out of range: bus 1099511627776, device 0, function 0"},
  };
  for (const Case& c : cases) {
    const PlaceOrProblem place = LocateDevice(c.record);
    EXPECT_FALSE(place.at) << c.problem;
    EXPECT_EQ(place.problem, c.problem);
  }
}

}  // namespace
}  // namespace kelvox
