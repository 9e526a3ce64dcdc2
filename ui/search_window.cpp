#include "ui/search_window.h"

#include <wx/button.h>

#include <array>
#include <memory>
#include <string>
#include <utility>

#include "ui/id_list_switch.h"
#include "ui/read_only_look.h"
#include "ui/search_template.h"

namespace kelvox {

namespace {

// Each field of the form and the edit that shows it.
struct FieldBinding {
  int id;
  std::string SearchFields::*text;
};

constexpr std::array kBindings = {
    FieldBinding{search_ids::kVendorId, &SearchFields::vendor_id},
    FieldBinding{search_ids::kVendorShortName, &SearchFields::vendor_short_name},
    FieldBinding{search_ids::kVendorFullName, &SearchFields::vendor_full_name},
    FieldBinding{search_ids::kDeviceId, &SearchFields::device_id},
    FieldBinding{search_ids::kChipName, &SearchFields::chip_name},
    FieldBinding{search_ids::kDeviceDescription, &SearchFields::device_description},
    FieldBinding{search_ids::kClassCode, &SearchFields::class_code},
    FieldBinding{search_ids::kBaseClassName, &SearchFields::base_class_name},
    FieldBinding{search_ids::kSubClassName, &SearchFields::sub_class_name},
    FieldBinding{search_ids::kProgIfName, &SearchFields::prog_if_name},
};

// The first `count` characters of a UTF-8 text (whole characters, never part of one).
std::string FirstCharacters(const std::string& utf8, std::size_t count) {
  std::size_t end = 0;
  for (std::size_t seen = 0; end < utf8.size(); ++end) {
    const bool starts_character = (static_cast<unsigned char>(utf8[end]) & 0xC0) != 0x80;
    if (starts_character && seen++ == count) break;
  }
  return utf8.substr(0, end);
}

}  // namespace

bool CFindVendorDeviceName::Create(wxWindow* parent) {
  if (!wxDialog::Create(parent, wxID_ANY, wxString::FromUTF8(search_texts::kTitle),
                        wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE)) {
    return false;
  }
  controls_ = ApplyDialogTemplate(this, SearchTemplate());
  InitControls();
  return true;
}

CFindVendorDeviceName* CFindVendorDeviceName::CreateFor(wxWindow* parent) {
  auto window = std::make_unique<CFindVendorDeviceName>();
  if (!window->Create(parent)) return nullptr;
  return window.release();
}

void CFindVendorDeviceName::InitControls() {
  for (const FieldBinding& binding : kBindings) {
    wxTextCtrl* field = edit(binding.id);
    if (const int limit = SearchFieldLimit(binding.id); limit > 0) {
      field->SetMaxLength(limit);
    } else {
      // Tab moves between the three typed fields; a name can still be clicked and copied.
      field->DisableFocusFromKeyboard();
    }
  }
  for (wxWindow* control : controls_.InOrder()) {
    if (const char* tip = SearchTooltip(control->GetId())) {
      control->SetToolTip(wxString::FromUTF8(tip));
    }
  }
  link_.m_link = wxString::FromUTF8(kSearchLinkTarget);
  if (wxWindow* label = FindWindow(search_ids::kLink)) {
    label->SetLabel(wxString::FromUTF8(IdListLinkText(search_texts::kLink)));
  }
  link_.SubclassDlgItem(search_ids::kLink, this);

  Bind(wxEVT_TEXT, &CFindVendorDeviceName::OnVendorIdText, this, search_ids::kVendorId);
  Bind(wxEVT_TEXT, &CFindVendorDeviceName::OnDeviceIdText, this, search_ids::kDeviceId);
  Bind(wxEVT_TEXT, &CFindVendorDeviceName::OnClassCodeText, this, search_ids::kClassCode);
  Bind(wxEVT_BUTTON, &CFindVendorDeviceName::OnQuit, this, search_ids::kQuit);
  Bind(wxEVT_CLOSE_WINDOW, &CFindVendorDeviceName::OnClose, this);
  // Escape presses "終了" like any dialog's cancel button.
  SetEscapeId(search_ids::kQuit);
  edit(search_ids::kVendorId)->SetFocus();
}

void CFindVendorDeviceName::OnVendorIdText(wxCommandEvent&) {
  RunHandler(&SearchForm::OnVendorIdChanged);
}

void CFindVendorDeviceName::OnDeviceIdText(wxCommandEvent&) {
  RunHandler(&SearchForm::OnDeviceIdChanged);
}

void CFindVendorDeviceName::OnClassCodeText(wxCommandEvent&) {
  RunHandler(&SearchForm::OnClassCodeChanged);
}

void CFindVendorDeviceName::RunHandler(void (SearchForm::*handler)()) {
  CopyFieldsIn();
  (form_.*handler)();
  CopyFieldsOut();
}

void CFindVendorDeviceName::CopyFieldsIn() {
  for (const FieldBinding& binding : kBindings) {
    form_.fields.*binding.text = edit(binding.id)->GetValue().ToStdString(wxConvUTF8);
  }
}

void CFindVendorDeviceName::CopyFieldsOut() {
  for (const FieldBinding& binding : kBindings) {
    wxTextCtrl* field = edit(binding.id);
    const wxString value = wxString::FromUTF8(form_.fields.*binding.text);
    // ChangeValue raises no change event, so no handler runs again; a field left as it was is
    // not touched, which keeps the caret where the user is typing.
    if (field->GetValue() != value) field->ChangeValue(value);
  }
  wxTextCtrl* device_id = edit(search_ids::kDeviceId);
  if (device_id->IsEditable() != form_.device_id_editable()) {
    SetFieldEditable(device_id, form_.device_id_editable());
  }
}

void CFindVendorDeviceName::RerunLookups() {
  CopyFieldsIn();
  form_.OnVendorIdChanged();
  // The class code is typed again a level at a time, so a code of 3 or 5 characters keeps
  // the names its first 2 or 4 give, as typing it did.
  const std::string class_code = form_.fields.class_code;
  const std::size_t length = CountCharacters(class_code);
  for (std::size_t prefix : {std::size_t{2}, std::size_t{4}}) {
    if (length <= prefix) break;
    form_.fields.class_code = FirstCharacters(class_code, prefix);
    form_.OnClassCodeChanged();
  }
  form_.fields.class_code = class_code;
  form_.OnClassCodeChanged();
  CopyFieldsOut();
  link_.SetLabel(wxString::FromUTF8(IdListLinkText(search_texts::kLink)));
  link_.Refresh();
}

void CFindVendorDeviceName::OnQuit(wxCommandEvent&) { Hide(); }

void CFindVendorDeviceName::OnClose(wxCloseEvent& event) {
  // Closing hides the window and keeps its contents; it is destroyed with the main dialog.
  if (event.CanVeto()) {
    event.Veto();
    Hide();
    return;
  }
  event.Skip();
}

}  // namespace kelvox
