// The main dialog on a source with several PCI domains: the context menu's "PCIドメイン"
// submenu lists them, choosing one rescans the shown bus and function there, and the details
// sheet names the domain in its caption. With one domain the menu is as it always was.
#include <wx/menu.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/weakref.h>

#include <gtest/gtest.h>

#include <vector>

#include "config/capture/capture_text.h"
#include "ui/domain_menu.h"
#include "ui/main_dialog.h"
#include "ui/main_template.h"
#include "ui/testing/details_sheet_probe.h"
#include "ui/testing/gui_test.h"
#include "ui/testing/window_actions.h"

namespace kelvox {
namespace {

using testing::DetailsSheetProbe;
using testing::RoundTrip;
using testing::RunEventsUntil;

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

// A Hyper-V guest: emulated host bridge in 0000, a passed-through GPU in domain c0e3 at device
// 2, and an NVMe drive behind Intel VMD in domain 10000.
constexpr char kThreeDomains[] =
    "0000:00:00.0 Host bridge\n00: 86 80 37 12 06 00 00 00 02 00 00 06 00 00 00 00\n\n"
    "c0e3:00:02.0 3D controller\n00: de 10 b5 20 06 00 10 00 a1 00 02 03 00 00 00 00\n\n"
    "10000:00:05.0 NVMe\n00: 4d 14 0a a8 06 04 10 00 01 02 08 01 00 00 00 00\n\n";

// The items of the context menu and its submenus as they were when it opened.
struct ShownMenu {
  std::vector<wxString> labels;         // of the top-level items
  std::vector<wxString> domain_labels;  // of the "PCIドメイン" submenu's items
  std::vector<bool> domain_checked;
  std::vector<wxItemKind> domain_kinds;
};

class DomainSwitchGui : public ::testing::Test {
 protected:
  void Open(const char* capture) {
    if (!testing::HaveDisplay()) GTEST_SKIP() << "no display";
    bus_ = ParseSimulatedBus(capture);
    main_ = new MainDialog(bus_);
    main_->Move(0, 0);
    main_->Show();
    ASSERT_TRUE(RoundTrip());
  }

  void TearDown() override {
    if (main_) main_->Destroy();
    EXPECT_TRUE(RunEventsUntil([this] { return !main_; }));
  }

  // Opens the context menu with a right click beside "終了", reads it and closes it.
  bool ReadContextMenu(ShownMenu& shown) {
    int menus = 0;
    wxTimer close;
    close.Bind(wxEVT_TIMER, [](wxTimerEvent&) { wxUIActionSimulator().Char(WXK_ESCAPE); });
    const auto read = [&](wxMenuEvent& event) {
      wxMenu* menu = event.GetMenu();
      if (menu != nullptr && menu->GetParent() == nullptr) {
        ++menus;
        shown = ShownMenu{};
        for (const wxMenuItem* item : menu->GetMenuItems()) {
          shown.labels.push_back(item->GetItemLabelText());
          if (wxMenu* sub = item->GetSubMenu()) {
            for (const wxMenuItem* domain : sub->GetMenuItems()) {
              shown.domain_labels.push_back(domain->GetItemLabelText());
              shown.domain_checked.push_back(domain->IsChecked());
              shown.domain_kinds.push_back(domain->GetKind());
            }
          }
        }
        close.StartOnce(200);
      }
      event.Skip();
    };
    main_->Bind(wxEVT_MENU_OPEN, read);
    const wxRect quit = main_->control(main_ids::kQuit)->GetRect();
    testing::PointAt(main_->ClientToScreen(wxPoint(quit.x - 30, quit.y + quit.height / 2)));
    wxUIActionSimulator().MouseClick(wxMOUSE_BTN_RIGHT);
    const bool opened = RunEventsUntil([&] { return menus > 0 && !close.IsRunning(); }, 5000);
    main_->Unbind(wxEVT_MENU_OPEN, read);
    return opened;
  }

  void Choose(int command) {
    wxCommandEvent event(wxEVT_MENU, command);
    event.SetEventObject(main_);
    main_->GetEventHandler()->ProcessEvent(event);
  }

  wxString Cell(int row, int column) const { return main_->list()->GetItemText(row, column); }

  SimulatedBus bus_;
  wxWeakRef<MainDialog> main_;
};

TEST_F(DomainSwitchGui, TheSubmenuSwitchesTheRowsToTheChosenDomain) {
  Open(kThreeDomains);
  // It opens on domain 0000: the host bridge is row 0, nothing at row 2.
  EXPECT_EQ(Cell(0, 1), "8086");
  EXPECT_EQ(Cell(2, 1), "ffff");
  ShownMenu menu;
  ASSERT_TRUE(ReadContextMenu(menu));
  ASSERT_FALSE(menu.labels.empty());
  EXPECT_EQ(menu.labels.back(), U("PCIドメイン"));
  EXPECT_EQ(menu.domain_labels, (std::vector<wxString>{"0000", "c0e3", "10000"}));
  EXPECT_EQ(menu.domain_checked, (std::vector<bool>{true, false, false}));
  EXPECT_EQ(menu.domain_kinds, (std::vector<wxItemKind>(3, wxITEM_RADIO)));

  Choose(kFirstDomainCommand + 1);  // c0e3
  EXPECT_EQ(Cell(0, 1), "ffff");
  EXPECT_EQ(Cell(2, 1), "10de");
  EXPECT_EQ(Cell(2, 2), "20b5");
  ASSERT_TRUE(ReadContextMenu(menu));
  EXPECT_EQ(menu.domain_checked, (std::vector<bool>{false, true, false}));

  // The details sheet reads the chosen domain and names it.
  DetailsSheetProbe probe;
  ASSERT_TRUE(main_->OpenDetails(2));
  ASSERT_EQ(probe.shown().size(), 1u);
  EXPECT_EQ(probe.shown()[0].caption,
            U("ドメイン=c0e3, バス番号=0, 機能番号=0, デバイス番号=2 の詳細情報"));
  EXPECT_EQ(probe.shown()[0].vendor.at(1028), "10de");

  Choose(kFirstDomainCommand + 2);  // 10000
  EXPECT_EQ(Cell(2, 1), "ffff");
  EXPECT_EQ(Cell(5, 1), "144d");
  // A command past the domains offered changes nothing.
  Choose(kFirstDomainCommand + 3);
  EXPECT_EQ(Cell(5, 1), "144d");
  EXPECT_EQ(bus_.SelectedDomain(), 0x10000);
}

TEST_F(DomainSwitchGui, OneDomainLeavesTheMenuAndCaptionAsTheyWere) {
  Open("00:00.0 Host bridge\n00: 86 80 37 12 06 00 00 00 02 00 00 06 00 00 00 00\n");
  ShownMenu menu;
  ASSERT_TRUE(ReadContextMenu(menu));
  EXPECT_TRUE(menu.domain_labels.empty());
  for (const wxString& label : menu.labels) EXPECT_NE(label, U("PCIドメイン"));
  DetailsSheetProbe probe;
  ASSERT_TRUE(main_->OpenDetails(0));
  ASSERT_EQ(probe.shown().size(), 1u);
  EXPECT_EQ(probe.shown()[0].caption, U("バス番号=0, 機能番号=0, デバイス番号=0 の詳細情報"));
}

}  // namespace
}  // namespace kelvox
