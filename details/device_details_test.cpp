#include "details/device_details.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/capture/simulated_bus.h"
#include "config/recording_access.h"
#include "details/details_texts.h"
#include "details/testing/sample_card.h"
#include "text/cp932.h"

namespace kelvox {
namespace {

std::string TextOf(std::span<const DetailsField> page, int id) {
  const DetailsField* field = FindField(page, id);
  return field ? field->text : "<missing>";
}

// The offsets of the recorded accesses, writes marked with a leading 'w'.
std::vector<std::string> OffsetsOf(const RecordingAccess& recording) {
  std::vector<std::string> offsets;
  for (const ConfigAccessRecord& r : recording.records()) {
    const bool write = r.kind == ConfigAccessRecord::Kind::kWrite;
    offsets.push_back((write ? "w" : "") + std::to_string(r.reg));
  }
  return offsets;
}

TEST(BuildDeviceDetails, EveryPageOfAPresentCard) {
  SimulatedBus bus = kelvox::testing::SampleCardBus();
  const DeviceDetails d = BuildDeviceDetails(bus, 0, 3, 0);
  EXPECT_EQ(d.caption, "バス番号=0, 機能番号=0, デバイス番号=3 の詳細情報");

  EXPECT_EQ(TextOf(d.vendor, kVendorIdControl), "10ec");
  EXPECT_EQ(TextOf(d.vendor, kVendorShortNameControl), "Realtek");
  EXPECT_EQ(TextOf(d.vendor, kDeviceIdControl), "8029");
  EXPECT_EQ(TextOf(d.vendor, kClassCodeControl), "020000");
  EXPECT_EQ(TextOf(d.vendor, kSubClassNameControl), "Ethernet");

  const std::vector<std::string> bars = {
      "e0000008 (e0000000 - e00fffff : 32bit memory space : prefetchable)",
      "0000e001 (e000 - e01f : I/O space)",
      "00000000 (00000000 - ffffffff : 32bit memory space)",
      "00000000 (00000000 - ffffffff : 32bit memory space)",
      "00000000 (00000000 - ffffffff : 32bit memory space)",
      "00000000 (00000000 - ffffffff : 32bit memory space)",
      "fffc0001 (fffc0000 - fffdffff : address decode enable)",
  };
  const int bar_ids[] = {1006, 1007, 1008, 1009, 1010, 1011, 1012};
  for (size_t i = 0; i < bars.size(); ++i) {
    EXPECT_EQ(d.base_address[i].id, bar_ids[i]);
    EXPECT_EQ(d.base_address[i].text, bars[i]);
  }
  EXPECT_EQ(bus.Read(0, 3, 0, 0x10), 0xE0000008u);  // sizing left the card as it was

  EXPECT_EQ(TextOf(d.misc, kInterruptLineControl), "11");
  EXPECT_EQ(TextOf(d.misc, kMaxLatencyControl), "42");
  EXPECT_EQ(TextOf(d.misc, kBistControl), "80H");
  EXPECT_EQ(TextOf(d.misc, kLatencyTimerControl), "64");
  EXPECT_EQ(TextOf(d.misc, kCardbusCisControl), "00000a01");
  EXPECT_EQ(TextOf(d.misc, kSubsystemVendorIdControl), "1af4");
  EXPECT_EQ(TextOf(d.misc, kSubsystemIdControl), "1234");
}

TEST(BuildDeviceDetails, CaptionNamesBusThenFunctionThenDevice) {
  SimulatedBus empty;
  EXPECT_EQ(BuildDeviceDetails(empty, 7, 31, 2).caption,
            "バス番号=7, 機能番号=2, デバイス番号=31 の詳細情報");
}

TEST(BuildDeviceDetails, AbsentDeviceShowsAllOnesEverywhere) {
  SimulatedBus empty;
  const DeviceDetails d = BuildDeviceDetails(empty, 0, 4, 0);
  EXPECT_EQ(TextOf(d.vendor, kVendorIdControl), "ffff");
  EXPECT_EQ(TextOf(d.vendor, kDeviceIdControl), "ffff");
  for (int id : {kVendorShortNameControl, kVendorFullNameControl, kChipNameControl,
                 kDeviceDescriptionControl}) {
    EXPECT_EQ(TextOf(d.vendor, id), "") << id;
  }
  EXPECT_EQ(TextOf(d.vendor, kClassCodeControl), "ffffff");
  EXPECT_EQ(TextOf(d.vendor, kBaseClassNameControl), "Unknown");
  EXPECT_EQ(TextOf(d.vendor, kSubClassNameControl), "");
  EXPECT_EQ(TextOf(d.vendor, kProgIfNameControl), "");
  for (const DetailsField& field : d.base_address) EXPECT_EQ(field.text, "ffffffff (no device)");
  for (int id : {kInterruptLineControl, kInterruptPinControl, kMaxLatencyControl, kMinGrantControl,
                 kLatencyTimerControl, kCacheLineSizeControl}) {
    EXPECT_EQ(TextOf(d.misc, id), "255") << id;
  }
  EXPECT_EQ(TextOf(d.misc, kBistControl), "ffH");
  EXPECT_EQ(TextOf(d.misc, kCardbusCisControl), "ffffffff");
  EXPECT_EQ(TextOf(d.misc, kSubsystemVendorIdControl), "ffff");
  EXPECT_EQ(TextOf(d.misc, kSubsystemIdControl), "ffff");
}

TEST(BuildDeviceDetails, ReadsTheHeaderInPageOrder) {
  SimulatedBus bus = kelvox::testing::SampleCardBus();
  RecordingAccess recording(bus);
  BuildDeviceDetails(recording, 0, 3, 0);
  std::vector<std::string> expected = {"0", "8"};
  for (int bar : {0x10, 0x14, 0x18, 0x1C, 0x20, 0x24, 0x30}) {
    const std::string r = std::to_string(bar);
    expected.insert(expected.end(), {r, "w" + r, r, "w" + r});
  }
  expected.insert(expected.end(), {"12", "60", "40", "44"});
  EXPECT_EQ(OffsetsOf(recording), expected);

  // An absent device is only read, never written.
  SimulatedBus empty;
  RecordingAccess absent(empty);
  BuildDeviceDetails(absent, 0, 9, 0);
  EXPECT_EQ(OffsetsOf(absent), (std::vector<std::string>{"0", "8", "16", "20", "24", "28", "32",
                                                         "36", "48", "12", "60", "40", "44"}));
}

TEST(DetailsTexts, EveryFixedTextSurvivesCp932) {
  SimulatedBus empty;
  const DeviceDetails d = BuildDeviceDetails(empty, 255, 31, 7);
  EXPECT_TRUE(RoundTripsThroughCp932(d.caption)) << d.caption;
  for (const char* text : {kVendorPageTitle, kBaseAddressPageTitle, kMiscPageTitle,
                           kBaseAddressGroupLabel, kExpansionRomGroupLabel}) {
    EXPECT_TRUE(RoundTripsThroughCp932(text)) << text;
  }
  for (std::span<const DetailsField> page :
       {std::span<const DetailsField>(d.vendor), std::span<const DetailsField>(d.base_address),
        std::span<const DetailsField>(d.misc)}) {
    for (const DetailsField& field : page) {
      EXPECT_TRUE(RoundTripsThroughCp932(field.label)) << field.label;
      EXPECT_TRUE(RoundTripsThroughCp932(field.text)) << field.text;
    }
  }
  EXPECT_EQ(Utf8ToCp932(kBistLabel), "\x82\x61\x82\x68\x82\x72\x82\x73");  // full-width BIST
}

}  // namespace
}  // namespace kelvox
