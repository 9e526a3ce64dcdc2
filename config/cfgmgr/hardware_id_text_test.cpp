#include "config/cfgmgr/hardware_id_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvox {
namespace {

using namespace std::string_literals;

TEST(HardwareIdText, ReadsEveryPartWindowsWrites) {
  const ParsedHardwareId full =
      ParseHardwareIdText("PCI\\VEN_8086&DEV_100E&SUBSYS_001E8086&REV_02");
  ASSERT_TRUE(full.id) << full.problem;
  EXPECT_EQ(full.id->vendor, 0x8086);
  EXPECT_EQ(full.id->device, 0x100E);
  EXPECT_EQ(full.id->subsystem, 0x001E8086u);
  EXPECT_EQ(full.id->revision, 0x02);
  EXPECT_FALSE(full.id->class_code);

  const ParsedHardwareId six = ParseHardwareIdText("PCI\\VEN_10DE&DEV_1C82&CC_030000");
  ASSERT_TRUE(six.id);
  EXPECT_EQ(six.id->class_code, 0x030000u);
  EXPECT_TRUE(six.id->class_has_interface);
  EXPECT_FALSE(six.id->subsystem);

  const ParsedHardwareId four = ParseHardwareIdText("PCI\\CC_0C03");
  ASSERT_TRUE(four.id);
  EXPECT_EQ(four.id->class_code, 0x0C0300u);
  EXPECT_FALSE(four.id->class_has_interface);
  EXPECT_FALSE(four.id->vendor);

  const ParsedHardwareId vendor_only = ParseHardwareIdText("PCI\\VEN_1B36");
  ASSERT_TRUE(vendor_only.id);
  EXPECT_EQ(vendor_only.id->vendor, 0x1B36);
  EXPECT_FALSE(vendor_only.id->device);
}

TEST(HardwareIdText, ReadsLowerCaseKeysAndDigits) {
  const ParsedHardwareId lower =
      ParseHardwareIdText("pci\\ven_15ad&dev_07a0&subsys_07a015ad&rev_01&cc_060400");
  ASSERT_TRUE(lower.id) << lower.problem;
  EXPECT_EQ(lower.id->vendor, 0x15AD);
  EXPECT_EQ(lower.id->device, 0x07A0);
  EXPECT_EQ(lower.id->subsystem, 0x07A015ADu);
  EXPECT_EQ(lower.id->revision, 0x01);
  EXPECT_EQ(lower.id->class_code, 0x060400u);
}

TEST(HardwareIdText, RefusesJunkWithAReason) {
  struct Case {
    std::string text;
    std::string problem;
  };
  const std::vector<Case> cases = {
      {"", "\"\" does not start with PCI\\"},
      {"USB\\VID_046D&PID_C52B", "\"USB\\VID_046D&PID_C52B\" does not start with PCI\\"},
      {"PCI\\", "\"PCI\\\" names no part"},
      {"PCI\\VEN_80&DEV_1234",
       "\"PCI\\VEN_80&DEV_1234\": VEN_ needs 4 hexadecimal digits, not \"80\""},
      {"PCI\\VEN_8086&DEV_12G4",
       "\"PCI\\VEN_8086&DEV_12G4\": DEV_ needs 4 hexadecimal digits, not \"12G4\""},
      {"PCI\\VEN_8086&DEV_1234&SUBSYS_1234",
       "\"PCI\\VEN_8086&DEV_1234&SUBSYS_1234\": SUBSYS_ needs 8 hexadecimal digits, not \"1234\""},
      {"PCI\\VEN_8086&REV_123",
       "\"PCI\\VEN_8086&REV_123\": REV_ needs 2 hexadecimal digits, not \"123\""},
      {"PCI\\CC_03000", "\"PCI\\CC_03000\": CC_ needs 4 or 6 hexadecimal digits, not \"03000\""},
      {"PCI\\VEN_8086&VEN_8086", "\"PCI\\VEN_8086&VEN_8086\" names VEN_ twice"},
      {"PCI\\CC_0300&CC_030000", "\"PCI\\CC_0300&CC_030000\" names CC_ twice"},
      {"PCI\\VEN_8086&&DEV_1234", "\"PCI\\VEN_8086&&DEV_1234\": unknown part \"\""},
      {"PCI\\VEN_8086&DEV_1234&", "\"PCI\\VEN_8086&DEV_1234&\": unknown part \"\""},
      {"PCI\\VEN_8086&FOO_1", "\"PCI\\VEN_8086&FOO_1\": unknown part \"FOO_1\""},
      {"PCI\\VEN8086", "\"PCI\\VEN8086\": unknown part \"VEN8086\""},
      // The part a device instance ID adds after the hardware ID is not part of an ID.
      {"PCI\\VEN_8086&DEV_1234\\3&11583659&0&10",
       "\"PCI\\VEN_8086&DEV_1234\\3&11583659&0&10\": DEV_ needs 4 hexadecimal digits, not "
       "\"1234\\3\""},
      {"PCI\\VEN_+123", "\"PCI\\VEN_+123\": VEN_ needs 4 hexadecimal digits, not \"+123\""},
      {"PCI\\VEN_\x01\xff"
       "12",
       "\"PCI\\VEN_??12\": VEN_ needs 4 hexadecimal digits, not \"??12\""},
  };
  for (const Case& c : cases) {
    const ParsedHardwareId parsed = ParseHardwareIdText(c.text);
    EXPECT_FALSE(parsed.id) << c.text;
    EXPECT_EQ(parsed.problem, c.problem) << c.text;
  }
  const ParsedHardwareId long_junk = ParseHardwareIdText(std::string(100, 'x'));
  EXPECT_EQ(long_junk.problem,
            "\"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...\" does not start with PCI\\");
}

TEST(HardwareIdText, SplitsMultiStrings) {
  EXPECT_EQ(SplitMultiString("PCI\\VEN_1&x\0PCI\\CC_0300\0\0"s),
            (std::vector<std::string>{"PCI\\VEN_1&x", "PCI\\CC_0300"}));
  EXPECT_EQ(SplitMultiString(""), std::vector<std::string>{});
  EXPECT_EQ(SplitMultiString("\0"s), std::vector<std::string>{});
  // Closing NULs missing: the text up to the end still counts.
  EXPECT_EQ(SplitMultiString("a\0b"s), (std::vector<std::string>{"a", "b"}));
  // An empty text ends the list, as it does in the registry.
  EXPECT_EQ(SplitMultiString("a\0\0b\0\0"s), std::vector<std::string>{"a"});
}

}  // namespace
}  // namespace kelvox
