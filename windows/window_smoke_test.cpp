// The main window as a person meets it on Windows: titled "PCIデバイス検索(95/98/Me)", 32 rows
// read through the port I/O backend (all ones on an NT-family system) or through the default
// device manager access, the about item in the system menu, and system commands 16 to 31
// opening the about box. (That Escape ends the real program is checked from outside by
// scripts/windows/smoke.sh.)
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/msw/wrapwin.h>
#include <wx/toplevel.h>

#include <string>

#include "config/access.h"
#include "config/port/port_io_access.h"
#include "ui/main_dialog.h"
#include "ui/system_menu_win32.h"
#include "ui/testing/gui_test.h"
#include "ui/texts.h"

namespace kelvox {
namespace {

using testing::HaveDisplay;
using testing::RunEventsUntil;

// The top-level window titled `title`, other than `except`, or null.
wxTopLevelWindow* FindTopLevel(const wxString& title, wxWindow* except = nullptr) {
  for (wxWindow* window : wxTopLevelWindows) {
    auto* top = dynamic_cast<wxTopLevelWindow*>(window);
    if (top != nullptr && top != except && top->IsShown() && top->GetTitle() == title) return top;
  }
  return nullptr;
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveDisplay()) GTEST_SKIP() << "no display";
    dialog_ = new MainDialog(MakeAccess());
    dialog_->Bind(wxEVT_DESTROY, [this](wxWindowDestroyEvent& event) {
      if (event.GetEventObject() == dialog_) destroyed_ = true;
      event.Skip();
    });
    dialog_->Show();
    dialog_->Raise();
    RunEventsUntil([this] { return dialog_->IsShownOnScreen(); }, 5000);
  }
  // The access the window reads through.
  virtual std::unique_ptr<ConfigAccess> MakeAccess() { return std::make_unique<PortIoAccess>(); }

  void TearDown() override {
    if (dialog_ != nullptr && !destroyed_) dialog_->Destroy();
    RunEventsUntil([] { return wxTopLevelWindows.empty(); }, 5000);
  }

  // Sends the system command `command` to the window and returns the title of the modal box it
  // opened (closed again at once), or "" when none opened.
  wxString SystemCommandOpens(int command) {
    wxString opened;
    bool looked = false;
    const wxString about_title = wxString::FromUTF8(texts::kAboutTitle);
    // Runs inside the about box's own loop when one opened, else once the command is handled.
    dialog_->CallAfter([&opened, &looked, about_title, this] {
      if (wxTopLevelWindow* about = FindTopLevel(about_title, dialog_)) {
        opened = about->GetTitle();
        if (auto* modal = dynamic_cast<wxDialog*>(about)) modal->EndModal(wxID_OK);
      }
      looked = true;
    });
    SendMessageW(static_cast<HWND>(dialog_->GetHWND()), WM_SYSCOMMAND, command, 0);
    RunEventsUntil([&looked] { return looked; });
    return opened;
  }

  MainDialog* dialog_ = nullptr;
  bool destroyed_ = false;
};

TEST_F(MainWindow, OpensTitledWithAllRowsAllOnes) {
  EXPECT_EQ(dialog_->GetTitle().utf8_string(), "PCIデバイス検索(95/98/Me)");
  EXPECT_EQ(dialog_->access().Name(), "port");
  ASSERT_EQ(dialog_->list()->GetItemCount(), 32);
  for (int row = 0; row < 32; ++row) {
    EXPECT_EQ(dialog_->list()->GetItemText(row, 1), "ffff") << row;
    EXPECT_EQ(dialog_->list()->GetItemText(row, 8).utf8_string(), "？？？？") << row;
  }
  EXPECT_EQ(dialog_->list()->GetItemText(7, 0), " 7");
}

// The default access on Windows: under Wine the one PCI device Wine lists has no place in a bus,
// so every row reads all ones, but the window opens and answers.
class DefaultMainWindow : public MainWindow {
 protected:
  std::unique_ptr<ConfigAccess> MakeAccess() override { return MakeDefaultAccess(); }
};

TEST_F(DefaultMainWindow, OpensThroughTheDeviceManager) {
  EXPECT_EQ(dialog_->GetTitle().utf8_string(), "PCIデバイス検索(95/98/Me)");
  EXPECT_EQ(dialog_->access().Name(), "cfgmgr");
  ASSERT_EQ(dialog_->list()->GetItemCount(), 32);
  for (int row = 0; row < 32; ++row) {
    EXPECT_EQ(dialog_->list()->GetItemText(row, 1), "ffff") << row;
  }
  EXPECT_TRUE(SystemMenuHasAboutItem(dialog_->GetHWND()));
}

// The topology window from the menu command: Wine's one adapter below the host bridge.
TEST_F(DefaultMainWindow, OpensTheTopologyWindowWithWinesAdapter) {
  ASSERT_TRUE(dialog_->RunWindowCommand(kTopologyCommand));
  TopologyWindow* topology = dialog_->topology_window();
  ASSERT_NE(topology, nullptr);
  RunEventsUntil([topology] { return topology->IsShownOnScreen(); }, 5000);
  EXPECT_EQ(topology->GetTitle().utf8_string(), "PCIバス構成");
  ASSERT_EQ(topology->model().rows().size(), 1u);
  wxTreeListCtrl* tree = topology->tree();
  const wxTreeListItem top = tree->GetFirstItem();
  ASSERT_TRUE(top.IsOk());
  EXPECT_EQ(tree->GetItemText(top).utf8_string(), "ホストブリッジ");
  const wxTreeListItem adapter = tree->GetFirstChild(top);
  ASSERT_TRUE(adapter.IsOk());
  EXPECT_EQ(tree->GetItemText(adapter).utf8_string(), topology->model().rows()[0].address);
  topology->Close();
  EXPECT_TRUE(RunEventsUntil([this] { return dialog_->topology_window() == nullptr; }, 5000));
}

TEST_F(MainWindow, SystemMenuHoldsTheAboutItem) {
  EXPECT_TRUE(SystemMenuHasAboutItem(dialog_->GetHWND()));
}

TEST_F(MainWindow, SystemCommands16To31OpenTheAboutBox) {
  const wxString about_title = wxString::FromUTF8(texts::kAboutTitle);
  EXPECT_EQ(SystemCommandOpens(16), about_title);
  EXPECT_EQ(SystemCommandOpens(31), about_title);
  EXPECT_EQ(SystemCommandOpens(32), "");
  EXPECT_EQ(SystemCommandOpens(15), "");
}

}  // namespace
}  // namespace kelvox
