// Where a list control draws its rows and takes the mouse: the generic list of GTK does both in
// an inner window below its header, in that window's coordinates; a native list does both
// itself.
#pragma once

#include <wx/listctrl.h>

namespace kelvox {

// The window of `list` that holds its rows: the lowest of its children, or the list itself
// when it has none.
wxWindow* ListItemsWindow(wxListCtrl* list);

}  // namespace kelvox
