#include "ui/read_only_look.h"

#include <wx/settings.h>

namespace kelvox {

void SetFieldEditable(wxTextCtrl* field, bool editable) {
  field->SetEditable(editable);
#ifndef __WXMSW__
  // The colour of the dialog the field sits in, which GTK's theme gives; the theme's own
  // entry colour again once it can be typed into.
  field->SetBackgroundColour(editable ? wxNullColour
                                      : wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
  field->Refresh();
#endif
}

}  // namespace kelvox
