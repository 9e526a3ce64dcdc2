// The templates of the details pages against the fields the details texts fill: every field
// has exactly one read-only edit, labels sit beside their fields, nothing overlaps, and every
// text the pages show survives CP932.
#include "ui/details_page_templates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <span>
#include <string_view>

#include "details/base_address_texts.h"
#include "details/details_texts.h"
#include "details/misc_texts.h"
#include "details/vendor_page.h"
#include "text/cp932.h"

namespace kelvox {
namespace {

struct PageCase {
  const char* name;
  const DialogTemplate& tmpl;
  std::vector<DetailsField> fields;  // what the details texts give the page
};

std::vector<PageCase> Pages() {
  const VendorPage vendor = VendorPageFields(0x12348086u, 0x06000000u);
  const MiscPage misc = MiscPageFields(0, 0, 0, 0);
  BaseAddressPage base;
  for (std::size_t i = 0; i < base.size(); ++i) base[i].id = kBaseAddressControls[i];
  return {
      {"vendor", VendorDeviceInfoTemplate(), {vendor.begin(), vendor.end()}},
      {"base", BaseAddrTemplate(), {base.begin(), base.end()}},
      {"misc", MiscRegsTemplate(), {misc.begin(), misc.end()}},
  };
}

wxRect Rect(const ControlSpec& c) { return wxRect(c.x, c.y, c.w, c.h); }

bool SameRow(const wxRect& a, const wxRect& b) {
  return a.y < b.y + b.height && b.y < a.y + a.height;
}

TEST(DetailsPageTemplates, EveryFieldHasExactlyOneReadOnlyEditAndNothingElseIsEditable) {
  for (const PageCase& page : Pages()) {
    SCOPED_TRACE(page.name);
    std::multiset<int> edits;
    for (const ControlSpec& c : page.tmpl.controls) {
      EXPECT_NE(c.kind, ControlKind::kEdit) << c.id;  // nothing on a page is changeable
      if (c.kind == ControlKind::kReadOnlyEdit) edits.insert(c.id);
    }
    std::multiset<int> wanted;
    for (const DetailsField& field : page.fields) wanted.insert(field.id);
    EXPECT_EQ(edits, wanted);
  }
}

TEST(DetailsPageTemplates, EachLabelSitsLeftOfItsFieldOnTheSameRow) {
  for (const PageCase& page : Pages()) {
    SCOPED_TRACE(page.name);
    for (const DetailsField& field : page.fields) {
      if (field.label.empty()) continue;
      const auto controls = page.tmpl.controls;
      const auto edit = std::find_if(controls.begin(), controls.end(),
                                     [&](const ControlSpec& c) { return c.id == field.id; });
      const auto label = std::find_if(controls.begin(), controls.end(), [&](const ControlSpec& c) {
        return c.kind == ControlKind::kStaticText && field.label == c.text;
      });
      ASSERT_NE(edit, controls.end()) << field.id;
      ASSERT_NE(label, controls.end()) << field.label;
      EXPECT_TRUE(SameRow(Rect(*label), Rect(*edit))) << field.label;
      EXPECT_LE(label->x + label->w, edit->x) << field.label;
      // The label comes just before its field in tab order, as a mnemonic would need.
      EXPECT_EQ(label + 1, edit) << field.label;
    }
  }
}

TEST(DetailsPageTemplates, ControlsDoNotOverlapAndStayInsideThePage) {
  for (const PageCase& page : Pages()) {
    SCOPED_TRACE(page.name);
    const wxRect client(0, 0, page.tmpl.width, page.tmpl.height);
    const auto controls = page.tmpl.controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
      EXPECT_TRUE(client.Contains(Rect(controls[i]))) << i;
      for (std::size_t j = i + 1; j < controls.size(); ++j) {
        const bool framed = controls[i].kind == ControlKind::kGroupBox ||
                            controls[j].kind == ControlKind::kGroupBox;
        if (framed) continue;
        EXPECT_FALSE(Rect(controls[i]).Intersects(Rect(controls[j]))) << i << " and " << j;
      }
    }
  }
}

// The group box of the base address page titled `label`, and the ids of the edits inside it.
std::set<int> FieldsInGroup(std::string_view label) {
  const auto controls = BaseAddrTemplate().controls;
  const auto box = std::find_if(controls.begin(), controls.end(), [&](const ControlSpec& c) {
    return c.kind == ControlKind::kGroupBox && label == c.text;
  });
  std::set<int> inside;
  if (box == controls.end()) return inside;
  for (const ControlSpec& c : controls) {
    if (c.kind == ControlKind::kReadOnlyEdit && Rect(*box).Contains(Rect(c))) inside.insert(c.id);
  }
  return inside;
}

TEST(DetailsPageTemplates, BaseAddressGroupsHoldTheSixRegistersAndTheRomRegister) {
  const std::set<int> registers(kBaseAddressControls.begin(), kBaseAddressControls.begin() + 6);
  EXPECT_EQ(FieldsInGroup(kBaseAddressGroupLabel), registers);
  EXPECT_EQ(FieldsInGroup(kExpansionRomGroupLabel), std::set<int>{kBaseAddressControls[6]});
}

TEST(DetailsPageTemplates, VendorPageCarriesTheLinkLabel) {
  const auto controls = VendorDeviceInfoTemplate().controls;
  const auto link = std::find_if(controls.begin(), controls.end(), [](const ControlSpec& c) {
    return c.id == kVendorListLinkControl;
  });
  ASSERT_NE(link, controls.end());
  EXPECT_EQ(link->kind, ControlKind::kStaticText);
  EXPECT_STREQ(link->text, "PCI Vendor and Device List (created Sun Dec  4 20:04:27 PST 2005)");
}

TEST(DetailsPageTemplates, EveryTextOfTheSheetRoundTripsThroughCp932) {
  const std::string caption = DetailsCaption(255, 7, 31);
  std::vector<std::string_view> all = {kVendorPageTitle, kBaseAddressPageTitle, kMiscPageTitle,
                                       kDetailsCancelLabel, caption};
  for (const PageCase& page : Pages()) {
    for (const ControlSpec& c : page.tmpl.controls) all.push_back(c.text);
    all.push_back(page.tmpl.face);
  }
  for (std::string_view text : all) EXPECT_TRUE(RoundTripsThroughCp932(text)) << text;
}

}  // namespace
}  // namespace kelvox
