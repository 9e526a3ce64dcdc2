// The three page classes on their own: made by run-time class name, built on a parent, and
// moving their text members to and from read-only edit controls that can still be selected.
#include <wx/frame.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <gtest/gtest.h>

#include <memory>

#include "ui/base_addr_page.h"
#include "ui/details_page_templates.h"
#include "ui/misc_regs_page.h"
#include "ui/testing/gui_test.h"
#include "ui/vendor_device_info_page.h"

namespace kelvox {
namespace {

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

// A frame to put pages on, destroyed with everything on it when the test ends.
class PageHost {
 public:
  PageHost() : frame_(new wxFrame(nullptr, wxID_ANY, "pages")) {}
  ~PageHost() { frame_->Destroy(); }
  wxFrame* frame() const { return frame_; }

 private:
  wxFrame* frame_;
};

TEST(DetailsPagesGui, EachPageIsMadeByItsRunTimeClassName) {
  KELVOX_REQUIRE_DISPLAY();
  const struct {
    const char* name;
    const char* title;
    int fields;
  } pages[] = {{"CVendorDeviceInfo", "ベンダ情報", 10},
               {"CBaseAddr", "ベースアドレス", 7},
               {"CMiscRegs", "割込みなど", 10}};
  PageHost host;
  for (const auto& expected : pages) {
    SCOPED_TRACE(expected.name);
    auto* page = dynamic_cast<DetailsPage*>(wxCreateDynamicObject(expected.name));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(wxString(page->GetClassInfo()->GetClassName()), expected.name);
    EXPECT_EQ(page->Title(), U(expected.title));
    ASSERT_TRUE(page->Create(host.frame()));
    int edits = 0;
    for (wxWindow* control : page->GetChildren()) {
      if (auto* edit = dynamic_cast<wxTextCtrl*>(control)) {
        ++edits;
        EXPECT_FALSE(edit->IsEditable()) << edit->GetId();
        EXPECT_TRUE(edit->IsEmpty()) << edit->GetId();  // members start empty
      }
    }
    EXPECT_EQ(edits, expected.fields);
  }
}

TEST(DetailsPagesGui, DataExchangeMovesEveryMemberBothWays) {
  KELVOX_REQUIRE_DISPLAY();
  PageHost host;
  auto* page = new CMiscRegs;
  page->bist = "80H";
  page->subsystem_id = "1234";
  ASSERT_TRUE(page->Create(host.frame()));  // shows the members set before creation
  EXPECT_EQ(page->FieldEdit(1016)->GetValue(), "80H");
  EXPECT_EQ(page->FieldEdit(1023)->GetValue(), "1234");

  // Every member has its own control: give each a distinct text and read it back.
  wxString* members[] = {&page->interrupt_line,  &page->interrupt_pin, &page->max_latency,
                         &page->min_grant,       &page->bist,          &page->latency_timer,
                         &page->cache_line_size, &page->cardbus_cis,   &page->subsystem_vendor_id,
                         &page->subsystem_id};
  const int ids[] = {1012, 1013, 1014, 1015, 1016, 1017, 1020, 1021, 1022, 1023};
  for (int i = 0; i < 10; ++i) *members[i] = wxString::Format("m%d", i);
  page->DoDataExchange(true);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(page->FieldEdit(ids[i])->GetValue(), wxString::Format("m%d", i)) << ids[i];
  }
  for (int i = 0; i < 10; ++i) page->FieldEdit(ids[i])->ChangeValue(wxString::Format("w%d", i));
  page->DoDataExchange(false);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(*members[i], wxString::Format("w%d", i)) << ids[i];
}

TEST(DetailsPagesGui, SetTextsFillsTheMembersByControlId) {
  KELVOX_REQUIRE_DISPLAY();
  CBaseAddr page;  // never created: members only
  const DetailsField fields[] = {{1007, {}, "0000e001 (e000 - e01f : I/O space)"},
                                 {1012, {}, "ffffffff (no device)"}};
  page.SetTexts(fields);
  EXPECT_EQ(page.base_address1, "0000e001 (e000 - e01f : I/O space)");
  EXPECT_EQ(page.expansion_rom, "ffffffff (no device)");
  EXPECT_TRUE(page.base_address0.empty());
  page.DoDataExchange(true);  // no controls yet: nothing to move, nothing breaks
  EXPECT_EQ(page.base_address1, "0000e001 (e000 - e01f : I/O space)");
}

TEST(DetailsPagesGui, FieldsRefuseTypingButCanBeSelected) {
  KELVOX_REQUIRE_DISPLAY();
  PageHost host;
  auto* page = new CVendorDeviceInfo;
  page->vendor_full_name = "Intel Corporation";
  ASSERT_TRUE(page->Create(host.frame()));
  host.frame()->SetClientSize(page->GetSize());
  host.frame()->Show();
  auto* edit = page->FieldEdit(1032);
  ASSERT_TRUE(testing::RoundTrip());  // mapped
  wxUIActionSimulator sim;
  // Typing reaches an ordinary edit on the same window, so it would reach the field too. Keys
  // reach an edit once its frame has the keyboard and the edit has the frame's focus.
  auto* control = new wxTextCtrl(page, wxID_ANY, "", wxPoint(0, 0));
  control->SetFocus();
  ASSERT_TRUE(
      testing::RunEventsUntil([&] { return host.frame()->IsActive() && control->HasFocus(); }));
  sim.Text("ab");
  ASSERT_TRUE(testing::RunEventsUntil([&] { return control->GetValue() == "ab"; }));
  edit->SetFocus();
  ASSERT_TRUE(testing::RunEventsUntil([&] { return edit->HasFocus(); }));
  sim.Text("xyz");
  sim.Char(WXK_BACK);
  ASSERT_TRUE(testing::RoundTrip());  // every key handled
  EXPECT_EQ(edit->GetValue(), "Intel Corporation");
  edit->SelectAll();
  EXPECT_EQ(edit->GetStringSelection(), "Intel Corporation");
}

TEST(DetailsPagesGui, VendorPageLinksItsListLabelToThePciIdDatabase) {
  KELVOX_REQUIRE_DISPLAY();
  PageHost host;
  auto* page = new CVendorDeviceInfo;
  ASSERT_TRUE(page->Create(host.frame()));
  auto* link = dynamic_cast<CStaticLink*>(page->FindWindow(kVendorListLinkControl));
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link, &page->link());
  EXPECT_EQ(link->m_link, "https://pci-ids.ucw.cz/");
  EXPECT_EQ(link->GetLabel(), "PCI Vendor and Device List (created Sun Dec  4 20:04:27 PST 2005)");
  EXPECT_EQ(link->GetFont().GetFaceName(), page->GetFont().GetFaceName());
}

}  // namespace
}  // namespace kelvox
