#include "ui/details_page.h"

namespace kelvox {

wxIMPLEMENT_ABSTRACT_CLASS(DetailsPage, wxPanel);

bool DetailsPage::Create(wxWindow* parent) {
  if (!wxPanel::Create(parent, wxID_ANY)) return false;
  // Controls are found by id from here on: a link label replaces its static, so a list of the
  // windows built would go stale.
  ApplyDialogTemplate(this, Template());
  // The book sizes itself to its largest page; a page without a sizer reports this size.
  SetMinClientSize(GetClientSize());
  return OnInitDialog();
}

bool DetailsPage::OnInitDialog() { return TransferDataToWindow(); }

void DetailsPage::DoDataExchange(bool to_window) {
  for (const TextBinding& binding : Bindings()) {
    wxTextCtrl* edit = FieldEdit(binding.id);
    if (edit == nullptr) continue;
    if (to_window) {
      edit->ChangeValue(*binding.text);
    } else {
      *binding.text = edit->GetValue();
    }
  }
}

wxTextCtrl* DetailsPage::FieldEdit(int id) const {
  return dynamic_cast<wxTextCtrl*>(FindWindow(id));
}

bool DetailsPage::TransferDataToWindow() {
  DoDataExchange(true);
  return true;
}

bool DetailsPage::TransferDataFromWindow() {
  DoDataExchange(false);
  return true;
}

void DetailsPage::SetTexts(std::span<const DetailsField> fields) {
  for (const TextBinding& binding : Bindings()) {
    if (const DetailsField* field = FindField(fields, binding.id)) {
      *binding.text = wxString::FromUTF8(field->text);
    }
  }
}

}  // namespace kelvox
