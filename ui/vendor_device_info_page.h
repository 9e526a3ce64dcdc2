// CVendorDeviceInfo: the "ベンダ情報" page of the device details sheet, laid out by its dialog
// template VendorDeviceInfoTemplate() (dialog resource 133). Shows the vendor ID, device ID and
// class code with the names the PCI ID tables give them, and a link to the public PCI ID web
// database.
#pragma once

#include <vector>

#include "ui/details_page.h"
#include "ui/static_link.h"

namespace kelvox {

class CVendorDeviceInfo : public DetailsPage {
 public:
  CVendorDeviceInfo() = default;

  const DialogTemplate& Template() const override;
  wxString Title() const override;

  // The link label 1038 once the page is created.
  const CStaticLink& link() const { return link_; }

  wxString vendor_id;           // 1028, "%04x"
  wxString vendor_short_name;   // 1031
  wxString vendor_full_name;    // 1032
  wxString device_id;           // 1029, "%04x"
  wxString chip_name;           // 1033
  wxString device_description;  // 1034
  wxString class_code;          // 1030, "%06x"
  wxString base_class_name;     // 1035
  wxString sub_class_name;      // 1036
  wxString prog_if_name;        // 1037

 protected:
  // Shows the texts, then turns label 1038 into a link to the PCI ID web database.
  bool OnInitDialog() override;
  std::vector<TextBinding> Bindings() override;

 private:
  CStaticLink link_;

  wxDECLARE_DYNAMIC_CLASS(CVendorDeviceInfo);
};

}  // namespace kelvox
