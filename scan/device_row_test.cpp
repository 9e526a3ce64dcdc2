#include "scan/device_row.h"

#include <gtest/gtest.h>

#include <vector>

#include "config/capture/simulated_bus.h"
#include "text/cp932.h"

namespace kelvox {
namespace {

// Answers every read with a value made from its arguments and remembers each access.
class RecordingAccess final : public ConfigAccess {
 public:
  struct Access {
    int bus, device, function, reg;
    bool operator==(const Access&) const = default;
  };
  std::vector<Access> reads;
  int writes = 0;

  uint32_t Read(int bus, int device, int function, int reg) override {
    reads.push_back({bus, device, function, reg});
    return kAllOnes;
  }
  void Write(int, int, int, int, uint32_t) override { ++writes; }
  std::string Name() const override { return "recording"; }
};

// A bus with one device at 0:7.0 whose registers hold the given dwords.
SimulatedBus BusWith(uint32_t id, uint32_t command_status, uint32_t class_revision,
                     uint32_t header) {
  SimulatedBus bus;
  bus.AddFunction({0, 7, 0});
  bus.SetRegister({0, 7, 0}, 0x00, id);
  bus.SetRegister({0, 7, 0}, 0x04, command_status);
  bus.SetRegister({0, 7, 0}, 0x08, class_revision);
  bus.SetRegister({0, 7, 0}, 0x0C, header);
  return bus;
}

TEST(DeviceRow, ReadsTheFourHeaderRegistersInOrderAndWritesNothing) {
  RecordingAccess access;
  BuildDeviceRow(access, 3, 17, 5);
  const std::vector<RecordingAccess::Access> expected = {
      {3, 17, 5, 0x00}, {3, 17, 5, 0x04}, {3, 17, 5, 0x08}, {3, 17, 5, 0x0C}};
  EXPECT_EQ(access.reads, expected);
  EXPECT_EQ(access.writes, 0);
}

TEST(DeviceRow, AbsentDeviceReadsAllOnes) {
  AllOnesAccess access;
  const DeviceRow row = BuildDeviceRow(access, 0, 4, 0);
  EXPECT_EQ(row.text, " 4 ffff   ffff ffff ffff ff   ffffff ff  ？？？？");
  EXPECT_EQ(row.vendor_id, 0xFFFF);
  EXPECT_EQ(row.device_id, 0xFFFF);
  const std::array<std::string, kListColumns> columns = {" 4", "ffff",   "ffff", "ffff",    "ffff",
                                                         "ff", "ffffff", "ff",   "？？？？"};
  EXPECT_EQ(row.columns, columns);
}

TEST(DeviceRow, KnownDeviceGivesTheExactRowAndColumns) {
  // An AHCI controller: vendor 8086, device a352, command 0406, status 0290, revision 10,
  // class 010601, multi-function header type 80.
  SimulatedBus bus = BusWith(0xa3528086, 0x02900406, 0x01060110, 0x00800000);
  const DeviceRow row = BuildDeviceRow(bus, 0, 7, 0);
  EXPECT_EQ(row.text, " 7 8086   a352 0406 0290 10   010601 80  大容量記憶装置(Serial ATA)");
  EXPECT_EQ(row.device, 7);
  EXPECT_EQ(row.vendor_id, 0x8086);
  EXPECT_EQ(row.device_id, 0xa352);
  const std::array<std::string, kListColumns> columns = {
      " 7", "8086", "a352", "0406", "0290", "10", "010601", "80", "大容量記憶装置(Serial ATA)"};
  EXPECT_EQ(row.columns, columns);
  EXPECT_TRUE(RoundTripsThroughCp932(row.text));
}

TEST(DeviceRow, HexadecimalIsLowerCaseAndZeroPaddedInEveryColumn) {
  SimulatedBus bus = BusWith(0xBEEF10DE, 0xABCD00EF, 0x0C03FE0A, 0xF00B0C0D);
  const DeviceRow row = BuildDeviceRow(bus, 0, 7, 0);
  EXPECT_EQ(row.text, " 7 10de   beef 00ef abcd 0a   0c03fe 0b  シリアル周辺バス(USB)");
  for (int c = 1; c <= 7; ++c) {
    EXPECT_EQ(row.columns[c].find_first_of("ABCDEF"), std::string::npos) << row.columns[c];
  }
  EXPECT_EQ(row.columns[1], "10de");
  EXPECT_EQ(row.columns[3], "00ef");
  EXPECT_EQ(row.columns[7], "0b");  // header type is bits 23:16 only
}

TEST(DeviceRow, NumberColumnIsTwoWide) {
  AllOnesAccess access;
  EXPECT_EQ(BuildDeviceRow(access, 0, 0, 0).columns[0], " 0");
  EXPECT_EQ(BuildDeviceRow(access, 0, 9, 0).columns[0], " 9");
  EXPECT_EQ(BuildDeviceRow(access, 0, 10, 0).columns[0], "10");
  EXPECT_EQ(BuildDeviceRow(access, 0, 31, 0).text.substr(0, 3), "31 ");
}

TEST(DeviceRow, CommentColumnKeepsInnerBlanksAndDropsTheLeadingOnes) {
  struct Case {
    uint32_t class_revision;
    const char* comment;
  };
  const Case cases[] = {
      {0x01800000, "大容量記憶装置(?)"},
      {0x08800000, "基本的周辺装置(?)"},
      {0x03000000, "ディスプレイ"},
      {0x0D000000, "？？？？"},
      {0x0C000000, "シリアル周辺バス(IEEE 1394)"},
      {0x01070000, "大容量記憶装置(Serial Attatched SCSI)"},
      {0x0A000000, "ﾄﾞｯｷﾝｸﾞ･ｽﾃｰｼｮﾝ"},
  };
  for (const Case& c : cases) {
    SimulatedBus bus = BusWith(0x12341234, 0, c.class_revision, 0);
    const DeviceRow row = BuildDeviceRow(bus, 0, 7, 0);
    EXPECT_EQ(row.columns[8], c.comment);
    // The row ends with the header type, two blanks and the comment.
    EXPECT_EQ(row.text.substr(row.text.size() - row.columns[8].size() - 5),
              std::string(" 00  ") + c.comment);
  }
}

}  // namespace
}  // namespace kelvox
