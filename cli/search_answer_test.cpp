#include "cli/search_answer.h"

#include <gtest/gtest.h>

namespace kelvox::cli {
namespace {

VendorAnswer Vendor(const std::string& text) { return *AnswerSearch({text, {}, {}}).vendor; }

DeviceAnswer Device(const std::string& vendor, const std::string& device) {
  return *AnswerSearch({vendor, device, {}}).device;
}

ClassAnswer Class(const std::string& text) { return *AnswerSearch({{}, {}, text}).class_code; }

std::vector<std::string> Names(const ClassAnswer& a) {
  return {a.base_name, a.sub_name, a.prog_if_name};
}

TEST(AnswerSearch, AVendorIdIsLookedUpAtExactlyFourCharacters) {
  const VendorAnswer nvidia = Vendor("10DE");
  EXPECT_TRUE(nvidia.found);
  EXPECT_EQ(nvidia.value, 0x10DE);
  EXPECT_EQ(nvidia.full_name, Vendor("10de").full_name);
  EXPECT_FALSE(nvidia.full_name.empty());
  for (const char* partial : {"", "1", "10", "10D"}) {
    const VendorAnswer a = Vendor(partial);
    EXPECT_FALSE(a.found) << partial;
    EXPECT_EQ(a.value, -1) << partial;
    EXPECT_EQ(a.full_name, "") << partial;
  }
  const VendorAnswer paradyne = Vendor("0033");
  EXPECT_TRUE(paradyne.found);
  EXPECT_EQ(paradyne.short_name, "");
  EXPECT_EQ(paradyne.full_name, "Paradyne Corp.");
  EXPECT_TRUE(Vendor("FA57").found);
  EXPECT_FALSE(Vendor("ffff").found);
  EXPECT_FALSE(Vendor("0000").found);
  // Not hexadecimal: parsed as -1, found nowhere; full-width digits are four characters too.
  EXPECT_EQ(Vendor("10dx").value, -1);
  EXPECT_FALSE(Vendor("10dx").found);
  EXPECT_EQ(Vendor("１０ｄｅ").value, -1);
}

TEST(AnswerSearch, DeviceNamesOnlyWhileTheVendorIsFound) {
  const DeviceAnswer nv11 = Device("10de", "0110");
  EXPECT_TRUE(nv11.found);
  EXPECT_EQ(nv11.value, 0x0110);
  EXPECT_EQ(nv11.chip_name, "NV11");  // the first of its two rows
  EXPECT_EQ(nv11.description, "GeForce2 MX / MX 400");
  // The device field is locked while no vendor is found: nothing is looked up.
  const DeviceAnswer locked = Device("10d", "0110");
  EXPECT_FALSE(locked.found);
  EXPECT_EQ(locked.value, -1);
  EXPECT_EQ(locked.chip_name, "");
  EXPECT_FALSE(AnswerSearch({{}, std::string("0110"), {}}).device->found);
  EXPECT_FALSE(Device("10de", "011").found);
  EXPECT_FALSE(Device("10de", "fffe").found);
  const SearchAnswer vendor_only = AnswerSearch({std::string("10de"), {}, {}});
  EXPECT_FALSE(vendor_only.device.has_value());
  EXPECT_FALSE(vendor_only.class_code.has_value());
}

TEST(AnswerSearch, AClassCodeNamesTheLevelsItsLengthGives) {
  EXPECT_EQ(Names(Class("01")), (std::vector<std::string>{"Mass Storage Controller", "", ""}));
  EXPECT_EQ(Names(Class("0106")),
            (std::vector<std::string>{"Mass Storage Controller", "Serial ATA", ""}));
  EXPECT_EQ(Names(Class("010601")),
            (std::vector<std::string>{"Mass Storage Controller", "Serial ATA", "AHCI 1.0"}));
  // Typed one character at a time, 3 and 5 characters keep what 2 and 4 gave.
  EXPECT_EQ(Names(Class("01060")),
            (std::vector<std::string>{"Mass Storage Controller", "Serial ATA", ""}));
  EXPECT_EQ(Names(Class("010")), (std::vector<std::string>{"Mass Storage Controller", "", ""}));
  EXPECT_EQ(Names(Class("0")), (std::vector<std::string>{"", "", ""}));
  EXPECT_EQ(Names(Class("")), (std::vector<std::string>{"", "", ""}));
  EXPECT_EQ(Names(Class("070100"))[2], "Standard");
  EXPECT_EQ(Names(Class("ff0000")),
            (std::vector<std::string>{"Unknown", "Device Does Not Fit In Class Codes", "UDF"}));
  EXPECT_EQ(Names(Class("ffffff")), (std::vector<std::string>{"Unknown", "", ""}));
}

TEST(AnswerSearch, ClassTextThatIsNotHexadecimalGivesBytesOfFf) {
  const ClassAnswer zz = Class("zz");
  EXPECT_EQ(Names(zz), (std::vector<std::string>{"Unknown", "", ""}));
  EXPECT_EQ(zz.base, 0xFF);
  const ClassAnswer wide = Class("０１");  // two full-width digits
  EXPECT_EQ(wide.base, 0xFF);
  EXPECT_EQ(Names(wide)[0], "Unknown");
  const ClassAnswer four = Class("0106");
  EXPECT_EQ(four.base, 0x01);
  EXPECT_EQ(four.sub, 0x06);
  EXPECT_EQ(four.prog_if, 0xFF);
  const ClassAnswer half_bad = Class("01zz");  // the whole field parses as -1
  EXPECT_EQ(half_bad.base, 0xFF);
  EXPECT_EQ(half_bad.sub, 0xFF);
}

}  // namespace
}  // namespace kelvox::cli
