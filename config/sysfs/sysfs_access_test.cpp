#include "config/sysfs/sysfs_access.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "config/capture/simulated_bus.h"
#include "config/sysfs/resource_sizing.h"
#include "config/sysfs/testing/fake_sysfs_tree.h"

namespace kelvox {
namespace {

namespace fs = std::filesystem;

using testing::FakeFunction;
using testing::Header;
using testing::Region;
using testing::ResourceText;
using SysfsTree = testing::FakeSysfsTree;

class SysfsAccessTest : public ::testing::Test {
 protected:
  // 00:01.0: 64-bit prefetchable memory (BAR0/1) of 512 KiB at 0x4000000000, 32-bit memory
  // (BAR2), 32-bit prefetchable memory (BAR3), I/O (BAR4), nothing at BAR5, enabled ROM.
  void SetUp() override {
    tree_.Add("0000:00:01.0",
              {Header({0x0000000C, 0x00000040, 0xFEB00000, 0xE0000008, 0x0000C001, 0}, 0xFEA00001),
               {Region(0x4000000000, 0x80000, 0x14220C),
                {},
                Region(0xFEB00000, 0x1000),
                Region(0xE0000000, 0x100000, 0x2208),
                Region(0xC000, 0x20, 0x40101),
                {},
                Region(0xFEA00000, 0x40000, 0x46200)}});
  }
  uint32_t SizingReadBackOf(int device, int reg) {
    const uint32_t saved = access_.Read(0, device, 0, reg);
    access_.Write(0, device, 0, reg, 0xFFFFFFFF);
    const uint32_t readback = access_.Read(0, device, 0, reg);
    access_.Write(0, device, 0, reg, saved);
    EXPECT_EQ(access_.Read(0, device, 0, reg), saved) << "restore of " << reg;
    return readback;
  }

  SysfsTree tree_;
  SysfsAccess access_{tree_.root()};
};

TEST_F(SysfsAccessTest, ReadsEachDwordOfTheConfigFile) {
  EXPECT_EQ(access_.Read(0, 1, 0, 0x00), 0x10451AF4u);
  EXPECT_EQ(access_.Read(0, 1, 0, 0x08), 0x06040001u);
  EXPECT_EQ(access_.Read(0, 1, 0, 0x14), 0x00000040u);
  EXPECT_EQ(access_.Read(0, 1, 0, 0x33), 0xFEA00001u);   // inside the ROM dword
  EXPECT_EQ(access_.Read(0, 33, 8, 0x00), 0x10451AF4u);  // device 33 is 1, function 8 is 0
  EXPECT_EQ(access_.Name(), "sysfs");
  EXPECT_EQ(access_.FunctionFolder({0x1A, 0x1F, 7}), tree_.root() + "/0000:1a:1f.7");
}

TEST_F(SysfsAccessTest, AbsentFunctionAndShortFileReadAllOnes) {
  EXPECT_EQ(access_.Read(0, 2, 0, 0), kAllOnes);
  EXPECT_EQ(access_.Read(1, 1, 0, 0), kAllOnes);
  // Past the 64 bytes a file holds.
  SysfsTree::WriteFile(tree_.Add("0000:00:04.0", {}) + "/config", std::string(64, '\x11'));
  EXPECT_EQ(access_.Read(0, 4, 0, 0x3C), 0x11111111u);
  EXPECT_EQ(access_.Read(0, 4, 0, 0x40), kAllOnes);
  SysfsTree::WriteFile(tree_.Add("0000:00:03.0", {}) + "/config", std::string("\xF4\x1A", 2));
  EXPECT_EQ(access_.Read(0, 3, 0, 0), kAllOnes);
}

TEST_F(SysfsAccessTest, SizingMemoryRegisters) {
  EXPECT_EQ(SizingReadBackOf(1, 0x10), 0xFFF8000Cu);  // 64-bit prefetchable, lower half
  EXPECT_EQ(SizingReadBackOf(1, 0x14), 0xFFFFFFFFu);  // its upper half
  EXPECT_EQ(SizingReadBackOf(1, 0x18), 0xFFFFF000u);  // 32-bit, 4 KiB
  EXPECT_EQ(SizingReadBackOf(1, 0x1C), 0xFFF00008u);  // 32-bit prefetchable, 1 MiB
}

TEST_F(SysfsAccessTest, SizingIoUnimplementedAndRom) {
  EXPECT_EQ(SizingReadBackOf(1, 0x20), 0xFFFFFFE1u);  // 32 bytes of I/O
  EXPECT_EQ(SizingReadBackOf(1, 0x24), 0u);           // no register there
  EXPECT_EQ(SizingReadBackOf(1, 0x30), 0xFFFC0001u);  // 256 KiB ROM, decoding enabled

  tree_.Add("0000:00:02.0",
            {Header({}, 0xFEA00000), {{}, {}, {}, {}, {}, {}, Region(0xFEA00000, 0x800)}});
  EXPECT_EQ(SizingReadBackOf(2, 0x30), 0xFFFFF800u);  // 2 KiB ROM, decoding off
  tree_.Add("0000:00:03.0", {Header({}), {}});
  EXPECT_EQ(SizingReadBackOf(3, 0x30), 0u);  // no ROM
}

TEST_F(SysfsAccessTest, SizingARegionAbove4GiBAndAnUpperHalfThatLooksLike64Bit) {
  // An 8 GiB region: no address bit of the lower half is writable.
  // Upper half 0x00000004 has the bit pattern of a 64-bit lower half; the register after it
  // is still a register of its own.
  tree_.Add("0000:00:04.0",
            {Header({0x0000000C, 0x00000004, 0x0000D001}),
             {Region(0x400000000, 0x200000000, 0x14220C), {}, Region(0xD000, 0x100, 0x40101)}});
  EXPECT_EQ(SizingReadBackOf(4, 0x10), 0x0000000Cu);
  EXPECT_EQ(SizingReadBackOf(4, 0x14), 0xFFFFFFFEu);
  EXPECT_EQ(SizingReadBackOf(4, 0x18), 0xFFFFFF01u);
}

TEST_F(SysfsAccessTest, BridgeHasTwoBaseAddressRegistersAndItsRomAt0x38) {
  std::vector<uint32_t> config = Header({0xFE000000}, 0, 1);
  config[6] = 0x00020100;   // 0x18: bus numbers 0, 1, 2
  config[14] = 0xFD000001;  // 0x38: ROM
  tree_.Add(
      "0000:00:05.0",
      {config, {Region(0xFE000000, 0x4000), {}, {}, {}, {}, {}, Region(0xFD000000, 0x10000)}});
  EXPECT_EQ(SizingReadBackOf(5, 0x10), 0xFFFFC000u);
  EXPECT_EQ(SizingReadBackOf(5, 0x38), 0xFFFF0001u);
  // The bus number register is no base address register: the write is ignored.
  EXPECT_EQ(SizingReadBackOf(5, 0x18), 0x00020100u);
  EXPECT_EQ(SizingReadBackOf(5, 0x30), 0u);
}

TEST_F(SysfsAccessTest, AbsentFunctionIsNeverArmed) {
  access_.Write(0, 9, 0, 0x10, 0xFFFFFFFF);
  EXPECT_EQ(access_.Read(0, 9, 0, 0x10), kAllOnes);
  tree_.Add("0000:00:09.0", {Header({0xF0000000}), {Region(0xF0000000, 0x1000)}});
  (void)access_.Read(0, 1, 0, 0x00);  // another function: 00:09.0 is looked for again
  EXPECT_EQ(access_.Read(0, 9, 0, 0x10), 0xF0000000u);
}

TEST_F(SysfsAccessTest, OtherWritesAreIgnored) {
  access_.Write(0, 1, 0, 0x04, 0xFFFFFFFF);  // command register: not sized
  EXPECT_EQ(access_.Read(0, 1, 0, 0x04), 0x00100007u);
  access_.Write(0, 1, 0, 0x10, 0x12345678);
  EXPECT_EQ(access_.Read(0, 1, 0, 0x10), 0x0000000Cu);
  // The sizing answer belongs to one register of one function.
  access_.Write(0, 1, 0, 0x18, 0xFFFFFFFF);
  EXPECT_EQ(access_.Read(0, 1, 0, 0x1C), 0xE0000008u);
  EXPECT_EQ(access_.Read(0, 1, 1, 0x18), kAllOnes);
  EXPECT_EQ(access_.Read(0, 1, 0, 0x18), 0xFFFFF000u);
}

TEST_F(SysfsAccessTest, UnreadableResourceFileMakesTheSizingReadFail) {
  const std::string folder = tree_.Add("0000:00:06.0", {Header({0xF0000000}), {}});
  SysfsTree::WriteFile(folder + "/resource", "not a resource file\n");
  EXPECT_EQ(SizingReadBackOf(6, 0x10), kAllOnes);
  fs::remove(folder + "/resource");
  EXPECT_EQ(SizingReadBackOf(6, 0x10), kAllOnes);
}

TEST_F(SysfsAccessTest, FailedOpenAndIoErrorReadAllOnes) {
  SysfsAccess refused(tree_.root(), [](const std::string&, int) {
    errno = EACCES;
    return -1;
  });
  EXPECT_EQ(refused.Read(0, 1, 0, 0), kAllOnes);
  // A descriptor that cannot be read at an offset: a folder.
  SysfsAccess broken(tree_.root(), [this](const std::string&, int flags) {
    return ::open(tree_.root().c_str(), flags);
  });
  EXPECT_EQ(broken.Read(0, 1, 0, 0), kAllOnes);
}

// Counts the config files opened, as the kernel would see them.
struct CountingOpen {
  std::map<std::string, int> opens;
  SysfsAccess::OpenFunction Function() {
    return [this](const std::string& path, int flags) {
      if (fs::path(path).filename() == "config") {
        ++opens[fs::path(path).parent_path().filename().string()];
      }
      return ::open(path.c_str(), flags);
    };
  }
};

TEST_F(SysfsAccessTest, ReadsOfOneFunctionShareOneOpen) {
  CountingOpen counter;
  SysfsAccess access(tree_.root(), counter.Function());
  // A row reads four registers; the details of an absent device thirteen.
  for (int reg : {0x00, 0x04, 0x08, 0x0C}) (void)access.Read(0, 1, 0, reg);
  for (int reg = 0; reg < 0x40; reg += 4) EXPECT_EQ(access.Read(0, 2, 0, reg), kAllOnes);
  EXPECT_EQ(counter.opens["0000:00:01.0"], 1);
  EXPECT_EQ(counter.opens["0000:00:02.0"], 1);
  // Only the function read last stays open: going back opens again.
  EXPECT_EQ(access.Read(0, 1, 0, 0x08), 0x06040001u);
  EXPECT_EQ(counter.opens["0000:00:01.0"], 2);
  // Sizing reads the resource file but keeps the config file open.
  access.Write(0, 1, 0, 0x18, 0xFFFFFFFF);
  EXPECT_EQ(access.Read(0, 1, 0, 0x18), 0xFFFFF000u);
  access.Write(0, 1, 0, 0x18, 0xFEB00000);
  EXPECT_EQ(access.Read(0, 1, 0, 0x18), 0xFEB00000u);
  EXPECT_EQ(counter.opens["0000:00:01.0"], 2);
}

TEST_F(SysfsAccessTest, AMissingFunctionIsRememberedOnlyBriefly) {
  CountingOpen counter;
  SysfsAccess::Clock::time_point now{};
  SysfsAccess access(tree_.root(), counter.Function(), [&now] { return now; });
  EXPECT_EQ(access.Read(0, 7, 0, 0x00), kAllOnes);
  tree_.Add("0000:00:07.0", {Header({}), {}});
  // Within one run of reads the function stays missing ...
  EXPECT_EQ(access.Read(0, 7, 0, 0x08), kAllOnes);
  EXPECT_EQ(counter.opens["0000:00:07.0"], 1);
  now += SysfsAccess::kMissingFunctionMemory - std::chrono::milliseconds(1);
  EXPECT_EQ(access.Read(0, 7, 0, 0x0C), kAllOnes);
  EXPECT_EQ(counter.opens["0000:00:07.0"], 1);
  // ... but the next run, a little later, finds it.
  now += std::chrono::milliseconds(1);
  EXPECT_EQ(access.Read(0, 7, 0, 0x00), 0x10451AF4u);
  EXPECT_EQ(counter.opens["0000:00:07.0"], 2);
}

TEST_F(SysfsAccessTest, ADeviceThatGoesAwayReadsAllOnesThenIsOpenedAfresh) {
  std::vector<int> descriptors;
  SysfsAccess access(tree_.root(), [&descriptors](const std::string& path, int flags) {
    descriptors.push_back(::open(path.c_str(), flags));
    return descriptors.back();
  });
  EXPECT_EQ(access.Read(0, 1, 0, 0x00), 0x10451AF4u);
  ASSERT_EQ(descriptors.size(), 1u);
  // The kernel fails reads of a removed device's file; a folder's descriptor fails the same way.
  const int folder = ::open(tree_.root().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(dup2(folder, descriptors[0]), 0);
  close(folder);
  EXPECT_EQ(access.Read(0, 1, 0, 0x08), kAllOnes);
  EXPECT_EQ(access.Read(0, 1, 0, 0x08), 0x06040001u);
  EXPECT_EQ(descriptors.size(), 2u);
}

TEST_F(SysfsAccessTest, ListsTheFunctionFoldersOfDomainZeroInOrder) {
  tree_.Add("0000:02:00.0", {Header({}), {}});
  tree_.Add("0000:00:1f.7", {Header({}), {}});
  tree_.Add("0000:00:01.3", {Header({}), {}});
  tree_.Add("0001:00:00.0", {Header({}), {}});  // another PCI domain
  // Names sscanf would take: a sign, a blank, upper-case letters are not the kernel's, too few
  // or too many digits, device 32.
  for (const char* name : {"not-a-function", "0000:00:20.0", "0000:-1:00.0", "0000:+1:00.0",
                           "0000: 1:00.0", "0000:00:0-.0", "000:000:00.0", "0000:00:01.0x",
                           "0000:00:01.8", "0000:0g:00.0", "00000:0:00.0", "0000.00:01.0"}) {
    fs::create_directory(tree_.root() + "/" + name);
  }
  const FunctionListing listing = access_.ListFunctions(std::nullopt);
  EXPECT_EQ(listing.present,
            (std::vector<FunctionLocation>{{0, 1, 0}, {0, 1, 3}, {0, 0x1F, 7}, {2, 0, 0}}));
  EXPECT_TRUE(listing.skipped.empty()) << listing.skipped.front();
  EXPECT_EQ(access_.ListFunctions(2).present, (std::vector<FunctionLocation>{{2, 0, 0}}));
  EXPECT_TRUE(SysfsAccess("/nonexistent/kelvox").ListFunctions(std::nullopt).present.empty());
}

TEST_F(SysfsAccessTest, FunctionsWhoseConfigCannotBeReadAreSkippedAndNamed) {
  const std::string missing = tree_.Add("0000:00:02.0", {Header({}), {}});
  fs::remove(missing + "/config");
  const std::string folder = tree_.Add("0000:00:03.0", {Header({}), {}});
  fs::remove(folder + "/config");
  fs::create_directory(folder + "/config");
  const std::string short_file = tree_.Add("0000:00:04.0", {Header({}), {}});
  SysfsTree::WriteFile(short_file + "/config", std::string(15, '\x11'));
  tree_.Add("0000:00:05.0", {{0x10451AF4, 0x00100007, 0x06040001, 0}, {}});  // 16 bytes: enough
  const FunctionListing listing = access_.ListFunctions(std::nullopt);
  EXPECT_EQ(listing.present, (std::vector<FunctionLocation>{{0, 1, 0}, {0, 5, 0}}));
  ASSERT_EQ(listing.skipped.size(), 3u);
  EXPECT_EQ(listing.skipped[0].rfind("sysfs: 00:02.0: skipped: cannot open ", 0), 0u)
      << listing.skipped[0];
  EXPECT_NE(listing.skipped[0].find("No such file or directory"), std::string::npos);
  EXPECT_NE(listing.skipped[1].find("00:03.0: skipped: cannot read "), std::string::npos);
  EXPECT_NE(listing.skipped[1].find("Is a directory"), std::string::npos);
  EXPECT_NE(listing.skipped[2].find("00:04.0: skipped: "), std::string::npos);
  EXPECT_NE(listing.skipped[2].find("holds 15 bytes, fewer than the 16 of a header"),
            std::string::npos);
  // An unreadable file (root reads any file, so the open is refused by hand).
  SysfsAccess refused(tree_.root(), [](const std::string& path, int flags) {
    if (path.find("00:01.0/config") != std::string::npos) {
      errno = EACCES;
      return -1;
    }
    return ::open(path.c_str(), flags);
  });
  const FunctionListing refused_listing = refused.ListFunctions(0);
  EXPECT_EQ(refused_listing.present, (std::vector<FunctionLocation>{{0, 5, 0}}));
  ASSERT_EQ(refused_listing.skipped.size(), 4u);
  EXPECT_NE(refused_listing.skipped[0].find("00:01.0: skipped: cannot open "), std::string::npos);
  EXPECT_NE(refused_listing.skipped[0].find("Permission denied"), std::string::npos);
}

// The writable mask SizingWithoutWriting gives for one register, or nothing when the function
// is absent.
std::optional<uint32_t> MaskOf(SysfsAccess& sysfs, FunctionLocation at, int reg) {
  const std::optional<HeaderSizing> sizing = sysfs.SizingWithoutWriting(at);
  if (!sizing) return std::nullopt;
  return sizing->writable[reg / 4];
}

// A simulated function holding the same registers, with the masks SizingWithoutWriting gives,
// must read back what this access reads back for every register of the header.
void ExpectSimulatedSizingMatches(SysfsAccess& sysfs, int device) {
  const FunctionLocation at{0, device, 0};
  SimulatedBus bus;
  bus.AddFunction(at);
  for (int reg = 0; reg < 0x40; reg += 4) bus.SetRegister(at, reg, sysfs.Read(0, device, 0, reg));
  const std::optional<HeaderSizing> sizing = sysfs.SizingWithoutWriting(at);
  ASSERT_TRUE(sizing.has_value());
  for (int reg = 0; reg < 0x40; reg += 4) bus.SetWritableMask(at, reg, sizing->writable[reg / 4]);
  for (int reg = 0; reg < 0x40; reg += 4) {
    const uint32_t saved = sysfs.Read(0, device, 0, reg);
    sysfs.Write(0, device, 0, reg, kAllOnes);
    bus.Write(0, device, 0, reg, kAllOnes);
    EXPECT_EQ(bus.Read(0, device, 0, reg), sysfs.Read(0, device, 0, reg))
        << "device " << device << " register " << reg;
    sysfs.Write(0, device, 0, reg, saved);
    bus.Write(0, device, 0, reg, saved);
    EXPECT_EQ(bus.Read(0, device, 0, reg), saved);
  }
}

TEST_F(SysfsAccessTest, SizingMasksMakeASimulatedFunctionSizeAsSysfsDoes) {
  // 00:01.0: every kind of memory register, I/O, an unimplemented one and an enabled ROM.
  EXPECT_EQ(MaskOf(access_, {0, 1, 0}, 0x10), 0xFFF80000u);   // type bits stay
  EXPECT_EQ(MaskOf(access_, {0, 1, 0}, 0x14), 0xFFFFFFFFu);   // upper half: all writable
  EXPECT_EQ(MaskOf(access_, {0, 1, 0}, 0x20), 0xFFFFFFE0u);   // I/O
  EXPECT_EQ(MaskOf(access_, {0, 1, 0}, 0x30), 0xFFFC0000u);   // ROM: the enable bit stays
  EXPECT_EQ(MaskOf(access_, {0, 1, 0}, 0x04), 0u);            // not a sized register
  EXPECT_EQ(MaskOf(access_, {0, 9, 0}, 0x10), std::nullopt);  // absent
  ExpectSimulatedSizingMatches(access_, 1);

  tree_.Add("0000:00:02.0",
            {Header({}, 0xFEA00000), {{}, {}, {}, {}, {}, {}, Region(0xFEA00000, 0x800)}});
  ExpectSimulatedSizingMatches(access_, 2);
  tree_.Add("0000:00:04.0",
            {Header({0x0000000C, 0x00000004, 0x0000D001}),
             {Region(0x400000000, 0x200000000, 0x14220C), {}, Region(0xD000, 0x100, 0x40101)}});
  ExpectSimulatedSizingMatches(access_, 4);
  std::vector<uint32_t> bridge = Header({0xFE000000}, 0, 1);
  bridge[6] = 0x00020100;
  bridge[14] = 0xFD000001;
  tree_.Add(
      "0000:00:05.0",
      {bridge, {Region(0xFE000000, 0x4000), {}, {}, {}, {}, {}, Region(0xFD000000, 0x10000)}});
  ExpectSimulatedSizingMatches(access_, 5);
  // Without readable regions every sizing read fails; all ones writable gives the same.
  const std::string folder = tree_.Add("0000:00:06.0", {Header({0xF0000000}), {}});
  fs::remove(folder + "/resource");
  EXPECT_EQ(MaskOf(access_, {0, 6, 0}, 0x10), kAllOnes);
  EXPECT_EQ(MaskOf(access_, {0, 6, 0}, 0x0C), 0u);
  ExpectSimulatedSizingMatches(access_, 6);
  // ... and the sizing says why.
  EXPECT_NE(access_.SizingWithoutWriting({0, 6, 0})->problem.find(
                "sysfs: 00:06.0: base address sizes unknown: cannot open "),
            std::string::npos);
  EXPECT_EQ(access_.SizingWithoutWriting({0, 1, 0})->problem, "");
  SysfsTree::WriteFile(folder + "/resource", "0x0 0x0\n");
  EXPECT_NE(access_.SizingWithoutWriting({0, 6, 0})->problem.find("is not a resource file"),
            std::string::npos);
}

TEST_F(SysfsAccessTest, AMultiFunctionDeviceIsSizedByItsLayout) {
  // Header type 0x80 (function 0 of a multi-function device) sizes as type 0, 0x81 as a bridge.
  tree_.Add("0000:00:08.0",
            {Header({0xF0000000, 0, 0, 0, 0, 0xF1000000}, 0, 0x80),
             {Region(0xF0000000, 0x1000), {}, {}, {}, {}, Region(0xF1000000, 0x100)}});
  EXPECT_EQ(SizingReadBackOf(8, 0x10), 0xFFFFF000u);
  EXPECT_EQ(SizingReadBackOf(8, 0x24), 0xFFFFFF00u);
  EXPECT_EQ(MaskOf(access_, {0, 8, 0}, 0x24), 0xFFFFFF00u);
  std::vector<uint32_t> bridge = Header({0xFE000000}, 0, 0x81);
  bridge[14] = 0xFD000000;
  tree_.Add(
      "0000:00:09.0",
      {bridge, {Region(0xFE000000, 0x4000), {}, {}, {}, {}, {}, Region(0xFD000000, 0x10000)}});
  EXPECT_EQ(SizingReadBackOf(9, 0x10), 0xFFFFC000u);
  EXPECT_EQ(SizingReadBackOf(9, 0x38), 0xFFFF0000u);
  EXPECT_EQ(MaskOf(access_, {0, 9, 0}, 0x18), 0u);  // a bridge's bus numbers are not sized
}

struct FileState {
  std::string bytes;
  timespec modified;
};

FileState StateOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  struct stat st = {};
  stat(path.c_str(), &st);
  return {bytes.str(), st.st_mtim};
}

TEST_F(SysfsAccessTest, NothingIsEverOpenedForWriting) {
  std::vector<std::pair<std::string, int>> opened;
  SysfsAccess watched(tree_.root(), [&opened](const std::string& path, int flags) {
    opened.emplace_back(path, flags);
    return ::open(path.c_str(), flags);
  });
  const std::string folder = tree_.root() + "/0000:00:01.0";
  chmod((folder + "/config").c_str(), 0444);
  chmod((folder + "/resource").c_str(), 0444);
  const FileState config_before = StateOf(folder + "/config");
  const FileState resource_before = StateOf(folder + "/resource");

  for (int reg = 0; reg < 64; reg += 4) {
    for (uint32_t value : {0xFFFFFFFFu, 0u, 0x12345678u}) {
      watched.Write(0, 1, 0, reg, value);
      (void)watched.Read(0, 1, 0, reg);
    }
  }

  ASSERT_FALSE(opened.empty());
  bool resource_opened = false;
  for (const auto& [path, flags] : opened) {
    EXPECT_EQ(flags & O_ACCMODE, O_RDONLY) << path;
    EXPECT_EQ(flags & (O_CREAT | O_TRUNC | O_APPEND), 0) << path;
    resource_opened |= path == folder + "/resource";
  }
  EXPECT_TRUE(resource_opened);
  const FileState config_after = StateOf(folder + "/config");
  const FileState resource_after = StateOf(folder + "/resource");
  EXPECT_EQ(config_after.bytes, config_before.bytes);
  EXPECT_EQ(resource_after.bytes, resource_before.bytes);
  EXPECT_EQ(config_after.modified.tv_sec, config_before.modified.tv_sec);
  EXPECT_EQ(config_after.modified.tv_nsec, config_before.modified.tv_nsec);
}

TEST(ParseResourceFile, NeedsSevenWellFormedLines) {
  const std::string seven = ResourceText({Region(0xC000, 0x20, 0x101)});
  const auto regions = ParseResourceFile(seven);
  ASSERT_TRUE(regions.has_value());
  ASSERT_EQ(regions->size(), 7u);
  EXPECT_EQ((*regions)[0].Size(), 0x20u);
  EXPECT_EQ((*regions)[1].Size(), 0u);
  EXPECT_FALSE(ParseResourceFile(seven.substr(0, seven.size() / 2)).has_value());
  EXPECT_FALSE(ParseResourceFile("").has_value());
  EXPECT_FALSE(ParseResourceFile(seven + "0x1 0x2 0x3 junk\n").has_value());
}

TEST(ResourceRegion, OnlyAnEndAboveTheStartMakesARegion) {
  // An unused register with flags left by the kernel: no region, not one byte.
  EXPECT_EQ((ResourceRegion{0, 0, 0x200}.Size()), 0u);
  EXPECT_EQ((ResourceRegion{0, 0, 0}.Size()), 0u);
  EXPECT_EQ((ResourceRegion{0x1000, 0x1000, 0x200}.Size()), 0u);
  EXPECT_EQ((ResourceRegion{0x2000, 0x1000, 0x200}.Size()), 0u);
  EXPECT_EQ((ResourceRegion{0, 0xFFF, 0x200}.Size()), 0x1000u);
  EXPECT_EQ((ResourceRegion{0xC000, 0xC01F, 0x101}.Size()), 0x20u);
}

TEST_F(SysfsAccessTest, AnEmptyRegionWithFlagsReadsBackZero) {
  // The kernel keeps the type flags of a register it could not place: 0x0 0x0 0x200.
  tree_.Add("0000:00:0a.0", {Header({0x00000000}), {ResourceRegion{0, 0, 0x200}}});
  EXPECT_EQ(SizingReadBackOf(10, 0x10), 0u);
  EXPECT_EQ(MaskOf(access_, {0, 10, 0}, 0x10), 0u);
}

// This machine's own tree: what the access reads must match the kernel's vendor and device.
TEST(SysfsAccessOnThisMachine, VendorAndDeviceMatchTheKernelsFiles) {
  if (!fs::is_directory(kSysfsDevicesRoot)) GTEST_SKIP() << "no " << kSysfsDevicesRoot;
  SysfsAccess access;
  int compared = 0;
  for (const auto& entry : fs::directory_iterator(kSysfsDevicesRoot)) {
    unsigned domain, bus, device, function;
    if (std::sscanf(entry.path().filename().c_str(), "%x:%x:%x.%x", &domain, &bus, &device,
                    &function) != 4 ||
        domain != 0) {
      continue;
    }
    unsigned vendor_id = 0, device_id = 0;
    std::ifstream(entry.path() / "vendor") >> std::hex >> vendor_id;
    std::ifstream(entry.path() / "device") >> std::hex >> device_id;
    const uint32_t id = access.Read(bus, device, function, 0);
    EXPECT_EQ(id & 0xFFFF, vendor_id) << entry.path();
    EXPECT_EQ(id >> 16, device_id) << entry.path();
    ++compared;
  }
  if (compared == 0) GTEST_SKIP() << "no PCI function in domain 0";
}

}  // namespace
}  // namespace kelvox
