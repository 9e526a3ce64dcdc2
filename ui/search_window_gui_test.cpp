// The vendor search window as a person uses it: opened from the main dialog's button, typed
// into with real key presses while the main dialog is up, hidden by "終了" or Escape and shown
// again, and gone with the main dialog.
#include <wx/button.h>
#include <wx/display.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/uiaction.h>
#include <wx/weakref.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "config/access.h"
#include "ui/main_dialog.h"
#include "ui/main_template.h"
#include "ui/search_template.h"
#include "ui/search_window.h"
#include "ui/search_window_opener.h"
#include "ui/search_window_placement.h"
#include "ui/testing/gui_test.h"

namespace kelvox {
namespace {

using testing::RoundTrip;
using testing::RunEventsUntil;

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

// Presses the left mouse button in the middle of `window`, as a person would, and returns once
// the program has handled the click.
void ClickOn(wxWindow* window) {
  wxUIActionSimulator sim;
  const wxRect rect = window->GetScreenRect();
  sim.MouseMove(rect.GetX() + rect.GetWidth() / 2, rect.GetY() + rect.GetHeight() / 2);
  RoundTrip();
  sim.MouseClick();
  RoundTrip();
}

// Clicks into an edit and types `text` one key at a time, each key handled before the next.
void TypeInto(wxTextCtrl* edit, const char* text) {
  ClickOn(edit);
  edit->SetInsertionPointEnd();
  wxUIActionSimulator sim;
  for (const char* c = text; *c != '\0'; ++c) {
    sim.Char(static_cast<unsigned char>(*c));
    RoundTrip();
  }
}

class SearchWindowGui : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testing::HaveDisplay()) GTEST_SKIP() << "no display";
    main_ = new MainDialog(access_);
    main_->Move(0, 0);  // room to its right for the search window
    main_->Show();
    // Mapped on the screen, with the events of its first showing handled.
    ASSERT_TRUE(RoundTrip());
  }

  void TearDown() override {
    if (main_) main_->Destroy();
    // Destroy() deletes the window once the program is idle.
    EXPECT_TRUE(RunEventsUntil([this] { return !main_; }));
  }

  // Presses "PCIベンダー検索" and returns the search window it opened.
  CFindVendorDeviceName* PressVendorSearch() {
    ClickOn(main_->control(main_ids::kVendorSearch));
    RunEventsUntil([this] {
      return main_->search_window() != nullptr && main_->search_window()->IsShownOnScreen();
    });
    RoundTrip();  // mapped where clicks and keys can reach it
    return dynamic_cast<CFindVendorDeviceName*>(main_->search_window());
  }

  wxString Text(CFindVendorDeviceName* window, int id) { return window->edit(id)->GetValue(); }

  int SearchWindowsOf(wxWindow* parent) {
    int count = 0;
    for (wxWindow* child : parent->GetChildren()) {
      if (dynamic_cast<CFindVendorDeviceName*>(child)) ++count;
    }
    return count;
  }

  AllOnesAccess access_;
  wxWeakRef<MainDialog> main_;
};

TEST_F(SearchWindowGui, TypedVendorIsNamedAtTheFourthCharacterThenItsDevice) {
  CFindVendorDeviceName* window = PressVendorSearch();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(main_->IsShown());  // the main dialog stays up and the search window takes input
  wxTextCtrl* vendor = window->edit(search_ids::kVendorId);
  wxTextCtrl* device = window->edit(search_ids::kDeviceId);
  EXPECT_FALSE(device->IsEditable());

  ClickOn(vendor);
  wxUIActionSimulator sim;
  const char* typed[] = {"1", "10", "10d"};
  for (const char* expected : typed) {
    sim.Char(expected[std::strlen(expected) - 1]);
    ASSERT_TRUE(RunEventsUntil([&] { return vendor->GetValue() == expected; }));
    EXPECT_EQ(Text(window, search_ids::kVendorShortName), "") << expected;
    EXPECT_EQ(Text(window, search_ids::kVendorFullName), "") << expected;
    EXPECT_FALSE(device->IsEditable()) << expected;
  }
  sim.Char('e');
  ASSERT_TRUE(RunEventsUntil([&] { return vendor->GetValue() == "10de"; }));
  EXPECT_EQ(Text(window, search_ids::kVendorShortName), "NVIDIA David");
  EXPECT_EQ(Text(window, search_ids::kVendorFullName), "NVIDIA Corporation");
  EXPECT_TRUE(device->IsEditable());
  // It looks so: the vendor field's own background, where a field that takes no typing has
  // the dialog's.
  EXPECT_EQ(device->GetBackgroundColour(), vendor->GetBackgroundColour());
  EXPECT_NE(window->edit(search_ids::kChipName)->GetBackgroundColour(),
            vendor->GetBackgroundColour());

  TypeInto(device, "0110");
  ASSERT_TRUE(RunEventsUntil([&] { return device->GetValue() == "0110"; }));
  EXPECT_EQ(Text(window, search_ids::kChipName), "NV11");
  EXPECT_EQ(Text(window, search_ids::kDeviceDescription), "GeForce2 MX / MX 400");

  // Backspace in the vendor field: everything of the vendor goes and the device field locks.
  ClickOn(vendor);
  vendor->SetInsertionPointEnd();
  sim.Char(WXK_BACK);
  ASSERT_TRUE(RunEventsUntil([&] { return vendor->GetValue() == "10d"; }));
  EXPECT_EQ(Text(window, search_ids::kVendorFullName), "");
  EXPECT_EQ(device->GetValue(), "");
  EXPECT_EQ(Text(window, search_ids::kChipName), "");
  EXPECT_FALSE(device->IsEditable());
  EXPECT_EQ(device->GetBackgroundColour(),
            window->edit(search_ids::kChipName)->GetBackgroundColour());
}

TEST_F(SearchWindowGui, FieldsTakeNoMoreThanTheirLengthAndNamesTakeNoTyping) {
  CFindVendorDeviceName* window = PressVendorSearch();
  ASSERT_NE(window, nullptr);
  TypeInto(window->edit(search_ids::kVendorId), "8086a");
  EXPECT_EQ(Text(window, search_ids::kVendorId), "8086");
  EXPECT_EQ(Text(window, search_ids::kVendorShortName), "Intel");
  TypeInto(window->edit(search_ids::kClassCode), "0106015");
  EXPECT_EQ(Text(window, search_ids::kClassCode), "010601");
  EXPECT_EQ(Text(window, search_ids::kProgIfName), "AHCI 1.0");
  wxUIActionSimulator sim;
  sim.Char(WXK_BACK);
  ASSERT_TRUE(RunEventsUntil([&] { return Text(window, search_ids::kClassCode) == "01060"; }));
  EXPECT_EQ(Text(window, search_ids::kSubClassName), "Serial ATA");
  EXPECT_EQ(Text(window, search_ids::kProgIfName), "");

  TypeInto(window->edit(search_ids::kBaseClassName), "x");
  EXPECT_EQ(Text(window, search_ids::kBaseClassName), "Mass Storage Controller");
  for (int id = search_ids::kVendorShortName; id <= search_ids::kProgIfName; ++id) {
    if (id == search_ids::kDeviceId || id == search_ids::kClassCode) continue;
    EXPECT_FALSE(window->edit(id)->IsEditable()) << id;
  }
}

TEST_F(SearchWindowGui, ButtonPressedTwiceMakesOneWindowBesideTheMainDialog) {
  CFindVendorDeviceName* first = PressVendorSearch();
  ASSERT_NE(first, nullptr);
  const wxPoint where = first->GetPosition();
  CFindVendorDeviceName* second = PressVendorSearch();
  EXPECT_EQ(first, second);
  EXPECT_EQ(SearchWindowsOf(main_), 1);
  EXPECT_EQ(first->GetParent(), main_.get());
  EXPECT_EQ(first->GetPosition(), where);  // a press while visible leaves it alone

  const wxRect screen = wxDisplay(main_.get()).GetClientArea();
  const wxRect placed = first->GetScreenRect();
  EXPECT_TRUE(screen.Contains(placed));
  const wxRect main_rect = main_->GetScreenRect();
  if (main_rect.GetRight() + kSearchWindowGap + placed.GetWidth() < screen.GetRight()) {
    EXPECT_EQ(placed.GetLeft(), main_rect.GetRight() + 1 + kSearchWindowGap);
    EXPECT_EQ(placed.GetTop(), main_rect.GetTop());
  }
}

TEST_F(SearchWindowGui, QuitHidesItAndTheButtonShowsItAgainWithItsContents) {
  CFindVendorDeviceName* window = PressVendorSearch();
  ASSERT_NE(window, nullptr);
  TypeInto(window->edit(search_ids::kVendorId), "10de");
  TypeInto(window->edit(search_ids::kClassCode), "0300");
  ClickOn(window->control(search_ids::kQuit));
  ASSERT_TRUE(RunEventsUntil([&] { return !window->IsShown(); }));
  EXPECT_TRUE(main_->IsShown());

  EXPECT_EQ(PressVendorSearch(), window);
  EXPECT_TRUE(window->IsShown());
  EXPECT_EQ(Text(window, search_ids::kVendorId), "10de");
  EXPECT_EQ(Text(window, search_ids::kVendorFullName), "NVIDIA Corporation");
  EXPECT_TRUE(window->edit(search_ids::kDeviceId)->IsEditable());
  EXPECT_EQ(Text(window, search_ids::kBaseClassName), "Display Controller");
  EXPECT_EQ(Text(window, search_ids::kSubClassName), "PC Compatible");

  // Escape hides it the same way, and leaves the main dialog alone.
  ClickOn(window->edit(search_ids::kClassCode));
  wxUIActionSimulator sim;
  sim.Char(WXK_ESCAPE);
  ASSERT_TRUE(RunEventsUntil([&] { return !window->IsShown(); }));
  ASSERT_TRUE(RoundTrip());  // the rest of the key press (its release) is handled too
  EXPECT_TRUE(main_->IsShown());

  // So does the close box: the window is kept, not destroyed.
  EXPECT_EQ(PressVendorSearch(), window);
  wxWeakRef<wxWindow> kept = window;
  window->Close();
  // A window closed for good is deleted when the program is idle, which the round trip lets
  // it be.
  ASSERT_TRUE(RoundTrip());
  ASSERT_TRUE(kept);
  EXPECT_FALSE(window->IsShown());
  EXPECT_EQ(Text(window, search_ids::kVendorId), "10de");
}

TEST_F(SearchWindowGui, ShowsItsTextsTooltipsAndLink) {
  CFindVendorDeviceName* window = PressVendorSearch();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->GetTitle(), U("ベンダ情報検索"));
  std::vector<wxString> labels;
  for (wxWindow* child : window->GetChildren()) {
    if (dynamic_cast<wxStaticBox*>(child) || dynamic_cast<wxStaticText*>(child)) {
      labels.push_back(child->GetLabel());
    }
  }
  for (const char* text : {"ベンダ／デバイス", "クラスコード", "ベンダID", "デバイスID"}) {
    EXPECT_NE(std::find(labels.begin(), labels.end(), U(text)), labels.end()) << text;
  }
  EXPECT_EQ(window->control(search_ids::kQuit)->GetLabel(), U("終了"));

  const std::pair<int, const char*> tips[] = {
      {search_ids::kQuit, "ウインドウを隠す"},
      {search_ids::kVendorId, "ベンダーIDを16進数4桁で指定します"},
      {search_ids::kDeviceId, "デバイスIDを16進数4桁で指定します"},
      {search_ids::kClassCode, "クラスコードを16進数6桁で指定します"},
  };
  for (const auto& [id, tip] : tips) EXPECT_EQ(window->control(id)->GetToolTipText(), U(tip));
  EXPECT_EQ(window->control(search_ids::kVendorShortName)->GetToolTip(), nullptr);

  wxWindow* link = window->control(search_ids::kLink);
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link, &window->link());
  EXPECT_EQ(link->GetClassInfo()->GetClassName(), wxString("CStaticLink"));
  EXPECT_EQ(link->GetLabel(),
            "PCI Vendor and Device List (created on Sun Dec  4 20:04:27 PST 2005)");
  EXPECT_EQ(window->link().m_link, "https://pci-ids.ucw.cz/");
  // Every label is wide enough for its text.
  for (wxWindow* child : window->GetChildren()) {
    if (dynamic_cast<wxStaticText*>(child) == nullptr && child != link) continue;
    EXPECT_GE(child->GetSize().x, child->GetTextExtent(child->GetLabel()).x) << child->GetLabel();
  }
}

TEST_F(SearchWindowGui, ClosingTheMainDialogTakesTheSearchWindowWithIt) {
  wxWeakRef<wxWindow> window = PressVendorSearch();
  ASSERT_TRUE(window);
  ClickOn(main_->control(main_ids::kQuit));
  EXPECT_TRUE(RunEventsUntil([&] { return !main_ && !window; }));
}

TEST(SearchWindowOpenerGui, CreatesOncePlacesAndShowsWhenHidden) {
  KELVOX_REQUIRE_DISPLAY();
  wxWindow* slot = nullptr;
  int created = 0;
  const SearchWindowFactory create = [&](wxWindow*) -> wxWindow* {
    ++created;
    return new wxDialog(nullptr, wxID_ANY, "probe", wxDefaultPosition, wxSize(200, 100));
  };
  const SearchWindowPlacer place = [](const wxSize&) { return wxPoint(40, 30); };
  OpenSearchWindow(slot, nullptr, create, place);
  ASSERT_NE(slot, nullptr);
  EXPECT_TRUE(slot->IsShown());
  EXPECT_EQ(slot->GetPosition(), wxPoint(40, 30));
  slot->Hide();
  OpenSearchWindow(slot, nullptr, create, place);
  EXPECT_TRUE(slot->IsShown());
  EXPECT_EQ(created, 1);
  wxWeakRef<wxWindow> made = slot;
  slot->Destroy();
  EXPECT_TRUE(RunEventsUntil([&] { return !made; }));
}

}  // namespace
}  // namespace kelvox
