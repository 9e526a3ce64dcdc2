// The about box: the program's icon, its version (string 102) and a contact link that starts
// the user's mail program with the subject and body filled in. Modal over the main dialog.
#pragma once

#include <wx/dialog.h>

#include "ui/dialog_template.h"
#include "ui/static_link.h"

namespace kelvox {

// The version text the about box shows (string 102).
const char* VersionString();

// The contact link's target for a version text: the build's contact address (CMake cache
// variable KELVOX_CONTACT_ADDRESS), subject "Kelvoxについて", body the escaped version.
std::string ContactLink(std::string_view version);

class AboutDialog : public wxDialog {
 public:
  explicit AboutDialog(wxWindow* parent);

  bool TransferDataToWindow() override;

  const CStaticLink& contact_link() const { return link_; }
  wxWindow* control(int id) const { return controls_.Find(id); }

 private:
  wxString version_;
  CStaticLink link_{nullptr, false};
  DialogControls controls_;
};

}  // namespace kelvox
