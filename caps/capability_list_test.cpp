// Walking the capability lists of hand-built spaces: every guard ends a broken list with its
// problem named, within the bytes there are, and a list that is whole is walked in full.
#include "caps/capability_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvox {
namespace {

// A space of `size` bytes with the capabilities list bit set and the pointer at 0x34.
class Space {
 public:
  explicit Space(int size = 256) : bytes_(static_cast<size_t>(size)) {
    Set(0x06, 0x10, 2);
    Set(0x34, 0x40, 1);
  }
  Space& Set(int at, uint32_t value, int width) {
    for (int i = 0; i < width; ++i) bytes_[at + i] = static_cast<uint8_t>(value >> (8 * i));
    return *this;
  }
  // A standard capability: its ID and next pointer.
  Space& Standard(int at, int id, int next) { return Set(at, id, 1).Set(at + 1, next, 1); }
  // An extended one: ID, version 1, next offset.
  Space& Extended(int at, int id, int next) {
    return Set(at, static_cast<uint32_t>(id) | 1u << 16 | static_cast<uint32_t>(next) << 20, 4);
  }
  ConfigSpace Build(std::string limit = {}) const { return ConfigSpace(bytes_, std::move(limit)); }

 private:
  std::vector<uint8_t> bytes_;
};

struct Walked {
  std::vector<int> offsets;
  std::string standard, extended;
};

Walked Walk(const ConfigSpace& space) {
  const CapabilityList list = DecodeCapabilities(space);
  Walked walked{{}, list.standard_problem, list.extended_problem};
  for (const Capability& capability : list.capabilities)
    walked.offsets.push_back(capability.offset);
  return walked;
}

TEST(CapabilityList, GuardsEndABrokenListWithItsProblem) {
  const struct {
    const char* what;
    ConfigSpace space;
    std::vector<int> offsets;
    std::string standard, extended;
  } cases[] = {
      {"a whole list",
       Space().Standard(0x40, 0x05, 0x50).Standard(0x50, 0x11, 0).Build(),
       {0x40, 0x50},
       "",
       ""},
      {"a loop",
       Space().Standard(0x40, 0x05, 0x50).Standard(0x50, 0x09, 0x40).Build(),
       {0x40, 0x50},
       "the list loops back to 0x40",
       ""},
      {"a pointer into the header",
       Space().Standard(0x40, 0x05, 0x3C).Build(),
       {0x40},
       "the list points into the header (0x3c)",
       ""},
      {"a pointer past the bytes",
       Space(128).Standard(0x40, 0x05, 0xF0).Build(),
       {0x40},
       "the list points past the readable bytes (0xf0)",
       ""},
      {"reserved pointer bits",
       Space().Standard(0x40, 0x05, 0x53).Standard(0x50, 0x09, 0).Build(),
       {0x40, 0x50},
       "",
       ""},
      {"no extended list without PCI Express",
       Space(4096).Standard(0x40, 0x05, 0).Extended(0x100, 0x01, 0).Build(),
       {0x40},
       "",
       ""},
      {"an extended list",
       Space(4096)
           .Standard(0x40, 0x10, 0)
           .Extended(0x100, 0x01, 0x140)
           .Extended(0x140, 0x03, 0)
           .Build(),
       {0x40, 0x100, 0x140},
       "",
       ""},
      {"an extended loop",
       Space(4096)
           .Standard(0x40, 0x10, 0)
           .Extended(0x100, 0x01, 0x140)
           .Extended(0x140, 0x03, 0x100)
           .Build(),
       {0x40, 0x100, 0x140},
       "",
       "the list loops back to 0x100"},
      {"an extended ID of 0",
       Space(4096)
           .Standard(0x40, 0x10, 0)
           .Extended(0x100, 0x01, 0x140)
           .Extended(0x140, 0x00, 0x180)
           .Build(),
       {0x40, 0x100},
       "",
       "the capability at 0x140 has ID 0x0000"},
      {"an extended ID of ffff",
       Space(4096).Standard(0x40, 0x10, 0).Extended(0x100, 0xFFFF, 0).Build(),
       {0x40},
       "",
       "the capability at 0x100 has ID 0xffff"},
      {"extended space of all ones",
       Space(4096).Standard(0x40, 0x10, 0).Set(0x100, 0xFFFFFFFF, 4).Build(),
       {0x40},
       "",
       "the extended space at 0x100 reads all ones"},
      {"an extended pointer below 0x100",
       Space(4096).Standard(0x40, 0x10, 0).Extended(0x100, 0x01, 0x40).Build(),
       {0x40, 0x100},
       "",
       "the list points below the extended space (0x040)"},
      {"an empty extended space", Space(4096).Standard(0x40, 0x10, 0).Build(), {0x40}, "", ""},
      {"PCI Express without the extended space",
       Space(256).Standard(0x40, 0x10, 0).Build("このキャプチャには先頭256バイトしかありません"),
       {0x40},
       "",
       "the extended space from 0x100 could not be read: "
       "このキャプチャには先頭256バイトしかありません"},
  };
  for (const auto& c : cases) {
    const Walked walked = Walk(c.space);
    EXPECT_EQ(walked.offsets, c.offsets) << c.what;
    EXPECT_EQ(walked.standard, c.standard) << c.what;
    EXPECT_EQ(walked.extended, c.extended) << c.what;
  }
}

TEST(CapabilityList, ACapabilityRunningIntoTheNextOrPastTheBytesIsMarked) {
  // MSI-X takes 12 bytes: at 0x40 it runs into a capability at 0x48.
  const CapabilityList overlapping =
      DecodeCapabilities(Space().Standard(0x40, 0x11, 0x48).Standard(0x48, 0x05, 0).Build());
  ASSERT_EQ(overlapping.capabilities.size(), 2u);
  EXPECT_EQ(overlapping.capabilities[0].problem, "it runs into the capability at 0x48");
  // PCI Express at 0x70 of a 128-byte space: its registers are not all there.
  const CapabilityList short_space =
      DecodeCapabilities(Space(128).Set(0x34, 0x70, 1).Standard(0x70, 0x10, 0).Build());
  ASSERT_EQ(short_space.capabilities.size(), 1u);
  EXPECT_EQ(short_space.capabilities[0].problem,
            "the capability runs past the readable bytes (0x84 of 0x80)");
}

TEST(CapabilityList, TheHeaderAloneSaysWhyAndAFunctionWithoutAListHasNone) {
  const CapabilityList user =
      DecodeCapabilities(Space(64).Build("読み取るには管理者権限が必要です"));
  EXPECT_FALSE(user.readable);
  EXPECT_EQ(user.unreadable, "読み取るには管理者権限が必要です");
  // No list bit: nothing to read, whatever was read.
  Space none(64);
  none.Set(0x06, 0, 2);
  const CapabilityList empty = DecodeCapabilities(none.Build());
  EXPECT_TRUE(empty.readable);
  EXPECT_TRUE(empty.capabilities.empty());
  // A CardBus bridge keeps its pointer at 0x14.
  Space cardbus(128);
  cardbus.Set(0x0E, 0x02, 1).Set(0x34, 0, 1).Set(0x14, 0x50, 1).Standard(0x50, 0x01, 0);
  const CapabilityList bridge = DecodeCapabilities(cardbus.Build());
  ASSERT_EQ(bridge.capabilities.size(), 1u);
  EXPECT_EQ(bridge.capabilities[0].name, "Power Management");
}

}  // namespace
}  // namespace kelvox
