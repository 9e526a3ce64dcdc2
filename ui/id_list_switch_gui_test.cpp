// Switching the PCI ID list from the main dialog's menu while the program runs: the open
// search window names what it holds from the new list at once and relabels its link, and a
// details sheet opened afterwards names its device from the new list.
#include <wx/app.h>
#include <wx/menu.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/weakref.h>

#include <gtest/gtest.h>

#include "config/capture/simulated_bus.h"
#include "details/vendor_page.h"
#include "iddb/name_source.h"
#include "testsupport/temp_folder.h"
#include "ui/details_page_templates.h"
#include "ui/id_list_switch.h"
#include "ui/main_dialog.h"
#include "ui/main_template.h"
#include "ui/search_template.h"
#include "ui/search_window.h"
#include "ui/testing/details_sheet_probe.h"
#include "ui/testing/gui_test.h"
#include "ui/testing/window_actions.h"

namespace kelvox {
namespace {

using testing::DetailsSheetProbe;
using testing::RoundTrip;
using testing::RunEventsUntil;

constexpr char kList[] =
    "#\tVersion: 2023.04.10\n"
    "8086  Intel Corporation\n"
    "\t1237  440FX - 82441FX PMC [Natoma]\n"
    "C 06  Bridge\n"
    "\t00  Host bridge\n";

constexpr char kEmbeddedSearchLink[] =
    "PCI Vendor and Device List (created on Sun Dec  4 20:04:27 PST 2005)";
constexpr char kOtherLink[] = "PCI Vendor and Device List (version 2023.04.10)";

class IdListSwitchGui : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::HaveDisplay()) GTEST_SKIP() << "no display";
    path_ = folder_.Write("list.ids", kList);
    // The program's own switch, started as `kelvox --ids FILE` starts it, then set back to the
    // embedded list so each test starts there.
    ASSERT_EQ(IdLists().Start(path_), "");
    ASSERT_TRUE(IdLists().Choose(kEmbeddedIdListCommand));

    bus_.AddFunction({0, 0, 0});
    bus_.SetRegister({0, 0, 0}, 0x00, 0x12378086);
    bus_.SetRegister({0, 0, 0}, 0x08, 0x06000002);
    main_ = new MainDialog(bus_);
    main_->Move(0, 0);
    main_->Show();
    ASSERT_TRUE(RoundTrip());
  }

  void TearDown() override {
    if (main_) main_->Destroy();
    EXPECT_TRUE(RunEventsUntil([this] { return !main_; }));
    UseEmbeddedIdList();
  }

  // Chooses a list as the context menu's radio item does: a menu command to the dialog.
  void ChooseFromMenu(int command) {
    wxCommandEvent event(wxEVT_MENU, command);
    event.SetEventObject(main_);
    main_->GetEventHandler()->ProcessEvent(event);
  }

  wxString Text(CFindVendorDeviceName* window, int id) { return window->edit(id)->GetValue(); }

  const testing::TempFolder folder_{"kelvox-id-list-switch-gui"};
  std::string path_;
  SimulatedBus bus_;
  wxWeakRef<MainDialog> main_;
};

TEST_F(IdListSwitchGui, TheContextMenuOffersBothListsAsRadioItems) {
  struct Item {
    int id;
    wxString label;
    wxItemKind kind;
    bool enabled, checked;
  };
  std::vector<Item> items;
  int menus = 0;
  wxTimer close;
  close.Bind(wxEVT_TIMER, [](wxTimerEvent&) { wxUIActionSimulator().Char(WXK_ESCAPE); });
  main_->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& event) {
    if (wxMenu* menu = event.GetMenu()) {
      ++menus;
      items.clear();
      for (const wxMenuItem* item : menu->GetMenuItems()) {
        items.push_back({item->GetId(), item->GetItemLabel(), item->GetKind(), item->IsEnabled(),
                         item->IsCheckable() && item->IsChecked()});
      }
      close.StartOnce(200);
    }
    event.Skip();
  });
  const auto open_menu = [&] {
    const int before = menus;
    const wxRect quit = main_->control(main_ids::kQuit)->GetRect();
    testing::PointAt(main_->ClientToScreen(wxPoint(quit.x - 30, quit.y + quit.height / 2)));
    wxUIActionSimulator().MouseClick(wxMOUSE_BTN_RIGHT);
    return RunEventsUntil([&] { return menus > before && !close.IsRunning(); }, 5000);
  };

  ASSERT_TRUE(open_menu());
  // The about item, a separator, the two lists, a separator, the topology window and the
  // captures.
  ASSERT_EQ(items.size(), 8u);
  EXPECT_EQ(items[0].id, 16);
  EXPECT_EQ(items[4].kind, wxITEM_SEPARATOR);
  EXPECT_EQ(items[5].id, kTopologyCommand);
  EXPECT_EQ(items[5].label, wxString::FromUTF8("PCIバス構成(&T)...\tCtrl+T"));
  EXPECT_EQ(items[6].id, kOpenCaptureCommand);
  EXPECT_EQ(items[7].id, kSaveCaptureCommand);
  EXPECT_EQ(items[1].kind, wxITEM_SEPARATOR);
  EXPECT_EQ(items[2].id, kEmbeddedIdListCommand);
  EXPECT_EQ(items[2].label, wxString::FromUTF8("PCI IDリスト: 内蔵 (2005年)"));
  EXPECT_EQ(items[2].kind, wxITEM_RADIO);
  EXPECT_TRUE(items[2].checked);
  EXPECT_EQ(items[3].id, kOtherIdListCommand);
  // Started with --ids FILE, the other list is that file's.
  EXPECT_EQ(items[3].label, wxString::FromUTF8("PCI IDリスト: ファイル (2023.04.10)"));
  EXPECT_EQ(items[3].kind, wxITEM_RADIO);
  EXPECT_TRUE(items[3].enabled);
  EXPECT_FALSE(items[3].checked);

  ChooseFromMenu(kOtherIdListCommand);
  ASSERT_TRUE(open_menu());
  ASSERT_EQ(items.size(), 8u);
  EXPECT_FALSE(items[2].checked);
  EXPECT_TRUE(items[3].checked);
}

TEST_F(IdListSwitchGui, TheOpenSearchWindowIsRenamedAtOnce) {
  main_->ShowSearchWindow();
  auto* window = dynamic_cast<CFindVendorDeviceName*>(main_->search_window());
  ASSERT_NE(window, nullptr);
  // SetValue raises the change events typing raises.
  window->edit(search_ids::kVendorId)->SetValue("8086");
  window->edit(search_ids::kDeviceId)->SetValue("1237");
  window->edit(search_ids::kClassCode)->SetValue("06");
  window->edit(search_ids::kClassCode)->SetValue("060");
  EXPECT_EQ(Text(window, search_ids::kChipName), "82440LX/EX");
  EXPECT_EQ(Text(window, search_ids::kDeviceDescription), "PCI & Memory Controller (PMC)");
  EXPECT_EQ(Text(window, search_ids::kBaseClassName), "Bridge Device");
  EXPECT_EQ(window->link().GetLabel(), kEmbeddedSearchLink);

  ChooseFromMenu(kOtherIdListCommand);
  EXPECT_EQ(Text(window, search_ids::kVendorId), "8086");
  EXPECT_EQ(Text(window, search_ids::kDeviceId), "1237");
  EXPECT_EQ(Text(window, search_ids::kVendorFullName), "Intel Corporation");
  EXPECT_EQ(Text(window, search_ids::kVendorShortName), "");
  EXPECT_EQ(Text(window, search_ids::kChipName), "440FX - 82441FX PMC");
  EXPECT_EQ(Text(window, search_ids::kDeviceDescription), "Natoma");
  // Three characters keep the base class the first two name.
  EXPECT_EQ(Text(window, search_ids::kClassCode), "060");
  EXPECT_EQ(Text(window, search_ids::kBaseClassName), "Bridge");
  EXPECT_EQ(Text(window, search_ids::kSubClassName), "");
  EXPECT_EQ(window->link().GetLabel(), kOtherLink);
  EXPECT_EQ(window->link().m_link, "https://pci-ids.ucw.cz/");

  ChooseFromMenu(kEmbeddedIdListCommand);
  EXPECT_EQ(Text(window, search_ids::kChipName), "82440LX/EX");
  EXPECT_EQ(Text(window, search_ids::kBaseClassName), "Bridge Device");
  EXPECT_EQ(window->link().GetLabel(), kEmbeddedSearchLink);
}

TEST_F(IdListSwitchGui, ADetailsSheetOpenedAfterASwitchUsesTheNewList) {
  wxString link_label;
  DetailsSheetProbe probe([&](DetailsSheet& sheet) {
    link_label = sheet.vendor_page().FindWindow(kVendorListLinkControl)->GetLabel();
    return true;
  });
  ASSERT_TRUE(main_->OpenDetails(0));
  ChooseFromMenu(kOtherIdListCommand);
  ASSERT_TRUE(main_->OpenDetails(0));
  const wxString other_link = link_label;
  ChooseFromMenu(kEmbeddedIdListCommand);
  ASSERT_TRUE(main_->OpenDetails(0));

  ASSERT_EQ(probe.shown().size(), 3u);
  EXPECT_EQ(probe.shown()[0].vendor.at(kChipNameControl), "82440LX/EX");
  EXPECT_EQ(probe.shown()[1].vendor.at(kChipNameControl), "440FX - 82441FX PMC");
  EXPECT_EQ(probe.shown()[1].vendor.at(kDeviceDescriptionControl), "Natoma");
  EXPECT_EQ(probe.shown()[1].vendor.at(kSubClassNameControl), "Host bridge");
  EXPECT_EQ(other_link, kOtherLink);
  EXPECT_EQ(probe.shown()[2].vendor.at(kChipNameControl), "82440LX/EX");
  EXPECT_EQ(link_label, kVendorListLabel);
}

}  // namespace
}  // namespace kelvox
