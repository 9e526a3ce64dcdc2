// The details sheet as a person sees it, built from a simulated bus: caption, tabs, the text
// in every field, an absent device, and closing it by its buttons.
#include "ui/details_sheet.h"

#include <wx/button.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <gtest/gtest.h>

#include "config/capture/simulated_bus.h"
#include "details/device_details.h"
#include "ui/testing/details_sheet_probe.h"
#include "ui/testing/gui_test.h"

namespace kelvox {
namespace {

using testing::DetailsSheetProbe;
using testing::PagesOnly;
using testing::SheetView;

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

constexpr FunctionLocation kBridge{0, 3, 0};

// A PIIX3 ISA bridge at 0:3.0 with one prefetchable 1 MiB memory window, one 32-byte I/O
// range and the register values whose display the sheet must get right.
SimulatedBus BridgeBus() {
  SimulatedBus bus;
  bus.AddFunction(kBridge);
  bus.SetRegister(kBridge, 0x00, 0x70008086);
  bus.SetRegister(kBridge, 0x08, 0x06010002);
  bus.SetRegister(kBridge, 0x0C, 0x80004008);
  bus.SetRegister(kBridge, 0x10, 0xE0000008);
  bus.SetWritableMask(kBridge, 0x10, 0xFFF00000);
  bus.SetRegister(kBridge, 0x14, 0x0000E001);
  bus.SetWritableMask(kBridge, 0x14, 0xFFFFFFE0);
  bus.SetRegister(kBridge, 0x28, 0x00000000);
  bus.SetRegister(kBridge, 0x2C, 0x12341AF4);
  bus.SetRegister(kBridge, 0x3C, 0x2A01010B);
  return bus;
}

// Opens a sheet for `details` and returns what it showed (the probe closes it).
SheetView ShowSheet(const DeviceDetails& details) {
  DetailsSheetProbe probe;
  DetailsSheet sheet(PagesOnly(details));
  sheet.ShowModal();
  return probe.shown().empty() ? SheetView{} : probe.shown().front();
}

std::map<int, wxString> Texts(std::span<const DetailsField> fields) {
  std::map<int, wxString> texts;
  for (const DetailsField& field : fields) texts[field.id] = wxString::FromUTF8(field.text);
  return texts;
}

TEST(DetailsSheetGui, ShowsSixTabsInOrderTheFirstSelectedAndNoParent) {
  KELVOX_REQUIRE_DISPLAY();
  SimulatedBus bus = BridgeBus();
  const SheetView view = ShowSheet(BuildDeviceDetails(bus, 0, 3, 0));
  EXPECT_EQ(view.caption, U("バス番号=0, 機能番号=0, デバイス番号=3 の詳細情報"));
  EXPECT_EQ(view.parent, nullptr);
  EXPECT_EQ(view.tabs,
            (std::vector<wxString>{U("ベンダ情報"), U("ベースアドレス"), U("割込みなど"),
                                   U("システム"), U("ケイパビリティ"), U("16進ダンプ")}));
  EXPECT_EQ(view.page_classes,
            (std::vector<wxString>{"CVendorDeviceInfo", "CBaseAddr", "CMiscRegs", "CSystemInfo",
                                   "CapabilitiesPage", "SpaceDumpPage"}));
  EXPECT_EQ(view.selected_tab, 0);
}

TEST(DetailsSheetGui, EveryFieldShowsItsDetailsText) {
  KELVOX_REQUIRE_DISPLAY();
  SimulatedBus bus = BridgeBus();
  const DeviceDetails details = BuildDeviceDetails(bus, 0, 3, 0);
  const SheetView view = ShowSheet(details);
  EXPECT_EQ(view.vendor, Texts(details.vendor));
  EXPECT_EQ(view.base_address, Texts(details.base_address));
  EXPECT_EQ(view.misc, Texts(details.misc));

  // The register values whose display is easy to get wrong.
  EXPECT_EQ(view.base_address.at(1006),
            "e0000008 (e0000000 - e00fffff : 32bit memory space : prefetchable)");
  const std::map<int, wxString> misc = {
      {1012, "11"}, {1013, "1"}, {1014, "42"},       {1015, "1"},    {1016, "80H"},
      {1017, "64"}, {1020, "8"}, {1021, "00000000"}, {1022, "1af4"}, {1023, "1234"}};
  EXPECT_EQ(view.misc, misc);
}

TEST(DetailsSheetGui, AnAbsentDeviceStillOpensWithEveryFieldReadingAllOnes) {
  KELVOX_REQUIRE_DISPLAY();
  SimulatedBus bus = BridgeBus();
  const SheetView view = ShowSheet(BuildDeviceDetails(bus, 0, 4, 0));
  EXPECT_EQ(view.caption, U("バス番号=0, 機能番号=0, デバイス番号=4 の詳細情報"));
  const std::map<int, wxString> vendor = {
      {1028, "ffff"}, {1031, ""},       {1032, ""},        {1029, "ffff"}, {1033, ""},
      {1034, ""},     {1030, "ffffff"}, {1035, "Unknown"}, {1036, ""},     {1037, ""}};
  EXPECT_EQ(view.vendor, vendor);
  ASSERT_EQ(view.base_address.size(), 7u);
  for (const auto& [id, text] : view.base_address) EXPECT_EQ(text, "ffffffff (no device)") << id;
  const std::map<int, wxString> misc = {
      {1012, "255"}, {1013, "255"}, {1014, "255"},      {1015, "255"},  {1016, "ffH"},
      {1017, "255"}, {1020, "255"}, {1021, "ffffffff"}, {1022, "ffff"}, {1023, "ffff"}};
  EXPECT_EQ(view.misc, misc);
}

// Shows a sheet, lets `act` press something once it is on screen, and returns the id that
// ended it; wxID_ABORT when nothing ended it within five seconds.
int CloseBy(const std::function<void(DetailsSheet&)>& act) {
  SimulatedBus bus = BridgeBus();
  DetailsSheet sheet(ReadFunction(bus, {0, 3, 0}));
  wxTimer watchdog;
  watchdog.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    if (sheet.IsModal()) sheet.EndModal(wxID_ABORT);
  });
  DetailsSheetProbe probe([&](DetailsSheet& shown) {
    // Mapped, and with the keyboard focus, so a click or a key reaches it.
    testing::RoundTrip();
    testing::RunEventsUntil([&] { return shown.IsActive(); });
    watchdog.StartOnce(5000);
    act(shown);
    return false;
  });
  return sheet.ShowModal();
}

void ClickButton(DetailsSheet& sheet, int id) {
  wxWindow* button = sheet.FindWindow(id);
  ASSERT_NE(button, nullptr);
  wxUIActionSimulator sim;
  sim.MouseMove(button->GetScreenRect().GetPosition() + wxPoint(5, 5));
  testing::RoundTrip();
  sim.MouseClick();
}

TEST(DetailsSheetGui, AnyButtonClosesTheSheet) {
  KELVOX_REQUIRE_DISPLAY();
  EXPECT_EQ(CloseBy([](DetailsSheet& s) { ClickButton(s, wxID_OK); }), wxID_OK);
  EXPECT_EQ(CloseBy([](DetailsSheet& s) { ClickButton(s, wxID_CANCEL); }), wxID_CANCEL);
  EXPECT_EQ(CloseBy([](DetailsSheet&) { wxUIActionSimulator().Char(WXK_ESCAPE); }), wxID_CANCEL);
}

TEST(DetailsSheetGui, ButtonsAndTabsUseTheJapaneseFont) {
  KELVOX_REQUIRE_DISPLAY();
  SimulatedBus bus = BridgeBus();
  DetailsSheet sheet(ReadFunction(bus, {0, 3, 0}));
  const wxString face = sheet.GetFont().GetFaceName();
  EXPECT_TRUE(face == U("ＭＳ ゴシック") || face == "IPAGothic") << face;
  EXPECT_EQ(sheet.GetBookCtrl()->GetFont().GetFaceName(), face);
  EXPECT_EQ(sheet.FindWindow(wxID_OK)->GetFont().GetFaceName(), face);
  EXPECT_EQ(sheet.FindWindow(wxID_CANCEL)->GetLabel(), U("キャンセル"));
  EXPECT_EQ(sheet.vendor_page().GetFont().GetFaceName(), face);
}

}  // namespace
}  // namespace kelvox
