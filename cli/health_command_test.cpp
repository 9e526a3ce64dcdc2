// kelvox-cli health over a fake /sys (`--source sysfs:DIR`): a tree of root ports, a switch
// and devices whose sysfs files plant one fault each beside their healthy neighbours, as the
// kernel writes those files; and this machine, which must be found healthy.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/health_watch.h"
#include "cli/json_output.h"
#include "config/sysfs/sysfs_access.h"
#include "testsupport/environment_value.h"
#include "testsupport/run_program.h"
#include "testsupport/temp_folder.h"

namespace kelvox {
namespace {

namespace fs = std::filesystem;
using testing::ProgramRun;
using testing::RunProgram;

struct FakeDevice {
  std::string path;     // under devices/pci0000:00, its bridges' folders before it
  uint32_t class_code;  // 24 bits
  bool bridge;
  int secondary_bus;             // a bridge's
  std::string max_speed, speed;  // "16.0 GT/s PCIe"
  int max_width, width;
  std::string driver;                                      // "" none
  std::vector<std::pair<std::string, std::string>> files;  // further files: name, text
};

class HealthOnFakeSysfs : public ::testing::Test {
 protected:
  void Add(const FakeDevice& d) {
    const fs::path folder = fs::path(folder_.path()) / "devices/pci0000:00" / d.path;
    fs::create_directories(folder);
    std::string config(64, '\0');
    const auto put = [&config](int at, uint32_t value) {
      for (int i = 0; i < 4; ++i) config[at + i] = static_cast<char>(value >> (8 * i));
    };
    put(0x00, 0x12341AF4);
    put(0x04, 0x00100000);
    put(0x08, d.class_code << 8);
    put(0x0C, d.bridge ? 0x00010000 : 0);
    if (d.bridge) put(0x18, static_cast<uint32_t>(d.secondary_bus) << 8);
    Write(folder / "config", config);
    Write(folder / "resource", "");
    Write(folder / "enable", "1\n");
    Write(folder / "power_state", "D0\n");
    if (!d.max_speed.empty()) {
      Write(folder / "max_link_speed", d.max_speed + "\n");
      Write(folder / "current_link_speed", d.speed + "\n");
      Write(folder / "max_link_width", std::to_string(d.max_width) + "\n");
      Write(folder / "current_link_width", std::to_string(d.width) + "\n");
    }
    for (const auto& [name, text] : d.files) Write(folder / name, text);
    if (!d.driver.empty()) {
      fs::create_directories(fs::path(folder_.path()) / "bus/pci/drivers" / d.driver);
      fs::create_directory_symlink("../../../../bus/pci/drivers/" + d.driver, folder / "driver");
    }
    const fs::path devices = fs::path(folder_.path()) / "bus/pci/devices";
    fs::create_directories(devices);
    fs::create_directory_symlink(folder, devices / folder.filename());
  }
  static void Write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  ProgramRun Health(const std::vector<std::string>& more = {}) {
    std::vector<std::string> argv = {KELVOX_CLI_PATH,           "health", "--source",
                                     "sysfs:" + folder_.path(), "--ids",  "embedded"};
    argv.insert(argv.end(), more.begin(), more.end());
    return RunProgram(argv);
  }
  const testing::TempFolder folder_{"kelvox-health"};
};

constexpr const char* kGen1 = "2.5 GT/s PCIe";
constexpr const char* kGen3 = "8.0 GT/s PCIe";
constexpr const char* kGen4 = "16.0 GT/s PCIe";
constexpr const char* kGen5 = "32.0 GT/s PCIe";

TEST_F(HealthOnFakeSysfs, FindsEveryPlantedFaultAndNothingElse) {
  const std::string aer_some = "RxErr 2\nBadTLP 0\nTOTAL_ERR_COR 2\n";
  const std::string aer_none = "RxErr 0\nBadTLP 0\nTOTAL_ERR_COR 0\n";
  const std::vector<FakeDevice> devices = {
      // A host bridge without a driver is as it should be.
      {"0000:00:00.0", 0x060000, false, 0, "", "", 0, 0, "", {}},
      // A Gen4 x16 GPU trained at Gen1 x8 under a Gen4 x16 root port.
      {"0000:00:01.0", 0x060400, true, 1, kGen4, kGen1, 16, 8, "pcieport", {}},
      {"0000:00:01.0/0000:01:00.0", 0x030000, false, 0, kGen4, kGen1, 16, 8, "amdgpu", {}},
      // A Gen3 x4 NVMe under a Gen5 x16 port runs as fast as it can.
      {"0000:00:02.0", 0x060400, true, 2, kGen5, kGen3, 16, 4, "pcieport", {}},
      {"0000:00:02.0/0000:02:00.0",
       0x010802,
       false,
       0,
       kGen3,
       kGen3,
       4,
       4,
       "nvme",
       {{"aer_dev_correctable", aer_none}}},
      // A switch behind a Gen3 x4 root port: its uplink limits the Gen4 x16 accelerator.
      {"0000:00:03.0", 0x060400, true, 3, kGen3, kGen3, 4, 4, "pcieport", {}},
      {"0000:00:03.0/0000:03:00.0", 0x060400, true, 4, kGen4, kGen3, 16, 4, "pcieport", {}},
      {"0000:00:03.0/0000:03:00.0/0000:04:00.0",
       0x060400,
       true,
       5,
       kGen4,
       kGen4,
       16,
       16,
       "pcieport",
       {}},
      {"0000:00:03.0/0000:03:00.0/0000:04:00.0/0000:05:00.0",
       0x120000,
       false,
       0,
       kGen4,
       kGen4,
       16,
       16,
       "accel",
       {}},
      // A NIC without a driver, and one counting correctable errors.
      {"0000:00:04.0", 0x020000, false, 0, "", "", 0, 0, "", {}},
      {"0000:00:05.0",
       0x020000,
       false,
       0,
       "",
       "",
       0,
       0,
       "e1000e",
       {{"aer_dev_correctable", aer_some}}},
      // Asleep in D3cold: a note.
      {"0000:00:06.0", 0x0c0330, false, 0, "", "", 0, 0, "xhci_hcd", {{"power_state", "D3cold\n"}}},
  };
  for (const FakeDevice& device : devices) Add(device);

  const ProgramRun run = Health();
  EXPECT_EQ(run.status, 1) << run.out << run.err;
  EXPECT_EQ(run.out,
            "warning 01:00.0  link 00:01.0 - 01:00.0 at 2.5GT/s x8, both ends can 16GT/s x16 "
            "(many devices lower their link speed when idle: check it under load)\n"
            "warning 05:00.0  gets 3.94 GB/s per direction, not the 31.51 GB/s of its own link: "
            "the link 00:03.0 - 03:00.0 at 8GT/s x4 is the narrowest on its way to the root "
            "port\n"
            "warning 00:04.0  no driver is bound (Ethernet)\n"
            "warning 00:05.0  AER counts 2 correctable errors since boot: RxErr 2\n"
            "note    00:06.0  asleep in D3cold (power saving): not woken to be checked\n"
            "health: 4 findings (0 errors, 4 warnings), 1 note, 12 functions checked\n")
      << run.err;

  // Without --ids, a function without its driver is named from the default list (read only
  // because a finding needs it), as --ids system names it.
  {
    const testing::EnvironmentValue no_choice("KELVOX_IDS", std::nullopt);
    const std::vector<std::string> argv = {KELVOX_CLI_PATH, "health", "--source",
                                           "sysfs:" + folder_.path()};
    std::vector<std::string> system = argv;
    system.insert(system.end(), {"--ids", "system"});
    const ProgramRun by_default = RunProgram(argv), chosen = RunProgram(system);
    EXPECT_EQ(by_default.out, chosen.out);
    EXPECT_EQ(by_default.status, 1);
  }

  const ProgramRun json = Health({"--json"});
  EXPECT_EQ(json.status, 1);
  const cli::Json document = cli::Json::parse(json.out);
  EXPECT_EQ(document["found"], true);
  EXPECT_EQ(document["functions_checked"], 12);
  std::vector<std::string> kinds;
  for (const cli::Json& finding : document["findings"]) kinds.push_back(finding["kind"]);
  EXPECT_EQ(kinds,
            (std::vector<std::string>{"link", "path", "no_driver", "aer_counter", "d3cold"}));
}

TEST_F(HealthOnFakeSysfs, AHealthyTreeAndThisMachineExitZero) {
  Add({"0000:00:00.0", 0x060000, false, 0, "", "", 0, 0, "", {}});
  Add({"0000:00:02.0", 0x060400, true, 2, kGen5, kGen3, 16, 4, "pcieport", {}});
  Add({"0000:00:02.0/0000:02:00.0", 0x010802, false, 0, kGen3, kGen3, 4, 4, "nvme", {}});
  const ProgramRun run = Health();
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_EQ(run.out, "health: no findings, 3 functions checked\n");

  if (fs::exists("/sys/bus/pci/devices")) {
    const ProgramRun here = RunProgram({KELVOX_CLI_PATH, "health", "--source", "sysfs"});
    EXPECT_EQ(here.status, 0) << here.out << here.err;
  }
  const ProgramRun unknown = Health({"--format", "xml"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err, "kelvox-cli: health: --format takes text, json or openmetrics, not xml\n");
  const ProgramRun missing =
      RunProgram({KELVOX_CLI_PATH, "health", "--source", "sysfs:" + folder_.PathOf("none")});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("sysfs: cannot open"), std::string::npos) << missing.err;
}

// The watch's samples of a tree the test changes between them: a link that flaps, a counter
// that rises, a function removed and added back, a driver unbound; then the program itself.
TEST_F(HealthOnFakeSysfs, WatchSeesEveryChangeBetweenSamples) {
  Add({"0000:00:01.0", 0x060400, true, 1, kGen4, kGen4, 16, 16, "pcieport", {}});
  Add({"0000:00:01.0/0000:01:00.0",
       0x030000,
       false,
       0,
       kGen4,
       kGen4,
       16,
       16,
       "amdgpu",
       {{"aer_dev_correctable", "RxErr 1\nTOTAL_ERR_COR 1\n"}}});
  Add({"0000:00:02.0", 0x020000, false, 0, "", "", 0, 0, "e1000e", {}});
  const fs::path gpu = fs::path(folder_.path()) / "devices/pci0000:00/0000:00:01.0/0000:01:00.0";
  const fs::path nic_link = fs::path(folder_.path()) / "bus/pci/devices/0000:00:02.0";
  const fs::path nic = fs::read_symlink(nic_link);
  SysfsAccess access(folder_.path() + "/bus/pci/devices");
  std::vector<health::BusSample> samples{cli::SampleBus(access, false)};
  const auto next = [&] { samples.push_back(cli::SampleBus(access, false)); };
  Write(gpu / "current_link_speed", std::string(kGen1) + "\n");
  next();
  Write(gpu / "current_link_speed", std::string(kGen4) + "\n");
  Write(gpu / "aer_dev_correctable", "RxErr 4\nTOTAL_ERR_COR 4\n");
  next();
  Write(gpu / "current_link_speed", std::string(kGen1) + "\n");
  fs::remove(nic_link);
  next();
  fs::create_directory_symlink(nic, nic_link);
  fs::remove(gpu / "driver");
  next();
  std::vector<std::string> seen;
  std::vector<health::Change> all;
  for (size_t i = 1; i < samples.size(); ++i) {
    for (health::Change& change : health::CompareSamples(samples[i - 1], samples[i])) {
      seen.push_back(change.address + " " + change.text);
      all.push_back(std::move(change));
    }
  }
  EXPECT_EQ(seen, (std::vector<std::string>{
                      "01:00.0 link 16GT/s x16 -> 2.5GT/s x16",
                      "01:00.0 link 2.5GT/s x16 -> 16GT/s x16",
                      "01:00.0 correctable RxErr rose by 3 to 4",
                      "01:00.0 correctable TOTAL_ERR_COR rose by 3 to 4",
                      "00:02.0 removed",
                      "01:00.0 link 16GT/s x16 -> 2.5GT/s x16",
                      "00:02.0 added (driver e1000e)",
                      "01:00.0 driver amdgpu unbound",
                  }));
  EXPECT_EQ(
      health::ChangeSummary(all),
      (std::vector<std::string>{"00:02.0: 2 changes (added 1, removed 1)",
                                "01:00.0: 6 changes (counter 2, driver 1, link 3): flapping"}));

  const ProgramRun run = Health({"--watch", "0.1", "--count", "3"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find(" watching 3 functions every 0.1 s\n"), std::string::npos) << run.out;
  EXPECT_TRUE(run.out.ends_with("watch: 3 samples, 0 changes\n")) << run.out;
  EXPECT_EQ(Health({"--watch", "0"}).status, 2);
  EXPECT_EQ(Health({"--count", "3"}).status, 2);
}

}  // namespace
}  // namespace kelvox
