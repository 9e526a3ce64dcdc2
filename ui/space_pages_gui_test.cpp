// The details sheet's two pages past the original four, in the real window: the capability
// tree of a PCI Express function read from a capture (its link speed read off the tree), the
// hex dump of its bytes, the line that says why a capture of the header alone shows no more,
// and the sheet keeping the size the four original pages give it.
#include <wx/bookctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "config/capture/capture_text.h"
#include "config/space_limits.h"
#include "details/function_read.h"
#include "ui/capabilities_page.h"
#include "ui/details_sheet.h"
#include "ui/space_dump_page.h"
#include "ui/testing/details_sheet_probe.h"
#include "ui/testing/gui_test.h"

namespace kelvox {
namespace {

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

// An Intel network controller at 00:03.0 as `lspci -xxx` dumps it: a PCI Express endpoint
// (capability at 0x40) whose link can do 8GT/s x16 and runs at 5GT/s x4.
constexpr char kExpressCapture[] =
    "00:03.0 0200: 8086:1533 (rev 03)\n"
    "00: 86 80 33 15 06 04 10 00 03 00 00 02 00 00 00 00\n"
    "10: 00 00 00 fe 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "20: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "30: 00 00 00 00 40 00 00 00 00 00 00 00 00 00 00 00\n"
    "40: 10 00 02 00 c1 8f 00 00 10 28 00 00 03 01 00 01\n"
    "50: 00 00 42 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "60: 00 00 00 00 00 00 00 00 00 00 00 00 0e 00 00 00\n"
    "70: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "80: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "90: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "a0: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "b0: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "c0: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "d0: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "e0: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
    "f0: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n";

// Shows the sheet of 00:03.0 of `capture`, runs `look` on it once it is on screen, closes it.
void LookAtSheet(const std::string& capture, const std::function<void(DetailsSheet&)>& look) {
  SimulatedBus bus = ParseSimulatedBus(capture);
  DetailsSheet sheet(ReadFunction(bus, {0, 3, 0}));
  const DetailsSheet::ShownHook previous = DetailsSheet::SetShownHook([&](DetailsSheet& shown) {
    look(shown);
    shown.EndModal(wxID_OK);
  });
  sheet.ShowModal();
  DetailsSheet::SetShownHook(previous);
}

// The child of `parent` whose name column reads `name` (an invalid item when none does).
wxTreeListItem Child(wxTreeListCtrl& tree, wxTreeListItem parent, const wxString& name) {
  for (wxTreeListItem item = tree.GetFirstChild(parent); item.IsOk();
       item = tree.GetNextSibling(item)) {
    if (tree.GetItemText(item, 0) == name) return item;
  }
  return {};
}

TEST(SpacePagesGui, TheTreeShowsTheLinkAndTheDumpShowsTheBytes) {
  KELVOX_REQUIRE_DISPLAY();
  LookAtSheet(kExpressCapture, [](DetailsSheet& sheet) {
    wxBookCtrlBase* book = sheet.GetBookCtrl();
    ASSERT_EQ(book->GetPageCount(), 6u);
    EXPECT_EQ(book->GetPageText(4), U("ケイパビリティ"));
    EXPECT_EQ(book->GetPageText(5), U("16進ダンプ"));
    book->SetSelection(4);

    wxTreeListCtrl& tree = sheet.capabilities_page().tree();
    const wxTreeListItem header = Child(tree, tree.GetRootItem(), U("ヘッダ"));
    ASSERT_TRUE(header.IsOk());
    const wxTreeListItem region = Child(tree, header, "Region 0");
    ASSERT_TRUE(region.IsOk());
    EXPECT_EQ(tree.GetItemText(region, 1),
              "Memory at fe000000 (32-bit, non-prefetchable) [size=32M]");

    const wxTreeListItem express = Child(tree, tree.GetRootItem(), "[40] PCI Express (v2)");
    ASSERT_TRUE(express.IsOk());
    EXPECT_TRUE(tree.IsExpanded(express));
    const wxTreeListItem status = Child(tree, express, "LnkSta");
    ASSERT_TRUE(status.IsOk());
    const wxTreeListItem speed = Child(tree, status, "Speed");
    ASSERT_TRUE(speed.IsOk());
    EXPECT_EQ(tree.GetItemText(speed, 1), "5GT/s");
    EXPECT_EQ(tree.GetItemText(Child(tree, status, "Width"), 1), "x4");
    EXPECT_TRUE(
        tree.GetItemText(Child(tree, express, "LnkCap"), 1).Contains("Speed 8GT/s, Width x16"));

    // A copy of the selected row holds it and its fields; the whole page's starts with why the
    // extended space is missing (a capture of 256 bytes).
    tree.Select(status);
    const std::string copied = sheet.capabilities_page().SelectedText();
    EXPECT_TRUE(copied.starts_with("LnkSta: Speed 5GT/s")) << copied;
    EXPECT_NE(copied.find("\n  Speed: 5GT/s\n"), std::string::npos) << copied;
    EXPECT_TRUE(sheet.capabilities_page().PageText().starts_with(kCaptureConventionalOnlyText));

    book->SetSelection(5);
    const wxString dump = sheet.space_dump_page().dump().GetValue();
    EXPECT_TRUE(dump.StartsWith("00: 86 80 33 15 06 04 10 00 03 00 00 02 00 00 00 00\n"));
    EXPECT_TRUE(dump.EndsWith("f0: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"));
    EXPECT_EQ(dump.Freq('\n'), 16);
    EXPECT_TRUE(sheet.space_dump_page().dump().GetFont().IsFixedWidth());
    ASSERT_NE(sheet.space_dump_page().reason_line(), nullptr);
    EXPECT_EQ(sheet.space_dump_page().reason_line()->GetLabel(), U(kCaptureConventionalOnlyText));
  });
}

TEST(SpacePagesGui, AHeaderOnlyCaptureSaysWhyOnBothPages) {
  KELVOX_REQUIRE_DISPLAY();
  // The same function as `lspci -x` dumps it: 64 bytes, the status still saying there is a
  // capability list.
  const std::string header_only = std::string(kExpressCapture).substr(0, 33 + 4 * 52);
  LookAtSheet(header_only, [](DetailsSheet& sheet) {
    CapabilitiesPage& page = sheet.capabilities_page();
    ASSERT_NE(page.reason_line(), nullptr);
    EXPECT_EQ(page.reason_line()->GetLabel(), U(kCaptureHeaderOnlyText));
    // The header is decoded all the same; nothing else is listed.
    EXPECT_TRUE(Child(page.tree(), page.tree().GetRootItem(), U("ヘッダ")).IsOk());
    EXPECT_FALSE(
        page.tree().GetNextSibling(page.tree().GetFirstChild(page.tree().GetRootItem())).IsOk());
    ASSERT_NE(sheet.space_dump_page().reason_line(), nullptr);
    EXPECT_EQ(sheet.space_dump_page().reason_line()->GetLabel(), U(kCaptureHeaderOnlyText));
    EXPECT_EQ(sheet.space_dump_page().dump().GetValue().Freq('\n'), 4);
  });
}

TEST(SpacePagesGui, TheNewPagesKeepTheSheetsSize) {
  KELVOX_REQUIRE_DISPLAY();
  SimulatedBus bus = ParseSimulatedBus(kExpressCapture);
  const FunctionRead read = ReadFunction(bus, {0, 3, 0});
  const DetailsSheet full(read);
  const DetailsSheet original_pages(testing::PagesOnly(read.details));
  EXPECT_EQ(full.GetSize(), original_pages.GetSize());
}

}  // namespace
}  // namespace kelvox
