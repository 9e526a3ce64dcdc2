// How a field the user cannot type into shows it. Windows draws a read-only edit on the
// dialog's grey; GTK draws it as white as an editable one, so people type into fields that
// ignore them. There the field gets the dialog's own background while it is read-only.
#pragma once

#include <wx/textctrl.h>

namespace kelvox {

// Makes `field` editable or not and gives it the look that says which.
void SetFieldEditable(wxTextCtrl* field, bool editable);

}  // namespace kelvox
