#include "config/sysfs/sysfs_facts.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "config/sysfs/sysfs_access.h"
#include "config/sysfs/testing/fake_sysfs_tree.h"
#include "testsupport/temp_folder.h"

namespace kelvox {
namespace {

namespace fs = std::filesystem;

int OpenFile(const std::string& path, int flags) { return ::open(path.c_str(), flags); }

void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

// A folder holding every file the kernel writes for a PCI Express function with a driver.
std::string FullFunction(const std::string& folder, const std::string& drivers) {
  fs::create_directories(folder + "/msi_irqs");
  for (const char* vector : {"24", "25", "26"}) Write(folder + "/msi_irqs/" + vector, "msi\n");
  fs::create_directories(drivers + "/nvme");
  fs::create_directory_symlink(drivers + "/nvme", folder + "/driver");
  fs::create_directories(drivers + "/../../kernel/iommu_groups/14");
  fs::create_directory_symlink(drivers + "/../../kernel/iommu_groups/14", folder + "/iommu_group");
  Write(folder + "/modalias", "pci:v0000144Dd0000A808sv0000144Dsd0000A801bc01sc08i02\n");
  Write(folder + "/irq", "16\n");
  Write(folder + "/enable", "1\n");
  Write(folder + "/power_state", "D0\n");
  Write(folder + "/numa_node", "0\n");
  Write(folder + "/current_link_speed", "8.0 GT/s PCIe\n");
  Write(folder + "/current_link_width", "4\n");
  Write(folder + "/max_link_speed", "16.0 GT/s PCIe\n");
  Write(folder + "/max_link_width", "4\n");
  return folder;
}

class SysfsFactsTest : public ::testing::Test {
 protected:
  const testing::TempFolder root_{"kelvox-facts"};
};

TEST_F(SysfsFactsTest, ReadsEveryFactOfAFullFolder) {
  // devices/pci0000:00/0000:00:1c.0/0000:01:00.0, as the kernel nests a function under its
  // bridge, reached through the flat folder of links.
  const std::string bridge = root_.PathOf("devices/pci0000:00/0000:00:1c.0");
  const std::string folder =
      FullFunction(bridge + "/0000:01:00.0", root_.PathOf("bus/pci/drivers"));
  const std::optional<FunctionFacts> facts = ReadSysfsFacts(folder, OpenFile);
  ASSERT_TRUE(facts.has_value());
  FunctionFacts expected;
  expected.driver = "nvme";
  expected.modalias = "pci:v0000144Dd0000A808sv0000144Dsd0000A801bc01sc08i02";
  expected.irq = 16;
  expected.msi_vectors = 3;
  expected.enabled = true;
  expected.power_state = "D0";
  expected.numa_node = 0;
  expected.iommu_group = "14";
  expected.current_link_speed = "8.0 GT/s PCIe";
  expected.current_link_width = 4;
  expected.max_link_speed = "16.0 GT/s PCIe";
  expected.max_link_width = 4;
  expected.parent = "00:1c.0";
  EXPECT_EQ(*facts, expected);
  EXPECT_EQ(LinkBelowMaximum(*facts), true);

  // The same folder through a link in the flat list of functions: the bridge is still found.
  fs::create_directories(root_.PathOf("bus/pci/devices"));
  fs::create_directory_symlink(folder, root_.PathOf("bus/pci/devices/0000:01:00.0"));
  EXPECT_EQ(ReadSysfsFacts(root_.PathOf("bus/pci/devices/0000:01:00.0"), OpenFile)->parent,
            "00:1c.0");
  // The bridge itself hangs from the host bridge.
  EXPECT_EQ(ReadSysfsFacts(bridge, OpenFile)->parent, "");

  // Asked for the driver and the parent alone, the rest stays unread; no file is opened.
  int opened = 0;
  const FactsOpenFunction counting = [&opened](const std::string& path, int flags) {
    ++opened;
    return OpenFile(path, flags);
  };
  FunctionFacts tree_facts;
  tree_facts.driver = "nvme";
  tree_facts.parent = "00:1c.0";
  EXPECT_EQ(ReadSysfsFacts(folder, counting, kDriverFact | kParentFact), tree_facts);
  EXPECT_EQ(opened, 0);
}

TEST_F(SysfsFactsTest, MissingAndMalformedFilesLeaveTheirFactUnknown) {
  const std::string folder = root_.PathOf("pci0000:00/0000:00:03.0");
  fs::create_directories(folder);
  Write(folder + "/irq", "not a number\n");
  Write(folder + "/numa_node", "-1\n");
  Write(folder + "/current_link_speed", "Unknown\n");
  Write(folder + "/current_link_width", "0\n");
  Write(folder + "/enable", "\n");
  fs::create_directory_symlink(root_.PathOf("gone/virtio-pci"), folder + "/driver");  // dangling
  const FunctionFacts facts = *ReadSysfsFacts(folder, OpenFile);
  EXPECT_EQ(facts.irq, std::nullopt);
  EXPECT_EQ(facts.enabled, std::nullopt);
  EXPECT_EQ(facts.modalias, std::nullopt);
  EXPECT_EQ(facts.power_state, std::nullopt);
  EXPECT_EQ(facts.numa_node, -1);
  EXPECT_EQ(facts.driver, "virtio-pci");  // the link's name, as lspci -k shows it
  EXPECT_EQ(facts.msi_vectors, 0);        // no msi_irqs folder: none in use
  EXPECT_EQ(facts.iommu_group, "");       // no group
  EXPECT_EQ(facts.current_link_speed, "Unknown");
  EXPECT_EQ(facts.current_link_width, 0);
  EXPECT_EQ(facts.max_link_speed, std::nullopt);
  EXPECT_EQ(LinkBelowMaximum(facts), std::nullopt);
  EXPECT_EQ(facts.parent, "");
  // A driver entry that is a plain file, not a link: not known.
  fs::remove(folder + "/driver");
  Write(folder + "/driver", "x");
  EXPECT_EQ(ReadSysfsFacts(folder, OpenFile)->driver, std::nullopt);
  EXPECT_EQ(ReadSysfsFacts(root_.PathOf("pci0000:00/0000:00:04.0"), OpenFile), std::nullopt);
}

TEST_F(SysfsFactsTest, TheAccessAnswersFactsOfPresentFunctionsOnly) {
  testing::FakeSysfsTree tree;
  const std::string folder = tree.Add("0000:00:05.0", {testing::Header({}), {}});
  Write(folder + "/irq", "10\n");
  SysfsAccess access(tree.root());
  ASSERT_TRUE(access.Facts({0, 5, 0}).has_value());
  EXPECT_EQ(access.Facts({0, 5, 0})->irq, 10);
  EXPECT_EQ(access.Facts({0, 5, 0})->driver, "");
  EXPECT_EQ(access.Facts({0, 6, 0}), std::nullopt);
}

// This machine's own tree: the facts match the kernel's files one for one.
TEST(SysfsFactsOnThisMachine, DriverAndIrqMatchTheKernelsFiles) {
  if (!fs::is_directory(kSysfsDevicesRoot)) GTEST_SKIP() << "no " << kSysfsDevicesRoot;
  int compared = 0;
  for (const auto& entry : fs::directory_iterator(kSysfsDevicesRoot)) {
    const std::string folder = entry.path().string();
    const std::optional<FunctionFacts> facts = ReadSysfsFacts(folder, OpenFile);
    ASSERT_TRUE(facts.has_value()) << folder;
    const std::string driver = fs::is_symlink(folder + "/driver")
                                   ? fs::read_symlink(folder + "/driver").filename().string()
                                   : "";
    EXPECT_EQ(facts->driver, driver) << folder;
    std::ifstream irq(folder + "/irq");
    int expected_irq = -1;
    irq >> expected_irq;
    EXPECT_EQ(facts->irq, expected_irq) << folder;
    ++compared;
  }
  if (compared == 0) GTEST_SKIP() << "no PCI function on this machine";
}

}  // namespace
}  // namespace kelvox
