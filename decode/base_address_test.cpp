#include "decode/base_address.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "config/capture/simulated_bus.h"
#include "config/recording_access.h"
#include "decode/bar_range.h"

namespace kelvox {
namespace {

constexpr FunctionLocation kAt{0, 3, 0};

// A register with a saved value and the bits a write may change, as hardware sizes it.
struct SizedRegister {
  int offset;
  uint32_t saved;
  uint32_t writable;
};

class DecodeOnBus : public ::testing::Test {
 protected:
  DecodeOnBus() { bus_.AddFunction(kAt); }

  // Decodes the register and checks that it holds its saved value afterwards.
  std::string Decode(SizedRegister r, int32_t* result = nullptr) {
    bus_.SetRegister(kAt, r.offset, r.saved);
    bus_.SetWritableMask(kAt, r.offset, r.writable);
    std::string text = "stale";
    const int32_t value = DecodeBaseAddressRegister(bus_, 0, 3, 0, r.offset, text);
    EXPECT_EQ(bus_.Read(0, 3, 0, r.offset), r.saved) << "register not restored";
    EXPECT_EQ(value, static_cast<int32_t>(r.saved));
    if (result) *result = value;
    return text;
  }

  SimulatedBus bus_;
};

TEST_F(DecodeOnBus, MemoryRegisters) {
  int32_t result = 0;
  EXPECT_EQ(Decode({0x10, 0xE0000008u, 0xFFF00000u}, &result),
            "e0000000 - e00fffff : 32bit memory space : prefetchable");
  EXPECT_EQ(result, static_cast<int32_t>(0xE0000008u));
  EXPECT_EQ(Decode({0x14, 0xF0000002u, 0xFFFF0000u}), "f0000000 - f000ffff : 1MB memory space");
  EXPECT_EQ(Decode({0x18, 0xF0000004u, 0xFFFF0000u}), "f0000000 - f000ffff : 64bit memory space");
  EXPECT_EQ(Decode({0x1C, 0xF0000006u, 0xFFFF0000u}), "f0000000 - f000ffff : reserved");
}

TEST_F(DecodeOnBus, IoRegisterWithThirtyTwoAndSixteenDecodedBits) {
  EXPECT_EQ(Decode({0x20, 0x0000E001u, 0xFFFFFFE0u}), "e000 - e01f : I/O space");
  EXPECT_EQ(Decode({0x20, 0x0000E001u, 0x0000FFE0u}), "e000 - e01f : I/O space");
}

TEST_F(DecodeOnBus, UnimplementedRegistersCoverTheWholeSpace) {
  EXPECT_EQ(Decode({0x24, 0, 0}), "00000000 - ffffffff : 32bit memory space");
  EXPECT_EQ(Decode({0x30, 0, 0}), "00000000 - ffffffff : ");
}

TEST_F(DecodeOnBus, SixtyFourBitHalvesAreDecodedApart) {
  // A 16 KiB 64-bit window at 0x00000004_c0000000: the upper half is all writable.
  EXPECT_EQ(Decode({0x10, 0xC000000Cu, 0xFFFFC000u}),
            "c0000000 - c0003fff : 64bit memory space : prefetchable");
  // The upper half is read as a register of its own, so its value 4 shows as a type.
  EXPECT_EQ(Decode({0x14, 0x00000004u, 0xFFFFFFFFu}), "00000000 - 0000000f : 64bit memory space");
  EXPECT_EQ(Decode({0x14, 0, 0xFFFFFFFFu}), "00000000 - 0000000f : 32bit memory space");
}

TEST_F(DecodeOnBus, ExpansionRom) {
  EXPECT_EQ(Decode({0x30, 0xFFFC0001u, 0xFFFE0000u}),
            "fffc0000 - fffdffff : address decode enable");
  EXPECT_EQ(Decode({0x30, 0xFFFC0000u, 0xFFFE0000u}), "fffc0000 - fffdffff : ");
  // A disabled ROM whose enable bit is writable: sizing sets the bit in the read-back, but the
  // ROM is as disabled as its saved value says.
  EXPECT_EQ(Decode({0x30, 0xFEB80000u, 0xFFFC0001u}), "feb80000 - febbffff : ");
  EXPECT_EQ(Decode({0x30, 0xFEB80001u, 0xFFFC0001u}),
            "feb80000 - febbffff : address decode enable");
}

TEST(DecodeBaseAddressRegister, SizesInOrderAndRestoresBeforeDecoding) {
  SimulatedBus bus;
  bus.AddFunction({1, 2, 3});
  bus.SetRegister({1, 2, 3}, 0x10, 0xE0000008u);
  bus.SetWritableMask({1, 2, 3}, 0x10, 0xFFF00000u);
  RecordingAccess recording(bus);
  std::string text;
  DecodeBaseAddressRegister(recording, 1, 2, 3, 0x10, text);
  const std::vector<ConfigAccessRecord> expected = {
      ReadRecord(1, 2, 3, 0x10, 0xE0000008u),
      WriteRecord(1, 2, 3, 0x10, 0xFFFFFFFFu),
      ReadRecord(1, 2, 3, 0x10, 0xFFF00008u),
      WriteRecord(1, 2, 3, 0x10, 0xE0000008u),
  };
  EXPECT_EQ(recording.records(), expected);
}

TEST(DecodeBaseAddressRegister, PassesTheOffsetUnchanged) {
  SimulatedBus bus;
  bus.AddFunction(kAt);
  bus.SetRegister(kAt, 0x30, 0xFFFC0001u);
  bus.SetWritableMask(kAt, 0x30, 0xFFFE0000u);
  RecordingAccess recording(bus);
  std::string text;
  DecodeBaseAddressRegister(recording, 0, 3, 0, 0x10030, text);
  ASSERT_EQ(recording.records().size(), 4u);
  for (const ConfigAccessRecord& r : recording.records()) EXPECT_EQ(r.reg, 0x10030);
  EXPECT_EQ(text, "fffc0000 - fffdffff : address decode enable");
}

TEST(DecodeBaseAddressRegister, AbsentFunctionIsNeverWritten) {
  SimulatedBus bus;
  RecordingAccess recording(bus);
  std::string text = "left over";
  EXPECT_EQ(DecodeBaseAddressRegister(recording, 0, 5, 0, 0x10, text), -1);
  EXPECT_EQ(text, "no device");
  EXPECT_EQ(recording.records(),
            std::vector<ConfigAccessRecord>{ReadRecord(0, 5, 0, 0x10, 0xFFFFFFFFu)});

  // A present function whose register happens to read all ones is treated the same way.
  bus.AddFunction(kAt);
  bus.SetRegister(kAt, 0x14, 0xFFFFFFFFu);
  recording.Clear();
  EXPECT_EQ(DecodeBaseAddressRegister(recording, 0, 3, 0, 0x14, text), -1);
  EXPECT_EQ(text, "no device");
  EXPECT_TRUE(recording.Writes().empty());
}

// Fails the read-back as a broken backend might, by throwing.
class ThrowOnReadBack final : public ConfigAccess {
 public:
  explicit ThrowOnReadBack(ConfigAccess& inner) : inner_(inner) {}
  uint32_t Read(int bus, int device, int function, int reg) override {
    if (++reads_ == 2) throw std::runtime_error("read failed");
    return inner_.Read(bus, device, function, reg);
  }
  void Write(int bus, int device, int function, int reg, uint32_t value) override {
    inner_.Write(bus, device, function, reg, value);
  }
  std::string Name() const override { return "throwing"; }

 private:
  ConfigAccess& inner_;
  int reads_ = 0;
};

TEST(DecodeBaseAddressRegister, RestoresTheRegisterWhenSizingIsCutShort) {
  SimulatedBus bus;
  bus.AddFunction(kAt);
  bus.SetRegister(kAt, 0x10, 0xE0000008u);
  bus.SetWritableMask(kAt, 0x10, 0xFFF00000u);
  ThrowOnReadBack failing(bus);
  std::string text;
  EXPECT_THROW(DecodeBaseAddressRegister(failing, 0, 3, 0, 0x10, text), std::runtime_error);
  EXPECT_EQ(bus.Read(0, 3, 0, 0x10), 0xE0000008u);
}

}  // namespace
}  // namespace kelvox
