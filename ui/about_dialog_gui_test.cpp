// The about box on screen: its title, font, the exact places of its controls, the version it
// shows and the contact link; and the icon the program shows and installs.
#include <wx/button.h>
#include <wx/fontenum.h>
#include <wx/image.h>
#include <wx/imagpng.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include <gtest/gtest.h>

#include "ui/about_dialog.h"
#include "ui/about_template.h"
#include "ui/app_icon.h"
#include "ui/testing/gui_test.h"

namespace kelvox {
namespace {

using testing::RoundTrip;

wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

class AboutDialogGui : public ::testing::Test {
 protected:
  void SetUp() override { KELVOX_REQUIRE_DISPLAY(); }
};

TEST_F(AboutDialogGui, ShowsTheVersionStringNotTheTemplatesText) {
  AboutDialog about(nullptr);
  about.Show();
  ASSERT_TRUE(RoundTrip());  // shown, with the events of its first showing handled
  EXPECT_EQ(about.GetTitle(), U("ﾊﾞｰｼﾞｮﾝ情報 Kelvox"));
  EXPECT_EQ(about.control(about_ids::kVersion)->GetLabel(), "Kelvox V1.06");
  wxWindow* link = about.control(about_ids::kContact);
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link, &about.contact_link());
  EXPECT_EQ(link->GetLabel(), U("連絡先"));
  EXPECT_EQ(about.contact_link().m_link, U((std::string("mailto:") + KELVOX_CONTACT_ADDRESS +
                                            "?subject=Kelvoxについて&body=Kelvox%20V1.06")
                                               .c_str()));
  auto* ok = dynamic_cast<wxButton*>(about.control(wxID_OK));
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->GetLabel(), "OK");
  EXPECT_EQ(about.GetDefaultItem(), ok);
  bool description = false;
  for (wxWindow* child : about.GetChildren()) {
    description |= child->GetLabel() == U("ＰＣＩバスの検索プログラム");
  }
  EXPECT_TRUE(description);
}

TEST_F(AboutDialogGui, PlacesItsControlsWhereTheTemplateSays) {
  AboutDialog about(nullptr);
  const wxFont font = about.GetFont();
  const wxString wanted = U("ＭＳ Ｐゴシック");
  EXPECT_EQ(font.GetFaceName(),
            wxFontEnumerator::IsValidFacename(wanted) ? wanted : wxString("IPAPGothic"));
  EXPECT_EQ(font.GetPointSize(), 9);
  EXPECT_GE(about.GetClientSize().x, about.ConvertDialogToPixels(wxSize(223, 119)).x);
  EXPECT_GE(about.GetClientSize().y, about.ConvertDialogToPixels(wxSize(223, 119)).y);
  // Every control starts at its template position; where GTK needs a taller widget it grows
  // about its centre line, so the left edge and centre line stay.
  int checked = 0;
  for (const ControlSpec& spec : AboutTemplate().controls) {
    wxWindow* control = nullptr;
    if (spec.id != kStaticId) {
      control = about.control(spec.id);
    } else {
      for (wxWindow* child : about.GetChildren()) {
        const bool icon = spec.kind == ControlKind::kIcon && dynamic_cast<wxStaticBitmap*>(child);
        if (icon || (*spec.text && child->GetLabel() == U(spec.text))) control = child;
      }
    }
    ASSERT_NE(control, nullptr) << spec.text;
    const wxRect wanted_rect(about.ConvertDialogToPixels(wxPoint(spec.x, spec.y)),
                             about.ConvertDialogToPixels(wxSize(spec.w, spec.h)));
    const wxRect rect = control->GetRect();
    EXPECT_EQ(rect.x, wanted_rect.x) << spec.text;
    EXPECT_GE(rect.width, wanted_rect.width) << spec.text;
    EXPECT_NEAR(rect.y + rect.height / 2.0, wanted_rect.y + wanted_rect.height / 2.0, 1.0)
        << spec.text;
    ++checked;
  }
  EXPECT_EQ(checked, 5);
}

TEST_F(AboutDialogGui, TheInstalledIconIsTheOneTheProgramShows) {
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  wxImage installed;
  ASSERT_TRUE(installed.LoadFile("data/kelvox.png", wxBITMAP_TYPE_PNG));
  wxBitmap shown;
  shown.CopyFromIcon(AppIcon());
  const wxImage embedded = shown.ConvertToImage();
  ASSERT_EQ(installed.GetSize(), wxSize(32, 32));
  ASSERT_EQ(embedded.GetSize(), installed.GetSize());
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const bool clear =
          installed.HasAlpha() ? installed.GetAlpha(x, y) == 0 : installed.IsTransparent(x, y);
      ASSERT_EQ(clear, embedded.IsTransparent(x, y)) << x << "," << y;
      if (clear) continue;
      ASSERT_EQ(installed.GetRed(x, y), embedded.GetRed(x, y)) << x << "," << y;
      ASSERT_EQ(installed.GetGreen(x, y), embedded.GetGreen(x, y)) << x << "," << y;
      ASSERT_EQ(installed.GetBlue(x, y), embedded.GetBlue(x, y)) << x << "," << y;
    }
  }
  EXPECT_EQ(AppIcons().GetIconCount(), 2u);
}

}  // namespace
}  // namespace kelvox
