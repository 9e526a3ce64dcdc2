// The template builder on a real dialog: each kind becomes its wx control, ids find them,
// and a GTK up-down gets the room it needs with its row moved along.
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/listctrl.h>
#include <wx/spinbutt.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <gtest/gtest.h>

#include <array>

#include "ui/app_icon.h"
#include "ui/dialog_template.h"
#include "ui/testing/gui_test.h"

namespace kelvox {
namespace {

using K = ControlKind;

constexpr std::array kControls = {
    ControlSpec{kStaticId, K::kGroupBox, "枠", 2, 2, 200, 90},
    ControlSpec{1001, K::kStaticText, "ラベル", 5, 12, 30, 10, wxALIGN_RIGHT},
    ControlSpec{1002, K::kEdit, "12", 40, 10, 30, 14},
    ControlSpec{1003, K::kSpinButton, "", 70, 10, 10, 14},
    ControlSpec{1004, K::kButton, "押す", 90, 10, 40, 14},
    ControlSpec{1005, K::kReadOnlyEdit, "ro", 5, 30, 60, 14},
    ControlSpec{1006, K::kDefaultButton, "OK", 140, 10, 40, 14},
    ControlSpec{1007, K::kList, "", 5, 50, 150, 40},
    ControlSpec{1008, K::kIcon, "", 170, 50, 20, 20},
};
constexpr DialogTemplate kTemplate{210, 100, "No Such Face Anywhere", "IPAGothic", 12, kControls};

TEST(DialogTemplateGui, BuildsEachKindAsItsControlFoundById) {
  KELVOX_REQUIRE_DISPLAY();
  wxDialog dialog(nullptr, wxID_ANY, "template");
  const DialogControls controls = ApplyDialogTemplate(&dialog, kTemplate, AppIcon());
  EXPECT_EQ(dialog.GetFont().GetFaceName(), "IPAGothic");
  EXPECT_EQ(dialog.GetFont().GetPointSize(), 12);
  EXPECT_EQ(controls.InOrder().size(), kControls.size());
  EXPECT_NE(dynamic_cast<wxStaticBox*>(controls.InOrder()[0]), nullptr);
  auto* label = controls.Get<wxStaticText>(1001);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->GetLabel(), wxString::FromUTF8("ラベル"));
  EXPECT_TRUE(label->HasFlag(wxALIGN_RIGHT));
  ASSERT_NE(controls.Get<wxTextCtrl>(1002), nullptr);
  EXPECT_TRUE(controls.Get<wxTextCtrl>(1002)->IsEditable());
  EXPECT_EQ(controls.Get<wxTextCtrl>(1002)->GetValue(), "12");
  EXPECT_FALSE(controls.Get<wxTextCtrl>(1005)->IsEditable());
  ASSERT_NE(controls.Get<wxSpinButton>(1003), nullptr);
  ASSERT_NE(controls.Get<wxButton>(1004), nullptr);
  EXPECT_EQ(dialog.GetDefaultItem(), controls.Find(1006));
  ASSERT_NE(controls.Get<wxListCtrl>(1007), nullptr);
  EXPECT_TRUE(controls.Get<wxListCtrl>(1007)->InReportView());
  ASSERT_NE(controls.Get<wxStaticBitmap>(1008), nullptr);
  EXPECT_TRUE(controls.Get<wxStaticBitmap>(1008)->GetBitmap().IsOk());
  EXPECT_EQ(controls.Find(4242), nullptr);
  EXPECT_EQ(controls.Get<wxButton>(1002), nullptr);  // wrong class
  // The list keeps its template rectangle exactly.
  EXPECT_EQ(controls.Find(1007)->GetRect(), wxRect(dialog.ConvertDialogToPixels(wxPoint(5, 50)),
                                                   dialog.ConvertDialogToPixels(wxSize(150, 40))));
}

TEST(DialogTemplateGui, TheUpDownGetsItsBestSizeAndMovesItsRowAlong) {
  KELVOX_REQUIRE_DISPLAY();
  wxDialog dialog(nullptr, wxID_ANY, "template");
  const DialogControls controls = ApplyDialogTemplate(&dialog, kTemplate);
  wxWindow* spin = controls.Find(1003);
  wxWindow* edit = controls.Find(1002);
  wxWindow* button = controls.Find(1004);
  EXPECT_GE(spin->GetSize().x, spin->GetBestSize().x);
  EXPECT_GE(spin->GetSize().y, spin->GetBestSize().y);
  // Nothing on the row overlaps: the edit ends where the up-down starts, the button after it.
  EXPECT_EQ(edit->GetRect().GetRight() + 1, spin->GetRect().x);
  EXPECT_GT(button->GetRect().x, spin->GetRect().GetRight());
  // The group box around them widened with them, and the dialog holds everything.
  EXPECT_GE(controls.InOrder()[0]->GetRect().GetRight(), controls.Find(1006)->GetRect().GetRight());
  EXPECT_GE(dialog.GetClientSize().x, controls.Bounds().GetRight());
  EXPECT_GE(dialog.GetClientSize().y, controls.Bounds().GetBottom());
}

}  // namespace
}  // namespace kelvox
