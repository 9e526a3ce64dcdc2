// The decoder run against the sysfs backend, whose sizing answers come from the kernel's
// resource file, must give the same texts as hardware that sizes the same registers.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "config/capture/simulated_bus.h"
#include "config/sysfs/sysfs_access.h"
#include "decode/base_address.h"
#include "testsupport/temp_folder.h"

namespace kelvox {
namespace {

namespace fs = std::filesystem;

// One base address or ROM register: what it holds, the kernel's region for it, and the
// writable bits hardware decoding that region would have.
struct Bar {
  uint32_t saved;
  uint64_t region_start, region_size, region_flags;
  uint32_t writable;
};

constexpr uint64_t kMem = 0x40200, kMemPrefetch64 = 0x14220C, kMemPrefetch = 0x2208, kIo = 0x40101,
                   kRom = 0x46200;

// A type 0 function with six base address registers and a ROM register, in both backends.
struct Function {
  int device;
  std::vector<Bar> bars;  // 0x10 ... 0x24, then 0x30
};

const std::vector<Function> kFunctions = {
    // 64-bit prefetchable 16 KiB at 0x4_c0000000 (upper half 4), 32-bit 4 KiB, 32-bit
    // prefetchable 1 MiB, 32 bytes of I/O, nothing, an enabled 128 KiB ROM.
    {1,
     {{0xC000000Cu, 0x4C0000000, 0x4000, kMemPrefetch64, 0xFFFFC000u},
      {0x00000004u, 0, 0, 0, 0xFFFFFFFFu},
      {0xFEB00000u, 0xFEB00000, 0x1000, kMem, 0xFFFFF000u},
      {0xE0000008u, 0xE0000000, 0x100000, kMemPrefetch, 0xFFF00000u},
      {0x0000E001u, 0xE000, 0x20, kIo, 0xFFFFFFE0u},
      {0, 0, 0, 0, 0},
      {0xFFFC0001u, 0xFFFC0000, 0x20000, kRom, 0xFFFE0000u}}},
    // 64-bit 1 MiB below 4 GiB (upper half 0), then nothing, and a ROM that is not enabled.
    {2,
     {{0xF0000004u, 0xF0000000, 0x100000, 0x140204, 0xFFF00000u},
      {0, 0, 0, 0, 0xFFFFFFFFu},
      {0, 0, 0, 0, 0},
      {0, 0, 0, 0, 0},
      {0, 0, 0, 0, 0},
      {0, 0, 0, 0, 0},
      {0xFFFC0000u, 0xFFFC0000, 0x20000, 0x46200, 0xFFFE0000u}}},
};

class SysfsTree {
 public:
  const std::string& root() const { return root_.path(); }

  void Add(const Function& f) {
    char name[32];
    std::snprintf(name, sizeof name, "0000:00:%02x.0", f.device);
    const std::string folder = root_.PathOf(name);
    fs::create_directory(folder);
    std::vector<uint32_t> config(16, 0);
    config[0] = 0x10001AF4u;
    config[2] = 0x02000000u;
    for (size_t i = 0; i < 6; ++i) config[4 + i] = f.bars[i].saved;
    config[12] = f.bars[6].saved;
    std::string bytes;
    for (uint32_t d : config) {
      for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(d >> (8 * i)));
    }
    std::ofstream(folder + "/config", std::ios::binary) << bytes;
    std::ofstream resource(folder + "/resource");
    for (const Bar& b : f.bars) {
      const uint64_t end = b.region_size ? b.region_start + b.region_size - 1 : 0;
      char line[80];
      std::snprintf(line, sizeof line, "0x%016" PRIx64 " 0x%016" PRIx64 " 0x%016" PRIx64 "\n",
                    b.region_size ? b.region_start : 0, end, b.region_flags);
      resource << line;
    }
  }

 private:
  const testing::TempFolder root_{"kelvox-decode"};
};

TEST(DecodeOnSysfs, TextsMatchHardwareWithTheSameRegisters) {
  SysfsTree tree;
  SimulatedBus bus;
  for (const Function& f : kFunctions) {
    tree.Add(f);
    const FunctionLocation at{0, f.device, 0};
    bus.AddFunction(at);
    bus.SetRegister(at, 0x00, 0x10001AF4u);
    for (size_t i = 0; i < f.bars.size(); ++i) {
      bus.SetRegister(at, kBaseAddressOffsets[i], f.bars[i].saved);
      bus.SetWritableMask(at, kBaseAddressOffsets[i], f.bars[i].writable);
    }
  }
  SysfsAccess sysfs(tree.root());

  std::vector<std::string> texts;
  for (const Function& f : kFunctions) {
    for (size_t i = 0; i < f.bars.size(); ++i) {
      const int offset = kBaseAddressOffsets[i];
      std::string from_sysfs, from_bus;
      const int32_t value_sysfs =
          DecodeBaseAddressRegister(sysfs, 0, f.device, 0, offset, from_sysfs);
      const int32_t value_bus = DecodeBaseAddressRegister(bus, 0, f.device, 0, offset, from_bus);
      EXPECT_EQ(from_sysfs, from_bus) << "device " << f.device << " offset " << offset;
      EXPECT_EQ(value_sysfs, value_bus);
      EXPECT_EQ(value_sysfs, static_cast<int32_t>(f.bars[i].saved));
      EXPECT_EQ(sysfs.Read(0, f.device, 0, offset), f.bars[i].saved);
      texts.push_back(from_sysfs);
    }
  }
  const std::vector<std::string> expected = {
      "c0000000 - c0003fff : 64bit memory space : prefetchable",
      "00000000 - 0000000f : 64bit memory space",
      "feb00000 - feb00fff : 32bit memory space",
      "e0000000 - e00fffff : 32bit memory space : prefetchable",
      "e000 - e01f : I/O space",
      "00000000 - ffffffff : 32bit memory space",
      "fffc0000 - fffdffff : address decode enable",
      "f0000000 - f00fffff : 64bit memory space",
      "00000000 - 0000000f : 32bit memory space",
      "00000000 - ffffffff : 32bit memory space",
      "00000000 - ffffffff : 32bit memory space",
      "00000000 - ffffffff : 32bit memory space",
      "00000000 - ffffffff : 32bit memory space",
      "fffc0000 - fffdffff : ",
  };
  EXPECT_EQ(texts, expected);

  std::string absent;
  EXPECT_EQ(DecodeBaseAddressRegister(sysfs, 0, 7, 0, 0x10, absent), -1);
  EXPECT_EQ(absent, "no device");
}

}  // namespace
}  // namespace kelvox
