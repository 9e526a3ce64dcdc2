// PCI domains through every access method that has them: captures with several domains, sysfs
// trees with several domains, the domain a view starts on, and domain numbers as typed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "config/bus_capture.h"
#include "config/capture/capture_text.h"
#include "config/domain_number.h"
#include "config/sysfs/folder_name.h"
#include "config/sysfs/sysfs_access.h"
#include "config/sysfs/testing/fake_sysfs_tree.h"

namespace kelvox {
namespace {

using testing::FakeSysfsTree;
using testing::Header;
using testing::Region;

std::vector<FunctionLocation> Present(ConfigAccess& access) {
  return access.ListFunctions(std::nullopt).present;
}

// As `lspci -x` writes a Hyper-V guest: a passed-through GPU in its own domain beside the
// emulated devices of domain 0000, and a VMD domain of five digits.
constexpr char kThreeDomains[] =
    "0000:00:00.0 Host bridge: Intel Corporation 440FX (rev 02)\n"
    "00: 86 80 37 12 06 00 00 00 02 00 00 06 00 00 00 00\n"
    "\n"
    "c0e3:00:00.0 3D controller: NVIDIA Corporation GA100 (rev a1)\n"
    "00: de 10 b5 20 06 00 10 00 a1 00 02 03 00 00 00 00\n"
    "10: 00 00 00 f0 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "# writable 10 ff000000\n"
    "# fact driver nvidia\n"
    "\n"
    "10000:e1:00.0 Non-Volatile memory controller: Samsung (rev 01)\n"
    "00: 4d 14 0a a8 06 04 10 00 01 02 08 01 00 00 00 00\n"
    "\n";

// An access with devices 0-31 on bus 0 of domain c0e3 that counts how often its domains are
// listed, as a sysfs tree lists its folders each time.
class CountingDomains final : public ConfigAccess {
 public:
  uint32_t Read(int bus, int, int function, int) override {
    return SelectedDomain() == 0xC0E3 && bus == 0 && function == 0 ? 0x12378086u : kAllOnes;
  }
  void Write(int, int, int, int, uint32_t) override {}
  std::string Name() const override { return "counting"; }
  std::vector<int> Domains() override {
    ++listings;
    return {0, 0xC0E3};
  }
  int listings = 0;
};

TEST(Domains, VisitingEveryFunctionListsTheDomainsOnce) {
  CountingDomains access;
  const FunctionListing every = ListEveryDomain(access, 0);
  ASSERT_EQ(every.present.size(), 32u);
  const int after_listing = access.listings;
  for (const FunctionLocation& at : every.present) {
    const DomainScope in_domain(access, at.domain);
    EXPECT_EQ(access.Read(at.bus, at.device, at.function, 0x00), 0x12378086u);
  }
  // Switching into a domain already seen, and back to 0, lists nothing again.
  EXPECT_LE(access.listings - after_listing, 1);
  // A domain never seen is still looked for, and one that is not there still refused.
  EXPECT_FALSE(access.SelectDomain(0xC0E4));
  EXPECT_EQ(access.SelectedDomain(), 0);
}

TEST(CapturedDomains, EveryDomainLoadsAndIsAddressedOnItsOwn) {
  SimulatedBus bus = ParseSimulatedBus(kThreeDomains);
  EXPECT_EQ(bus.Domains(), (std::vector<int>{0, 0xC0E3, 0x10000}));
  // Domain 0 is selected first and shows only its own function.
  EXPECT_EQ(Present(bus), (std::vector<FunctionLocation>{{0, 0, 0}}));
  EXPECT_EQ(bus.Read(0, 0, 0, 0x00), 0x12378086u);
  ASSERT_TRUE(bus.SelectDomain(0xC0E3));
  EXPECT_EQ(Present(bus), (std::vector<FunctionLocation>{{0, 0, 0, 0xC0E3}}));
  EXPECT_EQ(bus.Read(0, 0, 0, 0x00), 0x20B510DEu);
  // Writes reach the selected domain only, under its masks.
  bus.Write(0, 0, 0, 0x10, 0xFFFFFFFF);
  EXPECT_EQ(bus.Read(0, 0, 0, 0x10), 0xFF000000u);
  EXPECT_EQ(bus.Facts({0, 0, 0, 0xC0E3})->driver, "nvidia");
  EXPECT_FALSE(bus.Facts({0, 0, 0, 0}).has_value());
  ASSERT_TRUE(bus.SelectDomain(0x10000));
  EXPECT_EQ(bus.Read(0xE1, 0, 0, 0x08), 0x01080201u);
  EXPECT_EQ(bus.Read(0, 0, 0, 0x00), kAllOnes);
  // A domain that is not there is refused and changes nothing.
  EXPECT_FALSE(bus.SelectDomain(1));
  EXPECT_EQ(bus.SelectedDomain(), 0x10000);
}

TEST(CapturedDomains, AMachineWithoutDomainZeroStartsOnItsLowestDomain) {
  SimulatedBus bus =
      ParseSimulatedBus("0002:00:00.0 x\n00: 86 80 00 00\n\n0001:03:00.0 y\n00: 86 80 01 00\n");
  EXPECT_EQ(bus.Domains(), (std::vector<int>{1, 2}));
  EXPECT_EQ(StartingDomain(bus.Domains()), 1);
  EXPECT_EQ(StartingDomain({0, 5}), 0);
  EXPECT_EQ(StartingDomain({0xC0E3, 0x10000}), 0xC0E3);
  // Nothing is listed in domain 0, which the machine lacks; every domain is listed together.
  EXPECT_TRUE(Present(bus).empty());
  EXPECT_EQ(ListEveryDomain(bus, std::nullopt).present,
            (std::vector<FunctionLocation>{{3, 0, 0, 1}, {0, 0, 0, 2}}));
  EXPECT_EQ(ListEveryDomain(bus, 3).present, (std::vector<FunctionLocation>{{3, 0, 0, 1}}));
  EXPECT_EQ(bus.SelectedDomain(), 0);  // left as it was
}

TEST(CapturedDomains, WrittenWithEveryDomainOnceOneIsNotZeroAndReadBackWhole) {
  const SimulatedBus bus = ParseSimulatedBus(kThreeDomains);
  const std::string text = FormatSimulatedBus(bus);
  EXPECT_EQ(text.substr(0, text.find('\n')), "0000:00:00.0 0600: 8086:1237 (rev 02)");
  EXPECT_NE(text.find("\nc0e3:00:00.0 0302: 10de:20b5 (rev a1)\n"), std::string::npos);
  EXPECT_NE(text.find("\n10000:e1:00.0 0108: 144d:a80a (rev 01)\n"), std::string::npos);
  const SimulatedBus again = ParseSimulatedBus(text);
  EXPECT_EQ(again.Locations(), bus.Locations());
  EXPECT_EQ(FormatSimulatedBus(again), text);
  // Domain 0000 alone keeps the short addresses.
  const std::string one = FormatSimulatedBus(ParseSimulatedBus("0000:00:01.0 x\n00: 86 80\n"));
  EXPECT_EQ(one.substr(0, one.find('\n')), "00:01.0 0000: 8086:0000");
}

TEST(SysfsDomains, FoldersOfEveryDomainAreListedAndRead) {
  FakeSysfsTree tree;
  tree.Add("0000:00:01.0", {Header({}), {}});
  std::vector<uint32_t> gpu = Header({0xF0000000});
  gpu[0] = 0x20B510DE;
  tree.Add("c0e3:00:00.0", {gpu, {Region(0xF0000000, 0x1000000)}});
  std::vector<uint32_t> nvme = Header({});
  nvme[0] = 0xA80A144D;
  tree.Add("10000:e1:00.0", {nvme, {}});
  // Not function folders: a nine-digit domain, a three-digit one, an upper-case one.
  for (const char* name : {"100000000:00:00.0", "000:00:00.0", "C0E3:00:01.0"}) {
    std::filesystem::create_directory(tree.root() + "/" + name);
  }
  SysfsAccess access(tree.root());
  EXPECT_EQ(access.Domains(), (std::vector<int>{0, 0xC0E3, 0x10000}));
  EXPECT_EQ(Present(access), (std::vector<FunctionLocation>{{0, 1, 0}}));
  ASSERT_TRUE(access.SelectDomain(0x10000));
  EXPECT_EQ(Present(access), (std::vector<FunctionLocation>{{0xE1, 0, 0, 0x10000}}));
  EXPECT_EQ(access.Read(0xE1, 0, 0, 0x00), 0xA80A144Du);
  EXPECT_EQ(access.FunctionFolder({0xE1, 0, 0, 0x10000}), tree.root() + "/10000:e1:00.0");
  ASSERT_TRUE(access.SelectDomain(0xC0E3));
  EXPECT_EQ(access.Read(0, 0, 0, 0x00), 0x20B510DEu);
  EXPECT_EQ(access.Read(0, 1, 0, 0x00), kAllOnes);  // that is domain 0's
  // Sizing is answered from the domain's own resource file.
  access.Write(0, 0, 0, 0x10, kAllOnes);
  EXPECT_EQ(access.Read(0, 0, 0, 0x10), 0xFF000000u);
  access.Write(0, 0, 0, 0x10, 0xF0000000);
  EXPECT_EQ(access.SizingWithoutWriting({0, 0, 0, 0xC0E3})->writable[4], 0xFF000000u);
  EXPECT_FALSE(access.SizingWithoutWriting({0, 0, 0, 0}).has_value());

  // A capture holds every domain, each function with its own bytes and sizes.
  access.SelectDomain(0);
  const BusCapture capture = CaptureBus(access);
  ASSERT_TRUE(capture.bus.has_value()) << capture.error;
  EXPECT_TRUE(capture.warnings.empty()) << capture.warnings.front();
  EXPECT_EQ(capture.bus->Locations(),
            (std::vector<FunctionLocation>{{0, 1, 0}, {0, 0, 0, 0xC0E3}, {0xE1, 0, 0, 0x10000}}));
  EXPECT_EQ(capture.bus->Find({0, 0, 0, 0xC0E3})->writable[4], 0xFF000000u);
  EXPECT_EQ(access.SelectedDomain(), 0);
}

TEST(SysfsDomains, FolderNamesCarryTheirDomain) {
  EXPECT_EQ(SysfsFolderName({0x3A, 0x1F, 7, 0xC0E3}), "c0e3:3a:1f.7");
  EXPECT_EQ(SysfsFolderName({1, 2, 3}), "0000:01:02.3");
  EXPECT_EQ(SysfsFolderName({0, 0, 0, 0x10000}), "10000:00:00.0");
  EXPECT_EQ(ParseSysfsFolderName("7fffffff:ff:1f.7"),
            (FunctionLocation{0xFF, 0x1F, 7, kMaxDomain}));
  EXPECT_EQ(ParseSysfsFolderName("10000:00:02.0"), (FunctionLocation{0, 2, 0, 0x10000}));
  for (const char* name : {"80000000:00:00.0", "ffffffff:00:00.0", "0000:00:00.0:", "0-00:00:00.0",
                           "0000::00:00.0", " 0000:00:00.0"}) {
    EXPECT_FALSE(ParseSysfsFolderName(name).has_value()) << name;
  }
}

TEST(DomainNumber, TypedDomainsAreHexWithinRange) {
  EXPECT_EQ(ParseDomainNumber("0").value, 0);
  EXPECT_EQ(ParseDomainNumber("C0e3").value, 0xC0E3);
  EXPECT_EQ(ParseDomainNumber("10000").value, 0x10000);
  EXPECT_EQ(ParseDomainNumber("7fffffff").value, kMaxDomain);
  const struct {
    const char* text;
    const char* error;
  } bad[] = {
      {"", "the domain is empty: give it in hex, as in c0e3"},
      {"0x10", "domain '0x10' is not a hex number"},
      {"-1", "domain '-1' is not a hex number"},
      {" 1", "domain ' 1' is not a hex number"},
      {"c0e3 ", "domain 'c0e3 ' is not a hex number"},
      {"123456789", "domain '123456789' has more than 8 hex digits"},
      {"80000000", "domain '80000000' is out of range (at most 7fffffff)"},
  };
  for (const auto& b : bad) {
    const DomainNumber parsed = ParseDomainNumber(b.text);
    EXPECT_FALSE(parsed.value.has_value()) << b.text;
    EXPECT_EQ(parsed.error, b.error);
  }
  EXPECT_EQ(DomainListText({0, 0xC0E3, 0x10000}), "0000, c0e3, 10000");
}

}  // namespace
}  // namespace kelvox
