// The lookups every caller uses answer from the list in use: the embedded one by default, a
// file's list once chosen, and the embedded one again after switching back.
#include "iddb/name_source.h"

#include <gtest/gtest.h>

#include "iddb/lookup.h"
#include "iddb/pci_ids_reader.h"

namespace kelvox {
namespace {

class NameSource : public ::testing::Test {
 protected:
  void TearDown() override { UseEmbeddedIdList(); }
};

std::string VendorFullName(std::uint32_t id) {
  std::string_view short_name = "", full_name = "(none)";
  FindVendorName(id, short_name, full_name);
  return std::string(full_name);
}

TEST_F(NameSource, LookupsFollowTheListInUse) {
  const PciIdsRead read = ReadPciIds(
      "8086  Intel Corporation\n"
      "\t1237  440FX - 82441FX PMC [Natoma]\n"
      "\t\t1af4 1100  Qemu virtual machine\n"
      "1af4  Red Hat, Inc.\n"
      "C 06  Bridge\n"
      "\t00  Host bridge\n",
      "list.ids");
  ASSERT_EQ(read.error, "");

  EXPECT_EQ(ActiveIdList(), nullptr);
  EXPECT_EQ(VendorFullName(0x8086), "Intel Corporation");
  EXPECT_EQ(VendorFullName(0x1af4), "(none)");
  std::string_view name = "(none)";
  EXPECT_FALSE(FindSubsystemName(0x8086, 0x1237, 0x1af4, 0x1100, name));

  UseIdList(read.list);
  EXPECT_EQ(ActiveIdList(), read.list.get());
  EXPECT_EQ(VendorFullName(0x1af4), "Red Hat, Inc.");
  std::string_view chip, description;
  EXPECT_TRUE(FindDeviceName(0x8086, 0x1237, chip, description));
  EXPECT_EQ(chip, "440FX - 82441FX PMC");
  EXPECT_EQ(description, "Natoma");
  EXPECT_TRUE(FindSubsystemName(0x8086, 0x1237, 0x1af4, 0x1100, name));
  EXPECT_EQ(name, "Qemu virtual machine");
  std::string_view base, sub, prog_if;
  FindClassNames(0x06, 0x00, 0x00, base, sub, prog_if);
  EXPECT_EQ(base, "Bridge");
  EXPECT_EQ(sub, "Host bridge");
  EXPECT_EQ(prog_if, "");

  UseEmbeddedIdList();
  EXPECT_EQ(VendorFullName(0x1af4), "(none)");
  EXPECT_TRUE(FindDeviceName(0x8086, 0x1237, chip, description));
  EXPECT_EQ(chip, "82440LX/EX");
  EXPECT_EQ(description, "PCI & Memory Controller (PMC)");
}

}  // namespace
}  // namespace kelvox
