// The pci.ids reader on small hand-written lists: every line kind, the header's version lines,
// brackets in names, duplicates, comments, CRLF and unknown blocks, and each malformed line.
#include "iddb/pci_ids_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace kelvox {
namespace {

std::shared_ptr<const PciIdList> Read(const std::string& text) {
  PciIdsRead read = ReadPciIds(text, "test.ids");
  EXPECT_EQ(read.error, "");
  return read.list;
}

std::string ErrorOf(const std::string& text) {
  PciIdsRead read = ReadPciIds(text, "test.ids");
  EXPECT_EQ(read.list, nullptr);
  return read.error;
}

struct Vendor {
  bool found = false;
  std::string_view short_name = "untouched", full_name = "untouched";
};
Vendor VendorOf(const PciIdList& list, std::uint32_t id) {
  Vendor v;
  v.found = list.FindVendor(id, v.short_name, v.full_name);
  return v;
}

struct Device {
  bool found = false;
  std::string_view chip = "untouched", description = "untouched";
};
Device DeviceOf(const PciIdList& list, std::uint32_t vendor, std::uint32_t device) {
  Device d;
  d.found = list.FindDevice(vendor, device, d.chip, d.description);
  return d;
}

std::string ClassOf(const PciIdList& list, std::uint32_t base, std::uint32_t sub,
                    std::uint32_t prog_if) {
  std::string_view b = "x", s = "x", p = "x";
  list.FindClass(base, sub, prog_if, b, s, p);
  return std::string(b) + "|" + std::string(s) + "|" + std::string(p);
}

constexpr char kSmallList[] =
    "#\n"
    "#\tList of PCI ID's\n"
    "#\n"
    "#\tVersion: 2023.04.10\n"
    "#\tDate:    2023-04-10 20:08:02\n"
    "#\n"
    "\n"
    "# Vendors, devices and subsystems.\n"
    "1002  Advanced Micro Devices, Inc. [AMD/ATI]\n"
    "\t4385  SBx00 SMBus Controller\n"
    "\t67df  Ellesmere [Radeon RX 470/480/570/570X/580/580X/590]\n"
    "\t\t1002 0b37  Radeon RX 480\n"
    "\t\t1028 1722  Radeon R9 M460\n"
    "1af4  Red Hat, Inc.\n"
    "\t1041  Virtio 1.0 network device\n"
    "\t\t1af4 1100  QEMU Virtual Machine\n"
    "\t1041  A later duplicate\n"
    "8086  Intel Corporation\n"
    "\t1237  440FX - 82441FX PMC [Natoma]\n"
    "\n"
    "# List of known device classes\n"
    "C 01  Mass storage controller\n"
    "\t01  IDE interface\n"
    "\t\t00  ISA Compatibility mode-only controller\n"
    "\t\t80  ISA Compatibility mode-only controller, supports bus mastering\n"
    "\t06  SATA controller\n"
    "\t\t01  AHCI 1.0\n"
    "C 02  Network controller\n"
    "\t00  Ethernet controller\n"
    "C ff  Unassigned class\n";

TEST(PciIdsReader, ReadsEveryLineKindOfASmallList) {
  const auto list = Read(kSmallList);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->version, "2023.04.10");
  EXPECT_EQ(list->vendors.size(), 3u);
  EXPECT_EQ(list->devices.size(), 5u);
  EXPECT_EQ(list->subsystems.size(), 3u);
  EXPECT_EQ(list->base_classes.size(), 3u);
  EXPECT_EQ(list->sub_classes.size(), 3u);
  EXPECT_EQ(list->prog_ifs.size(), 3u);

  const Vendor intel = VendorOf(*list, 0x8086);
  EXPECT_TRUE(intel.found);
  EXPECT_EQ(intel.short_name, "");
  EXPECT_EQ(intel.full_name, "Intel Corporation");

  const Device natoma = DeviceOf(*list, 0x8086, 0x1237);
  EXPECT_TRUE(natoma.found);
  EXPECT_EQ(natoma.chip, "440FX - 82441FX PMC");
  EXPECT_EQ(natoma.description, "Natoma");

  std::string_view name = "untouched";
  EXPECT_TRUE(list->FindSubsystem(0x1002, 0x67df, 0x1028, 0x1722, name));
  EXPECT_EQ(name, "Radeon R9 M460");
  EXPECT_TRUE(list->FindSubsystem(0x1af4, 0x1041, 0x1af4, 0x1100, name));
  EXPECT_EQ(name, "QEMU Virtual Machine");
  name = "untouched";
  EXPECT_FALSE(list->FindSubsystem(0x1002, 0x67df, 0x1028, 0x0000, name));
  EXPECT_FALSE(list->FindSubsystem(0x1002, 0x4385, 0x1002, 0x0b37, name));
  EXPECT_EQ(name, "untouched");

  EXPECT_EQ(ClassOf(*list, 0x01, 0x01, 0x80),
            "Mass storage controller|IDE interface|"
            "ISA Compatibility mode-only controller, supports bus mastering");
  EXPECT_EQ(ClassOf(*list, 0x01, 0x06, 0x01), "Mass storage controller|SATA controller|AHCI 1.0");
  EXPECT_EQ(ClassOf(*list, 0x02, 0x00, 0x00), "Network controller|Ethernet controller|");
  EXPECT_EQ(ClassOf(*list, 0x02, 0x80, 0x00), "Network controller||");
  EXPECT_EQ(ClassOf(*list, 0xff, 0x00, 0x00), "Unassigned class||");
  EXPECT_EQ(ClassOf(*list, 0x12, 0x00, 0x00), "||");
}

TEST(PciIdsReader, BracketsSplitNamesIntoTheirTwoFields) {
  const auto list = Read(kSmallList);
  ASSERT_NE(list, nullptr);
  // A vendor "A [B]": full name A, short name B.
  const Vendor amd = VendorOf(*list, 0x1002);
  EXPECT_EQ(amd.short_name, "AMD/ATI");
  EXPECT_EQ(amd.full_name, "Advanced Micro Devices, Inc.");
  // A device "A [B]": chip name A, description B; without brackets, all of it is the description.
  const Device ellesmere = DeviceOf(*list, 0x1002, 0x67df);
  EXPECT_EQ(ellesmere.chip, "Ellesmere");
  EXPECT_EQ(ellesmere.description, "Radeon RX 470/480/570/570X/580/580X/590");
  const Device smbus = DeviceOf(*list, 0x1002, 0x4385);
  EXPECT_EQ(smbus.chip, "");
  EXPECT_EQ(smbus.description, "SBx00 SMBus Controller");
}

TEST(PciIdsReader, NamesWithBracketsElsewhereStayWhole) {
  const auto list = Read(
      "1234  [Bracketed] only\n"
      "\t0001  Nested [A [B]]\n"
      "\t0002  Trailing ]\n"
      "\t0003  [Whole]\n"
      "\t0004  Two words [x] y\n"
      "5678  Acme  [ACM]\n");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(VendorOf(*list, 0x1234).full_name, "[Bracketed] only");
  EXPECT_EQ(VendorOf(*list, 0x1234).short_name, "");
  EXPECT_EQ(DeviceOf(*list, 0x1234, 1).chip, "Nested");
  EXPECT_EQ(DeviceOf(*list, 0x1234, 1).description, "A [B]");
  EXPECT_EQ(DeviceOf(*list, 0x1234, 2).description, "Trailing ]");
  EXPECT_EQ(DeviceOf(*list, 0x1234, 3).description, "[Whole]");
  EXPECT_EQ(DeviceOf(*list, 0x1234, 3).chip, "");
  EXPECT_EQ(DeviceOf(*list, 0x1234, 4).description, "Two words [x] y");
  EXPECT_EQ(VendorOf(*list, 0x5678).full_name, "Acme");
  EXPECT_EQ(VendorOf(*list, 0x5678).short_name, "ACM");
}

TEST(PciIdsReader, FirstMatchWinsAndMissesLeaveOutputsUntouched) {
  const auto list = Read(
      "aaaa  First vendor\n"
      "\t0001  First device\n"
      "\t0001  Second device\n"
      "bbbb  Other\n"
      "AAAA  Second block of the same vendor\n"
      "\t0001  Third device\n"
      "\t0002  Only in the second block\n"
      "C 03  Display controller\n"
      "\t00  VGA compatible controller\n"
      "C 03  Display again\n"
      "\t00  VGA again\n"
      "\t01  XGA compatible controller\n");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(VendorOf(*list, 0xAAAA).full_name, "First vendor");
  EXPECT_EQ(DeviceOf(*list, 0xaaaa, 0x0001).description, "First device");
  EXPECT_EQ(DeviceOf(*list, 0xaaaa, 0x0002).description, "Only in the second block");
  EXPECT_EQ(ClassOf(*list, 3, 0, 0), "Display controller|VGA compatible controller|");
  EXPECT_EQ(ClassOf(*list, 3, 1, 0), "Display controller|XGA compatible controller|");

  const Vendor none = VendorOf(*list, 0xcccc);
  EXPECT_FALSE(none.found);
  EXPECT_EQ(none.full_name, "untouched");
  const Device none_device = DeviceOf(*list, 0xbbbb, 0x0001);
  EXPECT_FALSE(none_device.found);
  EXPECT_EQ(none_device.description, "untouched");
  // Keys are masked to 16 bits, as the embedded lookups mask them.
  EXPECT_EQ(VendorOf(*list, 0x1aaaa).full_name, "First vendor");
  EXPECT_FALSE(VendorOf(*list, 0xFFFFFFFF).found);
}

TEST(PciIdsReader, AcceptsCrlfTrailingBlanksCommentsAndSkipsOtherBlocks) {
  const auto list = Read(
      "# comment\r\n"
      "\r\n"
      "1af4  Red Hat, Inc. \t \r\n"
      "\t1000  Virtio network device\r\n"
      "\t# an indented comment\r\n"
      "   \r\n"
      "X 01  Some other block\n"
      "\t11  its lines are skipped, whatever they hold: %%% [\n"
      "\t\t\tdeeper too\n"
      "C 02  Network controller  \r\n"
      "\t00  Ethernet controller");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->version, "");
  EXPECT_EQ(VendorOf(*list, 0x1af4).full_name, "Red Hat, Inc.");
  EXPECT_EQ(DeviceOf(*list, 0x1af4, 0x1000).description, "Virtio network device");
  EXPECT_EQ(ClassOf(*list, 2, 0, 0), "Network controller|Ethernet controller|");
  EXPECT_EQ(list->base_classes.size(), 1u);
}

TEST(PciIdsReader, TakesTheBestVersionLineOfTheHeader) {
  EXPECT_EQ(Read("#\tDate:    2023-04-10 20:08:02\n0001  A\n")->version, "2023-04-10 20:08:02");
  EXPECT_EQ(Read("#\tDaily snapshot on Sun 2005-12-04 01:15:02\n0001  A\n")->version,
            "Sun 2005-12-04 01:15:02");
  EXPECT_EQ(Read("#\t$Id: pci.ids,v 1.263 2005/12/04 20:04:27 mj Exp $\n0001  A\n")->version,
            "1.263 2005/12/04 20:04:27 mj Exp");
  EXPECT_EQ(Read("#\t$Id: pci.ids,v 1.1 $\n#\tVersion: 2.0\n0001  A\n")->version, "2.0");
  // Only the header counts: a comment after the first entry does not date the list.
  EXPECT_EQ(Read("0001  A\n#\tVersion: 9.9\n")->version, "");
}

TEST(PciIdsReader, MalformedLinesAreNamedByFileAndLine) {
  EXPECT_EQ(ErrorOf("# header\n\t1234  Device without vendor\n"),
            "test.ids:2: device line before any vendor line");
  EXPECT_EQ(ErrorOf("\t\t1234 5678  Subsystem outside\n"),
            "test.ids:1: tab-indented line outside any vendor or class block");
  EXPECT_EQ(ErrorOf("1234  A\n\t\t1234 5678  Subsystem before any device\n"),
            "test.ids:2: subsystem line before any device line");
  EXPECT_EQ(ErrorOf("123  Short\n"), "test.ids:1: vendor ID '123' is not 4 hexadecimal digits");
  EXPECT_EQ(ErrorOf("12345  Long\n"), "test.ids:1: vendor ID '12345' is not 4 hexadecimal digits");
  EXPECT_EQ(ErrorOf("12g4  Not hex\n"), "test.ids:1: vendor ID '12g4' is not 4 hexadecimal digits");
  EXPECT_EQ(ErrorOf("1234  A\r\n\t12z4  Dev\r\n"),
            "test.ids:2: device ID '12z4' is not 4 hexadecimal digits");
  EXPECT_EQ(ErrorOf("1234  A\n\t0001  B\n\t\t1234 56  S\n"),
            "test.ids:3: subsystem ID '56' is not 4 hexadecimal digits");
  EXPECT_EQ(ErrorOf("1234  A\n\t0001  B\n\t\t12345678  S\n"),
            "test.ids:3: subsystem vendor ID '12345678' is not 4 hexadecimal digits");
  EXPECT_EQ(ErrorOf("1234\n"), "test.ids:1: vendor 1234 has no name");
  EXPECT_EQ(ErrorOf("1234  A\n\t0001  B\n\t\t\t0002  C\n"),
            "test.ids:3: more than two tabs before an entry");
  EXPECT_EQ(ErrorOf("C 1  Short class\n"), "test.ids:1: class '1' is not 2 hexadecimal digits");
  EXPECT_EQ(ErrorOf("C 01  A\n\t001  B\n"),
            "test.ids:2: sub-class '001' is not 2 hexadecimal digits");
  EXPECT_EQ(ErrorOf("C 01  A\n\t\t00  No sub-class\n"),
            "test.ids:2: programming interface line before any sub-class line");
  EXPECT_EQ(ErrorOf("C 01  A\n\t00  B\n\t\txy  C\n"),
            "test.ids:3: programming interface 'xy' is not 2 hexadecimal digits");
  EXPECT_EQ(ErrorOf(" 1234  Leading blank\n"),
            "test.ids:1: vendor ID '' is not 4 hexadecimal digits");
  // Not a list at all.
  EXPECT_EQ(ErrorOf(""), "test.ids: no vendor or class lines; not a PCI ID list");
  EXPECT_EQ(ErrorOf("# only comments\n\n"),
            "test.ids: no vendor or class lines; not a PCI ID list");
}

TEST(PciIdsReader, AMalformedLineIsQuotedShortAndEscapedWhateverItHolds) {
  const std::string x40(40, 'x'), huge(50 << 20, 'x');
  const struct {
    std::string text, error;
  } cases[] = {
      // A line of 50 MB quotes 40 bytes of it.
      {"1234  A\n\t" + huge + "  Device\n",
       "test.ids:2: device ID '" + x40 + "…' is not 4 hexadecimal digits"},
      {huge + "\n", "test.ids:1: vendor ID '" + x40 + "…' is not 4 hexadecimal digits"},
      {"1234  A\n\t0001  B\n\t\t1234" + std::string(50 << 20, ' ') + "5678\n",
       "test.ids:3: subsystem 1234" + std::string(36, ' ') + "… has no name"},
      // 40 bytes exactly are quoted whole.
      {x40 + "  Vendor\n", "test.ids:1: vendor ID '" + x40 + "' is not 4 hexadecimal digits"},
      // Never half a UTF-8 character: "é" would straddle the 40th byte.
      {std::string(39, 'x') + "\xC3\xA9xx  V\n",
       "test.ids:1: vendor ID '" + std::string(39, 'x') + "…' is not 4 hexadecimal digits"},
      // Control bytes are escaped.
      {"\x1b[2J  Clear\n", "test.ids:1: vendor ID '\\x1B[2J' is not 4 hexadecimal digits"},
      {"1234  A\n\t0001  B\n\t\t1234\t5678\n", "test.ids:3: subsystem 1234\\t5678 has no name"},
  };
  for (const auto& c : cases) {
    const std::string error = ErrorOf(c.text);
    EXPECT_EQ(error, c.error) << error.substr(0, 200);
  }
}

}  // namespace
}  // namespace kelvox
