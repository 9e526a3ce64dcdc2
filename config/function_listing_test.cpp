#include "config/present_functions.h"

#include <gtest/gtest.h>

#include <vector>

#include "config/recording_access.h"
#include "config/sysfs_access.h"
#include "config/testing/fake_sysfs_tree.h"

namespace kelvox {
namespace {

using Locations = std::vector<FunctionLocation>;

void AddFunction(SimulatedBus& bus, FunctionLocation at, bool multi_function = false) {
  bus.AddFunction(at);
  bus.SetRegister(at, 0x00, 0x12348086u);
  bus.SetRegister(at, 0x0C, multi_function ? 0x00800000u : 0u);
}

// Device 0: single-function, yet something answers at its function 1 (devices that ignore the
// function number do). Device 2: multi-function with functions 0, 3 and 7. Device 5: no
// function 0, so its function 1 is never looked at. Bus 3: device 31 only.
SimulatedBus MixedBus() {
  SimulatedBus bus;
  AddFunction(bus, {0, 0, 0});
  AddFunction(bus, {0, 0, 1});
  AddFunction(bus, {0, 2, 0}, true);
  AddFunction(bus, {0, 2, 3});
  AddFunction(bus, {0, 2, 7});
  AddFunction(bus, {0, 5, 1});
  AddFunction(bus, {3, 31, 0});
  return bus;
}

TEST(ProbeFunctions, FollowsPciEnumeration) {
  SimulatedBus bus = MixedBus();
  RecordingAccess probed(bus);
  EXPECT_EQ(ProbeFunctions(probed, 0, 255),
            (Locations{{0, 0, 0}, {0, 2, 0}, {0, 2, 3}, {0, 2, 7}, {3, 31, 0}}));
  // Function 0 of each of 256 x 32 devices, the header of the three present ones and the
  // seven other functions of the one multi-function device.
  EXPECT_EQ(probed.records().size(), 256u * 32 + 3 + 7);
  for (const ConfigAccessRecord& r : probed.records()) {
    EXPECT_EQ(r.kind, ConfigAccessRecord::Kind::kRead) << r;
  }
}

TEST(PresentFunctions, ProbesBackendsThatCannotListAndKeepsToTheBusAsked) {
  SimulatedBus bus = MixedBus();
  RecordingAccess probed(bus);  // not a SimulatedBus itself: probed
  EXPECT_EQ(PresentFunctions(probed, 3), (Locations{{3, 31, 0}}));
  EXPECT_EQ(probed.records().size(), 32u + 1);
  AllOnesAccess none;
  EXPECT_TRUE(PresentFunctions(none).empty());
}

TEST(PresentFunctions, ACapturedBusListsWhatItHolds) {
  SimulatedBus bus = MixedBus();
  EXPECT_EQ(PresentFunctions(bus), bus.Locations());
  EXPECT_EQ(PresentFunctions(bus, 0),
            (Locations{{0, 0, 0}, {0, 0, 1}, {0, 2, 0}, {0, 2, 3}, {0, 2, 7}, {0, 5, 1}}));
  EXPECT_TRUE(PresentFunctions(bus, 1).empty());
}

TEST(PresentFunctions, SysfsListsItsFoldersWithoutReadingConfigurationSpace) {
  testing::FakeSysfsTree tree;
  tree.Add("0000:00:00.0", {testing::Header({}), {}});
  tree.Add("0000:00:02.3", {testing::Header({}), {}});  // function 0 missing: still listed
  tree.Add("0000:01:00.0", {testing::Header({}), {}});
  int opens = 0;
  SysfsAccess sysfs(tree.root(), [&opens](const std::string&, int) {
    ++opens;
    return -1;
  });
  EXPECT_EQ(PresentFunctions(sysfs), (Locations{{0, 0, 0}, {0, 2, 3}, {1, 0, 0}}));
  EXPECT_EQ(PresentFunctions(sysfs, 1), (Locations{{1, 0, 0}}));
  EXPECT_EQ(opens, 0);
}

}  // namespace
}  // namespace kelvox
