// The main dialog as a person uses it: what it shows at start-up, typing into the number
// fields and pressing "再検索", stepping with the arrows, the ways to close it, and the about
// box reached through its context menu.
#include <wx/button.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/weakref.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>

#include "config/capture/simulated_bus.h"
#include "ui/about_dialog.h"
#include "ui/about_template.h"
#include "ui/main_dialog.h"
#include "ui/main_template.h"
#include "ui/message_box.h"
#include "ui/testing/gui_test.h"
#include "ui/testing/window_actions.h"

namespace kelvox {
namespace {

using testing::ClickOn;
using testing::ModalWatcher;
using testing::PressKey;
using testing::RoundTrip;
using testing::RunEventsUntil;
using testing::TypeText;

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

// Once a popup menu of `window` opens, picks its first item with the keyboard. The menu runs
// its own event loop, so the keys are pressed from a timer inside that loop.
class FirstMenuItemPicker {
 public:
  explicit FirstMenuItemPicker(wxWindow* window) {
    window->Bind(wxEVT_MENU_OPEN, [this](wxMenuEvent& event) {
      ++opened_;
      if (event.GetMenu()) items_.push_back(event.GetMenu()->FindItemByPosition(0));
      timer_.StartOnce(200);
      event.Skip();
    });
    timer_.Bind(wxEVT_TIMER, [](wxTimerEvent&) {
      wxUIActionSimulator sim;
      sim.Char(WXK_DOWN);
      sim.Char(WXK_RETURN);
    });
  }
  int opened() const { return opened_; }
  // The first item of each menu that opened.
  const std::vector<wxMenuItem*>& items() const { return items_; }

 private:
  wxTimer timer_;
  int opened_ = 0;
  std::vector<wxMenuItem*> items_;
};

class MainDialogGui : public ::testing::Test {
 protected:
  void SetUp() override {
    KELVOX_REQUIRE_DISPLAY();
    // Bus 0, function 0: a host bridge at 0, a SATA controller at 3; bus 2 has a device at 9.
    bus_.AddFunction({0, 0, 0});
    bus_.SetRegister({0, 0, 0}, 0x00, 0x0d578086);
    bus_.SetRegister({0, 0, 0}, 0x08, 0x06000001);
    bus_.AddFunction({0, 3, 0});
    bus_.SetRegister({0, 3, 0}, 0x00, 0x2922abcd);
    bus_.SetRegister({0, 3, 0}, 0x04, 0x02900407);
    bus_.SetRegister({0, 3, 0}, 0x08, 0x01060102);
    bus_.SetRegister({0, 3, 0}, 0x0C, 0x00800000);
    bus_.AddFunction({2, 9, 0});
    bus_.SetRegister({2, 9, 0}, 0x00, 0x00011234);
    dialog_ = new MainDialog(bus_);
    // The result is read when the dialog hides, which closing it does before destroying it.
    dialog_->Bind(wxEVT_SHOW, [this](wxShowEvent& event) {
      if (!event.IsShown() && dialog_) result_ = dialog_->GetReturnCode();
      event.Skip();
    });
    dialog_->Move(20, 20);
    dialog_->Show();
    dialog_->Raise();
    // Mapped on the screen, with the events of its first showing handled.
    ASSERT_TRUE(RoundTrip());
  }

  void TearDown() override {
    if (dialog_) dialog_->Destroy();
    // Destroy() deletes the window once the program is idle.
    EXPECT_TRUE(RunEventsUntil([this] { return !dialog_; }));
  }

  wxString Cell(long item, int column) const { return dialog_->list()->GetItemText(item, column); }

  // Waits until the bus field shows `text`; true when it does.
  bool BusFieldShows(const char* text) {
    return RunEventsUntil([&] { return dialog_->bus_edit()->GetValue() == text; });
  }

  // Focuses a number field, selects its text and types over it.
  void TypeInto(wxTextCtrl* edit, const char* text) {
    ClickOn(edit);
    edit->SelectAll();
    TypeText(text);
  }

  bool Closed() {
    return RunEventsUntil([this] { return !dialog_; });
  }

  SimulatedBus bus_;
  wxWeakRef<MainDialog> dialog_;
  int result_ = -100;
};

TEST_F(MainDialogGui, StartsWithTheThirtyTwoRowsOfBusZeroFunctionZero) {
  EXPECT_EQ(dialog_->GetTitle(), U("PCIデバイス検索(95/98/Me)"));
  EXPECT_EQ(dialog_->bus_edit()->GetValue(), "0");
  EXPECT_EQ(dialog_->function_edit()->GetValue(), "0");
  wxListCtrl* list = dialog_->list();
  ASSERT_EQ(list->GetItemCount(), 32);
  for (long item = 0; item < 32; ++item) EXPECT_EQ(list->GetItemData(item), item);
  const char* sata[] = {
      " 3", "abcd", "2922", "0407", "0290", "02", "010601", "80", "大容量記憶装置(Serial ATA)"};
  for (int column = 0; column < 9; ++column) EXPECT_EQ(Cell(3, column), U(sata[column])) << column;
  EXPECT_EQ(Cell(0, 8), U("ブリッジ(ホスト)"));
  const char* absent[] = {"31", "ffff", "ffff", "ffff", "ffff", "ff", "ffffff", "ff", "？？？？"};
  for (int column = 0; column < 9; ++column) EXPECT_EQ(Cell(31, column), U(absent[column]));
  EXPECT_EQ(Cell(7, 0), " 7");
  // Focus starts on the first control, the bus number.
  EXPECT_EQ(wxWindow::FindFocus(), dialog_->bus_edit());
  EXPECT_TRUE(dialog_->GetIcon().IsOk());
}

TEST_F(MainDialogGui, TheListHasTheNineHeadersWithTheirWidths) {
  wxListCtrl* list = dialog_->list();
  ASSERT_EQ(list->GetColumnCount(), 9);
  EXPECT_TRUE(list->HasFlag(wxLC_REPORT));
  EXPECT_TRUE(list->HasFlag(wxLC_SINGLE_SEL));
  const char* headers[] = {"番号",    "ﾍﾞﾝﾀﾞID", "ﾃﾞﾊﾞｲｽID", "ｺﾏﾝﾄﾞ",   "ｽﾃｰﾀｽ",
                           "ﾘﾋﾞｼﾞｮﾝ", "ｸﾗｽｺｰﾄﾞ", "ﾍｯﾀﾞﾀｲﾌﾟ", "コメント"};
  const int widths[] = {45, 80, 80, 60, 60, 30, 70, 30, 200};
  for (int column = 0; column < 9; ++column) {
    wxListItem item;
    item.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_FORMAT);
    ASSERT_TRUE(list->GetColumn(column, item));
    EXPECT_EQ(item.GetText(), U(headers[column]));
    EXPECT_EQ(item.GetAlign(), wxLIST_FORMAT_LEFT);
    EXPECT_EQ(list->GetColumnWidth(column), widths[column]);
  }
}

TEST_F(MainDialogGui, TooltipsAreTheSevenTextsByControlIdAndNoneElsewhere) {
  const std::map<int, const char*> tips = {
      {1000, "ダブルクリックでデバイス番号の詳細情報を表示する"},
      {1001, "選択されたデバイス番号の詳細情報を表示する"},
      {1003, "バス番号（0～255）を変更する。変更後は再検索をクリックする。"},
      {1004, "バス番号、機能番号で指定されたデバイス一覧を取得し、表示する"},
      {1005, "Kelvoxを終了する"},
      {1024, "機能番号（0～7）を変更する。変更後は再検索をクリックする。"},
      {1039, "ベンダーID、デバイスIDを検索するウインドウを表示する"},
  };
  std::set<int> with_tip;
  for (wxWindow* child : dialog_->GetChildren()) {
    const auto tip = tips.find(child->GetId());
    EXPECT_EQ(child->GetToolTipText(), tip != tips.end() ? U(tip->second) : wxString())
        << child->GetId();
    if (!child->GetToolTipText().empty()) with_tip.insert(child->GetId());
  }
  EXPECT_EQ(with_tip, (std::set<int>{1000, 1001, 1003, 1004, 1005, 1024, 1039}));
}

TEST_F(MainDialogGui, ABusOutOfRangeShowsTheRangeMessageAndStillRescans) {
  ScopedMessageCapture capture;
  // A device appears on bus 0 after start-up: only a rescan can show it.
  bus_.AddFunction({0, 7, 0});
  bus_.SetRegister({0, 7, 0}, 0x00, 0x5678beef);
  TypeInto(dialog_->bus_edit(), "256");
  EXPECT_EQ(dialog_->bus_edit()->GetValue(), "256");
  ClickOn(dialog_->control(main_ids::kRescan));
  ASSERT_EQ(capture.messages().size(), 1u);
  EXPECT_EQ(capture.messages()[0].text, U("0 から 255 までの整数を入力してください。"));
  EXPECT_TRUE(capture.messages()[0].style & wxICON_EXCLAMATION);
  EXPECT_EQ(Cell(7, 1), "beef");  // rescanned, with the bus held before: 0
  EXPECT_EQ(dialog_->bus(), 0);
  EXPECT_EQ(dialog_->bus_edit()->GetValue(), "0");
  EXPECT_EQ(wxWindow::FindFocus(), dialog_->bus_edit());
}

TEST_F(MainDialogGui, AFunctionOutOfRangeKeepsTheBusAlreadyReadAndFocusesTheFunction) {
  ScopedMessageCapture capture;
  TypeInto(dialog_->bus_edit(), "2");
  TypeInto(dialog_->function_edit(), "8");
  ClickOn(dialog_->control(main_ids::kRescan));
  ASSERT_EQ(capture.messages().size(), 1u);
  EXPECT_EQ(capture.messages()[0].text, U("0 から 7 までの整数を入力してください。"));
  EXPECT_EQ(dialog_->bus(), 2);
  EXPECT_EQ(Cell(9, 1), "1234");  // bus 2, function 0
  EXPECT_EQ(dialog_->function_edit()->GetValue(), "0");
  EXPECT_EQ(wxWindow::FindFocus(), dialog_->function_edit());
}

TEST_F(MainDialogGui, TextThatIsNoIntegerGetsTheRangeMessage) {
  ScopedMessageCapture capture;
  for (const char* text : {"abc", "", "99999999999"}) {
    dialog_->bus_edit()->ChangeValue(U(text));
    ClickOn(dialog_->control(main_ids::kRescan));
    EXPECT_EQ(capture.messages().back().text, U("0 から 255 までの整数を入力してください。"))
        << text;
  }
  dialog_->bus_edit()->ChangeValue(U("２"));  // full-width digit
  ClickOn(dialog_->control(main_ids::kRescan));
  EXPECT_EQ(capture.messages().size(), 4u);
  EXPECT_EQ(dialog_->list()->GetItemCount(), 32);
}

TEST_F(MainDialogGui, UpAndDownKeysStepTheFieldsWithinTheirRanges) {
  TypeInto(dialog_->bus_edit(), "254");
  PressKey(WXK_UP);
  EXPECT_EQ(dialog_->bus_edit()->GetValue(), "255");
  PressKey(WXK_UP);
  EXPECT_EQ(dialog_->bus_edit()->GetValue(), "255");
  PressKey(WXK_DOWN);
  EXPECT_EQ(dialog_->bus_edit()->GetValue(), "254");
  EXPECT_EQ(dialog_->bus_spin()->GetValue(), 254);

  TypeInto(dialog_->function_edit(), "1");
  PressKey(WXK_DOWN);
  EXPECT_EQ(dialog_->function_edit()->GetValue(), "0");
  PressKey(WXK_DOWN);
  EXPECT_EQ(dialog_->function_edit()->GetValue(), "0");
  for (int i = 0; i < 9; ++i) PressKey(WXK_UP);
  EXPECT_EQ(dialog_->function_edit()->GetValue(), "7");
}

TEST_F(MainDialogGui, TheUpDownArrowsStepTheNumberTheFieldShows) {
  wxSpinButton* spin = dialog_->bus_spin();
  // GTK draws the up-down as a "-" "+" pair side by side.
  const wxPoint plus(spin->GetClientSize().x * 3 / 4, spin->GetClientSize().y / 2);
  const wxPoint minus(spin->GetClientSize().x / 4, spin->GetClientSize().y / 2);
  ClickOn(spin, plus);
  EXPECT_TRUE(BusFieldShows("1")) << dialog_->bus_edit()->GetValue();
  dialog_->bus_edit()->ChangeValue("41");
  ClickOn(spin, plus);
  EXPECT_TRUE(BusFieldShows("42")) << dialog_->bus_edit()->GetValue();
  ClickOn(spin, minus);
  EXPECT_TRUE(BusFieldShows("41")) << dialog_->bus_edit()->GetValue();
  // Nothing is scanned until "再検索".
  EXPECT_EQ(dialog_->bus(), 0);
}

TEST_F(MainDialogGui, QuitEndsTheDialogWithResultOne) {
  ClickOn(dialog_->control(main_ids::kQuit));
  ASSERT_TRUE(Closed());
  EXPECT_EQ(result_, 1);
}

TEST_F(MainDialogGui, EscapeClosesIt) {
  ClickOn(dialog_->bus_edit());
  PressKey(WXK_ESCAPE);
  ASSERT_TRUE(Closed());
  EXPECT_EQ(result_, wxID_CANCEL);
}

TEST_F(MainDialogGui, EnterClosesItOnlyWhenTheFieldsAreValid) {
  ScopedMessageCapture capture;
  TypeInto(dialog_->bus_edit(), "300");
  PressKey(WXK_RETURN);
  ASSERT_TRUE(RunEventsUntil([&] { return !capture.messages().empty(); }));
  ASSERT_TRUE(dialog_);
  EXPECT_EQ(capture.messages().size(), 1u);
  TypeInto(dialog_->bus_edit(), "3");
  PressKey(WXK_RETURN);
  ASSERT_TRUE(Closed());
  EXPECT_EQ(result_, wxID_OK);
}

TEST_F(MainDialogGui, TheCloseBoxClosesIt) {
  dialog_->Close();
  ASSERT_TRUE(Closed());
  EXPECT_EQ(result_, wxID_CANCEL);
}

TEST_F(MainDialogGui, DetailsWithNoSelectedRowOpensNothing) {
  ModalWatcher watcher;
  // A sheet would be modal: it would open, and be seen and closed by the watcher, before the
  // click's handling (which ClickOn waits for) ends.
  ClickOn(dialog_->control(main_ids::kDetails));
  EXPECT_TRUE(watcher.titles().empty());
}

TEST_F(MainDialogGui, ADoubleClickOnARowOpensTheDetailsSheet) {
  ModalWatcher watcher;
  wxListCtrl* list = dialog_->list();
  wxRect row;
  ASSERT_TRUE(list->GetItemRect(3, row));
  // Item rectangles are in the list's client coordinates, header included.
  testing::PointAt(list->ClientToScreen(wxPoint(row.x + 20, row.y + row.height / 2)));
  wxUIActionSimulator sim;
  sim.MouseDblClick();
  ASSERT_TRUE(RunEventsUntil([&watcher] { return !watcher.titles().empty(); }));
  EXPECT_NE(watcher.titles()[0].Find(U("デバイス番号=3")), wxNOT_FOUND) << watcher.titles()[0];
}

TEST_F(MainDialogGui, TheContextMenuItemOpensTheAboutBoxWithTheVersion) {
  wxString version;
  wxString link;
  ModalWatcher watcher([&](wxDialog& dialog) {
    if (auto* about = dynamic_cast<AboutDialog*>(&dialog)) {
      version = about->control(about_ids::kVersion)->GetLabel();
      link = about->contact_link().m_link;
    }
  });
  // Right click on the dialog's background, then the first item of the menu (the about item;
  // a separator, the two PCI ID list items, a separator, the topology window's item and the
  // two capture items follow it).
  wxString label;
  int id = 0;
  dialog_->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& event) {
    if (wxMenu* menu = event.GetMenu()) {
      EXPECT_EQ(menu->GetMenuItemCount(), 8u);
      label = menu->FindItemByPosition(0)->GetItemLabel();
      id = menu->FindItemByPosition(0)->GetId();
    }
    event.Skip();
  });
  FirstMenuItemPicker picker(dialog_.get());
  const wxRect quit = dialog_->control(main_ids::kQuit)->GetRect();
  testing::PointAt(dialog_->ClientToScreen(wxPoint(quit.x - 30, quit.y + quit.height / 2)));
  wxUIActionSimulator sim;
  sim.MouseClick(wxMOUSE_BTN_RIGHT);
  ASSERT_TRUE(RunEventsUntil([&] { return !watcher.titles().empty(); }, 5000));
  EXPECT_EQ(picker.opened(), 1);
  EXPECT_EQ(label, U("ﾊﾞｰｼﾞｮﾝ情報(Kelvox) (&A)..."));
  EXPECT_EQ(id, 16);
  EXPECT_EQ(watcher.titles()[0], U("ﾊﾞｰｼﾞｮﾝ情報 Kelvox"));
  EXPECT_EQ(version, "Kelvox V1.06");
  EXPECT_EQ(link, U((std::string("mailto:") + KELVOX_CONTACT_ADDRESS +
                     "?subject=Kelvoxについて&body=Kelvox%20V1.06")
                        .c_str()));
}

TEST_F(MainDialogGui, ShiftF10AndTheMenuKeyOpenTheSameMenu) {
  ModalWatcher watcher;
  FirstMenuItemPicker picker(dialog_.get());
  ClickOn(dialog_->function_edit());
  const std::pair<int, int> keys[] = {{WXK_F10, wxMOD_SHIFT}, {WXK_MENU, wxMOD_NONE}};
  std::size_t expected = 0;
  for (const auto& [key, modifiers] : keys) {
    PressKey(key, modifiers);
    ++expected;
    ASSERT_TRUE(RunEventsUntil([&] { return watcher.titles().size() == expected; }, 5000)) << key;
  }
  EXPECT_EQ(picker.opened(), 2);
  EXPECT_EQ(watcher.titles()[1], U("ﾊﾞｰｼﾞｮﾝ情報 Kelvox"));
  ASSERT_TRUE(dialog_);
}

TEST_F(MainDialogGui, EveryCommandFromSixteenToThirtyOneOpensOneAboutBoxAndNoOtherDoes) {
  ModalWatcher watcher;
  const std::pair<int, std::size_t> commands[] = {{16, 1}, {23, 1}, {31, 1}, {15, 0}, {32, 0}};
  for (const auto& [command, boxes] : commands) {
    const std::size_t before = watcher.titles().size();
    wxCommandEvent event(wxEVT_MENU, command);
    event.SetEventObject(dialog_.get());
    // The about box is modal: it opens, is closed by the watcher and is gone before this returns.
    dialog_->GetEventHandler()->ProcessEvent(event);
    ASSERT_EQ(watcher.titles().size() - before, boxes) << command;
    if (boxes == 1) {
      EXPECT_EQ(watcher.titles().back(), U("ﾊﾞｰｼﾞｮﾝ情報 Kelvox")) << command;
    }
  }
}

}  // namespace
}  // namespace kelvox
