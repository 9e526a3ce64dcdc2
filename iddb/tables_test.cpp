// The compiled tables checked against the lists in iddb/data, read here at test time by a
// reader of their own, so a fault of the generator cannot hide behind itself.
#include "iddb/tables.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "iddb/lookup.h"
#include "text/cp932.h"

namespace kelvox {
namespace {

using Row = std::vector<std::string>;

std::string Unescape(const std::string& field) {
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 1 < field.size()) {
      const char next = field[++i];
      text += next == 'n' ? '\n' : next == 't' ? '\t' : next;
    } else {
      text += field[i];
    }
  }
  return text;
}

std::vector<Row> ReadList(const std::string& name) {
  std::ifstream in(std::string(KELVOX_IDDB_DATA_DIR) + "/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  std::vector<Row> rows;
  for (std::string line; std::getline(in, line);) {
    Row row;
    std::stringstream fields(line);
    for (std::string field; std::getline(fields, field, '\t');) row.push_back(Unescape(field));
    if (!line.empty() && line.back() == '\t') row.emplace_back();  // trailing empty field
    rows.push_back(row);
  }
  return rows;
}

unsigned Hex(const std::string& text) {
  return static_cast<unsigned>(std::stoul(text, nullptr, 16));
}

class Tables : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    vendors_ = ReadList("vendors.tsv");
    devices_ = ReadList("devices.tsv");
    classes_ = ReadList("classes.tsv");
  }
  static std::vector<Row> vendors_, devices_, classes_;
};
std::vector<Row> Tables::vendors_, Tables::devices_, Tables::classes_;

TEST_F(Tables, RowCountsAreThoseOfTheLists) {
  EXPECT_EQ(vendors_.size(), 1478u);
  EXPECT_EQ(devices_.size(), 4352u);
  EXPECT_EQ(classes_.size(), 74u);
  EXPECT_EQ(VendorTable().size(), vendors_.size());
  EXPECT_EQ(DeviceTable().size(), devices_.size());
  EXPECT_EQ(ClassTable().size(), classes_.size());
}

TEST_F(Tables, EveryRowHoldsExactlyItsListRow) {
  ASSERT_EQ(VendorTable().size(), vendors_.size());
  for (std::size_t i = 0; i < vendors_.size(); ++i) {
    const VendorRecord& row = VendorTable()[i];
    ASSERT_EQ(vendors_[i].size(), 3u) << "vendors.tsv:" << i + 1;
    EXPECT_EQ(row.vendor_id, Hex(vendors_[i][0])) << "vendors.tsv:" << i + 1;
    EXPECT_EQ(row.reserved, 0);
    EXPECT_EQ(row.short_name, vendors_[i][1]) << "vendors.tsv:" << i + 1;
    EXPECT_EQ(row.full_name, vendors_[i][2]) << "vendors.tsv:" << i + 1;
  }
  ASSERT_EQ(DeviceTable().size(), devices_.size());
  for (std::size_t i = 0; i < devices_.size(); ++i) {
    const DeviceRecord& row = DeviceTable()[i];
    ASSERT_EQ(devices_[i].size(), 4u) << "devices.tsv:" << i + 1;
    EXPECT_EQ(row.vendor_id, Hex(devices_[i][0])) << "devices.tsv:" << i + 1;
    EXPECT_EQ(row.device_id, Hex(devices_[i][1])) << "devices.tsv:" << i + 1;
    EXPECT_EQ(row.chip_name, devices_[i][2]) << "devices.tsv:" << i + 1;
    EXPECT_EQ(row.description, devices_[i][3]) << "devices.tsv:" << i + 1;
  }
  ASSERT_EQ(ClassTable().size(), classes_.size());
  for (std::size_t i = 0; i < classes_.size(); ++i) {
    const ClassRecord& row = ClassTable()[i];
    ASSERT_EQ(classes_[i].size(), 6u) << "classes.tsv:" << i + 1;
    EXPECT_EQ(row.base, Hex(classes_[i][0])) << "classes.tsv:" << i + 1;
    EXPECT_EQ(row.sub, Hex(classes_[i][1])) << "classes.tsv:" << i + 1;
    EXPECT_EQ(row.prog_if, Hex(classes_[i][2])) << "classes.tsv:" << i + 1;
    EXPECT_EQ(row.reserved, 0);
    EXPECT_EQ(row.base_name, classes_[i][3]) << "classes.tsv:" << i + 1;
    EXPECT_EQ(row.sub_name, classes_[i][4]) << "classes.tsv:" << i + 1;
    EXPECT_EQ(row.prog_if_name, classes_[i][5]) << "classes.tsv:" << i + 1;
  }
}

TEST_F(Tables, FirstAndLastRows) {
  const auto vendors = VendorTable();
  EXPECT_EQ(vendors.front().vendor_id, 0x0033);
  EXPECT_EQ(vendors.front().short_name, "");
  EXPECT_EQ(vendors.front().full_name, "Paradyne Corp.");
  EXPECT_EQ(vendors.back().vendor_id, 0xFA57);
  EXPECT_EQ(vendors.back().short_name, "Interagon");
  EXPECT_EQ(vendors.back().full_name, "Interagon AS");

  const auto devices = DeviceTable();
  EXPECT_EQ(devices.front().vendor_id, 0x16AE);
  EXPECT_EQ(devices.front().device_id, 0x1141);
  EXPECT_EQ(devices.front().chip_name, "SafeXcel-1141");
  EXPECT_EQ(devices.front().description, "???");
  EXPECT_EQ(devices.back().vendor_id, Hex(devices_.back()[0]));
  EXPECT_EQ(devices.back().device_id, Hex(devices_.back()[1]));

  const auto classes = ClassTable();
  EXPECT_EQ(classes.front().base_name, "Pre-2.0 PCI Specification Device");
  EXPECT_EQ(classes.front().sub_name, "Non-VGA");
  EXPECT_EQ(classes.back().base, 0xFF);
  EXPECT_EQ(classes.back().prog_if_name, "UDF");
}

TEST_F(Tables, VendorIdsRiseStrictlyAndEveryVendorIsFoundWithItsOwnNames) {
  const auto vendors = VendorTable();
  for (std::size_t i = 1; i < vendors.size(); ++i) {
    EXPECT_LT(vendors[i - 1].vendor_id, vendors[i].vendor_id) << "row " << i + 1;
  }
  for (const VendorRecord& row : vendors) {
    EXPECT_NE(row.vendor_id, 0xFFFF);
    EXPECT_FALSE(row.full_name.empty()) << std::hex << row.vendor_id;
    std::string_view short_name, full_name;
    ASSERT_TRUE(FindVendorName(row.vendor_id, short_name, full_name));
    EXPECT_EQ(short_name.data(), row.short_name.data());
    EXPECT_EQ(full_name.data(), row.full_name.data());
  }
}

TEST_F(Tables, EveryDeviceVendorIsInTheVendorTableAndItsRowsStandTogether) {
  std::set<unsigned> finished;  // vendors whose run has ended
  unsigned current = 0x10000;
  for (const DeviceRecord& row : DeviceTable()) {
    std::string_view short_name, full_name;
    EXPECT_TRUE(FindVendorName(row.vendor_id, short_name, full_name)) << std::hex << row.vendor_id;
    if (row.vendor_id != current) {
      EXPECT_TRUE(finished.insert(row.vendor_id).second)
          << "second run of vendor " << std::hex << row.vendor_id;
      current = row.vendor_id;
    }
  }
  EXPECT_EQ(finished.size(), 431u);
}

TEST_F(Tables, EveryDuplicatedPairIsAnsweredWithItsFirstRow) {
  std::map<std::pair<unsigned, unsigned>, std::size_t> first_row;
  std::map<std::pair<unsigned, unsigned>, int> occurrences;
  const auto devices = DeviceTable();
  for (std::size_t i = 0; i < devices.size(); ++i) {
    const auto key = std::make_pair(devices[i].vendor_id, devices[i].device_id);
    first_row.emplace(key, i);
    ++occurrences[key];
  }
  int duplicated_pairs = 0;
  int surplus_rows = 0;
  for (const auto& [key, count] : occurrences) {
    if (count > 1) {
      ++duplicated_pairs;
      surplus_rows += count - 1;
    }
  }
  EXPECT_EQ(duplicated_pairs, 10);
  EXPECT_EQ(surplus_rows, 11);
  EXPECT_EQ((occurrences[{0x121A, 0x0003}]), 3);
  EXPECT_EQ((occurrences[{0x10DE, 0x0110}]), 2);

  for (const auto& [key, index] : first_row) {
    std::string_view chip, description;
    ASSERT_TRUE(FindDeviceName(key.first, key.second, chip, description));
    // The very strings of the first row, not equal text from a later one.
    EXPECT_EQ(chip.data(), devices[index].chip_name.data())
        << std::hex << key.first << '/' << key.second;
    EXPECT_EQ(description.data(), devices[index].description.data());
  }
  std::string_view chip, description;
  ASSERT_TRUE(FindDeviceName(0x10DE, 0x0110, chip, description));
  EXPECT_EQ(chip, "NV11");
}

TEST_F(Tables, BothParallelRowsStandInOrder) {
  std::vector<std::string_view> names;
  for (const ClassRecord& row : ClassTable()) {
    if (row.base == 0x07 && row.sub == 0x01 && row.prog_if == 0x00)
      names.push_back(row.prog_if_name);
  }
  EXPECT_EQ(names, (std::vector<std::string_view>{"Standard", "Bidirectional"}));
}

TEST_F(Tables, NamesKeepTheirNewlinesAndNonAsciiCharacters) {
  std::string_view chip, description;
  ASSERT_TRUE(FindDeviceName(0x1382, 0x2009, chip, description));
  EXPECT_EQ(chip, "PLX TECHNOLOGY \n PCI9052 \n 0435 \n BX9497.1 MALA");
  EXPECT_EQ(std::count(chip.begin(), chip.end(), '\n'), 3);
  ASSERT_TRUE(FindDeviceName(0x1002, 0x504C, chip, description));
  EXPECT_EQ(chip, "Гнев 128 Про МН& AGP");
  std::string_view short_name, full_name;
  ASSERT_TRUE(FindVendorName(0x128A, short_name, full_name));
  EXPECT_EQ(short_name, "Asanté");
}

TEST_F(Tables, ClassNamesRoundTripThroughCp932) {
  for (const ClassRecord& row : ClassTable()) {
    for (std::string_view name : {row.base_name, row.sub_name, row.prog_if_name}) {
      EXPECT_TRUE(RoundTripsThroughCp932(name)) << name;
    }
  }
}

}  // namespace
}  // namespace kelvox
