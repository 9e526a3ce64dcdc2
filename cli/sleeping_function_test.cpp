// Functions asleep in D3cold through sysfs: `list` and `tree` name and place them from the
// kernel's attribute files and never open their config files (a read would wake them), while
// `details` reads them as asked. Checked on a fake sysfs tree through an open(2) that notes
// every path it is given.
#include <fcntl.h>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "cli/details_command.h"
#include "cli/list_command.h"
#include "cli/testing/command_run.h"
#include "cli/tree_command.h"
#include "config/sysfs/sysfs_access.h"
#include "config/sysfs/testing/fake_sysfs_tree.h"

namespace kelvox::cli {
namespace {

using kelvox::testing::FakeFunction;
using kelvox::testing::FakeSysfsTree;
using testing::RunCommand;

class SleepingFunctions : public ::testing::Test {
 protected:
  void SetUp() override {
    // 00:01.0, awake: a bridge to bus 02, whose 02:00.0 is awake too.
    std::vector<uint32_t> bridge(16, 0);
    bridge[0] = 0x7a388086;
    bridge[2] = 0x06040000;
    bridge[3] = 0x00010000;
    bridge[6] = 0x00020200;
    Awake("0000:00:01.0", bridge);
    std::vector<uint32_t> nic(16, 0);
    nic[0] = 0x15338086;
    nic[2] = 0x02000003;
    Awake("0000:02:00.0", nic);
    // 00:1c.0, asleep: a bridge to bus 05, where 05:00.0, a GPU, sleeps. Their config files
    // hold what a woken device would give, so that a read of them shows in what is printed.
    Asleep("0000:00:1c.0", {"0x8086", "0xa110", "0x060400", "0xf1", "0x0000", "0x0000"});
    std::filesystem::create_directories(tree_.root() + "/0000:00:1c.0/pci_bus/0000:05");
    Asleep("0000:05:00.0", {"0x10de", "0x1f95", "0x030200", "0xa1", "0x17aa", "0x3a47"});
  }

  void Awake(const std::string& name, const std::vector<uint32_t>& config) {
    const std::string folder = tree_.Add(name, FakeFunction{config, {}});
    FakeSysfsTree::WriteFile(folder + "/power_state", "D0\n");
  }

  // The attribute files, in order: vendor, device, class, revision, subsystem vendor and ID.
  void Asleep(const std::string& name, const std::vector<std::string>& attributes) {
    const std::string folder =
        tree_.Add(name, FakeFunction{std::vector<uint32_t>(16, 0xffffffff), {}});
    FakeSysfsTree::WriteFile(folder + "/power_state", "D3cold\n");
    const char* const files[] = {"vendor",   "device",           "class",
                                 "revision", "subsystem_vendor", "subsystem_device"};
    for (size_t i = 0; i < attributes.size(); ++i) {
      FakeSysfsTree::WriteFile(folder + "/" + files[i], attributes[i] + "\n");
    }
    sleeping_.insert(folder + "/config");
  }

  // An opener of the tree that notes every config file of a sleeping function it opens.
  AccessOpener Opener() {
    return [this](const std::optional<std::string>&) {
      auto open = [this](const std::string& path, int flags) {
        if (sleeping_.contains(path)) woken_.insert(path);
        return ::open(path.c_str(), flags);
      };
      return OpenedAccess{std::make_unique<SysfsAccess>(tree_.root(), open), {}};
    };
  }

  FakeSysfsTree tree_;
  std::set<std::string> sleeping_, woken_;
};

TEST_F(SleepingFunctions, ListAndTreeNameThemWithoutWakingThem) {
  const auto list = RunCommand(RunList, {"--ids", "embedded"}, Opener());
  ASSERT_EQ(list.status, 0) << list.err;
  EXPECT_NE(list.out.find("00:1c.0 8086:a110 060400"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("05:00.0 10de:1f95 030200"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("02:00.0 8086:1533 020000"), std::string::npos) << list.out;
  EXPECT_EQ(list.err, "");

  const auto json = RunCommand(RunList, {"--json"}, Opener());
  ASSERT_EQ(json.status, 0) << json.err;
  const Json document = testing::ParsedRoundTrip(json.out);
  bool found = false;
  for (const Json& f : document["functions"]) {
    if (f["bus"] == 5) {
      EXPECT_EQ(f["vendor_id"]["text"], "10de");
      EXPECT_EQ(f["class_code"]["text"], "030200");
      found = true;
    }
  }
  EXPECT_TRUE(found) << json.out;

  // The GPU hangs below the sleeping bridge that numbered its bus, as the awake NIC hangs below
  // its own.
  const auto tree = RunCommand(RunTree, {"--json"}, Opener());
  ASSERT_EQ(tree.status, 0) << tree.err;
  const Json roots = testing::ParsedRoundTrip(tree.out);
  const std::string text = roots.dump();
  const size_t bridge = text.find("\"00:1c.0\"");
  const size_t gpu = text.find("\"05:00.0\"");
  ASSERT_NE(bridge, std::string::npos) << text;
  ASSERT_NE(gpu, std::string::npos) << text;
  EXPECT_LT(bridge, gpu);
  EXPECT_TRUE(woken_.empty()) << *woken_.begin();
}

TEST_F(SleepingFunctions, DetailsReadsThemAsAsked) {
  const auto details = RunCommand(RunDetails, {"05:00.0"}, Opener());
  EXPECT_EQ(woken_, (std::set<std::string>{tree_.root() + "/0000:05:00.0/config"}));
  EXPECT_NE(details.out.find("ベンダID: ffff"), std::string::npos) << details.out;
}

}  // namespace
}  // namespace kelvox::cli
