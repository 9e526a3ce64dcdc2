#include <fcntl.h>
#include <gtest/gtest.h>

#include <vector>

#include "config/access.h"
#include "config/capture/simulated_bus.h"
#include "config/recording_access.h"
#include "config/sysfs/sysfs_access.h"
#include "config/sysfs/testing/fake_sysfs_tree.h"
#include "config/testing/read_write_only.h"

namespace kelvox {
namespace {

using Locations = std::vector<FunctionLocation>;

void AddFunction(SimulatedBus& bus, FunctionLocation at, uint32_t header_type = 0) {
  bus.AddFunction(at);
  bus.SetRegister(at, 0x00, 0x12348086u);
  bus.SetRegister(at, 0x0C, header_type << 16);
}

// Device 0: single-function, yet something answers at its function 1 (devices that ignore the
// function number do). Device 2: multi-function with functions 0, 3 and 7. Device 5: no
// function 0, so its function 1 is never looked at. Device 6: a multi-function bridge (header
// type 0x81) with function 2. Bus 3: device 31 only.
SimulatedBus MixedBus() {
  SimulatedBus bus;
  AddFunction(bus, {0, 0, 0});
  AddFunction(bus, {0, 0, 1});
  AddFunction(bus, {0, 2, 0}, 0x80);
  AddFunction(bus, {0, 2, 3});
  AddFunction(bus, {0, 2, 7});
  AddFunction(bus, {0, 5, 1});
  AddFunction(bus, {0, 6, 0}, 0x81);
  AddFunction(bus, {0, 6, 2});
  AddFunction(bus, {3, 31, 0});
  return bus;
}

TEST(ProbeFunctions, FollowsPciEnumeration) {
  SimulatedBus bus = MixedBus();
  RecordingAccess probed(bus);
  EXPECT_EQ(
      ProbeFunctions(probed, 0, 255),
      (Locations{{0, 0, 0}, {0, 2, 0}, {0, 2, 3}, {0, 2, 7}, {0, 6, 0}, {0, 6, 2}, {3, 31, 0}}));
  // Function 0 of each of 256 x 32 devices, the header of the four present ones and the
  // seven other functions of each of the two multi-function devices.
  EXPECT_EQ(probed.records().size(), 256u * 32 + 4 + 2 * 7);
  for (const ConfigAccessRecord& r : probed.records()) {
    EXPECT_EQ(r.kind, ConfigAccessRecord::Kind::kRead) << r;
  }
}

TEST(ListFunctions, ABackendThatCannotListIsProbedOnTheBusAsked) {
  SimulatedBus bus = MixedBus();
  RecordingAccess recorded(bus);
  testing::ReadWriteOnly probed(recorded);  // lists nothing itself: probed
  EXPECT_EQ(probed.ListFunctions(3).present, (Locations{{3, 31, 0}}));
  EXPECT_EQ(recorded.records().size(), 32u + 1);
  AllOnesAccess none;
  EXPECT_TRUE(none.ListFunctions(std::nullopt).present.empty());
  EXPECT_FALSE(none.SizesWithoutWriting());
  EXPECT_FALSE(none.SizingWithoutWriting({0, 0, 0}).has_value());
}

TEST(ListFunctions, ACapturedBusListsWhatItHolds) {
  SimulatedBus bus = MixedBus();
  EXPECT_EQ(bus.ListFunctions(std::nullopt).present, bus.Locations());
  EXPECT_EQ(
      bus.ListFunctions(0).present,
      (Locations{
          {0, 0, 0}, {0, 0, 1}, {0, 2, 0}, {0, 2, 3}, {0, 2, 7}, {0, 5, 1}, {0, 6, 0}, {0, 6, 2}}));
  EXPECT_TRUE(bus.ListFunctions(1).present.empty());
  EXPECT_EQ(bus.ListFunctions(0x103).present, (Locations{{3, 31, 0}}));  // masked as addresses are
}

TEST(ListFunctions, SysfsListsItsFoldersWithoutProbing) {
  testing::FakeSysfsTree tree;
  tree.Add("0000:00:00.0", {testing::Header({}), {}});
  tree.Add("0000:00:02.3", {testing::Header({}), {}});  // function 0 missing: still listed
  tree.Add("0000:01:00.0", {testing::Header({}), {}});
  std::vector<std::string> opened;
  SysfsAccess sysfs(tree.root(), [&opened](const std::string& path, int flags) {
    opened.push_back(path);
    return ::open(path.c_str(), flags);
  });
  EXPECT_EQ(sysfs.ListFunctions(std::nullopt).present,
            (Locations{{0, 0, 0}, {0, 2, 3}, {1, 0, 0}}));
  // One look at each listed function's power state and config file, and none at any other.
  std::vector<std::string> expected;
  for (const char* folder : {"/0000:00:00.0", "/0000:00:02.3", "/0000:01:00.0"}) {
    expected.push_back(tree.root() + folder + "/power_state");
    expected.push_back(tree.root() + folder + "/config");
  }
  EXPECT_EQ(opened, expected);
  EXPECT_EQ(sysfs.ListFunctions(1).present, (Locations{{1, 0, 0}}));
}

}  // namespace
}  // namespace kelvox
