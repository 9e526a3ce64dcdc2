// The real topology window under a display, opened from the real main dialog's menu command
// over a captured machine of two domains (topology/testdata/two_domains.txt) whose GPU runs at
// 2.5GT/s x8 behind a switch that can 16GT/s x16: the tree, the marks, the filter, the details
// sheet from a double-click and from Enter, a refresh that keeps what a person chose, the
// automatic refresh's change marks, the layout kept in the configuration, and a capture saved
// from the window read back the same.
#include <wx/config.h>
#include <wx/dataview.h>
#include <wx/fileconf.h>
#include <wx/uiaction.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "config/capture/capture_text.h"
#include "details/details_texts.h"
#include "details/system_texts.h"
#include "testsupport/temp_folder.h"
#include "ui/main_dialog.h"
#include "ui/message_box.h"
#include "ui/testing/details_sheet_probe.h"
#include "ui/testing/gui_test.h"
#include "ui/testing/window_actions.h"
#include "ui/topology_window.h"

namespace kelvox {
namespace {

using testing::RoundTrip;
using testing::RunEventsUntil;

wxString U(const std::string& utf8) { return wxString::FromUTF8(utf8); }

std::string ReadText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string RowText(wxTreeListCtrl* tree, const wxTreeListItem& item) {
  return item.IsOk() ? tree->GetItemText(item).utf8_string() : "(none)";
}

class TopologyWindowGui : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::HaveDisplay()) GTEST_SKIP() << "no display";
    // The window's layout goes to a file of the test's own.
    previous_config_ = wxConfigBase::Set(
        new wxFileConfig("kelvox", "", folder_.PathOf("config"), "", wxCONFIG_USE_LOCAL_FILE));
    bus_ = ParseSimulatedBus(ReadText(KELVOX_TOPOLOGY_CAPTURE));
    main_ = new MainDialog(bus_);
    main_->Move(0, 0);
    main_->Show();
    ASSERT_TRUE(main_->RunWindowCommand(kTopologyCommand));
    ASSERT_TRUE(RoundTrip());
    window_ = main_->topology_window();
    ASSERT_NE(window_, nullptr);
  }

  void TearDown() override {
    if (main_) main_->Destroy();
    EXPECT_TRUE(RunEventsUntil([this] { return !main_; }));
    delete wxConfigBase::Set(previous_config_);
  }

  // The tree as shown: each item's depth (1 for a domain's host bridge line) and first column.
  std::vector<std::string> Shown() const {
    std::vector<std::string> lines;
    wxTreeListCtrl* tree = window_->tree();
    for (wxTreeListItem item = tree->GetFirstItem(); item.IsOk(); item = tree->GetNextItem(item)) {
      int depth = 0;
      for (wxTreeListItem up = item; up != tree->GetRootItem(); up = tree->GetItemParent(up)) {
        ++depth;
      }
      lines.push_back(std::string(static_cast<size_t>(depth - 1) * 2, ' ') +
                      tree->GetItemText(item).utf8_string());
    }
    return lines;
  }
  std::string Column(const std::string& address, unsigned column) const {
    const wxTreeListItem item = window_->ItemOf(address);
    return item.IsOk() ? window_->tree()->GetItemText(item, column).utf8_string() : "(not shown)";
  }

  testing::TempFolder folder_{"kelvox-topology"};
  wxConfigBase* previous_config_ = nullptr;
  SimulatedBus bus_;
  wxWeakRef<MainDialog> main_;
  TopologyWindow* window_ = nullptr;
};

const std::vector<std::string> kWholeTree = {
    "ホストブリッジ (ドメイン 0000)",
    "  0000:00:00.0",
    "  0000:00:01.0",
    "    0000:01:00.0",
    "      0000:02:00.0",
    "        0000:03:00.0",
    "        0000:03:00.1",
    "      0000:02:01.0",
    "        0000:04:00.0",
    "  0000:00:1f.0",
    "ホストブリッジ (ドメイン 0001)",
    "  0001:00:00.0",
    "  0001:00:02.0",
    "    0001:01:00.0",
};

TEST_F(TopologyWindowGui, ShowsEveryDomainsTreeWithTheFindingOnTheGpuAndTheBridgesAboveIt) {
  EXPECT_EQ(window_->GetTitle(), U("PCIバス構成"));
  EXPECT_EQ(Shown(), kWholeTree);
  EXPECT_EQ(Column("0000:03:00.0", 4), "nouveau");
  EXPECT_EQ(Column("0000:03:00.0", 5), "2.5GT/s x8");
  EXPECT_EQ(Column("0000:03:00.0", 6), "16GT/s x16");
  EXPECT_EQ(Column("0000:00:00.0", 4), "なし");
  struct Case {
    const char* address;
    const char* finding;  // the start of the finding column
  };
  const Case cases[] = {
      {"0000:03:00.0", "warning: link 0000:02:00.0 - 0000:03:00.0 at 2.5GT/s x8, both ends can"},
      {"0000:02:00.0", "下位のデバイスに所見あり"},
      {"0000:01:00.0", "下位のデバイスに所見あり"},
      {"0000:00:01.0", "下位のデバイスに所見あり"},
      {"0000:04:00.0", ""},
      {"0001:01:00.0", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Column(c.address, 7).substr(0, std::string(c.finding).size()), c.finding)
        << c.address;
  }
  EXPECT_TRUE(window_->TooltipOf(window_->ItemOf("0000:03:00.0")).Contains("both ends can"));
  EXPECT_EQ(window_->status()->GetLabel(), U("12 個の機能、所見 2 件"));
}

TEST_F(TopologyWindowGui, TheFilterShowsMatchingFunctionsAndTheBridgesAboveThem) {
  window_->filter()->SetFocus();
  RoundTrip();
  testing::TypeText("nouveau");
  EXPECT_EQ(Shown(), (std::vector<std::string>{"ホストブリッジ (ドメイン 0000)", "  0000:00:01.0",
                                               "    0000:01:00.0", "      0000:02:00.0",
                                               "        0000:03:00.0"}));
  EXPECT_EQ(window_->status()->GetLabel(), U("12 個の機能（4 個を表示）、所見 2 件"));
  window_->filter()->SetValue("e1000");
  EXPECT_EQ(Shown(), (std::vector<std::string>{"ホストブリッジ (ドメイン 0001)", "  0001:00:02.0",
                                               "    0001:01:00.0"}));
  window_->filter()->SetValue("");
  EXPECT_EQ(Shown(), kWholeTree);
}

TEST_F(TopologyWindowGui, DoubleClickAndEnterOpenTheSheetOfTheFunctionWithItsLinkVerdict) {
  testing::DetailsSheetProbe probe;
  wxTreeListCtrl* tree = window_->tree();
  window_->Raise();
  RoundTrip();
  // A double-click on the GPU's row.
  const wxTreeListItem gpu = window_->ItemOf("0000:03:00.0");
  tree->EnsureVisible(gpu);
  RoundTrip();
  wxDataViewCtrl* view = tree->GetDataView();
  const wxRect rect = view->GetItemRect(wxDataViewItem(gpu.GetID()), view->GetColumn(1));
  ASSERT_FALSE(rect.IsEmpty());
  testing::PointAt(view->ClientToScreen(rect.GetPosition() + wxPoint(10, rect.height / 2)));
  wxUIActionSimulator().MouseDblClick();
  ASSERT_TRUE(RunEventsUntil([&probe] { return probe.shown().size() == 1; }));
  EXPECT_EQ(probe.shown()[0].caption, U(DetailsCaption(3, 0, 0, 0)));
  EXPECT_TRUE(probe.shown()[0].system.at(kLinkVerdictControl).Contains("both ends can 16GT/s x16"));

  // Enter on the NVMe drive's row, chosen with the keyboard.
  const wxTreeListItem nvme = window_->ItemOf("0000:04:00.0");
  tree->Select(nvme);
  view->SetCurrentItem(wxDataViewItem(nvme.GetID()));
  window_->tree()->GetView()->SetFocus();
  RoundTrip();
  testing::PressKey(WXK_RETURN);
  ASSERT_TRUE(RunEventsUntil([&probe] { return probe.shown().size() == 2; }));
  EXPECT_EQ(probe.shown()[1].caption, U(DetailsCaption(4, 0, 0, 0)));
  EXPECT_EQ(probe.shown()[1].system.at(kLinkVerdictControl), U("正常"));
  // A domain's line has no sheet.
  EXPECT_FALSE(window_->OpenDetails(tree->GetFirstItem()));
}

TEST_F(TopologyWindowGui, RefreshKeepsTheSelectionAndTheClosedBridgesAndAutoRefreshMarksChanges) {
  wxTreeListCtrl* tree = window_->tree();
  tree->Select(window_->ItemOf("0000:04:00.0"));
  tree->Collapse(window_->ItemOf("0000:02:00.0"));
  // The GPU retrains at full speed under load, and the NIC goes away.
  FunctionFacts gpu = *bus_.Facts({3, 0, 0, 0});
  gpu.current_link_speed = "16.0 GT/s PCIe";
  gpu.current_link_width = 16;
  bus_.SetFacts({3, 0, 0, 0}, gpu);
  window_->SetFocus();
  RoundTrip();
  testing::PressKey(WXK_F5);
  EXPECT_EQ(RowText(tree, tree->GetSelection()), "0000:04:00.0");
  EXPECT_FALSE(tree->IsExpanded(window_->ItemOf("0000:02:00.0")));
  EXPECT_TRUE(tree->IsExpanded(window_->ItemOf("0000:02:01.0")));
  EXPECT_EQ(Column("0000:03:00.0", 5), "16GT/s x16");
  EXPECT_EQ(Column("0000:03:00.0", 7), "");  // no finding, and no change marked without auto

  window_->auto_refresh()->SetValue(true);
  wxCommandEvent checked(wxEVT_CHECKBOX, window_->auto_refresh()->GetId());
  checked.SetInt(1);
  window_->auto_refresh()->ProcessWindowEvent(checked);
  EXPECT_TRUE(window_->timer().IsRunning());
  EXPECT_EQ(window_->timer().GetInterval(), TopologyWindow::kAutoRefreshMilliseconds);
  window_->AutoRefreshTick();
  EXPECT_EQ(Column("0000:03:00.0", 7), "変化: link 2.5GT/s x8 -> 16GT/s x16");
  EXPECT_EQ(RowText(tree, tree->GetSelection()), "0000:04:00.0");
  // Its audio function stays at 2.5GT/s: still found.
  EXPECT_EQ(window_->status()->GetLabel(), U("12 個の機能、所見 1 件、変化 1 件"));
  checked.SetInt(0);
  window_->auto_refresh()->SetValue(false);
  window_->auto_refresh()->ProcessWindowEvent(checked);
  EXPECT_FALSE(window_->timer().IsRunning());
}

TEST_F(TopologyWindowGui, ACaptureSavedFromTheMenuReadsBackAsTheSameTree) {
  const std::string saved = folder_.PathOf("saved.txt");
  // A capture opened in an earlier run stays in the recent list, below the new one.
  wxConfigBase::Get()->Write("/RecentCaptures/file1", "/earlier/capture.txt");
  ASSERT_TRUE(main_->SaveCapture(saved));
  EXPECT_EQ(wxConfigBase::Get()->Read("/RecentCaptures/file1"), U(saved));
  EXPECT_EQ(wxConfigBase::Get()->Read("/RecentCaptures/file2"), "/earlier/capture.txt");
  const wxString main_title = main_->GetTitle();
  ASSERT_TRUE(main_->OpenCapture(saved));
  EXPECT_EQ(main_->capture_file(), saved);
  EXPECT_EQ(main_->GetTitle(), main_title);
  EXPECT_EQ(window_->GetTitle(), U("PCIバス構成 - saved.txt"));
  EXPECT_EQ(Shown(), kWholeTree);
  EXPECT_EQ(Column("0000:03:00.0", 5), "2.5GT/s x8");
  // The main dialog shows the capture too: bus 0's host bridge and root port.
  EXPECT_EQ(main_->list()->GetItemText(1, 1), "8086");

  // A file that cannot be written or read: a message box naming it, and nothing changes.
  const ScopedMessageCapture boxes;
  EXPECT_FALSE(main_->SaveCapture(folder_.path()));
  EXPECT_FALSE(main_->OpenCapture(folder_.PathOf("missing.txt")));
  ASSERT_EQ(boxes.messages().size(), 2u);
  EXPECT_TRUE(boxes.messages()[0].text.Contains(U(folder_.path()))) << boxes.messages()[0].text;
  EXPECT_TRUE(boxes.messages()[1].text.Contains("missing.txt")) << boxes.messages()[1].text;
  EXPECT_EQ(main_->capture_file(), saved);
  EXPECT_EQ(Shown(), kWholeTree);
  EXPECT_TRUE(std::filesystem::is_directory(folder_.path()));
}

TEST_F(TopologyWindowGui, TheSizeAndColumnWidthsAreKeptForTheNextWindow) {
  window_->SetClientSize(900, 400);
  window_->tree()->SetColumnWidth(2, 333);
  // The tree reports a column's width once it has been laid out at it.
  ASSERT_TRUE(RunEventsUntil([this] { return window_->tree()->GetColumnWidth(2) == 333; }));
  window_->Destroy();
  ASSERT_TRUE(RunEventsUntil([this] { return main_->topology_window() == nullptr; }));
  main_->ShowTopologyWindow();
  RoundTrip();
  window_ = main_->topology_window();
  EXPECT_TRUE(RunEventsUntil([this] { return window_->GetClientSize() == wxSize(900, 400); }))
      << window_->GetClientSize().x << "x" << window_->GetClientSize().y;
  EXPECT_TRUE(RunEventsUntil([this] { return window_->tree()->GetColumnWidth(2) == 333; }))
      << window_->tree()->GetColumnWidth(2);
}

}  // namespace
}  // namespace kelvox
