#include "ui/space_dump_page.h"

#include <wx/sizer.h>

#include "text/hex_dump.h"
#include "ui/read_only_look.h"

namespace kelvox {

wxIMPLEMENT_CLASS(SpaceDumpPage, wxPanel);

SpaceDumpPage::SpaceDumpPage(wxWindow* parent, const ConfigSpace& space) : wxPanel(parent) {
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  if (!space.limit().empty()) {
    reason_ = new wxStaticText(this, wxID_ANY, wxString::FromUTF8(space.limit()));
    reason_->SetMinSize(wxSize(1, -1));
    sizer->Add(reason_, 0, wxEXPAND | wxALL, 4);
  }
  dump_ =
      new wxTextCtrl(this, wxID_ANY, wxString::FromUTF8(HexDump(space.bytes())), wxDefaultPosition,
                     wxDefaultSize, wxTE_MULTILINE | wxTE_READONLY | wxTE_DONTWRAP | wxHSCROLL);
  dump_->SetMinSize(FromDIP(wxSize(40, 60)));
  dump_->SetFont(wxFontInfo(GetFont().GetPointSize()).Family(wxFONTFAMILY_TELETYPE));
  SetFieldEditable(dump_, false);
  sizer->Add(dump_, 1, wxEXPAND | wxALL, 4);
  SetSizer(sizer);
}

}  // namespace kelvox
