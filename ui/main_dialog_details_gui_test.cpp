// Opening the details sheet from the real main dialog on a simulated bus, as a person does it:
// a double-click on a row, or a row selected and "詳細" pressed.
#include <wx/uiaction.h>
#include <wx/weakref.h>

#include <gtest/gtest.h>

#include "config/capture/simulated_bus.h"
#include "ui/main_dialog.h"
#include "ui/main_template.h"
#include "ui/testing/details_sheet_probe.h"
#include "ui/testing/gui_test.h"

namespace kelvox {
namespace {

using testing::DetailsSheetProbe;
using testing::RoundTrip;
using testing::RunEventsUntil;

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

class MainDialogDetailsGui : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::HaveDisplay()) GTEST_SKIP() << "no display";
    const FunctionLocation host{0, 0, 0}, bridge{0, 3, 0};
    bus_.AddFunction(host);
    bus_.SetRegister(host, 0x00, 0x12378086);
    bus_.SetRegister(host, 0x08, 0x06000002);
    bus_.AddFunction(bridge);
    bus_.SetRegister(bridge, 0x00, 0x70008086);
    bus_.SetRegister(bridge, 0x08, 0x06010000);
    bus_.SetRegister(bridge, 0x10, 0xE0000008);
    bus_.SetWritableMask(bridge, 0x10, 0xFFF00000);
    bus_.SetRegister(bridge, 0x3C, 0x0000010B);
    main_ = new MainDialog(bus_);
    main_->Move(0, 0);
    main_->Show();
    // Mapped on the screen, with the events of its first showing handled.
    ASSERT_TRUE(RoundTrip());
  }

  void TearDown() override {
    if (main_) main_->Destroy();
    // Destroy() deletes the window once the program is idle.
    EXPECT_TRUE(RunEventsUntil([this] { return !main_; }));
  }

  // The screen point in the middle of the first column of `row`, scrolled into view.
  wxPoint RowPoint(int row) {
    main_->list()->EnsureVisible(row);
    RoundTrip();  // scrolled on the screen too
    wxRect rect;
    main_->list()->GetItemRect(row, rect);
    return main_->list()->ClientToScreen(wxPoint(rect.x + 20, rect.y + rect.height / 2));
  }

  // Double-clicks at `screen` and returns once the program has handled it: a sheet it opens
  // has been shown (and closed by the probe) by then.
  void DoubleClickAt(const wxPoint& screen) {
    wxUIActionSimulator sim;
    sim.MouseMove(screen);
    RoundTrip();
    sim.MouseDblClick();
    RoundTrip();
  }

  // Clicks near the top left corner of `window`, and returns once the program has handled it.
  void ClickOn(wxWindow* window) {
    wxUIActionSimulator sim;
    sim.MouseMove(window->GetScreenRect().GetPosition() + wxPoint(8, 8));
    RoundTrip();
    sim.MouseClick();
    RoundTrip();
  }

  // Rows of the list that are selected.
  std::vector<long> SelectedRows() const {
    std::vector<long> rows;
    for (long row = -1;
         (row = main_->list()->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) != -1;) {
      rows.push_back(row);
    }
    return rows;
  }

  SimulatedBus bus_;
  wxWeakRef<MainDialog> main_;
};

TEST_F(MainDialogDetailsGui, DoubleClickOnARowOpensThatDevice) {
  DetailsSheetProbe probe;
  DoubleClickAt(RowPoint(3));
  ASSERT_TRUE(RunEventsUntil([&] { return !probe.shown().empty(); }));
  ASSERT_TRUE(RoundTrip());  // a second sheet from the same double-click would be here now
  ASSERT_EQ(probe.shown().size(), 1u);
  const testing::SheetView& view = probe.shown().front();
  EXPECT_EQ(view.caption, U("バス番号=0, 機能番号=0, デバイス番号=3 の詳細情報"));
  EXPECT_EQ(view.vendor.at(1028), "8086");
  EXPECT_EQ(view.base_address.at(1006),
            "e0000008 (e0000000 - e00fffff : 32bit memory space : prefetchable)");
  EXPECT_EQ(view.misc.at(1012), "11");
  // Sizing put the register back.
  EXPECT_EQ(bus_.Read(0, 3, 0, 0x10), 0xE0000008u);
}

TEST_F(MainDialogDetailsGui, ASecondDoubleClickAfterClosingOpensAgain) {
  DetailsSheetProbe probe([](DetailsSheet& sheet) {
    // Escape goes where the keyboard focus is: wait until the sheet has it.
    RoundTrip();
    RunEventsUntil([&] { return sheet.IsActive(); });
    wxUIActionSimulator().Char(WXK_ESCAPE);
    return false;
  });
  DoubleClickAt(RowPoint(0));
  ASSERT_TRUE(RunEventsUntil([&] { return probe.shown().size() == 1; }));
  // The double-click returned once its sheet was closed; now it is off the screen too.
  ASSERT_TRUE(RoundTrip());
  DoubleClickAt(RowPoint(3));
  ASSERT_TRUE(RunEventsUntil([&] { return probe.shown().size() == 2; }));
  EXPECT_EQ(probe.shown()[1].caption, U("バス番号=0, 機能番号=0, デバイス番号=3 の詳細情報"));
}

TEST_F(MainDialogDetailsGui, DoubleClickBelowTheLastRowOpensNothing) {
  // Make the list tall enough to show all 32 rows with room beneath them.
  wxListCtrl* list = main_->list();
  wxRect row;
  list->GetItemRect(0, row);
  const int needed = row.y + 33 * row.height + 40;
  main_->SetClientSize(main_->GetClientSize() + wxSize(0, needed - list->GetSize().y));
  list->SetSize(list->GetSize().x, needed);
  // The list lays its rows out again once it has its new size.
  const auto room_below = [&] {
    list->GetItemRect(31, row);
    return row.GetBottom() + 20 < list->GetClientSize().y;
  };
  ASSERT_TRUE(RunEventsUntil(room_below));
  ASSERT_TRUE(RoundTrip());  // the new size is on the screen too
  list->GetItemRect(31, row);
  const wxPoint below = list->ClientToScreen(wxPoint(row.x + 20, row.GetBottom() + 20));

  DetailsSheetProbe probe;
  DoubleClickAt(below);  // returns once handled: a sheet would have been shown
  EXPECT_TRUE(probe.shown().empty());
  DoubleClickAt(RowPoint(31));  // the last row itself still opens
  EXPECT_TRUE(RunEventsUntil([&] { return probe.shown().size() == 1; }));
}

TEST_F(MainDialogDetailsGui, DetailsButtonWithNoSelectionOpensNothing) {
  ASSERT_TRUE(SelectedRows().empty());
  DetailsSheetProbe probe;
  ClickOn(main_->control(main_ids::kDetails));  // returns once handled
  EXPECT_TRUE(probe.shown().empty());
  EXPECT_TRUE(SelectedRows().empty());
}

TEST_F(MainDialogDetailsGui, DetailsButtonOpensTheSelectedRowAndSelectsItAgain) {
  main_->list()->SetItemState(3, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  DetailsSheetProbe probe([&](DetailsSheet&) {
    // Whatever happens to the selection while the sheet is up, row 3 is selected afterwards.
    main_->list()->SetItemState(3, 0, wxLIST_STATE_SELECTED);
    return true;
  });
  ClickOn(main_->control(main_ids::kDetails));
  ASSERT_TRUE(RunEventsUntil([&] { return !probe.shown().empty(); }));
  EXPECT_EQ(probe.shown().front().caption, U("バス番号=0, 機能番号=0, デバイス番号=3 の詳細情報"));
  EXPECT_TRUE(RunEventsUntil([&] { return SelectedRows() == std::vector<long>{3}; }));
  EXPECT_EQ(SelectedRows(), std::vector<long>{3});
}

// GTK keeps every other window of the program from input while a modal sheet runs: neither
// "詳細", a double-click on a row nor "再検索" does anything in the main window meanwhile.
TEST_F(MainDialogDetailsGui, TheMainWindowTakesNoInputWhileTheSheetIsUp) {
  bool pressed = false;
  DetailsSheetProbe probe([&](DetailsSheet& sheet) {
    if (pressed) return true;  // a second sheet would end here at once
    pressed = true;
    sheet.Move(main_->GetScreenRect().GetRight() + 10, 0);  // leave the main window uncovered
    RoundTrip();                                            // moved on the screen too
    bus_.SetRegister({0, 0, 0}, 0x00, 0x71908086);          // a rescan would show 7190 in row 0
    // Each returns once the program has handled (or dropped) the input.
    ClickOn(main_->control(main_ids::kDetails));
    DoubleClickAt(RowPoint(0));
    ClickOn(main_->control(main_ids::kRescan));
    return true;
  });
  main_->list()->SetItemState(3, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  EXPECT_TRUE(main_->OpenDetails(3));
  ASSERT_TRUE(RoundTrip());  // anything the input left queued has been handled now
  ASSERT_EQ(probe.shown().size(), 1u);
  EXPECT_EQ(probe.shown().front().caption, U("バス番号=0, 機能番号=0, デバイス番号=3 の詳細情報"));
  EXPECT_EQ(main_->list()->GetItemText(0, 2), "1237");
  // Once the sheet is gone the same press works again.
  ClickOn(main_->control(main_ids::kRescan));
  EXPECT_TRUE(RunEventsUntil([&] { return main_->list()->GetItemText(0, 2) == "7190"; }));
}

TEST_F(MainDialogDetailsGui, OpensOnlyDeviceNumbersOfTheBus) {
  DetailsSheetProbe probe;
  EXPECT_FALSE(main_->OpenDetails(-1));
  EXPECT_FALSE(main_->OpenDetails(32));
  EXPECT_TRUE(probe.shown().empty());
  EXPECT_TRUE(main_->OpenDetails(31));  // absent, but shown all the same
  ASSERT_EQ(probe.shown().size(), 1u);
  EXPECT_EQ(probe.shown().front().vendor.at(1028), "ffff");
  EXPECT_EQ(probe.shown().front().base_address.at(1006), "ffffffff (no device)");
}

TEST_F(MainDialogDetailsGui, UsesTheBusAndFunctionHeldAndReadsTheDeviceAgainEachTime) {
  const FunctionLocation far{1, 4, 2};
  bus_.AddFunction(far);
  bus_.SetRegister(far, 0x00, 0x00011AF4);
  bus_.SetRegister(far, 0x3C, 0x0000010A);
  main_->bus_edit()->ChangeValue("1");
  main_->function_edit()->ChangeValue("2");
  main_->Rescan();
  ASSERT_EQ(main_->bus(), 1);
  ASSERT_EQ(main_->function(), 2);

  DetailsSheetProbe probe;
  EXPECT_TRUE(main_->OpenDetails(4));
  bus_.SetRegister(far, 0x3C, 0x0000020B);
  EXPECT_TRUE(main_->OpenDetails(4));
  ASSERT_EQ(probe.shown().size(), 2u);
  EXPECT_EQ(probe.shown()[0].caption, U("バス番号=1, 機能番号=2, デバイス番号=4 の詳細情報"));
  EXPECT_EQ(probe.shown()[0].vendor.at(1028), "1af4");
  EXPECT_EQ(probe.shown()[0].misc.at(1012), "10");
  EXPECT_EQ(probe.shown()[1].misc.at(1012), "11");
  EXPECT_EQ(probe.shown()[1].misc.at(1013), "2");
}

}  // namespace
}  // namespace kelvox
