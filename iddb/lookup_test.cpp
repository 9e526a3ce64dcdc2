#include "iddb/lookup.h"

#include <gtest/gtest.h>

namespace kelvox {
namespace {

struct ClassNames {
  std::string_view base, sub, prog_if;
};

ClassNames Classify(std::uint32_t base, std::uint32_t sub, std::uint32_t prog_if) {
  // Start from non-empty texts so a level the lookup forgot to set would show.
  ClassNames names{"stale", "stale", "stale"};
  FindClassNames(base, sub, prog_if, names.base, names.sub, names.prog_if);
  return names;
}

TEST(FindVendorName, FirstAndLastRows) {
  std::string_view short_name = "x", full_name = "x";
  ASSERT_TRUE(FindVendorName(0x0033, short_name, full_name));
  EXPECT_EQ(short_name, "");
  EXPECT_EQ(full_name, "Paradyne Corp.");
  ASSERT_TRUE(FindVendorName(0xFA57, short_name, full_name));
  EXPECT_EQ(short_name, "Interagon");
  EXPECT_EQ(full_name, "Interagon AS");
  ASSERT_TRUE(FindVendorName(0x10DE, short_name, full_name));
  EXPECT_EQ(short_name, "NVIDIA David");  // as the list has it
  EXPECT_EQ(full_name, "NVIDIA Corporation");
}

TEST(FindVendorName, MissLeavesOutputsUntouched) {
  for (std::uint32_t vendor : {0xFFFFu, 0x0000u, 0x0034u, 0xFA58u}) {
    std::string_view short_name = "keep", full_name = "these";
    EXPECT_FALSE(FindVendorName(vendor, short_name, full_name)) << std::hex << vendor;
    EXPECT_EQ(short_name, "keep");
    EXPECT_EQ(full_name, "these");
  }
}

TEST(FindVendorName, OnlyTheLow16BitsOfTheKeyCount) {
  std::string_view short_name, full_name;
  ASSERT_TRUE(FindVendorName(0xABCD0033, short_name, full_name));
  EXPECT_EQ(full_name, "Paradyne Corp.");
  // A failed parse (-1) asks for vendor 0xFFFF, which no row holds.
  EXPECT_FALSE(FindVendorName(static_cast<std::uint32_t>(-1), short_name, full_name));
}

TEST(FindDeviceName, FirstStoredRowOfADuplicatedPairWins) {
  std::string_view chip, description;
  ASSERT_TRUE(FindDeviceName(0x10DE, 0x0110, chip, description));
  EXPECT_EQ(chip, "NV11");
  EXPECT_EQ(description, "GeForce2 MX / MX 400");
  ASSERT_TRUE(FindDeviceName(0x16AE, 0x1141, chip, description));  // the very first row
  EXPECT_EQ(chip, "SafeXcel-1141");
  EXPECT_EQ(description, "???");
}

TEST(FindDeviceName, KeysAreMaskedAndMissesLeaveOutputsUntouched) {
  std::string_view chip = "keep", description = "these";
  ASSERT_TRUE(FindDeviceName(0x7FFF10DE, 0x80000110, chip, description));
  EXPECT_EQ(chip, "NV11");
  chip = "keep";
  description = "these";
  // Known vendor, unknown device; known device ID under another vendor; the all-ones keys.
  EXPECT_FALSE(FindDeviceName(0x10DE, 0xFFFF, chip, description));
  EXPECT_FALSE(FindDeviceName(0x0033, 0x0110, chip, description));
  EXPECT_FALSE(FindDeviceName(0xFFFF, 0xFFFF, chip, description));
  EXPECT_EQ(chip, "keep");
  EXPECT_EQ(description, "these");
}

TEST(FindClassNames, FirstRowPerLevelWins) {
  const ClassNames parallel = Classify(0x07, 0x01, 0x00);
  EXPECT_EQ(parallel.base, "Simple Communications Controller");
  EXPECT_EQ(parallel.sub, "Parallel");
  EXPECT_EQ(parallel.prog_if, "Standard");  // never the second row's "Bidirectional"

  const ClassNames ahci = Classify(0x01, 0x06, 0x01);
  EXPECT_EQ(ahci.base, "Mass Storage Controller");
  EXPECT_EQ(ahci.sub, "Serial ATA");
  EXPECT_EQ(ahci.prog_if, "AHCI 1.0");
}

TEST(FindClassNames, UnnamedLevelsAreEmpty) {
  const ClassNames udf = Classify(0xFF, 0x00, 0x00);
  EXPECT_EQ(udf.base, "Unknown");
  EXPECT_EQ(udf.sub, "Device Does Not Fit In Class Codes");
  EXPECT_EQ(udf.prog_if, "UDF");

  const ClassNames all_ones = Classify(0xFF, 0xFF, 0xFF);
  EXPECT_EQ(all_ones.base, "Unknown");
  EXPECT_EQ(all_ones.sub, "");
  EXPECT_EQ(all_ones.prog_if, "");

  // The sub-class is named by the first ATA-with-ADMA row although neither row has prog-if 00.
  const ClassNames adma = Classify(0x01, 0x05, 0x00);
  EXPECT_EQ(adma.base, "Mass Storage Controller");
  EXPECT_EQ(adma.sub, "ATA with ADMA");
  EXPECT_EQ(adma.prog_if, "");

  const ClassNames other = Classify(0x07, 0x80, 0x00);
  EXPECT_EQ(other.base, "Simple Communications Controller");
  EXPECT_EQ(other.sub, "Other");
  EXPECT_EQ(other.prog_if, "");

  // The row 07/80/02 itself names no programming interface.
  EXPECT_EQ(Classify(0x07, 0x80, 0x02).prog_if, "");

  for (std::uint32_t base : {0x0Du, 0x11u, 0xFEu}) {
    const ClassNames none = Classify(base, 0x00, 0x00);
    EXPECT_EQ(none.base, "") << std::hex << base;
    EXPECT_EQ(none.sub, "");
    EXPECT_EQ(none.prog_if, "");
    EXPECT_NE(none.base.data(), nullptr);  // still a C string
  }
}

TEST(FindClassNames, OnlyTheLow8BitsOfEachKeyCount) {
  const ClassNames masked = Classify(0x107, 0xF01, 0xAB00);
  EXPECT_EQ(masked.base, "Simple Communications Controller");
  EXPECT_EQ(masked.sub, "Parallel");
  EXPECT_EQ(masked.prog_if, "Standard");
  // A failed parse gives 0xFF for every byte taken from it.
  const ClassNames failed = Classify(static_cast<std::uint32_t>(-1), 0xFF, 0xFF);
  EXPECT_EQ(failed.base, "Unknown");
  EXPECT_EQ(failed.sub, "");
}

}  // namespace
}  // namespace kelvox
