#include "ui/system_info_page.h"

#include <array>

#include "details/system_texts.h"
#include "ui/details_page_templates.h"
#include "ui/texts.h"

namespace kelvox {

namespace {

constexpr ControlKind kLabel = ControlKind::kStaticText;
constexpr ControlKind kField = ControlKind::kReadOnlyEdit;

// Rows 16 dialog units apart, as tight as a GTK entry allows, so the page is no taller than
// the base address page and the sheet keeps its size. Long texts (the module alias, the link)
// take the whole width; short ones share a row.
constexpr std::array kSystemControls = {
    ControlSpec{kStaticId, kLabel, kDriverLabel, 8, 11, 62, 10},
    ControlSpec{kDriverControl, kField, "", 72, 8, 260, 13},
    ControlSpec{kStaticId, kLabel, kModaliasLabel, 8, 27, 62, 10},
    ControlSpec{kModaliasControl, kField, "", 72, 24, 260, 13},
    ControlSpec{kStaticId, kLabel, kIrqLabel, 8, 43, 62, 10},
    ControlSpec{kIrqControl, kField, "", 72, 40, 60, 13},
    ControlSpec{kStaticId, kLabel, kMsiLabel, 146, 43, 72, 10},
    ControlSpec{kMsiControl, kField, "", 220, 40, 112, 13},
    ControlSpec{kStaticId, kLabel, kEnabledLabel, 8, 59, 62, 10},
    ControlSpec{kEnabledControl, kField, "", 72, 56, 60, 13},
    ControlSpec{kStaticId, kLabel, kPowerStateLabel, 146, 59, 72, 10},
    ControlSpec{kPowerStateControl, kField, "", 220, 56, 112, 13},
    ControlSpec{kStaticId, kLabel, kNumaNodeLabel, 8, 75, 62, 10},
    ControlSpec{kNumaNodeControl, kField, "", 72, 72, 60, 13},
    ControlSpec{kStaticId, kLabel, kIommuGroupLabel, 146, 75, 72, 10},
    ControlSpec{kIommuGroupControl, kField, "", 220, 72, 112, 13},
    ControlSpec{kStaticId, kLabel, kLinkSpeedLabel, 8, 91, 62, 10},
    ControlSpec{kLinkSpeedControl, kField, "", 72, 88, 260, 13},
    ControlSpec{kStaticId, kLabel, kLinkWidthLabel, 8, 107, 62, 10},
    ControlSpec{kLinkWidthControl, kField, "", 72, 104, 70, 13},
    ControlSpec{kStaticId, kLabel, kParentLabel, 146, 107, 72, 10},
    ControlSpec{kParentControl, kField, "", 220, 104, 112, 13},
    ControlSpec{kStaticId, kLabel, kLinkStateLabel, 8, 123, 62, 10},
    ControlSpec{kLinkStateControl, kField, "", 72, 120, 260, 13},
    ControlSpec{kLinkVerdictLabelControl, kLabel, kLinkVerdictLabel, 8, 139, 62, 10},
    ControlSpec{kLinkVerdictControl, kField, "", 72, 136, 260, 13},
    ControlSpec{kSystemFactsUnavailableControl, kLabel, kSystemFactsUnavailableText, 8, 11, 324,
                10},
};

}  // namespace

const DialogTemplate& SystemInfoTemplate() {
  static const DialogTemplate tmpl{
      340, 152, texts::kMainFace, texts::kMainFallbackFace, kDetailsPointSize, kSystemControls};
  return tmpl;
}

wxIMPLEMENT_DYNAMIC_CLASS(CSystemInfo, DetailsPage);

const DialogTemplate& CSystemInfo::Template() const { return SystemInfoTemplate(); }

wxString CSystemInfo::Title() const { return wxString::FromUTF8(kSystemPageTitle); }

bool CSystemInfo::OnInitDialog() {
  // Either the fields or the line that says there are none.
  // The link's verdict only where the sheet was given one.
  for (wxWindow* child : GetChildren()) {
    const bool is_notice = child->GetId() == kSystemFactsUnavailableControl;
    const bool is_verdict =
        child->GetId() == kLinkVerdictControl || child->GetId() == kLinkVerdictLabelControl;
    child->Show(facts_known_ ? !is_notice && (!is_verdict || !link_verdict.empty()) : is_notice);
  }
  // A finding is longer than its field: the tooltip gives it whole.
  if (wxWindow* verdict = FindWindow(kLinkVerdictControl)) verdict->SetToolTip(link_verdict);
  return DetailsPage::OnInitDialog();
}

std::vector<TextBinding> CSystemInfo::Bindings() {
  return {
      {kDriverControl, &driver},
      {kModaliasControl, &modalias},
      {kIrqControl, &irq},
      {kMsiControl, &msi},
      {kEnabledControl, &enabled},
      {kPowerStateControl, &power_state},
      {kNumaNodeControl, &numa_node},
      {kIommuGroupControl, &iommu_group},
      {kLinkSpeedControl, &link_speed},
      {kLinkWidthControl, &link_width},
      {kLinkStateControl, &link_state},
      {kParentControl, &parent},
      {kLinkVerdictControl, &link_verdict},
  };
}

}  // namespace kelvox
