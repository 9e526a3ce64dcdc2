#include "ui/vendor_device_info_page.h"

#include "details/details_texts.h"
#include "details/vendor_page.h"
#include "ui/details_page_templates.h"
#include "ui/id_list_switch.h"

namespace kelvox {

wxIMPLEMENT_DYNAMIC_CLASS(CVendorDeviceInfo, DetailsPage);

const DialogTemplate& CVendorDeviceInfo::Template() const { return VendorDeviceInfoTemplate(); }

wxString CVendorDeviceInfo::Title() const { return wxString::FromUTF8(kVendorPageTitle); }

bool CVendorDeviceInfo::OnInitDialog() {
  DetailsPage::OnInitDialog();
  link_.m_link = wxString::FromUTF8(kVendorListTarget);
  // The label names the list the page's names come from; the link keeps its target.
  if (wxWindow* label = FindWindow(kVendorListLinkControl)) {
    label->SetLabel(wxString::FromUTF8(IdListLinkText(kVendorListLabel)));
  }
  link_.SubclassDlgItem(kVendorListLinkControl, this);
  return true;
}

std::vector<TextBinding> CVendorDeviceInfo::Bindings() {
  return {
      {kVendorIdControl, &vendor_id},
      {kVendorShortNameControl, &vendor_short_name},
      {kVendorFullNameControl, &vendor_full_name},
      {kDeviceIdControl, &device_id},
      {kChipNameControl, &chip_name},
      {kDeviceDescriptionControl, &device_description},
      {kClassCodeControl, &class_code},
      {kBaseClassNameControl, &base_class_name},
      {kSubClassNameControl, &sub_class_name},
      {kProgIfNameControl, &prog_if_name},
  };
}

}  // namespace kelvox
