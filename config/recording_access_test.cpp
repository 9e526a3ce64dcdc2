#include "config/recording_access.h"

#include <gtest/gtest.h>

#include <sstream>

#include "config/capture/simulated_bus.h"

namespace kelvox {
namespace {

TEST(RecordingAccess, RecordsEachCallAsGivenAndPassesItOn) {
  SimulatedBus bus;
  bus.AddFunction({0, 3, 0});
  bus.SetRegister({0, 3, 0}, 0x10, 0xE0000008);
  bus.SetWritableMask({0, 3, 0}, 0x10, 0xFFF00000);
  RecordingAccess access(bus);

  EXPECT_EQ(access.Read(0, 3, 0, 0x10), 0xE0000008u);
  access.Write(0, 35, 8, 0x13, 0xFFFFFFFF);  // masked by the bus, recorded as given
  EXPECT_EQ(access.Read(0, 3, 0, 0x10), 0xFFF00008u);
  EXPECT_EQ(access.Read(0, 4, 0, 0x00), kAllOnes);

  EXPECT_EQ(access.records(),
            (std::vector<ConfigAccessRecord>{
                ReadRecord(0, 3, 0, 0x10, 0xE0000008), WriteRecord(0, 35, 8, 0x13, 0xFFFFFFFF),
                ReadRecord(0, 3, 0, 0x10, 0xFFF00008), ReadRecord(0, 4, 0, 0x00, kAllOnes)}));
  EXPECT_EQ(access.Writes(),
            std::vector<ConfigAccessRecord>{WriteRecord(0, 35, 8, 0x13, 0xFFFFFFFF)});
  EXPECT_EQ(access.Name(), "simulated");
  std::ostringstream text;
  text << access.records()[0] << "; " << access.records()[1];
  EXPECT_EQ(text.str(), "read 0:3.0 0x10 -> e0000008; write 0:35.8 0x13 <- ffffffff");
  access.Clear();
  EXPECT_TRUE(access.records().empty());
}

}  // namespace
}  // namespace kelvox
