#include "ui/about_dialog.h"

#include <wx/stattext.h>

#include "ui/about_template.h"
#include "ui/app_icon.h"
#include "ui/mailto.h"
#include "ui/texts.h"

namespace kelvox {

const char* VersionString() { return texts::kVersion; }

std::string ContactLink(std::string_view version) {
  return BuildContactMailto(KELVOX_CONTACT_ADDRESS, texts::kMailSubject, version);
}

AboutDialog::AboutDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8(texts::kAboutTitle)) {
  controls_ = ApplyDialogTemplate(this, AboutTemplate(), AppIcon());
  version_ = wxString::FromUTF8(VersionString());
  TransferDataToWindow();
  link_.m_link = wxString::FromUTF8(ContactLink(version_.utf8_string()));
  link_.SubclassDlgItem(about_ids::kContact, this);
  CentreOnParent();
}

bool AboutDialog::TransferDataToWindow() {
  if (auto* version = dynamic_cast<wxStaticText*>(controls_.Find(about_ids::kVersion))) {
    version->SetLabel(version_);
  }
  return wxDialog::TransferDataToWindow();
}

}  // namespace kelvox
