// The details sheet's "システム" page as a person sees it: the facts of a captured function,
// the line shown when the access method knows none, and this machine's own driver.
#include "ui/system_info_page.h"

#include <wx/bookctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "config/capture/simulated_bus.h"
#include "config/sysfs/sysfs_access.h"
#include "details/device_details.h"
#include "details/system_texts.h"
#include "ui/details_sheet.h"
#include "ui/testing/details_sheet_probe.h"
#include "ui/testing/gui_test.h"

namespace kelvox {
namespace {

using testing::DetailsSheetProbe;
using testing::PagesOnly;
using testing::SheetView;

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

SheetView ShowSheet(const DeviceDetails& details) {
  DetailsSheetProbe probe;
  DetailsSheet sheet(PagesOnly(details));
  sheet.ShowModal();
  return probe.shown().empty() ? SheetView{} : probe.shown().front();
}

SimulatedBus VirtioBus(bool with_facts) {
  SimulatedBus bus;
  bus.AddFunction({0, 3, 0},
                  {0xF4, 0x1A, 0x41, 0x10, 0x07, 0x05, 0x10, 0x00, 0x01, 0x00, 0x00, 0x02});
  if (with_facts) {
    FunctionFacts facts;
    facts.driver = "virtio-pci";
    facts.irq = 11;
    facts.msi_vectors = 3;
    facts.enabled = true;
    facts.power_state = "D0";
    facts.numa_node = -1;
    facts.iommu_group = "";
    facts.parent = "";
    bus.SetFacts({0, 3, 0}, facts);
  }
  return bus;
}

TEST(SystemInfoPageGui, ShowsEveryFactInAReadOnlyField) {
  KELVOX_REQUIRE_DISPLAY();
  SimulatedBus bus = VirtioBus(true);
  const SheetView view = ShowSheet(BuildDeviceDetails(bus, 0, 3, 0));
  EXPECT_FALSE(view.system_notice_shown);
  EXPECT_EQ(view.system.size(), 12u);
  EXPECT_EQ(view.system.at(kDriverControl), U("virtio-pci"));
  EXPECT_EQ(view.system.at(kIrqControl), U("11"));
  EXPECT_EQ(view.system.at(kMsiControl), U("使用中 (3 ベクタ)"));
  EXPECT_EQ(view.system.at(kNumaNodeControl), U("なし"));
  EXPECT_EQ(view.system.at(kModaliasControl), U("不明"));
  EXPECT_EQ(view.system.at(kParentControl), U("ホストブリッジ直下"));
}

TEST(SystemInfoPageGui, WithoutFactsOneLineSaysSoAndTheOtherPagesAreAsBefore) {
  KELVOX_REQUIRE_DISPLAY();
  SimulatedBus bus = VirtioBus(false);
  const DeviceDetails details = BuildDeviceDetails(bus, 0, 3, 0);
  DetailsSheetProbe probe([](DetailsSheet& sheet) {
    // The page's fields exist but are hidden; the line is shown, and reads as it should.
    CSystemInfo& page = sheet.system_page();
    wxWindow* notice = page.FindWindow(kSystemFactsUnavailableControl);
    EXPECT_NE(notice, nullptr);
    if (notice != nullptr) {
      EXPECT_EQ(notice->GetLabel(), U("このアクセス方式では取得できません"));
    }
    EXPECT_FALSE(page.FieldEdit(kDriverControl)->IsShown());
    // Every page is read-only.
    EXPECT_FALSE(page.FieldEdit(kDriverControl)->IsEditable());
    return true;
  });
  DetailsSheet sheet(PagesOnly(details));
  sheet.ShowModal();
  ASSERT_EQ(probe.shown().size(), 1u);
  const SheetView& view = probe.shown().front();
  EXPECT_TRUE(view.system_notice_shown);
  EXPECT_TRUE(view.system.empty());
  EXPECT_EQ(view.tabs.size(), 6u);
  EXPECT_EQ(view.misc.size(), 10u);
}

TEST(SystemInfoPageGui, ThisMachinesVirtioDeviceShowsItsDriver) {
  KELVOX_REQUIRE_DISPLAY();
  namespace fs = std::filesystem;
  // The first function of this machine that has a driver bound.
  for (const FunctionLocation& at : SysfsAccess().ListFunctions(std::nullopt).present) {
    const std::string folder = SysfsAccess().FunctionFolder(at);
    if (!fs::is_symlink(folder + "/driver")) continue;
    const std::string driver = fs::read_symlink(folder + "/driver").filename().string();
    SysfsAccess access;
    const SheetView view = ShowSheet(BuildDeviceDetails(access, at.bus, at.device, at.function));
    EXPECT_EQ(view.system.at(kDriverControl), wxString::FromUTF8(driver));
    std::ifstream irq_file(folder + "/irq");
    int irq = -1;
    irq_file >> irq;
    EXPECT_EQ(view.system.at(kIrqControl), wxString::Format("%d", irq));
    return;
  }
  GTEST_SKIP() << "no function with a driver on this machine";
}

}  // namespace
}  // namespace kelvox
